#pragma once
// The base of every window of the program: one window procedure per class finds the C++
// object (stored at WM_NCCREATE) and hands the message to its member function.
#include <windows.h>

#include <string>

#include "toolkit/NonCopyable.h"

namespace tk {

struct WindowArgs {
    const wchar_t* className = L"VistamurWindow";
    std::wstring text;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HBRUSH background = nullptr; // class brush; null when the window paints itself
    UINT classStyle = 0;
    HICON icon = nullptr;
    int id = 0; // a child's control id, which its parent's notifications carry
};

// The arguments of a child window of our own class at a place of its parent.
inline WindowArgs ChildArgs(const wchar_t* className, HWND parent, int x, int y, int width,
                            int height, DWORD style) {
    WindowArgs args;
    args.className = className;
    args.style = WS_CHILD | style;
    args.x = x;
    args.y = y;
    args.width = width;
    args.height = height;
    args.parent = parent;
    return args;
}

class Window : private NonCopyable {
  public:
    Window() = default;
    virtual ~Window();

    bool Create(const WindowArgs& args);
    // Takes over a window made by the system's own class (a list box, a button ...): its
    // messages pass through HandleMessage first, and Default hands them to the class.
    bool Adopt(HWND hwnd);
    void Destroy();
    // The object behind a window made or adopted here; null for any other window.
    static Window* FromHandle(HWND hwnd);
    HWND Handle() const { return hwnd_; }

    void Show(int how = SW_SHOW) { ShowWindow(hwnd_, how); }
    void Hide() { ShowWindow(hwnd_, SW_HIDE); }
    bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    // Its own visibility, whether or not its parents show (Visible needs them all).
    bool ShownItself() const {
        return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    RECT Bounds() const; // in the parent's client coordinates (screen for top-level windows)
    RECT ClientRect() const;

  protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
    // A notification that a child sent its parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
    // WM_MEASUREITEM, WM_CTLCOLOR*), handed back to the child's own object so that each
    // control reacts and colours itself in its own class. True when handled.
    virtual bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
        (void)msg, (void)wp, (void)lp, (void)result;
        return false;
    }
    // Called when the window is gone; the object may be reused or deleted afterwards.
    virtual void OnDestroyed() {}

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT Route(Window* self, UINT msg, WPARAM wp, LPARAM lp);
    bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void Forget();
    HWND hwnd_ = nullptr;
    WNDPROC classProcedure_ = nullptr; // the system class's own, for an adopted window
};

} // namespace tk
