// The saver on several monitors (scripts/bench runs this on a display of two monitors): its
// CPU share with a strip on each against a bare copy of the whole virtual screen every 10 ms,
// how much later the first picture comes on the second monitor than on the primary one, and,
// given "4k", the memory it holds with 20 tiles on each of two 3840 x 2160 monitors.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/CpuShare.h"
#include "bench/Measure.h"
#include "tests/support/Photos.h"
#include "tests/support/Rig.h"

namespace {

using namespace cpushare;

struct Monitors {
    RECT primary = {}, second = {};
    bool two = false;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* m = reinterpret_cast<Monitors*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        if (info.dwFlags & MONITORINFOF_PRIMARY)
            m->primary = info.rcMonitor;
        else {
            m->second = info.rcMonitor;
            m->two = true;
        }
    }
    return TRUE;
}

Monitors ReadMonitors() {
    Monitors m;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&m));
    return m;
}

// A monitor shows some of a photo, read sparsely (a picture is at least a few pixels wide):
// a coloured pixel, not the white, grey or black of the start banner.
bool Lit(const RECT& monitor) {
    const std::vector<uint32_t> shot = ReadScreen(monitor);
    for (size_t i = 0; i < shot.size(); i += 7) {
        const int r = (shot[i] >> 16) & 0xFF, g = (shot[i] >> 8) & 0xFF, b = shot[i] & 0xFF;
        if (std::max({r, g, b}) - std::min({r, g, b}) > 64) return true;
    }
    return false;
}

// From the saver's start to the first picture on each monitor, in ms: a central transition,
// whose first refill fills one tile per monitor.
bool FirstPictures(const TempDir& install, const std::wstring& photos, const Monitors& m,
                   double& primary, double& second) {
    InstallFolder installed(install.Path());
    WriteConfiguration(install.Path(), {{L"defdir", photos + L";"},
                                        {L"opmemfiles", L"0"},
                                        {L"optransition", L";4;"},
                                        {L"defpause", L"60"}});
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    const DWORD start = GetTickCount();
    SaverProcess saver(L"/s");
    primary = second = -1;
    while (GetTickCount() - start < kStartDeadlineMs && (primary < 0 || second < 0)) {
        if (primary < 0 && Lit(m.primary)) primary = GetTickCount() - start;
        if (second < 0 && Lit(m.second)) second = GetTickCount() - start;
        Sleep(5);
    }
    saver.EndByRequest();
    return primary > 0 && second > 0;
}

// The middle of a monitor, as a number that changes when its picture does.
uint64_t MiddleOf(const RECT& monitor) {
    const int cx = (monitor.left + monitor.right) / 2, cy = (monitor.top + monitor.bottom) / 2;
    uint64_t hash = 1469598103934665603ull;
    for (uint32_t p : ReadScreen({cx - 32, cy - 32, cx + 32, cy + 32}))
        hash = (hash ^ p) * 1099511628211ull;
    return hash;
}

// A central transition with its animation and a 2 s display time, watched for 20 s: the
// longest time each monitor's middle stands still, beside the display time plus 1.5 s.
void StandStill(const TempDir& install, const std::wstring& photos, const Monitors& m) {
    constexpr int kDisplaySeconds = 2;
    InstallFolder installed(install.Path());
    WriteConfiguration(install.Path(), {{L"defdir", photos + L";"},
                                        {L"opmemfiles", L"0"},
                                        {L"optransition", L";5;"},
                                        {L"defpause", std::to_wstring(kDisplaySeconds)}});
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    SaverProcess saver(L"/s");
    HWND window = saver.WaitForWindow();
    if (!window || !saver.WaitForCapture(window) ||
        !WaitUntil([&] { return Lit(m.primary) && Lit(m.second); }, kStartDeadlineMs)) {
        std::printf("monitors2_stand_still: no pictures came\n");
        return;
    }
    const RECT* monitors[2] = {&m.primary, &m.second};
    uint64_t last[2] = {MiddleOf(m.primary), MiddleOf(m.second)};
    DWORD changed[2], longest[2] = {};
    const DWORD start = GetTickCount();
    changed[0] = changed[1] = start;
    while (GetTickCount() - start < 20000 && saver.Running()) {
        Sleep(5);
        for (int i = 0; i < 2; ++i) {
            const uint64_t now = MiddleOf(*monitors[i]);
            const DWORD at = GetTickCount();
            if (now != last[i]) last[i] = now, changed[i] = at;
            longest[i] = std::max(longest[i], at - changed[i]);
        }
    }
    saver.EndByRequest();
    std::printf("monitors2_longest_still_ms_primary: %lu\n", longest[0]);
    std::printf("monitors2_longest_still_ms_second: %lu\n", longest[1]);
    std::printf("monitors2_still_bound_ms: %d\n", kDisplaySeconds * 1000 + 1500);
}

