#include "toolkit/WindowWatch.h"

#include <commctrl.h>

#include <utility>

namespace tk {

bool WindowWatch::Start(HWND window, Handler after) {
    Stop();
    if (!window || !SetWindowSubclass(window, &WindowWatch::Proc, reinterpret_cast<UINT_PTR>(this),
                                      reinterpret_cast<DWORD_PTR>(this)))
        return false;
    window_ = window;
    after_ = std::move(after);
    return true;
}

void WindowWatch::Stop() {
    if (window_ && IsWindow(window_))
        RemoveWindowSubclass(window_, &WindowWatch::Proc, reinterpret_cast<UINT_PTR>(this));
    // The handler stays: Stop may be called from inside it, and it is not called again.
    window_ = nullptr;
}

LRESULT CALLBACK WindowWatch::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                   DWORD_PTR data) {
    auto* self = reinterpret_cast<WindowWatch*>(data);
    const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &WindowWatch::Proc, reinterpret_cast<UINT_PTR>(self));
        self->window_ = nullptr;
    } else if (self->after_) {
        self->after_(msg);
    }
    return result;
}

} // namespace tk
