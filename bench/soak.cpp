// The soak: 5,000 refills of the fastest strip (20 tiles, the largest step, no timer) from a
// library where one file in ten is corrupt. What the program creates and memory must not
// grow between the first thousand refills and the last.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"
#include "toolkit/MsgBox.h"

int wmain(int argc, wchar_t** argv) {
    tk::SetBoxHook([](const tk::BoxRequest&) { return IDOK; });
    long refills = argc > 1 ? _wtol(argv[1]) : 5000;
    const TempDir temp;
    const std::wstring& folder = temp.Path();

    DWORD start = GetTickCount();
    rig::SoakResult r = rig::Soak(folder, refills);
    std::printf("soak_refills: %ld\n", r.refills);
    std::printf("soak_loads: %ld\n", r.loads);
    std::printf("soak_seconds: %.1f\n", (GetTickCount() - start) / 1000.0);
    std::printf("soak_gdi_objects_growth: %ld\n", r.late.gdiObjects - r.early.gdiObjects);
    std::printf("soak_windows_growth: %ld\n", r.late.windows - r.early.windows);
    std::printf("soak_private_mb_growth: %.1f\n", r.late.privateMb - r.early.privateMb);
    return 0;
}
