#pragma once
// Sees the messages of a window that another part of the program owns (the panel a clip plays
// in), each after the window has handled it itself, for as long as the watch lives or until
// the window goes. The players redraw their still frame this way when the panel paints.
#include <windows.h>

#include <functional>

#include "toolkit/NonCopyable.h"

namespace tk {

class WindowWatch : private NonCopyable {
  public:
    using Handler = std::function<void(UINT msg)>;

    WindowWatch() = default;
    ~WindowWatch() { Stop(); }

    // Watches window (and no longer the one watched before); false if Windows refused.
    bool Start(HWND window, Handler after);
    void Stop();
    // The window watched, or none once it has gone.
    HWND Window() const { return window_; }

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                 DWORD_PTR data);

    HWND window_ = nullptr;
    Handler after_;
};

} // namespace tk
