// SaverWindow while work runs inside a message handler (the memory read, a configuration file
// waited for, a refill's tries through broken files): the work looks at the input itself now
// and then, and an exit allowed meanwhile stops it. The folder scan needs none of this: it
// runs on its worker.
#include "saver/SaverWindow.h"

namespace {
// Input waits at most this long, plus the time between two checks of the scan (a few
// milliseconds at most), plus the clock's step: well under 50 ms. More often would cost the
// scan of a large library a visible share of its time.
constexpr uint64_t kInputCheckMs = 20;
} // namespace

void SaverWindow::Scanning(bool begins) {
    if (begins) {
        ++scanDepth_;
        return;
    }
    if (--scanDepth_ == 0 && exitPending_) PostMessageW(Handle(), WM_CLOSE, 0, 0);
    // A count drawn under a running show would stay between the tiles for the rest of it.
    if (Loads() > 0) ClearCanvasTexts();
}

bool SaverWindow::KeepScanning() {
    const uint64_t now = GetTickCount64();
    if (!exitPending_ && now - lastInputCheck_ >= kInputCheckMs) {
        lastInputCheck_ = now;
        HandleWaitingInput();
    }
    return !exitPending_;
}

// Only input and the exit requests of other programs: the steps, timers and paints of the
// show must not run under the scan.
void SaverWindow::HandleWaitingInput() {
    struct Range {
        HWND window;
        UINT first, last;
    } ranges[] = {{nullptr, WM_KEYFIRST, WM_KEYLAST},
                  {nullptr, WM_MOUSEFIRST, WM_MOUSELAST},
                  {Handle(), WM_EXITREQUEST, WM_EXITREQUEST}};
    MSG msg;
    for (const Range& r : ranges)
        while (!exitPending_ && !closed_ &&
               PeekMessageW(&msg, r.window, r.first, r.last, PM_REMOVE))
            DispatchMessageW(&msg);
}
