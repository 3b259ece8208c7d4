#pragma once
// Starting another program from a test or a benchmark.
#include <windows.h>

#include <string>
#include <utility>

#include "toolkit/Handles.h"

// Starts the command line (a program and its arguments); false if it could not start. Its
// process handle goes to *process when asked (Wine gives none for a Unix program);
// inheritHandles lets it write to this program's console.
inline bool Launch(std::wstring line, tk::KernelHandle* process = nullptr,
                   bool inheritHandles = false) {
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, inheritHandles, 0, nullptr, nullptr,
                        &si, &pi))
        return false;
    tk::KernelHandle thread(pi.hThread), own(pi.hProcess);
    if (process) *process = std::move(own);
    return true;
}
