// How whole the strip's frames reach the display: the built saver runs a strip of photos of
// one colour each, and the display's line through the middle of the strip (a row for the
// horizontal strips, a column for the vertical ones) is read again and again. In a whole
// frame every gap between two tiles is 50 pixels of black and every tile wholly on the
// screen is as long as its photo; a stale strip, a doubled edge or a tile drawn before its
// neighbour breaks one of these. Printed per transition: the frames read and the broken ones.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "saver/Geometry.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"
#include "toolkit/Dib.h"

namespace {

constexpr DWORD kSettleMs = 2000;
constexpr DWORD kSampleMs = 8000;

struct Photo {
    uint32_t rgb;
    int width, height;
};
// Lengths along the travel that keep several tiles on the screen, colours far apart.
const Photo kPhotos[] = {{0xFF0000, 420, 300}, {0x00FF00, 300, 420}, {0x0000FF, 520, 360},
                         {0xFFFF00, 360, 520}, {0xFF00FF, 460, 400}, {0x00FFFF, 400, 460}};

// The photo whose colour this pixel shows (JPEG colours are near, not exact); -1 for black,
// -2 for anything else.
int Classify(uint32_t pixel) {
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    if (r < 40 && g < 40 && b < 40) return -1;
    for (int i = 0; i < int(std::size(kPhotos)); ++i) {
        const uint32_t c = kPhotos[i].rgb;
        if (std::abs(r - int((c >> 16) & 0xFF)) < 40 && std::abs(g - int((c >> 8) & 0xFF)) < 40 &&
            std::abs(b - int(c & 0xFF)) < 40)
            return i;
    }
    return -2;
}

// Whether one line across the strip shows a whole frame.
bool WholeFrame(const std::vector<int>& line, bool vertical) {
    struct Run {
        int what, start, length;
    };
    std::vector<Run> runs;
    for (int i = 0; i < int(line.size()); ++i)
        if (runs.empty() || runs.back().what != line[i])
            runs.push_back({line[i], i, 1});
        else
            ++runs.back().length;
    for (size_t k = 0; k < runs.size(); ++k) {
        const Run& run = runs[k];
        const bool inside = k > 0 && k + 1 < runs.size(); // touches neither edge
        if (run.what == -2) return false;
        if (run.what == -1) {
            if (inside && run.length != kTileGap) return false;
            continue;
        }
        // Two tiles touching, or a tile longer than its photo.
        const Photo& p = kPhotos[run.what];
        const int length = vertical ? p.height : p.width;
        if (run.length > length || (inside && run.length != length)) return false;
    }
    return true;
}

// At the default pace (4 px every 10 ms), or as fast as the loop turns (stepsPerTenSeconds 1000).
void SampleTransition(const TempDir& install, const std::wstring& photos, int transition,
                      bool fullSpeed = false) {
    const bool vertical = transition >= 11;
    InstallFolder installed(install.Path());
    WriteConfiguration(install.Path(),
                       {{L"defdir", photos + L";"},
                        {L"optransition", L";" + std::to_wstring(transition) + L";"},
                        {L"defspeed", L"4"},
                        {L"defdelay", fullSpeed ? L"1000" : L"990"},
                        {L"opnbimgmax", L"6"},
                        {L"opmemfiles", L"0"}});
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    SetCursorPos(W / 2, H / 2);
    SaverProcess saver(L"/s");
    HWND window = saver.WaitForWindow();
    if (!window || !saver.WaitForCapture(window)) return;
    Sleep(kSettleMs);

    const int length = vertical ? H : W;
    tk::Dib shot;
    shot.Create(vertical ? 1 : W, vertical ? H : 1);
    HDC screen = GetDC(nullptr);
    long frames = 0, broken = 0, tiles = 0;
    std::vector<int> line(length);
    const DWORD end = GetTickCount() + kSampleMs;
    while (int(end - GetTickCount()) > 0 && saver.Running()) {
        if (vertical)
            BitBlt(shot.Dc(), 0, 0, 1, H, screen, W / 2, 0, SRCCOPY);
        else
            BitBlt(shot.Dc(), 0, 0, W, 1, screen, 0, H / 2, SRCCOPY);
        for (int i = 0; i < length; ++i)
            line[i] = Classify(shot.Bits()[i]);
        ++frames;
        bool tile = false;
        for (int v : line)
            tile = tile || v >= 0;
        tiles += tile;
        if (!WholeFrame(line, vertical)) ++broken;
    }
    ReleaseDC(nullptr, screen);
    saver.EndByRequest();
    const std::string name = std::to_string(transition) + (fullSpeed ? "_full_speed" : "");
    std::printf("strip_frames_read_%s: %ld\n", name.c_str(), frames);
    std::printf("strip_frames_broken_%s: %ld\n", name.c_str(), broken);
    std::printf("strip_frames_with_tiles_%s: %ld\n", name.c_str(), tiles);
}

} // namespace

int wmain() {
    tk::SetBoxHook([](const tk::BoxRequest&) { return IDOK; });
    const TempDir install, photos;
    for (int i = 0; i < int(std::size(kPhotos)); ++i)
        MakeSolidJpeg(photos / (L"p" + std::to_wstring(i) + L".jpg"), kPhotos[i].width,
                      kPhotos[i].height, kPhotos[i].rgb);
    for (int transition : {1, 2, 3, 11, 12, 13})
        SampleTransition(install, photos.Path(), transition);
    SampleTransition(install, photos.Path(), 1, true);
    return 0;
}
