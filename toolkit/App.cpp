#include "toolkit/App.h"

namespace tk {

App& App::Instance() {
    static App app;
    return app;
}

bool App::Dispatch(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    if (dialog_ && IsDialogMessageW(dialog_, &msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

int App::Run() {
    MSG msg;
    while (!terminated_) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            Dispatch(msg);
            continue;
        }
        bool done = true;
        if (idle_) idle_(done);
        if (done && !terminated_) WaitMessage();
    }
    return 0;
}

void App::ProcessMessages() {
    MSG msg;
    while (!terminated_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        Dispatch(msg);
}

} // namespace tk
