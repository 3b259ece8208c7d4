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

// The worker posts each batch to the window; a batch that cannot be posted (the window is
// gone) is dropped with it. The worker never touches the window object itself.
void SaverWindow::StartScan(ScanRequest request) {
    StopScan();
    scanCount_.clear();
    const HWND window = Handle();
    scan_ = std::make_unique<ScanWorker>(
        std::move(request), [window](std::unique_ptr<ScanBatch> batch) {
            if (PostMessageW(window, WM_SCANFOUND, 0, reinterpret_cast<LPARAM>(batch.get())))
                batch.release(); // the window's now
        });
}

void SaverWindow::StopScan() {
    if (!scan_) return;
    if (!scan_->Stop())
        tk::Log(L"the folder scan is held by a listing that does not return; it is left behind");
    scan_.reset();
    // Batches posted before the stop belong to a scan that is over.
    MSG msg;
    while (Handle() && PeekMessageW(&msg, Handle(), WM_SCANFOUND, WM_SCANFOUND, PM_REMOVE))
        delete reinterpret_cast<ScanBatch*>(msg.lParam);
}

void SaverWindow::OnScanFound(LPARAM lp) {
    std::unique_ptr<ScanBatch> batch(reinterpret_cast<ScanBatch*>(lp));
    if (closed_ || !catalogue_.ScanRunning()) return; // late: dropped
    const bool last = batch->last;
    catalogue_.TakeFound(std::move(*batch));
    if (last) {
        scan_.reset(); // its thread has delivered its last batch and is ending
        scanCount_.clear();
        DropNoticeLines(ScreenNotice::Kind::Counting);
    }
    if (showsBuilt_ && !showStarted_ && (last || catalogue_.filesToSee.size() >= FirstTiles()))
        StartShow();
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
