// A show's loading ahead: its next picture is read, decoded, fitted and captioned on a worker
// (LoadAhead.h) while the tiles travel, so that a refill only puts a ready bitmap into its
// tile. The file is taken ahead from the catalogue, and seen only once it is on the screen.
#include "library/MediaKind.h"
#include "saver/MonitorShow.h"
#include "settings/Settings.h"
#include "toolkit/Log.h"
#include "toolkit/Text.h"

#include <algorithm>
#include <utility>

std::vector<std::wstring> MonitorShow::FilesAhead() const {
    std::vector<std::wstring> files;
    if (ready_) files.push_back(ready_->path);
    if (!retry_.empty()) files.push_back(retry_);
    if (loader_ && loader_->Busy()) files.push_back(jobPath_);
    return files;
}

void MonitorShow::CollectAhead() {
    CollectAhead(false);
}

void MonitorShow::CollectAhead(bool needed) {
    const AheadJobs& jobs = host_.Jobs();
    const bool inline_ = jobs.onWindowThread;
    // Bounded: every turn either waits for a job, or ends a file (a failure, which the run's
    // limit ends), or leaves a picture ready.
    for (;;) {
        if (loader_) {
            if (auto result = loader_->TakeResult()) {
                TakeAheadResult(std::move(*result));
            } else if (loader_->Busy()) {
                if (loader_->RunningMs(GetTickCount()) < jobs.deadlineMs) return;
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
    // A clip given back by its turn is opened again, through Media Foundation, before any
    // other file is taken.
    if (!loader_)
        loader_ = std::make_unique<LoadAhead>(host_.Window(), WM_PICTUREREADY, host_.Jobs().work,
                                              host_.Jobs().onWindowThread);
    if (!loader_->CanStart()) return false; // hung reads hold its workers
    const bool retry = !retry_.empty();
    catalogue_.NewPassWhenDry();
    const FileCatalogue::Excluded excluded = host_.ExcludedFor(this);
    if (!retry && !catalogue_.HasFileFor(excluded)) return false;
    const std::wstring path =
        retry ? std::exchange(retry_, std::wstring()) : catalogue_.TakeAhead(excluded);
    if (path.empty()) return false; // every file left failed in this pass
    PictureRequest request = RequestFor(path);
    request.mciRefused = retry || MciRefusedFile(path);
    jobPath_ = path;
    return loader_->Start(std::move(request));
}

PictureRequest MonitorShow::RequestFor(const std::wstring& path) const {
    // The worker gets its own copy of what it needs, read here on the window's thread.
    PictureRequest request;
    request.path = path;
    request.areaWidth = fitArea.right - fitArea.left;
    request.areaHeight = fitArea.bottom - fitArea.top;
    request.captionName = settings_.captionName;
    request.captionDate = settings_.captionDate;
    request.clip = IsMediaFile(path, mkClip);
    request.framesFirst = request.clip && MciRefusedKind(path);
    return request;
}

void MonitorShow::ShowPicture(int tile, PreparedPicture prepared, const std::wstring& path) {
    FitImage& image = *strip_.pictures[tile];
    image.Show(SW_SHOWNA);
    image.TakePicture(std::move(prepared.picture), path, prepared.sourceWidth,
                      prepared.sourceHeight);
}

void MonitorShow::TakeAheadResult(LoadAhead::Result result) {
    if (!result.prepared.Ready()) {
        AheadFailed(result.path, result.prepared.failure);
        return;
    }
    failedRun_ = 0;
    const bool clip = IsMediaFile(result.path, mkClip);
    ready_ = Ahead{std::move(result.path), std::move(result.prepared), clip};
}

void MonitorShow::AheadFailed(const std::wstring& path, const std::wstring& why) {
    catalogue_.AheadFailed(path);
    tk::Log((IsMediaFile(path, mkClip) ? L"clip " : L"photo ") + path + L" dropped: " + why);
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
    if (next.clip) {
        switch (StartClipAhead(tile, next)) {
        case ClipPut::Shown:
            break;
        case ClipPut::Dropped:
            catalogue_.AheadFailed(next.path);
            return false;
        case ClipPut::Retried:
            return false; // still ahead
        }
    } else {
        ShowPicture(tile, std::move(next.prepared), next.path);
    }
    catalogue_.AheadShown(next.path);
    return true;
}

MonitorShow::ClipPut MonitorShow::StartClipAhead(int tile, Ahead& next) {
    tk::MediaPlayer& player = ClipPlayer(tile);
    PreparedPicture& clip = next.prepared;
    if (clip.frames) {
        if (!player.ShowFrames(std::move(clip.frames))) {
            DropClip(tile, L"cannot be shown");
            return ClipPut::Dropped;
        }
    } else if (!player.OpenWithMci()) {
        // Wine's MCI has been seen to hang for good in an open of a file it refused before:
        // a file refused once is given to Media Foundation alone for the rest of the run.
        mciRefusedFiles_.push_back(next.path);
        if (clip.framesTried) {
            DropClip(tile, L"cannot be opened");
            return ClipPut::Dropped;
        }
        // Media Foundation may play it: its open goes to the worker, and the tile shows its
        // last picture again meanwhile, as when a file fails.
        tk::Log(L"clip " + next.path + L": MCI cannot open it (error " +
                tk::IntToStr(int(player.LastError())) + L"); opened through Media Foundation");
        player.Close();
        if (!MciRefusedKind(next.path)) mciRefusedKinds_.push_back(MediaExtensionOf(next.path));
        retry_ = next.path;
        return ClipPut::Retried;
    }
    return PlayOpenedClip(tile) ? ClipPut::Shown : ClipPut::Dropped;
}

bool MonitorShow::MciRefusedFile(const std::wstring& path) const {
    return std::any_of(mciRefusedFiles_.begin(), mciRefusedFiles_.end(),
                       [&](const std::wstring& refused) { return tk::SamePath(refused, path); });
}

bool MonitorShow::MciRefusedKind(const std::wstring& path) const {
    // A clip's kind is its extension, by which MCI chooses its device.
    return std::find(mciRefusedKinds_.begin(), mciRefusedKinds_.end(), MediaExtensionOf(path)) !=
           mciRefusedKinds_.end();
}
