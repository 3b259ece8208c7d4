// How long a refill halts the show to open a clip: StartClip of a five-second 640 x 480 clip,
// AVI (MS Video 1, the AVI device), MPEG-1 and a phone's MP4 (H.264 with AAC sound; both on
// the DirectShow device). The first DirectShow
// open of a process is slow; the saver warms that device up while its start banner shows,
// and a second run of this program in a fresh process measures what that buys.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/Measure.h"
#include "saver/ClipWarmUp.h"
#include "tests/support/ClipRig.h"

using namespace cliprig;

namespace {

double NowMs() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

// One StartClip into the central tile, timed; the clip is closed afterwards, as the next
// refill would.
double TimedStart(ClipScreen& screen, const std::wstring& file) {
    double t0 = NowMs();
    bool ok = screen.Start(0, file);
    double ms = NowMs() - t0;
    screen.Player(0).Close();
    return ok ? ms : -1;
}

// A fresh process: warm up as the saver does, then one open.
int WarmChild() {
    ClipScreen screen(ClipSettings(4));
    double t0 = NowMs();
    WarmUpClipDevices({Media(L"clip.mpg")}, screen->Strip().panels[0]->Handle());
    double warm = NowMs() - t0;
    double first = TimedStart(screen, Media(L"bench.mpg"));
    std::printf("clip_warmup_ms: %.1f\n", warm);
    std::printf("clip_open_ms_mpeg1_after_warmup: %.1f\n", first);
    return 0;
}

void RunWarmChild() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(exe) + L"\" --warm";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::fflush(stdout);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi))
        return;
    WaitForSingleObject(pi.hProcess, 60000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wcscmp(argv[1], L"--warm") == 0) return WarmChild();

    // Central: it plays at once.
    ClipScreen screen(ClipSettings(4));
    const double cold = TimedStart(screen, Media(L"bench.mpg"));
    std::vector<double> avi, mpeg, mp4;
    for (int i = 0; i < 9; ++i) {
        avi.push_back(TimedStart(screen, Media(L"bench.avi")));
        mpeg.push_back(TimedStart(screen, Media(L"bench.mpg")));
        mp4.push_back(TimedStart(screen, Media(L"bench.mp4")));
    }
    const double aviMs = Median(avi), mpegMs = Median(mpeg), mp4Ms = Median(mp4);
    std::printf("clip_open_ms_avi: %.1f\n", aviMs);
    std::printf("clip_open_ms_mpeg1: %.1f\n", mpegMs);
    std::printf("clip_open_ms_mp4: %.1f\n", mp4Ms);
    std::printf("clip_open_ms_mpeg1_first: %.1f\n", cold);
    std::printf("clip_open_ms_max: %.1f\n",
                std::max({cold, *std::max_element(avi.begin(), avi.end()),
                          *std::max_element(mpeg.begin(), mpeg.end()),
                          *std::max_element(mp4.begin(), mp4.end())}));
    if (aviMs > 0) std::printf("clip_open_ratio_mpeg1_to_avi: %.2f\n", mpegMs / aviMs);
    if (mpegMs > 0) std::printf("clip_open_ratio_mp4_to_mpeg1: %.2f\n", mp4Ms / mpegMs);
    if (mpegMs > 0) std::printf("clip_open_ratio_first_to_mpeg1: %.2f\n", cold / mpegMs);
    RunWarmChild();
    return 0;
}
