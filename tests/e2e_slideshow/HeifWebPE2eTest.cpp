// The built saver showing a HEIC and a WebP in a strip, on a PC without Windows' decoders for
// them: each appears upright, as the encoder's own decode of the file shows it (the HEIC is
// stored on its side, its turn kept by the file).
#include <gtest/gtest.h>

#include "controls/FitImage.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/Rig.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPhotos.h"

namespace {

struct Photo {
    const wchar_t* file;
    const wchar_t* reference; // the encoder's decode, as a PNG
    uint32_t anchor;          // the colour of one quadrant, found on the screen
    bool seen = false;
};

bool Close(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

// The bounding box of the pixels of one colour.
RECT Region(const uint32_t* pixels, int width, int height, uint32_t rgb) {
    RECT r = {INT32_MAX, INT32_MAX, -1, -1};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (Close(pixels[size_t(y) * width + x], rgb, 40)) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x);
                r.bottom = std::max<LONG>(r.bottom, y);
            }
    return r;
}

// The reference stands on the screen where its anchor quadrant lines up with the screen's,
// wholly inside it, and nearly every pixel matches.
bool ShownAsReference(const std::vector<uint32_t>& screen, int W, int H, const tk::Dib& ref,
                      uint32_t anchor) {
    const RECT onScreen = Region(screen.data(), W, H, anchor);
    const RECT inRef = Region(ref.Bits(), ref.Width(), ref.Height(), anchor);
    if (onScreen.right < 0 || inRef.right < 0 ||
        onScreen.right - onScreen.left != inRef.right - inRef.left ||
        onScreen.bottom - onScreen.top != inRef.bottom - inRef.top)
        return false;
    const int left = onScreen.left - inRef.left, top = onScreen.top - inRef.top;
    if (left < 0 || top < 0 || left + ref.Width() > W || top + ref.Height() > H) return false;
    int compared = 0, wrong = 0;
    for (int y = 0; y < ref.Height(); y += 3)
        for (int x = 0; x < ref.Width(); x += 3, ++compared)
            wrong += !Close(screen[size_t(top + y) * W + left + x],
                            ref.Bits()[size_t(y) * ref.Width() + x], 40);
    return wrong * 50 < compared; // lossy edges between quadrants: under 2 %
}

} // namespace

TEST(HeifWebPE2e, ShownUprightInAStripAsTheirEncodersDecodeThem) {
    Photo photos[] = {{L"strip.heic", L"strip-heic.png", 0xFF0000},
                      {L"strip.webp", L"strip-webp.png", 0xFFFF00}};
    TempDir install, folder;
    FitImage references[2];
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(
            CopyFileW(TestPhoto(photos[i].file).c_str(), (folder / photos[i].file).c_str(), FALSE));
        ASSERT_TRUE(references[i].LoadFromFile(TestPhoto(photos[i].reference)));
    }
    InstallFolder installed(install.Path());
    WriteConfiguration(install.Path(), {{L"defdir", folder.Path()},
                                        {L"optransition", L";1;"},
                                        {L"opnbimgmax", L"2"},
                                        {L"defspeed", L"100"},
                                        {L"defdelay", L"10"}});
    SetCursorPos(512, 384);
    SaverProcess saver(L"/s");
    ASSERT_TRUE(saver.Started());
    Sleep(2000);
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    for (int shot = 0; shot < 40 && !(photos[0].seen && photos[1].seen); ++shot) {
        const std::vector<uint32_t> screen = ReadScreen({0, 0, W, H});
        for (int i = 0; i < 2; ++i)
            photos[i].seen =
                photos[i].seen ||
                ShownAsReference(screen, W, H, references[i].Picture(), photos[i].anchor);
        Sleep(250);
    }
    EXPECT_TRUE(saver.EndByRequest().has_value()) << "the saver did not end";
    for (const Photo& p : photos)
        EXPECT_TRUE(p.seen) << std::string(p.file, p.file + wcslen(p.file))
                            << " never shown upright";
}
