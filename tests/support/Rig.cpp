#include "tests/support/Rig.h"

#include "toolkit/Dib.h"
#include "toolkit/Handles.h"

bool PumpMessages(HWND dialog) {
    bool quit = false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            continue;
        }
        if (dialog && IsWindow(dialog) && IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return quit;
}

void PumpFor(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (int(end - GetTickCount()) > 0) {
        PumpMessages();
        Sleep(10);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD deadlineMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition()) return true;
        if (GetTickCount() - start > deadlineMs) return false;
        Sleep(10);
    }
}

std::vector<uint32_t> ReadScreen(const RECT& area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    std::vector<uint32_t> pixels;
    tk::Dib copy;
    if (w <= 0 || h <= 0 || !copy.Create(w, h)) return pixels;
    tk::WindowDc screen(nullptr);
    BitBlt(copy.Dc(), 0, 0, w, h, screen.Get(), area.left, area.top, SRCCOPY);
    GdiFlush();
    pixels.assign(copy.Bits(), copy.Bits() + size_t(w) * h);
    for (auto& px : pixels)
        px &= 0xFFFFFF;
    return pixels;
}
