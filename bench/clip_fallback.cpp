// The player that draws clips itself through Media Foundation (used when MCI cannot open a
// clip), set against MCI on the same 1280 x 720 clip in the same panel, in this process,
// taking turns so that a change in the machine's load weighs on both alike:
// - the CPU share of each (CPU-seconds per second of wall time), and their ratio;
// - the share of the clip's frames that the fallback draws in one play through;
// - how long the fallback's open holds the window's thread, and the longest wait of a
//   message posted to that thread every 5 ms while it plays (input waits as long).
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "bench/CpuShare.h"
#include "bench/Measure.h"
#include "tests/support/Rig.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/ClipRig.h"
#include "toolkit/Counters.h"
#include "toolkit/MediaPlayer.h"

namespace {

constexpr int kW = 1280, kH = 720;
constexpr int kTurns = 3;
constexpr DWORD kTurnMs = 6000;
constexpr int kClipFrames = 250; // hd.mp4: ten seconds at 25 frames a second
constexpr UINT kProbe = WM_APP + 7;

// A black window with a black panel of the clip's size in its middle.
struct ClipWindow {
    ClipWindow() { PumpMessages(); }
    ~ClipWindow() { DestroyWindow(window); }
    HWND window = cpushare::FullScreenWindow(WS_CLIPCHILDREN);
    HWND panel = cpushare::CentredPanel(window, kW, kH);
};

// Runs the thread's messages for ms; a clip that ends starts again, as a looping tile's.
void PlayFor(tk::MediaPlayer& player, DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    for (int left; (left = int(end - GetTickCount())) > 0;) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(std::min(left, 50)), QS_ALLINPUT) ==
            WAIT_OBJECT_0)
            PumpMessages();
        if (player.Mode() == tk::MediaMode::Stopped) {
            player.Seek(0);
            player.Play();
        }
    }
}

// One turn: the clip opened through the route, played from its start, measured.
double Share(tk::ClipRoute route, const ClipWindow& stage) {
    tk::SetClipRoute(route);
    tk::MediaPlayer player;
    player.Display = stage.panel;
    player.FileName = cliprig::Media(L"hd.mp4");
    double share = -1;
    if (player.Open() && player.SetDisplaySize(kW, kH) && player.Play()) {
        PlayFor(player, 1000); // the decoders warm up
        const double cpu0 = cpushare::OwnCpuSeconds();
        const double wall = TimeMs([&] { PlayFor(player, kTurnMs); }) / 1000.0;
        share = (cpushare::OwnCpuSeconds() - cpu0) / wall;
    }
    tk::SetClipRoute(tk::ClipRoute::MciFirst);
    return share;
}

// The fallback's open, and one play through while a thread posts a probe every 5 ms.
void FramesAndWaits(const ClipWindow& stage) {
    tk::SetClipRoute(tk::ClipRoute::MediaFoundationOnly);
    tk::MediaPlayer player;
    player.Display = stage.panel;
    player.FileName = cliprig::Media(L"hd.mp4");
    const double openMs = TimeMs([&] { player.Open(); });
    if (!player.IsOpen() || !player.SetDisplaySize(kW, kH)) {
        std::printf("clip_fallback_open_ms: -1\n");
        return;
    }
    const long drawn0 = tk::Counts().clipFramesDrawn;
    const DWORD thread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread prober([&] {
        while (!done) {
            PostThreadMessageW(thread, kProbe, 0, LPARAM(GetTickCount()));
            Sleep(5);
        }
    });
    DWORD longest = 0;
    player.Play();
    const DWORD end = GetTickCount() + 15000;
    while (player.Mode() != tk::MediaMode::Stopped && int(end - GetTickCount()) > 0) {
        MSG msg;
        if (!GetMessageW(&msg, nullptr, 0, 0)) break;
        if (msg.message == kProbe) {
            longest = std::max<DWORD>(longest, GetTickCount() - DWORD(msg.lParam));
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    done = true;
    prober.join();
    PumpMessages();
    std::printf("clip_fallback_open_ms: %.0f\n", openMs);
    std::printf("clip_fallback_frames_shown_share: %.3f\n",
                double(tk::Counts().clipFramesDrawn - drawn0) / kClipFrames);
    std::printf("clip_fallback_longest_message_wait_ms: %lu\n", longest);
    tk::SetClipRoute(tk::ClipRoute::MciFirst);
}

} // namespace

int wmain() {
    ClipWindow stage;
    // The first DirectShow and Media Foundation opens of a process are slow: warm both.
    Share(tk::ClipRoute::MciFirst, stage);
    std::vector<double> mci, fallback;
    for (int turn = 0; turn < kTurns; ++turn) {
        mci.push_back(Share(tk::ClipRoute::MciFirst, stage));
        fallback.push_back(Share(tk::ClipRoute::MediaFoundationOnly, stage));
    }
    const double m = Median(mci), f = Median(fallback);
    std::printf("clip_mci_cpu_share_1280x720: %.3f\n", m);
    std::printf("clip_fallback_cpu_share_1280x720: %.3f\n", f);
    std::printf("clip_fallback_over_mci_cpu: %.2f\n", m > 0 && f > 0 ? f / m : 0.0);
    FramesAndWaits(stage);
    return 0;
}
