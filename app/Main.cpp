#include <windows.h>

#include <string>
#include <vector>

#include "app/RunModes.h"
#include "toolkit/Log.h"
#include "toolkit/Worker.h"

namespace {
// What the workers still running at the end are given: a clip closing, a photo's last piece.
constexpr DWORD kWorkersEndWaitMs = 500;
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RunProgram(ReadProcessCommandLine());
    // The memory is written and the single-instance semaphore released by now. A worker in a
    // read that never returns (a share gone) must not hold the process, nor run on while the
    // runtime tears down what it may still call: the process then ends without the teardown.
    const std::vector<std::wstring> left = tk::Worker::WaitForAll(kWorkersEndWaitMs);
    if (!left.empty()) {
        for (const std::wstring& name : left)
            tk::Log(L"worker \"" + name +
                    L"\" still running at the end; the process ends without it");
        TerminateProcess(GetCurrentProcess(), 0);
    }
    return 0;
}
