#pragma once
// The window classes of the bare programs the saver is measured against: the system's own
// procedure and a stock brush, nothing of the program's.
#include <windows.h>

// Registers the class once per process and gives its name back.
inline const wchar_t* BareClass(const wchar_t* name, int stockBrush) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(stockBrush));
    wc.lpszClassName = name;
    RegisterClassW(&wc); // a second registration of the same class fails, and changes nothing
    return name;
}
