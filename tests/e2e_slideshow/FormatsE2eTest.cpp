// The built saver showing a folder of photos in the formats Windows' imaging component
// reads, one of each family, with the central transition: each appears, whole, centred and
// at its own size.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/InstallFolder.h"
#include "tests/support/Pictures.h"
#include "tests/support/Rig.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/TempDir.h"

namespace {

struct Family {
    const wchar_t* name;
    const GUID* container;
    int width, height;
    uint32_t rgb;
    bool seen = false;
};

bool Close(uint32_t pixel, uint32_t rgb) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((pixel >> shift) & 0xFF) - int((rgb >> shift) & 0xFF)) > 30) return false;
    return true;
}

} // namespace

TEST(FormatsE2e, EachFamilyIsShownCentredAtItsSize) {
    Family families[] = {
        {L"red.png", &GUID_ContainerFormatPng, 300, 200, 0xFF0000},
        {L"green.gif", &GUID_ContainerFormatGif, 200, 300, 0x00FF00},
        {L"blue.bmp", &GUID_ContainerFormatBmp, 250, 150, 0x0000FF},
        {L"yellow.tif", &GUID_ContainerFormatTiff, 160, 240, 0xFFFF00},
    };
    TempDir install, photos;
    for (const Family& f : families)
        ASSERT_TRUE(MakeWicPicture(photos / f.name, *f.container, f.width, f.height,
                                   {[&](int, int) { return 0xFF000000 | f.rgb; }}));
    InstallFolder folder(install.Path());
    WriteConfiguration(install.Path(), {{L"defdir", photos.Path()},
                                        {L"optransition", L";4;"},
                                        {L"opnbimgmax", L"3"},
                                        {L"defpause", L"1"}});
    SetCursorPos(512, 384);
    SaverProcess saver(L"/s");
    ASSERT_TRUE(saver.Started());
    Sleep(2000);
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    // Four photos, one a second, each once per pass: two passes' worth of screenshots.
    for (int shot = 0; shot < 30; ++shot) {
        const std::vector<uint32_t> screen = ReadScreen({0, 0, W, H});
        auto at = [&](int x, int y) { return screen[size_t(y) * W + x] & 0xFFFFFF; };
        for (Family& f : families) {
            // Centred at its own size: its corners are its colour, just outside them black.
            const int left = (W - f.width) / 2, top = (H - f.height) / 2;
            const int right = left + f.width - 1, bottom = top + f.height - 1;
            if (Close(at(left, top), f.rgb) && Close(at(right, bottom), f.rgb) &&
                Close(at(W / 2, H / 2), f.rgb) && at(left - 1, top) == 0 &&
                at(right + 1, bottom) == 0 && at(left, top - 1) == 0 && at(right, bottom + 1) == 0)
                f.seen = true;
        }
        if (std::all_of(std::begin(families), std::end(families),
                        [](const Family& f) { return f.seen; }))
            break;
        Sleep(300);
    }
    EXPECT_TRUE(saver.EndByRequest().has_value()) << "the saver did not end";
    for (const Family& f : families)
        EXPECT_TRUE(f.seen) << std::string(f.name, f.name + wcslen(f.name)) << " never shown";
}
