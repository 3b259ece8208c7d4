// The soak of the clips through the slideshow's own refills: 500 refills of the fastest strip
// (20 tiles, no timer) from a library of clips and photos, with a broken clip and a sound-only
// file among them. What the program creates, the MCI devices no tile holds, and memory must
// not grow between the first fifth of the refills and the end.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"
#include "tests/video/ClipRig.h"
#include "toolkit/MsgBox.h"

int wmain(int argc, wchar_t** argv) {
    tk::SetBoxHook([](const tk::BoxRequest&) { return IDOK; });
    const long refills = argc > 1 ? _wtol(argv[1]) : 500;
    const TempDir temp;
    const std::wstring& folder = temp.Path();
    std::vector<std::wstring> files;
    for (int i = 0; i < 8; ++i) {
        std::wstring path = folder + L"photo" + std::to_wstring(i) + L".jpg";
        MakeSolidJpeg(path, 100 + 37 * i, 80 + 11 * i, 0x204060u * (i + 1));
        files.push_back(path);
    }
    const std::wstring broken = folder + L"broken.avi";
    MakeCorruptFile(broken);
    for (const wchar_t* clip : {L"short.avi", L"clip.avi", L"short.mpg", L"clip.mov", L"xvid.avi",
                                L"bottomup.avi", L"short.avi", L"sound.mpa"})
        files.push_back(cliprig::Media(clip));
    files.push_back(broken);
    const std::vector<std::wstring> library = files;

    rig::RunSettings run;
    run.transition = 1;
    run.tiles = 20;
    run.speed = 200;
    run.delay = 1000;
    rig::UseSettings(run);
    DWORD start = GetTickCount();
    auto scrn = rig::StartSaver(run, files, true);
    Settings.opdebfilm = true;
    Settings.opBclfilm = true;
    auto unowned = [&] {
        long held = 0;
        for (const auto& player : scrn->PrimaryShow().Strip().Players)
            held += player->IsOpen() ? 1 : 0;
        return tk::Counts().mciDevices - held;
    };
    rig::Snapshot early, late;
    long earlyMci = 0;
    bool earlyTaken = false;
    while (scrn->Refills() < refills) {
        scrn->MoveStep();
        PumpMessages();
        // Files that failed are forgotten; bring them back as a rescan of the folder would.
        for (const auto& path : library)
            if (std::find(scrn->Catalogue().ToSeeFiles.begin(), scrn->Catalogue().ToSeeFiles.end(),
                          path) == scrn->Catalogue().ToSeeFiles.end() &&
                std::find(scrn->Catalogue().SeenFiles.begin(), scrn->Catalogue().SeenFiles.end(),
                          path) == scrn->Catalogue().SeenFiles.end())
                scrn->Catalogue().ToSeeFiles.push_back(path);
        if (!earlyTaken && scrn->Refills() >= refills / 5) {
            early = rig::Take();
            earlyMci = unowned();
            earlyTaken = true;
        }
    }
    late = rig::Take();
    std::printf("clip_soak_refills: %ld\n", scrn->Refills());
    std::printf("clip_soak_loads: %ld\n", scrn->Loads());
    std::printf("clip_soak_seconds: %.1f\n", (GetTickCount() - start) / 1000.0);
    std::printf("clip_soak_gdi_objects_growth: %ld\n", late.gdiObjects - early.gdiObjects);
    std::printf("clip_soak_windows_growth: %ld\n", late.windows - early.windows);
    std::printf("clip_soak_mci_growth: %ld\n", unowned() - earlyMci);
    std::printf("clip_soak_private_mb_growth: %.1f\n", late.privateMb - early.privateMb);
    scrn.reset();
    std::printf("clip_soak_mci_open_after_close: %ld\n", tk::Counts().mciDevices);
    return 0;
}
