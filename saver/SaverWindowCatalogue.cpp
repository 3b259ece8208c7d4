// SaverWindow's side of its catalogue: the scan on its worker and the show that begins as soon
// as it has found files for the first tiles, the running counts, its warnings written in a
// corner of the primary monitor, and the input it handles while a memory read or a refill's
// tries run.
#include "saver/ClipWarmUp.h"
#include "saver/SaverWindow.h"
#include "toolkit/Log.h"

CatalogueEvents SaverWindow::MakeCatalogueEvents() {
    CatalogueEvents events;
    events.Progress = [this](const std::wstring& text) { DrawProgress(text); };
    // The saver's one warning is that nothing was found: with nothing to show, the banner and
    // the count go, and the line stays on black until input ends the saver.
    events.Warning = [this](const std::wstring& text) {
        ClearCanvasTexts();
        ShowNotice(text, ScreenNotice::Kind::Lasting);
    };
    events.Notice = [this](const std::wstring& text) { ShowNotice(text); };
    events.KeepGoing = [this] { return KeepScanning(); };
    events.Stopping = [this] { return exitPending_; };
    events.Filling = [this](bool begins) { Scanning(begins); };
    events.StartScan = [this](ScanRequest request) { StartScan(std::move(request)); };
    return events;
}

void SaverWindow::DrawProgress(const std::wstring& text) {
    if (catalogue_.ScanRunning()) scanCount_ = text;
    if (showStarted_ && Loads() > 0) {
        ShowNotice(text, ScreenNotice::Kind::Counting);
        return;
    }
    const RECT& p = primaryArea_;
    DrawCanvasText(text, (p.left + p.right) / 2, (p.top + p.bottom) / 2);
}

// The worker keeps its batches until the window takes them; its message is only a wake-up,
// and the window's idle turn takes them too, so a message that cannot be posted loses nothing.
// The worker never touches the window object itself.
void SaverWindow::StartScan(ScanRequest request) {
    StopScan();
    scanCount_.clear();
    const HWND window = Handle();
    scan_ = std::make_unique<ScanWorker>(std::move(request),
                                         [window] { PostMessageW(window, WM_SCANFOUND, 0, 0); });
}

void SaverWindow::StopScan() {
    if (!scan_) return;
    scan_->Stop();
    if (!scan_->Ended())
        tk::Log(L"the folder scan is held by a listing that does not return; it is left behind");
    scan_.reset();
}

void SaverWindow::OnScanFound() {
    if (!scan_) return;
    const ScanWorker* from = scan_.get();
    for (ScanBatch& batch : scan_->TakeBatches()) {
        // Late (the window closed, or a new scan began meanwhile): dropped.
        if (closed_ || !catalogue_.ScanRunning() || scan_.get() != from) return;
        const bool last = batch.last;
        catalogue_.TakeFound(std::move(batch));
        if (last) {
            scan_.reset(); // its worker has handed over its last batch and is ending
            scanCount_.clear();
            DropNoticeLines(ScreenNotice::Kind::Counting);
        }
        if (showsBuilt_ && !showStarted_ && (last || catalogue_.filesToSee.size() >= FirstTiles()))
            StartShow();
        if (last) return;
    }
}

size_t SaverWindow::FirstTiles() const {
    size_t tiles = 0;
    for (const auto& show : shows_)
        tiles += size_t(show->FirstFills());
    return tiles;
}

void SaverWindow::StartShow() {
    // The first open of the DirectShow device in a process is slow: it happens here, under
    // the banner, rather than as a pause of the show.
    const bool tiles = !shows_.empty() && !PrimaryShow().Strip().panels.empty();
    WarmUpClipDevices(catalogue_.filesToSee,
                      tiles ? PrimaryShow().Strip().panels[0]->Handle() : Handle());
    FirstRefills();
    // The count of a scan that goes on behind the show moves to its small line.
    if (catalogue_.ScanRunning() && !scanCount_.empty()) DrawProgress(scanCount_);
}

void SaverWindow::ScanFoldersToTheEnd() {
    catalogue_.ScanFolders();
    MSG msg;
    while (catalogue_.ScanRunning() && !closed_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
