// How soon the first picture comes while the folder scan goes on behind the show: from the
// saver's window appearing to a photo on the screen, for 10,000 photos in 400 folders on a slow
// share (each listing and each open 20 ms, reads at 5 MB/s, as a home server over Wi-Fi) and
// for 1,000,000 photos in 10,000 folders on the local disk, the memory off; and how long the
// saver takes to end while the scan goes on, on the local disk and while it waits on a listing
// of the share that takes 3 s. The libraries are
// hard links to a few photos, made once by Python and kept in the temporary folder.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/Measure.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/Photos.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/SlowShare.h"

namespace {

constexpr int kRuns = 3;

// Links every photo of the library to one of the seeds (a file takes at most 65,000 links).
constexpr const char* kMakeLibrary = R"(import os, sys
seeds, root, folders, per = sys.argv[1:-3], sys.argv[-3], int(sys.argv[-2]), int(sys.argv[-1])
n = 0
for i in range(folders):
    d = os.path.join(root, 'album %05d' % i)
    os.makedirs(d, exist_ok=True)
    for j in range(per):
        p = os.path.join(d, 'IMG_%d.jpg' % j)
        if not os.path.exists(p): os.link(seeds[n % len(seeds)], p)
        n += 1
open(os.path.join(root, 'complete'), 'w').close()
)";

std::wstring TempRoot(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The library under root (kept from an earlier run when complete), its photos the size of the
// screen.
bool MakeLibrary(const std::wstring& root, int folders, int perFolder) {
    if (Exists(root + L"\\complete")) return true;
    const std::wstring seeds = root + L" seeds";
    CreateDirectoryW(seeds.c_str(), nullptr);
    CreateDirectoryW(root.c_str(), nullptr);
    const int count = std::max(1, folders * perFolder / 20000);
    std::string line = "/usr/bin/python3 \"" + UnixPath(seeds + L"\\make.py") + "\"";
    WriteFileBytes(seeds + L"\\make.py", kMakeLibrary);
    for (int i = 0; i < count; ++i) {
        const std::wstring seed = seeds + L"\\seed" + std::to_wstring(i) + L".jpg";
        if (!Exists(seed) &&
            !MakeDetailedJpeg(seed, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)))
            return false;
        line += " \"" + UnixPath(seed) + "\"";
    }
    line +=
        " \"" + UnixPath(root) + "\" " + std::to_string(folders) + " " + std::to_string(perFolder);
    if (!StartUnix(line)) return false;
    const DWORD start = GetTickCount();
    while (!Exists(root + L"\\complete") && GetTickCount() - start < 600000)
        Sleep(200);
    return Exists(root + L"\\complete");
}

// A photo at the screen's centre: colours, not the white of a text on black.
bool PhotoShown() {
    const int cx = GetSystemMetrics(SM_CXSCREEN) / 2, cy = GetSystemMetrics(SM_CYSCREEN) / 2;
    const std::vector<uint32_t> pixels = ReadScreen({cx - 16, cy - 16, cx + 16, cy + 16});
    for (uint32_t p : pixels) {
        const int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
        if (std::max({r, g, b}) - std::min({r, g, b}) > 64) return true;
    }
    return false;
}

void Configure(const TempDir& install, const std::wstring& folder) {
    WriteConfiguration(install.Path(), {{L"defdir", folder + L";"},
                                        {L"opmemfiles", L"0"},
                                        {L"optransition", L";4;"},
                                        {L"defpause", L"60"}});
}

// From the window's appearing to the first photo, in ms; -1 when none came. The saver is then
// asked to end, and the time it takes goes to exits when asked.
double FirstPicture(const TempDir& install, const std::wstring& folder,
                    std::vector<double>* exits = nullptr) {
    InstallFolder installed(install.Path());
    Configure(install, folder);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    SaverProcess saver(L"/s");
    if (!saver.WaitForWindow()) return -1;
    const DWORD shown = GetTickCount();
    double first = -1;
    while (GetTickCount() - shown < kStartDeadlineMs && first < 0) {
        if (PhotoShown()) first = GetTickCount() - shown;
        Sleep(2);
    }
    const double endMs = TimeMs([&] { saver.EndByRequest(); });
    if (exits) exits->push_back(endMs);
    return first;
}

// One photo read whole through the share, in ms: what a first picture costs beyond the scan.
double PhotoLoad(const std::wstring& path) {
    return TimeMs([&] { ReadFileBytes(path); });
}

void SlowShareFigures(const TempDir& install) {
    const std::wstring root = TempRoot(L"vistamur-bench-share-v1");
    if (!MakeLibrary(root, 400, 25)) {
        std::printf("first_picture: the slow share's library could not be made\n");
        return;
    }
    {
        SlowShare share(root, L"complete", "--list-ms 20 --open-ms 20 --mbps 5");
        if (!share.Mounted()) {
            std::printf("first_picture: %s\n", kNoSlowShare);
            return;
        }
        std::vector<double> firsts, loads;
        for (int run = 0; run < kRuns; ++run) {
            firsts.push_back(FirstPicture(install, share.Folder()));
            loads.push_back(
                PhotoLoad(share.Folder() + L"album 00001\\IMG_" + std::to_wstring(run) + L".jpg"));
        }
        std::printf("first_picture_slow_share_ms: %.0f\n", Median(firsts));
        std::printf("slow_share_photo_load_ms: %.0f\n", Median(loads));
    }
    // A listing that takes 3 s: the exit comes while the scan waits on one.
    SlowShare share(root, L"complete", "--list-ms 3000 --open-ms 20 --mbps 5");
    if (!share.Mounted()) return;
    InstallFolder installed(install.Path());
    Configure(install, share.Folder());
    std::vector<double> exits;
    for (int run = 0; run < kRuns; ++run) {
        SaverProcess saver(L"/s");
        if (!saver.WaitForWindow()) continue;
        Sleep(1000 + 700 * run); // into the root's listing, then the first folder's
        exits.push_back(TimeMs([&] { saver.EndByRequest(); }));
    }
    std::printf("exit_during_slow_listing_ms: %.0f\n", Median(exits));
}

void LocalFigures(const TempDir& install) {
    const std::wstring root = TempRoot(L"vistamur-bench-million-v1");
    if (!MakeLibrary(root, 10000, 100)) {
        std::printf("first_picture: the local library could not be made\n");
        return;
    }
    std::vector<double> firsts, exits;
    for (int run = 0; run < kRuns; ++run)
        firsts.push_back(FirstPicture(install, root, &exits));
    std::printf("first_picture_million_local_ms: %.0f\n", Median(firsts));
    std::printf("exit_during_local_scan_ms: %.0f\n", Median(exits));
}

} // namespace

int wmain() {
    const TempDir install;
    SlowShareFigures(install);
    LocalFigures(install);
    return 0;
}
