// SaverWindow's side of its catalogue: the running counts at the primary monitor's centre, a folder
// away written in a corner of that monitor, the other warnings as boxes over the saver, and
// the input it handles while a scan or a refill's tries run.
#include "saver/SaverWindow.h"

CatalogueEvents SaverWindow::MakeCatalogueEvents() {
    CatalogueEvents events;
    events.Progress = [this](const std::wstring& text) { DrawProgress(text); };
    events.Warning = [this](const std::wstring& text) { WarningBox(text); };
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
