#include "app/RunModes.h"

#include <commctrl.h>

#include "app/Preview.h"
#include "dialog/SettingsDialog.h"
#include "saver/SaverWindow.h"
#include "toolkit/App.h"
#include "toolkit/Handles.h"
#include "toolkit/System.h"

namespace {
using PwdChangeFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);

HWND HandleOrNull(const std::wstring& arg) {
    return ParseWindowHandle(arg).value_or(nullptr);
}

// The saver shows photos pixel for pixel; the dialog, laid out in fixed pixels, is left
// to the system's scaling (the manifest declares no awareness).
void DeclareDpiAware() {
    using SetAwareFn = BOOL(WINAPI*)();
    if (auto fn = reinterpret_cast<SetAwareFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDPIAware"))))
        fn();
}

void RunUntilClosed(tk::Window& window) {
    tk::App& app = tk::App::Instance();
    window.Show();
    UpdateWindow(window.Handle());
    app.Run();
}
} // namespace

void RunPasswordChange(const std::wstring& parentArg) {
    tk::Module mpr(LoadLibraryW((tk::SystemDirectory() + L"MPR.DLL").c_str()));
    if (!mpr) return;
    auto change = reinterpret_cast<PwdChangeFn>(
        reinterpret_cast<void*>(GetProcAddress(mpr.Get(), "PwdChangePasswordA")));
    if (change) change("SCRSAVE", HandleOrNull(parentArg), 0, nullptr);
}

int RunProgram(const CommandLine& line) {
    const RunModeKind mode = ClassifyRunMode(line.arg1);
    if (mode == rmPasswordChange) {
        RunPasswordChange(line.arg2);
        return 0;
    }

    // The name alone marks a running instance: it is never waited on or released.
    tk::KernelHandle semaphore(CreateSemaphoreW(nullptr, 0, 1, L"SimpleSaverSemaphore"));
    if (semaphore && GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    if (mode == rmPreview) {
        RunPreview(HandleOrNull(line.arg2));
        return 0;
    }
    if (mode == rmConfigure) {
        SettingsDialog dialog;
        if (dialog.Open()) RunUntilClosed(dialog);
        return 0;
    }
    DeclareDpiAware();
    SaverWindow saver;
    if (saver.CreateHidden()) RunUntilClosed(saver);
    return 0;
}
