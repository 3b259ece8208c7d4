#pragma once
// The first clip that the DirectShow device ("mpegvideo") opens in a process takes up to a
// second, while it loads its filters; later opens take a fraction of that. The saver opens
// one such clip of its catalogue while its start banner shows, so that no refill halts the
// moving strip for that long later.
#include <windows.h>

#include <string>
#include <vector>

// Opens and closes the first clip among the files that the AVI device would not play, with
// the given window as its display. Nothing is shown. True when a clip was tried.
bool WarmUpClipDevices(const std::vector<std::wstring>& files, HWND display);
