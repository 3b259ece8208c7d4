#include "toolkit/Window.h"

#include <exception>
#include <set>

#include "toolkit/Counters.h"
#include "toolkit/MsgBox.h"
#include "toolkit/Text.h"

namespace tk {


Window::~Window() { Destroy(); }

bool Window::Create(const WindowArgs& args) {
    static std::set<std::wstring> registered;
    if (registered.insert(args.className).second) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.style = args.classStyle;
        wc.lpfnWndProc = &Window::Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = args.background;
        wc.hIcon = args.icon;
        wc.lpszClassName = args.className;
        RegisterClassExW(&wc);
    }
    HWND hwnd = CreateWindowExW(args.exStyle, args.className, args.text.c_str(), args.style,
                                args.x, args.y, args.width, args.height, args.parent, nullptr,
                                GetModuleHandleW(nullptr), this);
    return hwnd != nullptr;
}

void Window::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_); // WM_NCDESTROY clears hwnd_
}

RECT Window::Bounds() const {
    RECT r = {};
    GetWindowRect(hwnd_, &r);
    HWND parent = GetParent(hwnd_);
    if (parent && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT Window::ClientRect() const {
    RECT r = {};
    GetClientRect(hwnd_, &r);
    return r;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        ++Counts().windows;
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);

    LRESULT result = 0;
    // No exception may cross the window procedure: an error ends the current operation and
    // is shown in the application's standard error box.
    try {
        result = self->HandleMessage(msg, wp, lp);
    } catch (const std::exception& e) {
        ShowErrorBox(FromUtf8(e.what()));
    } catch (...) {
        ShowErrorBox(L"Erreur inattendue");
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        --Counts().windows;
        self->OnDestroyed();
    }
    return result;
}

} // namespace tk
