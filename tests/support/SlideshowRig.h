#pragma once
// What the slideshow tests and benchmarks share: the settings of a run, a saver window built
// without the registry, and the soak loop. Header-only and free of GoogleTest, so that the
// benchmarks include it too.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "settings/Random.h"
#include "settings/SettingRows.h"
#include "saver/SaverWindow.h"
#include "toolkit/Counters.h"
#include "toolkit/MsgBox.h"

#include "tests/support/Photos.h"
#include "tests/support/ProcessMemory.h"
#include "tests/support/Rig.h"

namespace rig {

struct RunSettings {
    int transition = 1;
    int tiles = 3;
    int speed = 10;
    int delay = 1000;
    int pause = 30;
    bool names = false;
    bool dates = false;
    // A refill prepares its picture at once on the window's thread, so that each step's
    // refills can be counted; false: on the show's worker, as the saver does.
    bool preparesInline = true;
};

// The settings a run reads, without the configuration files.
inline SettingsRecord SettingsOf(const RunSettings& run) {
    SettingsRecord s;
    s.transitionList = L";" + std::to_wstring(run.transition) + L";";
    s.maxTiles = run.tiles;
    s.stepPixels = run.speed;
    s.stepsPerTenSeconds = run.delay;
    s.displaySeconds = run.pause;
    s.captionName = run.names;
    s.captionDate = run.dates;
    s.rememberSeen = false;
    return s;
}

// A saver window over the screen that does not run the start-up when it shows: the test
// builds what it needs. It stays hidden unless shown is asked; its tiles work the same.
inline std::unique_ptr<SaverWindow> NewSaverWindow(bool shown) {
    // A display just started may not have told Wine where the pointer is: the first mouse
    // event of the new window would then jump from (0, 0) and end the saver as input does.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    auto saver = std::make_unique<SaverWindow>();
    saver->firstActivation = false;
    saver->aheadJobs.onWindowThread = true; // each step refills as it did without a worker
    if (!saver->CreateHidden()) return nullptr;
    if (shown) {
        SetWindowPos(saver->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        UpdateWindow(saver->Handle());
    }
    return saver;
}

// Steps the shows until no central tile is changing: an animation's frames come with the
// steps, a frame's time apart.
inline void FinishChanges(SaverWindow& saver) {
    const DWORD start = GetTickCount();
    while (saver.Animating() && GetTickCount() - start < 30000) {
        Sleep(kFrameMs);
        saver.OnStepTick();
        saver.MoveOneStep();
    }
}

// A saver window as Init leaves it once its first tiles are in, with the given files as its
// catalogue; given monitors, it asks them instead of the system's.
inline std::unique_ptr<SaverWindow>
StartSaver(const RunSettings& run, const std::vector<std::wstring>& files, bool shown = false,
           std::function<std::vector<Monitor>()> monitors = nullptr) {
    auto saver = NewSaverWindow(shown);
    if (!saver) return nullptr;
    saver->aheadJobs.onWindowThread = run.preparesInline;
    saver->UseSettings(SettingsOf(run));
    if (monitors) saver->readMonitors = std::move(monitors);
    saver->BuildSlideshow();
    saver->Catalogue().filesToSee = files;
    saver->FirstRefills();
    FinishChanges(*saver);
    return saver;
}

// The process's private bytes (its commit charge; Wine leaves PrivateUsage at 0 but keeps
// PagefileUsage, which is the same figure).
inline double PrivateMb() {
    return Mb(ProcessMemory().PagefileUsage);
}

struct Snapshot {
    long gdiObjects = 0;
    long windows = 0;
    double privateMb = 0;
};

inline Snapshot Take() {
    return {tk::Counts().gdiObjects, tk::Counts().windows, PrivateMb()};
}

struct SoakResult {
    long refills = 0;
    long loads = 0;
    bool closed = false; // the saver window was closed under the soak
    Snapshot early;      // after the first fifth of the refills
    Snapshot late;       // at the end
};

// Steps the saver's strip until it has made `refills` refills, or until it stops (closed by
// input, say: every step of the fastest strip refills some tile, so a run of 1000 steps
// without one ends the soak rather than hanging). A file that failed is forgotten: the files
// of `library` that are neither to see nor seen are brought back after each step, as a
// rescan of the folders would, so that the broken ones keep failing for the whole run. The
// counts are taken after the first fifth of the refills (atEarly runs then too) and at the
// end.
inline SoakResult SoakSaver(SaverWindow& saver, long refills,
                            const std::vector<std::wstring>& library,
                            const std::function<void()>& atEarly = nullptr) {
    SoakResult result;
    const long earlyAt = refills / 5;
    bool early = false;
    long stepsWithoutRefill = 0, lastRefills = saver.Refills();
    const auto listed = [](const std::vector<std::wstring>& list, const std::wstring& path) {
        return std::find(list.begin(), list.end(), path) != list.end();
    };
    while (saver.Refills() < refills && !saver.Closed() && stepsWithoutRefill < 1000) {
        saver.MoveOneStep();
        stepsWithoutRefill = saver.Refills() == lastRefills ? stepsWithoutRefill + 1 : 0;
        lastRefills = saver.Refills();
        PumpMessages();
        FileCatalogue& catalogue = saver.Catalogue();
        for (const auto& path : library)
            if (!listed(catalogue.filesToSee, path) && !listed(catalogue.seenFiles, path))
                catalogue.filesToSee.push_back(path);
        if (!early && saver.Refills() >= earlyAt) {
            result.early = Take();
            if (atEarly) atEarly();
            early = true;
        }
    }
    result.late = Take();
    result.closed = saver.Closed();
    result.refills = saver.Refills();
    result.loads = saver.Loads();
    return result;
}

// The fastest strip: 20 tiles, the largest step, no timer; one file in ten is corrupt.
// Steps until the given number of refills, noting the counts after the first fifth and at
// the end.
inline SoakResult Soak(const std::wstring& folder, long refills) {
    std::vector<std::wstring> files, corrupt;
    for (int i = 0; i < 40; ++i) {
        std::wstring path = folder + L"soak" + std::to_wstring(i) + L".jpg";
        if (i % 10 == 9) {
            MakeCorruptFile(path);
            corrupt.push_back(path);
        } else {
            MakeSolidJpeg(path, 40 + 13 * i, 30 + 7 * (i % 9), 0x102030u * (i + 1));
        }
        files.push_back(path);
    }
    RunSettings run;
    run.transition = 1;
    run.tiles = 20;
    run.speed = RowOf(&SettingsRecord::stepPixels).highest;
    run.delay = 1000;
    run.names = run.dates = true;
    auto saver = StartSaver(run, files, true);
    if (!saver) return {};
    return SoakSaver(*saver, refills, corrupt);
}

} // namespace rig
