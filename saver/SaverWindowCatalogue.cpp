// SaverWindow's side of its catalogue: the running counts at the primary monitor's centre, its
// warnings written in a corner of that monitor, and the input it handles while a scan or a
// refill's tries run.
#include "saver/SaverWindow.h"

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
    return events;
}

void SaverWindow::DrawProgress(const std::wstring& text) {
    const RECT& p = primaryArea_;
    DrawCanvasText(text, (p.left + p.right) / 2, (p.top + p.bottom) / 2);
}