void HdFigures(const Monitors& m, bool firstOnly) {
    const TempDir install, photos;
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    for (int i = 0; i < 14; ++i)
        MakeDetailedJpeg(photos / (L"photo" + std::to_wstring(i) + L".jpg"), W, H);

    if (!firstOnly) StripFigures(install, photos.Path(), "monitors2_cpu_strip");
    if (!firstOnly) StandStill(install, photos.Path(), m);

    std::vector<double> firsts, seconds;
    for (int turn = 0; turn < 3; ++turn) {
        double a, b;
        if (!FirstPictures(install, photos.Path(), m, a, b)) continue;
        firsts.push_back(a);
        seconds.push_back(b);
    }
    const double a = Median(firsts), b = Median(seconds);
    std::printf("monitors2_first_picture_primary_ms: %.0f\n", a);
    std::printf("monitors2_first_picture_second_ms: %.0f\n", b);
    std::printf("monitors2_first_picture_ratio: %.2f\n", a > 0 ? b / a : 0.0);
}

// Two 3840 x 2160 monitors, 20 tiles each, every tile holding a 3840 x 2160 picture.
void FourKFigures() {
    const TempDir install, photos;
    const int W = 3840, H = 2160;
    const std::wstring first = photos / L"k0.jpg";
    MakeDetailedJpeg(first, W, H);
    for (int i = 1; i < 44; ++i)
        CopyFileW(first.c_str(), (photos / (L"k" + std::to_wstring(i) + L".jpg")).c_str(), FALSE);
    InstallFolder installed(install.Path());
    WriteConfiguration(install.Path(), {{L"defdir", photos.Path() + L";"},
                                        {L"opmemfiles", L"0"},
                                        {L"optransition", L";1;"},
                                        {L"defspeed", L"4"},
                                        {L"defdelay", L"990"},
                                        {L"opnbimgmax", L"20"}});
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    SaverProcess saver(L"/s");
    HWND window = saver.WaitForWindow(120000);
    const bool started = window && saver.WaitForCapture(window, 120000);
    Sleep(3000);
    const double mb = 1024.0 * 1024.0;
    const double pictures = 40.0 * W * H * 4 / mb;
    std::printf("monitors4k_running: %d\n", started && saver.Running() ? 1 : 0);
    std::printf("monitors4k_resident_mb: %.0f\n", saver.ResidentBytes() / mb);
    std::printf("monitors4k_committed_mb: %.0f\n", saver.PrivateBytes() / mb);
    std::printf("monitors4k_pictures_mb: %.0f\n", pictures);
    saver.EndByRequest(60000);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    tk::SetBoxHook([](const tk::BoxRequest&) { return IDOK; });
    const Monitors m = ReadMonitors();
    if (!m.two) {
        std::printf("monitors: the display has one monitor; no figure\n");
        return 0;
    }
    if (argc > 1 && std::wcscmp(argv[1], L"4k") == 0)
        FourKFigures();
    else // "first": the first pictures only
        HdFigures(m, argc > 1 && std::wcscmp(argv[1], L"first") == 0);
    return 0;
}
