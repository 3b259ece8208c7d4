// From the start of the process to the settings dialog shown and filled (100 configuration
// files in the install folder, 50 folders in "defdir"), against a bare Win32 program that
// opens one empty window, in the same run: their ratio.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/Measure.h"
#include "tests/support/DialogRig.h"

namespace {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

struct WindowOf {
    DWORD pid;
    HWND found = nullptr;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowOf*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || !IsWindowVisible(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

// Milliseconds from CreateProcess to the program's first visible top-level window; the
// window is closed and the process waited for afterwards. Negative on failure.
double OpenTime(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    WindowOf search{0};
    const double ms = TimeMs([&] {
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, nullptr, &startup, &info))
            return;
        search.pid = info.dwProcessId;
        for (DWORD start = GetTickCount(); !search.found && GetTickCount() - start < 30000;) {
            EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&search));
            if (!search.found) Sleep(1);
        }
    });
    if (!info.hProcess) return -1;
    if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return search.found ? ms : -1;
}

} // namespace

int wmain() {
    rig::Options options = rig::DialogOptions();
    rig::DialogInstall install(options);
    std::wstring folders;
    for (int i = 0; i < 50; ++i) {
        const std::wstring folder = install.File(L"dossier " + std::to_wstring(i));
        CreateDirectoryW(folder.c_str(), nullptr);
        folders += folder + L";";
    }
    WritePrivateProfileStringW(L"Options", L"defdir", folders.c_str(),
                               install.File(L"config 1.cfg").c_str());
    for (int i = 0; i < 100; ++i)
        WriteFileBytes(install.File(L"configuration " + std::to_wstring(i) + L".cfg"),
                       "[Options]\r\n");

    const std::wstring folder = ProgramFolder();
    std::vector<double> dialog, bare;
    for (int i = 0; i < 15; ++i) {
        bare.push_back(OpenTime(folder + L"bare_window.exe", L""));
        dialog.push_back(OpenTime(folder + L"Vistamur.scr", L"/c"));
    }
    const double d = Median(dialog), b = Median(bare);
    std::printf("dialog_open_ms: %.1f\n", d);
    std::printf("bare_window_open_ms: %.1f\n", b);
    std::printf("dialog_open_ratio: %.2f\n", b > 0 ? d / b : 0.0);
    return 0;
}
