// The saver's CPU use, read from the CPU times of its own process (CPU-seconds per second of
// wall time): while one central picture stands, while the strip moves at the default pace,
// and while one central clip plays. The strip is set against a bare program that copies one
// prepared full-screen bitmap to its window every 10 ms, the clip against the player alone
// playing the same clip at the same size; both are measured in this process, in the same
// run, one after the other, so that nothing else runs beside what is measured.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "bench/BareClass.h"
#include "bench/Measure.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"
#include "tests/video/ClipRig.h"
#include "toolkit/Dib.h"
#include "toolkit/MediaPlayer.h"

namespace {

using Options = std::vector<std::pair<std::wstring, std::wstring>>;

constexpr DWORD kSettleMs = 2000;  // after the start: the first picture is in, the clip plays
constexpr DWORD kMeasureMs = 10000; // the span each share is taken over
// The strip and its bare program take turns, so that a change in the machine's load (it is
// shared) weighs on both alike; each figure is the median of its turns.
constexpr int kStripTurns = 3;
constexpr DWORD kStripTurnMs = 5000;

double OwnCpuSeconds() { return ProcessCpuSeconds(GetCurrentProcessId()); }

// Pumps this thread's messages for ms, sleeping in the queue between them.
void RunLoopFor(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    for (;;) {
        const int left = int(end - GetTickCount());
        if (left <= 0) return;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left), QS_ALLINPUT) ==
            WAIT_OBJECT_0)
            PumpMessages();
    }
}

// CPU-seconds per second that this process spends while the loop runs for ms.
double OwnShareOver(DWORD ms) {
    const double cpu0 = OwnCpuSeconds();
    const double wall = TimeMs([&] { RunLoopFor(ms); }) / 1000.0;
    return (OwnCpuSeconds() - cpu0) / wall;
}

// The saver with these options over the photos or clips of folder: started as Windows
// starts it, given time to settle, then measured.
double SaverShare(const TempDir& install, const std::wstring& folder, Options options,
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

// A black full-screen topmost window of this process, shown without activation.
HWND FullScreenWindow() {
    HWND window = CreateWindowExW(WS_EX_TOPMOST, BareClass(L"CpuBenchWindow", BLACK_BRUSH), L"",
                                  WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(window);
    return window;
}

void CALLBACK CopyPicture(HWND window, UINT, UINT_PTR, DWORD) {
    const auto* p = reinterpret_cast<const tk::Dib*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    HDC dc = GetDC(window);
    BitBlt(dc, 0, 0, p->Width(), p->Height(), p->Dc(), 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
}

// The bare program: one prepared full-screen bitmap copied to the window at every tick of
// a 10 ms timer, the loop waiting in between.
double BareBlitShare(DWORD measureMs) {
    HWND window = FullScreenWindow();
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    tk::Dib picture;
    picture.Create(W, H);
    for (int i = 0; i < W * H; ++i) picture.Bits()[i] = uint32_t(i) * 2654435761u;
    constexpr UINT_PTR kTick = 1;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&picture));
    SetTimer(window, kTick, 10, CopyPicture);
    RunLoopFor(kSettleMs);
    const double share = OwnShareOver(measureMs);
    KillTimer(window, kTick);
    DestroyWindow(window);
    return share;
}

// The player alone: the clip opened in a panel of a black full-screen window, drawn at the
// given size, played, and left to itself.
double BarePlayerShare(const std::wstring& clip, int width, int height) {
    HWND window = FullScreenWindow();
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    HWND panel = CreateWindowExW(0, L"CpuBenchWindow", L"", WS_CHILD | WS_VISIBLE,
                                 (W - width) / 2, (H - height) / 2, width, height, window,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    double share = -1;
    {
        tk::MediaPlayer player;
        player.Display = panel;
        player.FileName = clip;
        if (player.Open() && player.SetDisplaySize(width, height) && player.Play()) {
            RunLoopFor(kSettleMs);
            share = OwnShareOver(kMeasureMs);
        }
    }
    DestroyWindow(window);
    return share;
}

void PrintShare(const char* name, double share) { std::printf("%s: %.3f\n", name, share); }

void PrintRatio(const char* name, double ours, double bare) {
    std::printf("%s: %.2f\n", name, ours > 0 && bare > 0 ? ours / bare : 0.0);
}

// Transition 1 at the default pace (4 px every 10 ms) over full-screen photos, against the
// bare program.
void StripFigures(const TempDir& install, const std::wstring& photos) {
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
    PrintRatio("cpu_strip_ratio", Median(strip), Median(bare));
    PrintShare("cpu_strip_share", Median(strip));
    PrintShare("cpu_strip_bare_share", Median(bare));
}

// One central MPEG-1 clip, 320 x 240 at twice its size, looping, so that the saver watches
// for its end; against the player alone.
void ClipFigures(const TempDir& install, const TempDir& clips) {
    const double clip = SaverShare(install, clips.Path(),
                                   {{L"optransition", L";4;"},
                                    {L"defpause", L"60"},
                                    {L"opagrfilm", L"2"},
                                    {L"opBclfilm", L"1"}});
    const double player = BarePlayerShare(clips / L"long.mpg", 640, 480);
    PrintShare("cpu_clip_share", clip);
    PrintShare("cpu_clip_player_share", player);
    std::printf("cpu_clip_over_player: %.3f\n", clip - player);
}

} // namespace

// Give "still", "strip" or "clip" to take only those figures.
int wmain(int argc, wchar_t** argv) {
    auto wanted = [&](const wchar_t* part) {
        if (argc < 2) return true;
        for (int i = 1; i < argc; ++i)
            if (std::wcscmp(argv[i], part) == 0) return true;
        return false;
    };
    tk::SetBoxHook([](const tk::BoxRequest&) { return IDOK; });
    const TempDir install, photos, clips;
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    for (int i = 0; i < 7; ++i)
        MakeDetailedJpeg(photos / (L"photo" + std::to_wstring(i) + L".jpg"), W, H);
    const std::wstring clip = cliprig::Media(L"long.mpg");
    CopyFileW(clip.c_str(), (clips / L"long.mpg").c_str(), FALSE);

    if (wanted(L"still")) {
        const double still = SaverShare(install, photos.Path(),
                                        {{L"optransition", L";4;"}, {L"defpause", L"60"}});
        PrintShare("cpu_still_share", still);
    }
    if (wanted(L"strip")) StripFigures(install, photos.Path());
    if (wanted(L"clip")) ClipFigures(install, clips);
    return 0;
}

