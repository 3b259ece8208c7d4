// What loading ahead buys, watched from outside the built saver as a person would see it: its
// tiles' windows are read every millisecond while a strip moves (a step every 10 ms), and the
// longest time they all stand still is given in step intervals, with big photos (24-megapixel
// JPEGs and 12-megapixel PNGs) on the local disk and on a slow share (5 MB/s, 20 ms per open),
// and with clips among small photos (an open by MCI stays on the window's thread, one by Media
// Foundation is made on the show's worker). Then how
// soon a mouse move ends the saver, in the middle of a slow load and in the middle of a
// central animation. The photos are made once into the temporary folder.
#include <windows.h>

#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "bench/BigPhoto.h"
#include "bench/Measure.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/Pictures.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/SlowShare.h"
#include "tests/support/TempDir.h"

namespace {

constexpr int kStepMs = 10; // defdelay 1000: a hundred steps a second
constexpr DWORD kWatchMs = 25000;
constexpr DWORD kFillingMs = 5000; // the first tiles fill within this from the first one
constexpr int kMoveRuns = 6;

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Six 24-megapixel JPEGs and six 12-megapixel PNGs, kept from one run to the next.
std::wstring BigLibrary() {
    const std::wstring folder = TempFile(L"vistamur-bench-load-ahead-v1");
    const std::wstring done = folder + L"\\complete";
    if (Exists(done)) return folder;
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring jpeg = BigPhoto();
    if (jpeg.empty()) return L"";
    const std::wstring png = folder + L"\\png0.png";
    PhotoPixels photo; // asked row after row, as its noise is drawn
    if (!MakeWicPicture(png, GUID_ContainerFormatPng, 4240, 2832,
                        {[&](int x, int y) { return 0xFF000000 | photo(x, y); }}))
        return L"";
    for (int i = 0; i < 6; ++i) {
        const std::wstring n = std::to_wstring(i);
        CopyFileW(jpeg.c_str(), (folder + L"\\jpeg" + n + L".jpg").c_str(), FALSE);
        if (i) CopyFileW(png.c_str(), (folder + L"\\png" + n + L".png").c_str(), FALSE);
    }
    WriteFileBytes(done, "");
    return folder;
}

BOOL CALLBACK AddTile(HWND child, LPARAM rects) {
    RECT r;
    if (IsWindowVisible(child) && GetWindowRect(child, &r))
        reinterpret_cast<std::vector<RECT>*>(rects)->push_back(r);
    return TRUE;
}

// In the order of their places, not of their windows' order, which a refill changes.
std::vector<RECT> Tiles(HWND window) {
    std::vector<RECT> rects;
    EnumChildWindows(window, AddTile, reinterpret_cast<LPARAM>(&rects));
    std::sort(rects.begin(), rects.end(), [](const RECT& a, const RECT& b) {
        return a.left != b.left ? a.left < b.left : a.top < b.top;
    });
    return rects;
}

bool Same(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!EqualRect(&a[i], &b[i])) return false;
    return true;
}

bool AnyOnScreen(const std::vector<RECT>& rects) {
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT seen;
    for (const RECT& r : rects)
        if (IntersectRect(&seen, &r, &screen)) return true;
    return false;
}

void Configure(const TempDir& install, const std::wstring& folder, int transition, int pause) {
    WriteConfiguration(install.Path(),
                       {{L"defdir", folder + L";"},
                        {L"optransition", L";" + std::to_wstring(transition) + L";"},
                        {L"defspeed", L"4"},
                        {L"defdelay", L"1000"},
                        {L"defpause", std::to_wstring(pause)},
                        {L"opmemfiles", L"0"}});
}

// The strip watched for kWatchMs from its first tile on the screen: the longest stop in the
// first kFillingMs and after, in step intervals and the stops over 60 ms.
void StripStops(const TempDir& install, const std::wstring& folder, const char* name) {
    InstallFolder installed(install.Path());
    Configure(install, folder, 1, 30);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    SaverProcess saver(L"/s");
    HWND window = saver.WaitForWindow();
    if (!window || !saver.WaitForCapture(window) ||
        !WaitUntil([&] { return AnyOnScreen(Tiles(window)); }, kStartDeadlineMs)) {
        std::printf("strip_stop_%s: no tile came\n", name);
        return;
    }
    std::vector<RECT> last = Tiles(window);
    const DWORD start = GetTickCount();
    DWORD lastChange = start, filling = 0, after = 0;
    long over60 = 0;
    bool counted = false;
    for (DWORD now = start; now - start < kWatchMs && saver.Running(); now = GetTickCount()) {
        Sleep(1);
        const std::vector<RECT> tiles = Tiles(window);
        now = GetTickCount();
        if (Same(tiles, last) && AnyOnScreen(tiles)) {
            const DWORD stop = now - lastChange;
            (lastChange - start < kFillingMs ? filling : after) =
                std::max(lastChange - start < kFillingMs ? filling : after, stop);
            if (stop > 60 && !counted) ++over60, counted = true;
        } else {
            lastChange = now;
            last = tiles;
            counted = false;
        }
    }
    saver.EndByRequest();
    std::printf("strip_longest_stop_steps_%s_filling: %.1f\n", name, double(filling) / kStepMs);
    std::printf("strip_longest_stop_steps_%s: %.1f\n", name, double(after) / kStepMs);
    std::printf("strip_stops_over_60ms_%s: %ld\n", name, over60);
}

