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

BOOL CALLBACK CountMonitor(HMONITOR, HDC, LPRECT, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The primary monitor, when the owner lies over several: the system would centre the box on
// the one that holds most of the owner.
bool PrimaryIfOwnerSpans(HWND owner, RECT& primary) {
    RECT r;
    int monitors = 0;
    if (!owner || !GetWindowRect(owner, &r) ||
        !EnumDisplayMonitors(nullptr, &r, CountMonitor, reinterpret_cast<LPARAM>(&monitors)) ||
        monitors < 2)
        return false;
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info)) return false;
    primary = info.rcMonitor;
    return true;
}

int ShowSystemBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
    // The saver window is topmost over the whole screen: the box must come above it and
    // take the input, or the user could neither see nor answer it.
    if (owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST)) flags |= MB_TOPMOST;
    return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}
} // namespace

const std::wstring& AppTitle() {
    static const std::wstring title = L"Vistamur";
    return title;
}

int ShowBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
    if (Hook()) return Hook()(BoxRequest{owner, text, caption, flags});
    RECT primary;
    if (PrimaryIfOwnerSpans(owner, primary))
        return ShowBoxOver(primary, owner, text, caption, flags);
    return ShowSystemBox(owner, text, caption, flags);
}

int ShowBoxOver(const RECT& area, HWND owner, const std::wstring& text, const std::wstring& caption,
                UINT flags) {
    if (Hook()) return ShowBox(owner, text, caption, flags);
    boxArea = area;
    boxHook = SetWindowsHookExW(WH_CBT, CentreBox, nullptr, GetCurrentThreadId());
    const int answer = ShowSystemBox(owner, text, caption, flags);
    if (boxHook) { // the box never came
        UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
    }
    return answer;
}

void ShowErrorBox(const std::wstring& message) {
    ShowBox(GetActiveWindow(), message, AppTitle(), MB_OK | MB_ICONERROR);
}

void SetBoxHook(BoxHook hook) {
    Hook() = std::move(hook);
}

} // namespace tk
