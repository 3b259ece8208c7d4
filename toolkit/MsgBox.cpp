#include "toolkit/MsgBox.h"

namespace tk {

namespace {
BoxHook& Hook() {
    static BoxHook hook;
    return hook;
}

// The box being opened by ShowBoxOver on this thread goes to the centre of this area when it
// is first activated, before it shows.
thread_local RECT boxArea;
thread_local HHOOK boxHook = nullptr;

LRESULT CALLBACK CentreBox(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wp);
        RECT r;
        if (GetWindowRect(box, &r)) {
            const int w = r.right - r.left, h = r.bottom - r.top;
            SetWindowPos(box, nullptr, (boxArea.left + boxArea.right - w) / 2,
                         (boxArea.top + boxArea.bottom - h) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        HHOOK hook = boxHook;
        boxHook = nullptr;
        UnhookWindowsHookEx(hook);
        return 0;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
} // namespace

const std::wstring& AppTitle() {
    static const std::wstring title = L"Vistamur";
    return title;
}

int ShowBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
    if (Hook()) return Hook()(BoxRequest{owner, text, caption, flags});
    // The saver window is topmost over the whole screen: the box must come above it and
    // take the input, or the user could neither see nor answer it.
    if (owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST)) flags |= MB_TOPMOST;
    return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

int ShowBoxOver(const RECT& area, HWND owner, const std::wstring& text,
                const std::wstring& caption, UINT flags) {
    if (Hook()) return ShowBox(owner, text, caption, flags);
    boxArea = area;
    boxHook = SetWindowsHookExW(WH_CBT, CentreBox, nullptr, GetCurrentThreadId());
    const int answer = ShowBox(owner, text, caption, flags);
    if (boxHook) { // the box never came
        UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
    }
    return answer;
}

void ShowErrorBox(const std::wstring& message) {
    ShowBox(GetActiveWindow(), message, AppTitle(), MB_OK | MB_ICONERROR);
}

void SetBoxHook(BoxHook hook) { Hook() = std::move(hook); }

} // namespace tk
