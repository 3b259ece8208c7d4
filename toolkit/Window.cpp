#include "toolkit/Window.h"

#include <exception>
#include <set>
#include <unordered_map>

#include "toolkit/Counters.h"
#include "toolkit/Log.h"
#include "toolkit/MsgBox.h"
#include "toolkit/Text.h"

namespace tk {

namespace {
// The object of each window made or adopted here. Not GWLP_USERDATA, which the system's
// own control classes may use, nor a window property, which under Wine is a round trip to
// the server at every message: a table of the process's own (all on one thread).
std::unordered_map<HWND, Window*>& Objects() {
    static std::unordered_map<HWND, Window*> objects;
    return objects;
}

// Where a notification to a parent comes from: the child that should handle it.
HWND NotifyingChild(HWND parent, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lp); // null for menus and accelerators
    case WM_NOTIFY:
        return reinterpret_cast<const NMHDR*>(lp)->hwndFrom;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        return item->CtlType == ODT_MENU ? nullptr : item->hwndItem;
    }
    case WM_MEASUREITEM:
        return wp ? GetDlgItem(parent, int(wp)) : nullptr;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lp);
    }
    return nullptr;
}
} // namespace

Window::~Window() {
    Destroy();
}

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
        // A name some other code registered already would bring its procedure with it: only
        // a class of our own registration finds its objects.
        if (!RegisterClassExW(&wc)) {
            const DWORD error = GetLastError();
            Log(std::wstring(L"cannot register the window class ") + args.className + L", error " +
                IntToStr(error));
            registered.erase(args.className);
            return false;
        }
    }
    HMENU id = (args.style & WS_CHILD) ? reinterpret_cast<HMENU>(INT_PTR(args.id)) : nullptr;
    HWND hwnd =
        CreateWindowExW(args.exStyle, args.className, args.text.c_str(), args.style, args.x, args.y,
                        args.width, args.height, args.parent, id, GetModuleHandleW(nullptr), this);
    return hwnd != nullptr;
}

bool Window::Adopt(HWND hwnd) {
    if (!hwnd || hwnd_ || FromHandle(hwnd)) return false;
    hwnd_ = hwnd;
    Objects()[hwnd] = this;
    classProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::Procedure)));
    ++Counts().windows;
    return true;
}

Window* Window::FromHandle(HWND hwnd) {
    auto found = Objects().find(hwnd);
    return found == Objects().end() ? nullptr : found->second;
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

LRESULT Window::Default(UINT msg, WPARAM wp, LPARAM lp) {
    if (classProcedure_) return CallWindowProcW(classProcedure_, hwnd_, msg, wp, lp);
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    return Default(msg, wp, lp);
}

bool Window::Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    HWND child = NotifyingChild(hwnd_, msg, wp, lp);
    // A combo box's own edit and list pass their colour requests on through the combo box:
    // the nearest window with an object below this one answers for them.
    for (HWND w = child; w && w != hwnd_; w = GetParent(w)) {
        if (Window* target = FromHandle(w)) return target->HandleReflected(msg, wp, lp, result);
    }
    return false;
}

void Window::Forget() {
    if (classProcedure_) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProcedure_));
        classProcedure_ = nullptr;
    }
    Objects().erase(hwnd_);
    hwnd_ = nullptr;
    --Counts().windows;
}

LRESULT Window::Route(Window* self, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (self->Reflect(msg, wp, lp, result)) return result;
    return self->HandleMessage(msg, wp, lp);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        Objects()[hwnd] = self;
        ++Counts().windows;
    } else {
        self = FromHandle(hwnd);
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);

    LRESULT result = 0;
    // No exception may cross the window procedure: an error ends the current operation and
    // is shown in the application's standard error box.
    try {
        result = Route(self, msg, wp, lp);
    } catch (const std::exception& e) {
        ShowErrorBox(FromUtf8(e.what()));
    } catch (...) {
        ShowErrorBox(L"Erreur inattendue");
    }
    if (msg == WM_NCDESTROY) {
        self->Forget();
        self->OnDestroyed();
    }
    return result;
}

} // namespace tk
