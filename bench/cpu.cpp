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
#include "bench/CpuShare.h"
#include "bench/Measure.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"
#include "tests/support/ClipRig.h"
#include "toolkit/Dib.h"
#include "toolkit/MediaPlayer.h"

namespace {

using namespace cpushare;

// The player alone: the clip opened in a panel of a black full-screen window, drawn at the
// given size, played, and left to itself.
double BarePlayerShare(const std::wstring& clip, int width, int height) {
    HWND window = FullScreenWindow();
    HWND panel = CentredPanel(window, width, height);
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

void PrintShare(const char* name, double share) {
    std::printf("%s: %.3f\n", name, share);
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
        const double still =
            SaverShare(install, photos.Path(), {{L"optransition", L";4;"}, {L"defpause", L"60"}});
        PrintShare("cpu_still_share", still);
    }
    if (wanted(L"strip")) StripFigures(install, photos.Path(), "cpu_strip");
    if (wanted(L"clip")) ClipFigures(install, clips);
    return 0;
}
