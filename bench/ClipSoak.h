#pragma once
// The soak of the clips through the slideshow's own refills: refills of the fastest strip
// (20 tiles, no timer) from a library of clips and photos, with a broken file among them.
// What the program creates, the players no tile holds (MCI devices and the clips drawn
// through Media Foundation), and memory must not grow between the first fifth of the
// refills and the end. Figures are printed under the name given.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/Photos.h"
#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"
#include "tests/support/ClipRig.h"
#include "toolkit/MsgBox.h"

// clips: names in the test media folder; broken: the name of a broken clip made here. A soak
// that ends early (the saver closed under it) says so in its refills.
inline void RunClipSoak(const char* name, const std::vector<std::wstring>& clips,
                        const std::wstring& broken, long refills) {
    tk::SetBoxHook([](const tk::BoxRequest&) { return IDOK; });
    const TempDir temp;
    const std::wstring& folder = temp.Path();
    std::vector<std::wstring> files;
    for (int i = 0; i < 8; ++i) {
        std::wstring path = folder + L"photo" + std::to_wstring(i) + L".jpg";
        MakeSolidJpeg(path, 100 + 37 * i, 80 + 11 * i, 0x204060u * (i + 1));
        files.push_back(path);
    }
    const std::wstring brokenPath = folder + broken;
    MakeCorruptFile(brokenPath);
    for (const std::wstring& clip : clips)
        files.push_back(cliprig::Media(clip));
    files.push_back(brokenPath);

    rig::RunSettings run;
    run.transition = 1;
    run.tiles = 20;
    run.speed = 200;
    run.delay = 1000;
    DWORD start = GetTickCount();
    auto saver = rig::StartSaver(run, files, true);
    if (!saver) return;
    SettingsRecord looping = saver->Settings();
    looping.clipPlaysWhenVisible = true;
    looping.clipLoops = true;
    saver->UseSettings(looping);
    auto unowned = [&] {
        long held = 0;
        for (const auto& show : saver->Shows())
            for (const auto& player : show->Strip().players)
                held += player->IsOpen() ? 1 : 0;
        return tk::Counts().mciDevices + tk::Counts().framePlayers - held;
    };
    long earlyUnheld = 0;
    const rig::SoakResult soak =
        rig::SoakSaver(*saver, refills, files, [&] { earlyUnheld = unowned(); });
    const rig::Snapshot &early = soak.early, &late = soak.late;
    std::printf("%s_refills: %ld\n", name, saver->Refills());
    std::printf("%s_loads: %ld\n", name, saver->Loads());
    std::printf("%s_seconds: %.1f\n", name, (GetTickCount() - start) / 1000.0);
    std::printf("%s_gdi_objects_growth: %ld\n", name, late.gdiObjects - early.gdiObjects);
    std::printf("%s_windows_growth: %ld\n", name, late.windows - early.windows);
    std::printf("%s_unheld_players_growth: %ld\n", name, unowned() - earlyUnheld);
    std::printf("%s_private_mb_growth: %.1f\n", name, late.privateMb - early.privateMb);
    saver.reset();
    std::printf("%s_players_open_after_close: %ld\n", name,
                tk::Counts().mciDevices + tk::Counts().framePlayers);
}
