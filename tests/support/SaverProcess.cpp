#include "tests/support/SaverProcess.h"

#include <psapi.h>
#include <winternl.h>

#include <algorithm>

#include "saver/SaverWindow.h"

std::wstring BuildFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// Wine answers GetProcessTimes for another process with about nothing; the system's list of
// processes carries the times it reads from each process itself, the same as
// GetProcessTimes gives a process for its own.
double ProcessCpuSeconds(DWORD processId) {
    using Query = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    std::vector<char> list(1 << 16);
    ULONG needed = 0;
    NTSTATUS status;
    while ((status = query(SystemProcessInformation, list.data(), ULONG(list.size()),
                           &needed)) == NTSTATUS(0xC0000004L)) // the list did not fit
        list.resize(std::max<size_t>(needed, list.size() * 2));
    if (status != 0) return 0;
    for (size_t at = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(&list[at]);
        if (DWORD(ULONG_PTR(entry->UniqueProcessId)) == processId)
            return double(entry->UserTime.QuadPart + entry->KernelTime.QuadPart) / 1e7;
        if (!entry->NextEntryOffset) return 0;
        at += entry->NextEntryOffset;
    }
}

// --- the process -------------------------------------------------------------------------

SaverProcess::SaverProcess(const std::wstring& arguments, const std::wstring& path) {
    const std::wstring program = path.empty() ? BuildFolder() + L"Vistamur.scr" : path;
    // As Windows starts a screen saver: the quoted path, then the switches.
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info_))
        info_ = {};
}

SaverProcess::~SaverProcess() {
    if (!Started()) return;
    if (Running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, kExitDeadlineMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool SaverProcess::Running() const {
    return Started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> SaverProcess::WaitExit(DWORD deadlineMs) {
    if (!Started() || !WaitUntil([this] { return !Running(); }, deadlineMs)) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

namespace {
struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && IsWindowVisible(hwnd)) search->found.push_back(hwnd);
    return TRUE;
}
} // namespace

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
    WindowSearch search = {processId, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> SaverProcess::VisibleWindows() const {
    return VisibleWindowsOf(info_.dwProcessId);
}

HWND SaverProcess::WaitForWindow(DWORD deadlineMs) {
    HWND window = nullptr;
    WaitUntil(
        [&] {
            auto windows = VisibleWindows();
            if (!windows.empty()) window = windows.front();
            return window != nullptr || !Running();
        },
        deadlineMs);
    return window;
}

bool SaverProcess::WaitForCapture(HWND window, DWORD deadlineMs) {
    return WaitUntil(
        [&] {
            GUITHREADINFO gui = {};
            gui.cbSize = sizeof gui;
            return GetGUIThreadInfo(info_.dwThreadId, &gui) && gui.hwndCapture == window;
        },
        deadlineMs);
}

size_t SaverProcess::PrivateBytes() const {
    // The commit charge: what Wine reports of another process's private memory (its
    // PrivateUsage reads 0).
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!Running() || !GetProcessMemoryInfo(info_.hProcess, &counters, sizeof counters)) return 0;
    return counters.PagefileUsage;
}

size_t SaverProcess::ResidentBytes() const {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!Running() || !GetProcessMemoryInfo(info_.hProcess, &counters, sizeof counters)) return 0;
    return counters.WorkingSetSize;
}

std::optional<DWORD> SaverProcess::EndByRequest(DWORD deadlineMs) {
    for (HWND window : VisibleWindows())
        PostMessageW(window, WM_EXITREQUEST, 0, 0);
    return WaitExit(deadlineMs);
}

bool SaverProcess::EndsAtOnceWithoutWindow(DWORD deadlineMs) {
    bool showedWindow = false;
    bool ended = WaitUntil(
        [&] {
            if (!VisibleWindows().empty()) showedWindow = true;
            return !Running();
        },
        deadlineMs);
    DWORD code = 1;
    if (ended) GetExitCodeProcess(info_.hProcess, &code);
    return ended && !showedWindow && code == 0;
}
