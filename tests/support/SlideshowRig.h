#pragma once
// What the slideshow tests and benchmarks share: photos made on the spot, the settings of a
// run, a saver window built without the registry, and the soak loop. Header-only and free
// of GoogleTest, so that the benchmarks include it too.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Globals/Globals.h"
#include "Globals/Random.h"
#include "saver/SafeSettings.h"
#include "saver/Ssave.h"
#include "toolkit/Counters.h"
#include "toolkit/Jpeg.h"
#include "toolkit/MsgBox.h"

#include "tests/support/Rig.h"

namespace rig {

// A baseline JPEG of one colour (0xRRGGBB).
inline bool MakeSolidJpeg(const std::wstring& path, int width, int height, uint32_t rgb) {
    tk::PixelBuffer image;
    image.width = width;
    image.height = height;
    image.pixels.assign(size_t(width) * height, rgb); // B, G, R, X in memory
    return tk::EncodeJpeg(path, image, 90);
}

// A photo with detail everywhere, so that the decoder and the fit do real work.
inline bool MakeDetailedJpeg(const std::wstring& path, int width, int height) {
    tk::PixelBuffer image;
    image.width = width;
    image.height = height;
    image.pixels.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t r = uint32_t(x * 255 / width), g = uint32_t(y * 255 / height);
            uint32_t b = ((x / 16 + y / 16) & 1) ? 220 : 30;
            image.pixels[size_t(y) * width + x] = (r << 16) | (g << 8) | b;
        }
    return tk::EncodeJpeg(path, image, 85);
}

// A file named like a photo that no decoder can read.
inline void MakeCorruptFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const char bytes[] = "\xFF\xD8\xFF\xE0 this is not the rest of a JPEG file";
    DWORD written = 0;
    WriteFile(file, bytes, sizeof bytes - 1, &written, nullptr);
    CloseHandle(file);
}

struct RunSettings {
    int transition = 1;
    int tiles = 3;
    int speed = 10;
    int delay = 1000;
    int pause = 30;
    bool names = false;
    bool dates = false;
};

// The settings a run reads, without the configuration files.
inline void UseSettings(const RunSettings& run) {
    Settings = TSettings{};
    Settings.optransition = L";" + std::to_wstring(run.transition) + L";";
    Settings.opnbimgmax = run.tiles;
    Settings.defspeed = run.speed;
    Settings.defdelay = run.delay;
    Settings.defpause = run.pause;
    Settings.opnomfic = run.names;
    Settings.opdatefic = run.dates;
    Settings.opmemfiles = false;
    ClampForSaver(Settings);
    AltPhase = 0;
}

// A saver window as Init leaves it, with the given files as its catalogue. The window stays
// hidden unless shown is asked; the tiles work the same either way.
inline std::unique_ptr<TScrn> StartSaver(const RunSettings& run,
                                         const std::vector<std::wstring>& files,
                                         bool shown = false) {
    UseSettings(run);
    // A display just started may not have told Wine where the pointer is: the first mouse
    // event of the new window would then jump from (0, 0) and end the saver as input does.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    auto scrn = std::make_unique<TScrn>();
    scrn->FirstActivate = false; // showing it must not run the whole start-up
    if (!scrn->CreateForm()) return nullptr;
    if (shown) {
        SetWindowPos(scrn->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        UpdateWindow(scrn->Handle());
    }
    scrn->BuildSlideshow();
    scrn->Catalogue().ToSeeFiles = files;
    scrn->FirstRefills();
    return scrn;
}

// The process's private bytes (its commit charge; Wine leaves PrivateUsage at 0 but keeps
// PagefileUsage, which is the same figure).
inline double PrivateMb() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return double(counters.PagefileUsage) / (1024.0 * 1024.0);
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
    Snapshot early; // after the first fifth of the refills
    Snapshot late;  // at the end
};

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
    run.speed = TSaverBounds::kMaxSpeed;
    run.delay = 1000;
    run.names = run.dates = true;
    SoakResult result;
    auto scrn = StartSaver(run, files, true);
    if (!scrn) return result;
    const long earlyAt = refills / 5;
    bool early = false;
    // Every step of this strip refills some tile; a run of steps without one means the
    // saver stopped (closed by input, say), and the soak ends there rather than hanging.
    long stepsWithoutRefill = 0, lastRefills = scrn->Refills();
    while (scrn->Refills() < refills && !scrn->Closed() && stepsWithoutRefill < 1000) {
        scrn->MoveStep();
        stepsWithoutRefill = scrn->Refills() == lastRefills ? stepsWithoutRefill + 1 : 0;
        lastRefills = scrn->Refills();
        PumpMessages();
        // A failed file is forgotten; bring the broken ones back, as a rescan of the
        // folders would, so that one file in ten keeps failing for the whole run.
        for (const auto& path : corrupt)
            if (std::find(scrn->Catalogue().ToSeeFiles.begin(), scrn->Catalogue().ToSeeFiles.end(),
                          path) == scrn->Catalogue().ToSeeFiles.end())
                scrn->Catalogue().ToSeeFiles.push_back(path);
        if (!early && scrn->Refills() >= earlyAt) {
            result.early = Take();
            early = true;
        }
    }
    result.late = Take();
    result.closed = scrn->Closed();
    result.refills = scrn->Refills();
    result.loads = scrn->Loads();
    return result;
}

} // namespace rig
