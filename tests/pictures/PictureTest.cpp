#include <gtest/gtest.h>

#include "controls/FitImage.h"
#include "tests/support/Photos.h"
#include "tests/support/TempDir.h"

namespace {

uint32_t At(const tk::Dib& dib, int x, int y) {
    return dib.Bits()[size_t(y) * dib.Width() + x];
}

void ExpectColour(uint32_t pixel, uint32_t rgb, int tolerance, const char* where) {
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(Channel(pixel, shift), Channel(rgb, shift), tolerance) << where;
}

} // namespace

TEST(Picture, ChoosesTheSmallestFastScaleThatCovers) {
    struct Case {
        int w, h, tw, th, scale;
    } cases[] = {
        {6000, 4000, 1620, 1080, 3}, {6000, 4000, 1500, 1000, 2}, {6000, 4000, 750, 500, 1},
        {6000, 4000, 3000, 2000, 4}, {6000, 4000, 3001, 2000, 8}, {640, 480, 640, 480, 8},
        {641, 481, 321, 241, 4},     {641, 481, 322, 241, 8},     {640, 480, 1, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tk::CoveringScale(c.w, c.h, c.tw, c.th), c.scale)
            << c.w << "x" << c.h << " -> " << c.tw << "x" << c.th;
    EXPECT_EQ(tk::ScaledSize(641, 4), 321);
    EXPECT_EQ(tk::ScaledSize(6000, 3), 2250);
}

// Every size of the table, loaded for an area and fitted to it: the bitmap has the fitted
// size and the control keeps the picture's own size.
TEST(Picture, LoadsAndFitsAsTheTableSays) {
    TempDir dir;
    struct Case {
        int aw, ah, pw, ph, w, h;
    } cases[] = {
        {189, 141, 640, 480, 189, 141},     {189, 141, 480, 640, 105, 141},
        {189, 141, 100, 300, 47, 141},      {189, 141, 120, 90, 120, 90},
        {1024, 768, 4000, 3000, 1024, 767}, {1024, 768, 3000, 4000, 576, 768},
        {1024, 768, 1024, 768, 1024, 768},
    };
    for (const Case& c : cases) {
        const std::wstring path = dir / L"p.jpg";
        ASSERT_TRUE(
            MakeJpeg(path, c.pw, c.ph, [&](int x, int) { return LeftRedRightBlue(x, c.pw); }));
        const RECT area = {0, 0, c.aw, c.ah};
        for (bool hint : {true, false}) {
            FitImage image;
            ASSERT_TRUE(hint ? image.LoadFromFile(path, c.aw, c.ah) : image.LoadFromFile(path));
            EXPECT_EQ(image.SourceWidth(), c.pw);
            EXPECT_EQ(image.SourceHeight(), c.ph);
            ASSERT_TRUE(image.FitPicture(area));
            const tk::Dib& fitted = image.Picture();
            EXPECT_EQ(fitted.Width(), c.w) << c.pw << "x" << c.ph << " hint " << hint;
            EXPECT_EQ(fitted.Height(), c.h) << c.pw << "x" << c.ph << " hint " << hint;
            ExpectColour(At(fitted, 2, c.h / 2), 0xFF0000, 40, "left");
            ExpectColour(At(fitted, c.w - 3, c.h / 2), 0x0000FF, 40, "right");
        }
    }
}

TEST(Picture, ASmallPictureIsNotEnlargedAndABiggerAreaGoesBackToTheFile) {
    TempDir dir;
    const std::wstring path = dir / L"small.jpg";
    ASSERT_TRUE(MakeJpeg(path, 120, 90, [](int x, int) { return LeftRedRightBlue(x, 120); }));
    FitImage image;
    ASSERT_TRUE(image.LoadFromFile(path, 1920, 1080));
    ASSERT_TRUE(image.FitPicture(RECT{0, 0, 1920, 1080}));
    EXPECT_EQ(image.Picture().Width(), 120);
    EXPECT_EQ(image.Picture().Height(), 90);

    // Loaded for a small area, then fitted to a larger one: decoded again, not blown up.
    const std::wstring big = dir / L"big.jpg";
    ASSERT_TRUE(MakeJpeg(big, 800, 600, [](int x, int) { return LeftRedRightBlue(x, 800); }));
    ASSERT_TRUE(image.LoadFromFile(big, 189, 141));
    EXPECT_EQ(image.Picture().Width(), 189);
    EXPECT_EQ(image.Picture().Height(), 141);
    ASSERT_TRUE(image.FitPicture(RECT{0, 0, 400, 400}));
    EXPECT_EQ(image.Picture().Width(), 400);
    EXPECT_EQ(image.Picture().Height(), 300);
    ExpectColour(At(image.Picture(), 5, 150), 0xFF0000, 40, "left");
}

TEST(Picture, ProgressiveAndCmykFilesDecode) {
    TempDir dir;
    const std::wstring progressive = dir / L"progressive.jpg";
    ASSERT_TRUE(MakeJpeg(
        progressive, 640, 480, [](int x, int) { return LeftRedRightBlue(x, 640); }, true));
    FitImage image;
    ASSERT_TRUE(image.LoadFromFile(progressive, 189, 141));
    EXPECT_EQ(image.Picture().Width(), 189);
    ExpectColour(At(image.Picture(), 2, 70), 0xFF0000, 40, "progressive left");

    const std::wstring cmyk = dir / L"cmyk.jpg";
    const uint8_t red[4] = {255, 0, 0, 255}; // no cyan, full magenta and yellow, no black
    ASSERT_TRUE(MakeCmykJpeg(cmyk, 64, 48, red));
    ASSERT_TRUE(image.LoadFromFile(cmyk, 32, 32));
    EXPECT_EQ(image.Picture().Width(), 32);
    EXPECT_EQ(image.Picture().Height(), 24);
    ExpectColour(At(image.Picture(), 16, 12), 0xFF0000, 12, "cmyk");
}
