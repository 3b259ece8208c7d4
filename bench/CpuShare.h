#pragma once
// The saver's CPU use against a bare program's, read from the CPU times of the processes
// (CPU-seconds per second of wall time): shared by the one-monitor and the two-monitor
// figures.
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/BareClass.h"
#include "bench/Measure.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"
#include "toolkit/Dib.h"

namespace cpushare {

using Options = std::vector<std::pair<std::wstring, std::wstring>>;

constexpr DWORD kSettleMs = 2000;   // after the start: the first picture is in, the clip plays
constexpr DWORD kMeasureMs = 10000; // the span each share is taken over
// The strip and its bare program take turns, so that a change in the machine's load (it is
// shared) weighs on both alike; each figure is the median of its turns.
constexpr int kStripTurns = 3;
constexpr DWORD kStripTurnMs = 5000;

inline double OwnCpuSeconds() {
    return ProcessCpuSeconds(GetCurrentProcessId());
}

// Pumps this thread's messages for ms, sleeping in the queue between them.
inline void RunLoopFor(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    for (;;) {
        const int left = int(end - GetTickCount());
        if (left <= 0) return;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left), QS_ALLINPUT) == WAIT_OBJECT_0)
            PumpMessages();
    }
}

// CPU-seconds per second that this process spends while the loop runs for ms.
inline double OwnShareOver(DWORD ms) {
    const double cpu0 = OwnCpuSeconds();
    const double wall = TimeMs([&] { RunLoopFor(ms); }) / 1000.0;
    return (OwnCpuSeconds() - cpu0) / wall;
}

// The saver with these options over the photos or clips of folder: started as Windows
// starts it, given time to settle, then measured.
inline double SaverShare(const TempDir& install, const std::wstring& folder, Options options,
                         DWORD measureMs = kMeasureMs) {
    InstallFolder installed(install.Path());
    options.push_back({L"defdir", folder + L";"});
    options.push_back({L"opmemfiles", L"0"});
    WriteConfiguration(install.Path(), options);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    SaverProcess saver(L"/s");
    HWND window = saver.WaitForWindow();
    if (!window || !saver.WaitForCapture(window)) return -1;
    Sleep(kSettleMs);
    const double cpu0 = saver.CpuSeconds();
    const double wall = TimeMs([&] { Sleep(measureMs); }) / 1000.0;
    const double share = (saver.CpuSeconds() - cpu0) / wall;
    const bool stillRunning = saver.Running(); // ended by a stray input, say: no figure
    saver.EndByRequest();
    return stillRunning ? share : -1;
}

// A black topmost window of this process over every monitor, shown without activation.
inline HWND FullScreenWindow(DWORD extraStyle = 0) {
    HWND window = CreateWindowExW(
        WS_EX_TOPMOST, BareClass(L"CpuBenchWindow", BLACK_BRUSH), L"",
        WS_POPUP | WS_VISIBLE | extraStyle, GetSystemMetrics(SM_XVIRTUALSCREEN),
        GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
        GetSystemMetrics(SM_CYVIRTUALSCREEN), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(window);
    return window;
}

// A black panel of width x height in the window, centred on the primary monitor, as a clip's
// tile shows it.
inline HWND CentredPanel(HWND window, int width, int height) {
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    return CreateWindowExW(0, L"CpuBenchWindow", L"", WS_CHILD | WS_VISIBLE, (W - width) / 2,
                           (H - height) / 2, width, height, window, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

inline void CALLBACK CopyPicture(HWND window, UINT, UINT_PTR, DWORD) {
    const auto* p = reinterpret_cast<const tk::Dib*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    HDC dc = GetDC(window);
    BitBlt(dc, 0, 0, p->Width(), p->Height(), p->Dc(), 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
}

// The bare program: one prepared bitmap of the whole virtual screen copied to the window at
// every tick of a 10 ms timer, the loop waiting in between.
inline double BareBlitShare(DWORD measureMs) {
    HWND window = FullScreenWindow();
    const int W = GetSystemMetrics(SM_CXVIRTUALSCREEN), H = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    tk::Dib picture;
    picture.Create(W, H);
    for (int i = 0; i < W * H; ++i)
        picture.Bits()[i] = uint32_t(i) * 2654435761u;
    constexpr UINT_PTR kTick = 1;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&picture));
    SetTimer(window, kTick, 10, CopyPicture);
    RunLoopFor(kSettleMs);
    const double share = OwnShareOver(measureMs);
    KillTimer(window, kTick);
    DestroyWindow(window);
    return share;
}

// Transition 1 at the default pace (4 px every 10 ms) over the photos, 7 tiles, against the
// bare program, in turns; printed as <prefix>_ratio, <prefix>_share and <prefix>_bare_share.
inline void StripFigures(const TempDir& install, const std::wstring& photos, const char* prefix) {
    std::vector<double> strip, bare;
    for (int turn = 0; turn < kStripTurns; ++turn) {
        bare.push_back(BareBlitShare(kStripTurnMs));
        strip.push_back(SaverShare(install, photos,
                                   {{L"optransition", L";1;"},
                                    {L"defspeed", L"4"},
                                    {L"defdelay", L"990"},
                                    {L"opnbimgmax", L"7"}},
                                   kStripTurnMs));
    }
    const double ours = Median(strip), theirs = Median(bare);
    std::printf("%s_ratio: %.2f\n", prefix, ours > 0 && theirs > 0 ? ours / theirs : 0.0);
    std::printf("%s_share: %.3f\n", prefix, ours);
    std::printf("%s_bare_share: %.3f\n", prefix, theirs);
}

} // namespace cpushare
