#pragma once
// The base of every window of the program: one window procedure per class finds the C++
// object (stored at WM_NCCREATE) and hands the message to its member function.
#include <windows.h>

#include <string>

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
};

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool Create(const WindowArgs& args);
    void Destroy();
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
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }
    // Called when the window is gone; the object may be reused or deleted afterwards.
    virtual void OnDestroyed() {}

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

} // namespace tk