// From a mouse move to the saver's end, in ms, the move made waitMs after the first tile.
double MoveLatency(const TempDir& install, const std::wstring& folder, int transition, int pause,
                   DWORD waitMs) {
    InstallFolder installed(install.Path());
    Configure(install, folder, transition, pause);
    const int cx = GetSystemMetrics(SM_CXSCREEN) / 2, cy = GetSystemMetrics(SM_CYSCREEN) / 2;
    SetCursorPos(cx, cy);
    SaverProcess saver(L"/s");
    HWND window = saver.WaitForWindow();
    if (!window || !saver.WaitForCapture(window) ||
        !WaitUntil([&] { return AnyOnScreen(Tiles(window)); }, kStartDeadlineMs))
        return -1;
    Sleep(waitMs);
    // Absolute coordinates run over 65536 steps across the screen.
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG((cx + 40) * 65536LL / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = LONG((cy + 40) * 65536LL / GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    const auto t0 = std::chrono::steady_clock::now();
    SendInput(1, &input, sizeof input);
    if (!saver.WaitExit()) return -1;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void MoveFigures(const TempDir& install, const std::wstring& folder, int transition, int pause,
                 const char* name) {
    std::vector<double> latencies;
    for (int run = 0; run < kMoveRuns; ++run) {
        const double ms = MoveLatency(install, folder, transition, pause, 700 + 370 * run);
        if (ms >= 0) latencies.push_back(ms);
    }
    std::printf("move_to_exit_ms_%s_median: %.0f\n", name, Median(latencies));
    std::printf("move_to_exit_ms_%s_max: %.0f\n", name, Percentile(latencies, 1.0));
    std::printf("move_to_exit_runs_%s: %zu\n", name, latencies.size());
}

// Small photos and clips made by the build: with clips MCI opens (on the window's thread),
// or with phone clips filmed upright, which Media Foundation plays turned (opened on the
// shows' workers).
std::wstring ClipLibrary(const TempDir& folder, std::initializer_list<const wchar_t*> clips) {
    for (int i = 0; i < 5; ++i)
        MakeDetailedJpeg(folder / (L"small" + std::to_wstring(i) + L".jpg"), 640, 480);
    for (const wchar_t* clip : clips)
        CopyFileW((BuildFolder() + L"test-media\\" + clip).c_str(), (folder / clip).c_str(), FALSE);
    return folder.Path();
}

} // namespace

int wmain() {
    const TempDir install;
    const std::wstring library = BigLibrary();
    if (library.empty()) {
        std::printf("load_ahead: the photos could not be made\n");
        return 1;
    }
    StripStops(install, library, "local");
    MoveFigures(install, library, 5, 1, "animation");
    {
        const TempDir photos;
        StripStops(install, ClipLibrary(photos, {L"clip.avi", L"clip.mpg", L"clip.mp4"}), "clips");
        const TempDir turned;
        StripStops(install, ClipLibrary(turned, {L"turn90.mp4", L"turn180.mov", L"turn270.3gp"}),
                   "turned_clips");
        const TempDir small;
        for (int i = 0; i < 5; ++i)
            MakeDetailedJpeg(small / (L"small" + std::to_wstring(i) + L".jpg"), 640, 480);
        StripStops(install, small.Path(), "small_photos");
    }
    SlowShare share(library, L"complete", "--list-ms 20 --open-ms 20 --mbps 5");
    if (!share.Mounted()) {
        std::printf("load_ahead: %s\n", kNoSlowShare);
        return 0;
    }
    StripStops(install, share.Folder(), "slow_share");
    MoveFigures(install, share.Folder(), 1, 30, "slow_load");
    return 0;
}
