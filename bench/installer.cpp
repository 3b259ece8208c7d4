// What the installer costs: its size beside the program it carries, and the time of a silent
// install and of a silent uninstall in the prefix, each the median of a few rounds. The prefix
// is given back as it was found.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/Measure.h"
#include "tests/support/InstallerFootprint.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/TempDir.h"

namespace {
constexpr int kRounds = 5;

double FileKb(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return double(data.nFileSizeLow) / 1024.0;
}
} // namespace

int wmain() {
    printf("installer_kb: %.0f\n", FileKb(SetupExe()));
    printf("program_kb: %.0f\n", FileKb(BuildFolder() + L"Vistamur.scr"));

    InstallerFootprint footprint;
    if (!footprint.FoundClean()) {
        printf("install_ms: (skipped: Vistamur is already installed in the prefix)\n");
        return 0;
    }
    std::vector<double> installs, uninstalls;
    for (int round = 0; round < kRounds; ++round) {
        bool ok = true;
        installs.push_back(TimeMs([&] { ok = RunSetup() == 0u; }));
        uninstalls.push_back(TimeMs([&] { ok = ok && RunQuietUninstall() == 0u; }));
        RemoveTree(SharedDataFolder().substr(0, SharedDataFolder().size() - 1));
        if (!ok) {
            printf("install_ms: (failed: the install or the uninstall did not succeed)\n");
            return 1;
        }
    }
    printf("install_ms: %.0f\n", Median(installs));
    printf("uninstall_ms: %.0f\n", Median(uninstalls));
    return 0;
}
