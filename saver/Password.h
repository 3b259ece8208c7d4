#pragma once
#include <windows.h>

// The Windows screen-saver password check: true when the saver may end. Without the
// "ScreenSaveUsePassword" setting, with it at 0, or without a usable "PASSWORD.CPL", the
// saver ends unchecked; otherwise VerifyScreenSavePwd decides.
bool PasswordAllowsExit(HWND saverWindow);
