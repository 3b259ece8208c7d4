// Soak of the clips in tiles: 500 refills of 20 tiles from a library of clips of every kind
// the devices open, plus files that are dropped, with the clip checks of every movement
// tick in between. The program's own GDI objects, windows and MCI devices, and its private
// memory, must not grow between the first fifth of the run and its end.
#include <windows.h>
// psapi.h needs windows.h first.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/ClipRig.h"
#include "tests/support/ProcessMemory.h"
#include "toolkit/Counters.h"

using namespace cliprig;

namespace {

constexpr int kTiles = 20;
constexpr long kRefills = 500;

double PrivateMb() {
    return Mb(PrivateBytes(ProcessMemory()));
}

struct Snapshot {
    long gdi, windows;
    long mci; // open devices that no tile holds: the tiles showing a clip vary
    double mb;
};

Snapshot Take(const MonitorShow& s) {
    const tk::ResourceCounts& c = tk::Counts();
    long held = 0;
    for (const auto& player : s.Strip().players)
        held += player->IsOpen() ? 1 : 0;
    return {c.gdiObjects, c.windows, c.mciDevices - held, PrivateMb()};
}

std::wstring MakeBroken(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring path = std::wstring(temp) + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string noise(8192, '\0');
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 2654435761u) >> 24);
    DWORD written = 0;
    WriteFile(file, noise.data(), DWORD(noise.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring broken = MakeBroken(L"vistamur-soak-broken.avi");
    // Mostly AVI (the common case and the quick device), every third a DirectShow clip, and
    // files that are dropped.
    // Clip names given on the command line replace the library (to find what grows).
    std::vector<std::wstring> chosen;
    for (int a = 1; a < argc; ++a)
        chosen.push_back(Media(argv[a]));
    const std::vector<std::wstring> library = !chosen.empty() ? chosen
                                                              : std::vector<std::wstring>{
                                                                    Media(L"short.avi"),
                                                                    Media(L"clip.avi"),
                                                                    Media(L"short.mpg"),
                                                                    Media(L"bottomup.avi"),
                                                                    Media(L"short.avi"),
                                                                    Media(L"clip.mov"),
                                                                    Media(L"clip.avi"),
                                                                    Media(L"short.avi"),
                                                                    Media(L"xvid.avi"),
                                                                    Media(L"clip.avi"),
                                                                    broken,
                                                                    Media(L"sound.mpa"),
                                                                };
    ClipScreen screen(
        ClipSettings(1, {&SettingsRecord::clipLoops, &SettingsRecord::clipPlaysWhenVisible}),
        kTiles, true);
    MonitorShow& s = *screen;

    Snapshot early = {};
    long loads = 0;
    for (long r = 0; r < kRefills; ++r) {
        const int tile = int(r % kTiles);
        // As the refill's loop: hide the picture, close the clip the tile still holds.
        s.Strip().pictures[tile]->Hide();
        if (tk::HoldsClip(s.Strip().players[tile]->Mode())) s.Strip().players[tile]->Close();
        // Tiles across the screen, some entering, some in, some leaving.
        const int pos = s.Width() - (tile * 67) % (s.Width() + 200);
        if (screen.Start(tile, library[size_t(r) % library.size()], pos, 0)) ++loads;
        s.PlayWhenVisible(tile);
        for (int i = 0; i < kTiles; ++i)
            s.CheckClipLoop(i);
        PumpMessages();
        if (r + 1 == kRefills / 5) early = Take(s);
    }
    Snapshot late = Take(s);
    std::printf("clip_soak_refills: %ld\n", kRefills);
    std::printf("clip_soak_loads: %ld\n", loads);
    std::printf("clip_soak_gdi_growth: %ld\n", late.gdi - early.gdi);
    std::printf("clip_soak_windows_growth: %ld\n", late.windows - early.windows);
    std::printf("clip_soak_mci_growth: %ld\n", late.mci - early.mci);
    std::printf("clip_soak_mci_unowned: %ld\n", late.mci);
    std::printf("clip_soak_private_mb_growth: %.2f\n", late.mb - early.mb);
    std::printf("clip_soak_private_mb: %.1f\n", late.mb);
    DeleteFileW(broken.c_str());
    return 0;
}
