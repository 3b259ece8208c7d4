#pragma once
// Where the build puts Vistamur.scr: beside the test programs.
#include <windows.h>

#include <string>

inline std::wstring SaverPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1) + L"Vistamur.scr";
}
