#pragma once
// The application's message loop with an idle turn: when the queue is empty the idle
// handler runs; when it reports its work done, the loop waits for the next message.
#include <windows.h>

#include <functional>

namespace tk {

class App {
  public:
    using IdleHandler = std::function<void(bool& done)>;

    static App& Instance();

    void SetIdleHandler(IdleHandler handler) { idle_ = std::move(handler); }
    void ClearIdleHandler() { idle_ = nullptr; }
    bool HasIdleHandler() const { return bool(idle_); }

    // Runs until WM_QUIT (the main form posts it when it is destroyed).
    int Run();
    // Handles every pending message and returns (without an idle turn).
    void ProcessMessages();
    // The window whose keyboard the loop hands to IsDialogMessage: Tab between its
    // controls, Escape as its Cancel.
    void SetDialog(HWND dialog) { dialog_ = dialog; }

    bool Terminated() const { return terminated_; }
    void Terminate() { terminated_ = true; }

  private:
    bool Dispatch(MSG& msg);
    IdleHandler idle_;
    HWND dialog_ = nullptr;
    bool terminated_ = false;
};

} // namespace tk
