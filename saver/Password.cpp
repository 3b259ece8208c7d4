#include "saver/Password.h"

#include "toolkit/Handles.h"
#include "toolkit/System.h"

namespace {
using VerifyFn = BOOL(WINAPI*)(HWND);

// Reads "ScreenSaveUsePassword"; nothing when it is missing or not a 32-bit integer.
bool ReadUsePassword(HKEY key, DWORD& value) {
    DWORD type = 0, size = sizeof value;
    return RegQueryValueExW(key, L"ScreenSaveUsePassword", nullptr, &type,
                            reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof value;
}

bool VerifyWithModule(HWND saverWindow) {
    tk::Module module(LoadLibraryW((tk::SystemDirectory() + L"PASSWORD.CPL").c_str()));
    if (!module) return true;
    auto verify = reinterpret_cast<VerifyFn>(
        reinterpret_cast<void*>(GetProcAddress(module.Get(), "VerifyScreenSavePwd")));
    if (!verify) return true;
    return (verify(saverWindow) & 0xFF) != 0;
}
} // namespace

bool PasswordAllowsExit(HWND saverWindow) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_READ, &raw) !=
        ERROR_SUCCESS)
        return true;
    tk::RegKey key(raw);
    // The cursor shows while the system asks for the password, and hides again after.
    ShowCursor(TRUE);
    DWORD usePassword = 0;
    bool allowed = !ReadUsePassword(key.Get(), usePassword) || usePassword == 0 ||
                   VerifyWithModule(saverWindow);
    ShowCursor(FALSE);
    return allowed;
}
