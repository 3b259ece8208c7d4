#pragma once
// The built Vistamur.scr started as Windows starts a screen saver, in its own process, and
// waited on from outside. Every wait polls against a generous deadline: the deadlines only
// keep a broken run from hanging, they say nothing about speed.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/Rig.h"
#include "toolkit/NonCopyable.h"

constexpr DWORD kStartDeadlineMs = 30000; // a window appears, a capture is taken
constexpr DWORD kExitDeadlineMs = 15000;  // a process ends

// The folder of this test program, where the build also puts Vistamur.scr and PASSWORD.CPL.
std::wstring BuildFolder();

// The CPU time (kernel and user) a process has used so far, in seconds; 0 if unreadable.
double ProcessCpuSeconds(DWORD processId);

// A process's visible top-level windows.
std::vector<HWND> VisibleWindowsOf(DWORD processId);

class SaverProcess : private tk::NonCopyable {
  public:
    // Starts the built Vistamur.scr with these arguments, e.g. L"/s" or L"/p 1234"; or the
    // program at the given full path (an installed saver, the installer) the same way.
    explicit SaverProcess(const std::wstring& arguments, const std::wstring& program = {});
    ~SaverProcess(); // a process still running is ended, so one failure does not spoil the next

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    bool Running() const;
    // The exit code once the process has ended within the deadline; nothing otherwise.
    std::optional<DWORD> WaitExit(DWORD deadlineMs = kExitDeadlineMs);
    // The process's visible top-level windows.
    std::vector<HWND> VisibleWindows() const;
    // Its first visible top-level window, once one shows; null if none did in time.
    HWND WaitForWindow(DWORD deadlineMs = kStartDeadlineMs);
    // Waits until the window has captured the mouse (the saver does this last in its start).
    bool WaitForCapture(HWND window, DWORD deadlineMs = kStartDeadlineMs);
    // The CPU time it has used so far, in seconds.
    double CpuSeconds() const { return ProcessCpuSeconds(info_.dwProcessId); }
    // Bytes the process has committed for itself (heap, bitmaps), 0 once it has ended.
    size_t PrivateBytes() const;
    // Its resident memory (working set), 0 once it has ended.
    size_t ResidentBytes() const;
    // Asks the saver window to end, as another program may, and waits as WaitExit does.
    std::optional<DWORD> EndByRequest(DWORD deadlineMs = kExitDeadlineMs);
    // True if the process ended within the deadline with code 0 and never showed a window.
    bool EndsAtOnceWithoutWindow(DWORD deadlineMs = kExitDeadlineMs);

  private:
    PROCESS_INFORMATION info_ = {};
};
