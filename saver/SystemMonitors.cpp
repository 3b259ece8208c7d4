#include "saver/SystemMonitors.h"

#include <windows.h>

#include "toolkit/Log.h"
#include "toolkit/Text.h"

namespace {
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<Monitor>*>(data)->push_back(
        {{r.left, r.top, r.right - r.left, r.bottom - r.top},
         (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    return TRUE;
}
} // namespace

std::vector<Monitor> SystemMonitors() {
    std::vector<Monitor> monitors;
    if (!EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors)))
        tk::Log(L"the monitors could not be listed, error " + tk::IntToStr(int(GetLastError())) +
                L"; one show covers the screen");
    return monitors;
}

Box VirtualScreen() {
    Box box{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    // A system that knows no virtual screen has the primary one.
    if (box.width <= 0 || box.height <= 0)
        box = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return box;
}
