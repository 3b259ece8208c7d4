// A show's loading ahead: its next picture is read, decoded, fitted and captioned on a worker
// (LoadAhead.h) while the tiles travel, so that a refill only puts a ready bitmap into its
// tile. The file is taken ahead from the catalogue, and seen only once it is on the screen.
#include "library/MediaKind.h"
#include "saver/MonitorShow.h"
#include "settings/Settings.h"
#include "toolkit/Log.h"

namespace {
// A job that runs this long is a read that will not return (a share that went away): its
// file is dropped and the show goes on. A 16 MB photo at 5 MB/s takes about 3 s.
constexpr DWORD kJobDeadlineMs = 20000;
} // namespace

std::vector<std::wstring> MonitorShow::FilesAhead() const {
    std::vector<std::wstring> files;
    if (ready_) files.push_back(ready_->path);
    if (loader_ && loader_->Busy()) files.push_back(jobPath_);
    return files;
}

void MonitorShow::CollectAhead() {
    CollectAhead(false);
}

bool MonitorShow::PreparesInline() const {
    return host_.PreparesInline && host_.PreparesInline();
}

void MonitorShow::CollectAhead(bool needed) {
    const bool inline_ = PreparesInline();
    // Bounded: every turn either waits for a job, or ends a file (a failure, which the run's
    // limit ends), or leaves a picture ready.
    for (;;) {
        if (loader_) {
            if (auto result = loader_->TakeResult()) {
                TakeAheadResult(std::move(*result));
            } else if (loader_->Busy()) {
                if (loader_->RunningMs(GetTickCount()) < kJobDeadlineMs) return;
                loader_->Abandon(); // its thread ends when the read does, unheard
                AheadFailed(jobPath_, L"took too long to be read");
            }
        }
        if (ready_ || gaveUp_ || (inline_ && !needed)) return;
        if (!StartAhead()) return;
    }
}

bool MonitorShow::StartAhead() {
    if (host_.Stopping() || strip_.panels.empty()) return false;
    const FileCatalogue::Excluded excluded = host_.ExcludedFor(this);
    if (!catalogue_.HasFileFor(excluded)) return false;
    const std::wstring path = catalogue_.TakeAhead(excluded);
    if (path.empty()) return false;  // every file left failed in this pass
    if (IsMediaFile(path, mkClip)) { // opened by its tile's player when its turn comes
        ready_ = Ahead{path, {}, true};
        return true;
    }
    if (!loader_)
        loader_ = std::make_unique<LoadAhead>(host_.Window ? host_.Window() : nullptr,
                                              WM_PICTUREREADY, PreparePicture, PreparesInline());
    // The worker gets its own copy of what it needs, read here on the window's thread.
    PictureRequest request;
    request.path = path;
    request.areaWidth = fitArea.right - fitArea.left;
    request.areaHeight = fitArea.bottom - fitArea.top;
    request.captionName = settings_.captionName;
    request.captionDate = settings_.captionDate;
    jobPath_ = path;
    return loader_->Start(std::move(request));
}

void MonitorShow::TakeAheadResult(LoadAhead::Result result) {
    if (!result.prepared.Ready()) {
        AheadFailed(result.path, result.prepared.failure);
        return;
    }
    failedRun_ = 0;
    ready_ = Ahead{std::move(result.path), std::move(result.prepared), false};
}

void MonitorShow::AheadFailed(const std::wstring& path, const std::wstring& why) {
    catalogue_.AheadFailed(path);
    tk::Log(L"photo " + path + L" dropped: " + why);
    // A whole pass of the library without a success ends the run, as a refill's tries do.
    if (failedRun_++ == 0)
        failedRunLimit_ = catalogue_.filesToSee.size() + catalogue_.seenFiles.size() +
                          catalogue_.aheadFiles.size() + 1;
    if (failedRun_ >= failedRunLimit_) {
        gaveUp_ = true;
        failedRun_ = 0;
    }
}

bool MonitorShow::PutReadyFile(int tile) {
    Ahead next = std::move(*ready_);
    ready_.reset();
    catalogue_.currentFile = next.path;
    FitImage& image = *strip_.pictures[tile];
    image.Hide();
    if (tk::HoldsClip(strip_.players[tile]->Mode())) strip_.players[tile]->Close();
    bool put = true;
    if (next.clip) {
        put = StartClip(tile); // MCI stays on the window's thread; a failure is logged there
        if (!put) catalogue_.AheadFailed(next.path);
    } else {
        image.Show(SW_SHOWNA);
        const int w = next.prepared.sourceWidth, h = next.prepared.sourceHeight;
        image.TakePicture(std::move(next.prepared.picture), next.path, w, h);
    }
    if (put) catalogue_.AheadShown(next.path);
    return put;
}
