// HEIC and WebP photos made by Debian's encoders, decoded by the libraries the program
// carries: shown upright as the camera meant them, whatever their name, with transparency
// over black; damaged or lying files refused with a line in the log.
#include <gtest/gtest.h>

#include "controls/FitImage.h"
#include "tests/support/TestPhotos.h"
#include "toolkit/Log.h"

namespace {

// The quadrants of scripts/make-test-photos' picture, as stored: red and green over blue
// and white, 96 x 64.
constexpr uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF;

uint32_t ShownAt(const tk::Dib& dib, int x, int y) {
    return dib.Bits()[size_t(y) * dib.Width() + x] & 0xFFFFFF;
}

// Each channel within the tolerance of lossy coding.
bool Near(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 24) return false;
    return true;
}

std::string Name(const wchar_t* name) {
    return std::string(name, name + wcslen(name));
}

} // namespace

// The quadrants as they are seen: the turn and mirror that HEIF keeps as properties applied
// once (the Exif orientation the same files also hold is not applied on top), WebP's Exif
// orientation applied, the first frame of an animation, a file read as what it holds.
TEST(HeifWebP, ShownAsTheCameraMeantThem) {
    struct Case {
        const wchar_t* file;
        bool turned; // its sides swap
        uint32_t topLeft, topRight, bottomLeft, bottomRight;
    } cases[] = {
        {L"upright.heic", false, R, G, B, W}, {L"turned2.heic", false, G, R, W, B},
        {L"turned5.heic", true, R, B, G, W},  {L"turned6.heic", true, B, R, W, G},
        {L"deep.heic", false, R, G, B, W},    {L"named.jpg", false, R, G, B, W},
        {L"upright.webp", false, R, G, B, W}, {L"lossless.webp", false, R, G, B, W},
        {L"turned6.webp", true, B, R, W, G},  {L"animated.webp", false, R, G, B, W},
        {L"named.heic", false, R, G, B, W},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Name(c.file));
        FitImage image;
        ASSERT_TRUE(image.LoadFromFile(TestPhoto(c.file), 200, 200));
        const tk::Dib& shown = image.Picture();
        ASSERT_EQ(shown.Width(), c.turned ? 64 : 96);
        ASSERT_EQ(shown.Height(), c.turned ? 96 : 64);
        const int left = shown.Width() / 4, right = shown.Width() * 3 / 4;
        const int top = shown.Height() / 4, bottom = shown.Height() * 3 / 4;
        EXPECT_TRUE(Near(ShownAt(shown, left, top), c.topLeft))
            << std::hex << ShownAt(shown, left, top);
        EXPECT_TRUE(Near(ShownAt(shown, right, top), c.topRight));
        EXPECT_TRUE(Near(ShownAt(shown, left, bottom), c.bottomLeft));
        EXPECT_TRUE(Near(ShownAt(shown, right, bottom), c.bottomRight));
    }
}

// Half-transparent red over black is dark red; wholly transparent blue is black.
TEST(HeifWebP, TransparencyOverBlack) {
    for (const wchar_t* file : {L"alpha.heic", L"alpha.webp"}) {
        SCOPED_TRACE(Name(file));
        FitImage image;
        ASSERT_TRUE(image.LoadFromFile(TestPhoto(file), 200, 200));
        EXPECT_TRUE(Near(ShownAt(image.Picture(), 24, 32), 0x800000))
            << std::hex << ShownAt(image.Picture(), 24, 32);
        EXPECT_TRUE(Near(ShownAt(image.Picture(), 72, 32), 0));
    }
}

// Cut short or claiming more pixels than the budget: refused, each with its line.
TEST(HeifWebP, DamagedOrLyingFilesAreRefusedWithALine) {
    struct Case {
        const wchar_t* file;
        const wchar_t* why;
    } cases[] = {
        {L"cut-data.heic", L"HEIF structure cannot be read"},
        {L"cut-boxes.heic", L"HEIF structure cannot be read"},
        {L"lying.heic", L"20000 x 20000 pixels, beyond the pixel budget"},
        {L"cut.webp", L"WebP data cannot be decoded"},
        {L"lying.webp", L"20000 x 20000 pixels, beyond the pixel budget"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Name(c.file));
        tk::LogCapture log;
        FitImage image;
        EXPECT_FALSE(image.LoadFromFile(TestPhoto(c.file), 200, 200));
        EXPECT_TRUE(log.Holds(c.file)) << (log.Lines().empty() ? "" : Name(log.Lines()[0].c_str()));
        EXPECT_TRUE(log.Holds(c.why)) << (log.Lines().empty() ? "" : Name(log.Lines()[0].c_str()));
    }
}
