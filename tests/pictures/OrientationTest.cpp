// Photos marked with an Exif orientation are shown turned as their camera says, sized as
// they are seen; a damaged mark never fails a photo.
#include <gtest/gtest.h>

#include "controls/FitImage.h"
#include "tests/support/Photos.h"
#include "tests/support/Exif.h"
#include "tests/support/TempDir.h"
#include "toolkit/Orientation.h"
#include "toolkit/Wic.h"

namespace {

// Four quadrants of distinct colours: each of the eight orientations shows another layout.
constexpr uint32_t kTopLeft = 0xFF0000, kTopRight = 0x00FF00, kBottomLeft = 0x0000FF,
                   kBottomRight = 0xFFFFFF;
uint32_t Quadrants(int x, int y, int w, int h) {
    if (y < h / 2) return x < w / 2 ? kTopLeft : kTopRight;
    return x < w / 2 ? kBottomLeft : kBottomRight;
}

uint32_t QuadrantColour(const tk::Dib& dib, bool right, bool bottom) {
    const int x = right ? dib.Width() * 3 / 4 : dib.Width() / 4;
    const int y = bottom ? dib.Height() * 3 / 4 : dib.Height() / 4;
    return dib.Bits()[size_t(y) * dib.Width() + x] & 0xFFFFFF;
}

bool Near(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(Channel(a, shift)) - int(Channel(b, shift))) > 40) return false;
    return true;
}

std::string Tiff(const std::string& tiff, size_t keep) {
    return tiff.substr(0, keep);
}

} // namespace

TEST(Orientation, EachOfTheEightShowsItsLayoutAtItsSeenSize) {
    TempDir dir;
    const std::wstring plain = dir / L"plain.jpg";
    ASSERT_TRUE(MakeJpeg(plain, 64, 32, [](int x, int y) { return Quadrants(x, y, 64, 32); }));
    const std::string bytes = ReadFileBytes(plain);
    struct Case {
        int orientation;
        uint32_t topLeft, topRight, bottomLeft, bottomRight;
    };
    const uint32_t A = kTopLeft, B = kTopRight, C = kBottomLeft, D = kBottomRight;
    const Case cases[] = {{1, A, B, C, D}, {2, B, A, D, C}, {3, D, C, B, A}, {4, C, D, A, B},
                          {5, A, C, B, D}, {6, C, A, D, B}, {7, D, B, C, A}, {8, B, D, A, C}};
    for (const Case& c : cases) {
        const std::wstring path = dir / (L"o" + std::to_wstring(c.orientation) + L".jpg");
        WriteFileBytes(
            path, WithSegment(bytes, ExifSegment(ExifTiff(c.orientation, c.orientation % 2 == 0))));
        tk::JpegInfo info;
        ASSERT_TRUE(tk::ReadJpegInfo(path, info));
        ASSERT_EQ(info.orientation, c.orientation);
        FitImage image;
        ASSERT_TRUE(image.LoadFromFile(path));
        const tk::Dib& seen = image.Picture();
        const bool upright = tk::SwapsSides(c.orientation);
        EXPECT_EQ(seen.Width(), upright ? 32 : 64) << c.orientation;
        EXPECT_EQ(image.SourceWidth(), seen.Width()) << c.orientation;
        EXPECT_TRUE(Near(QuadrantColour(seen, false, false), c.topLeft)) << c.orientation;
        EXPECT_TRUE(Near(QuadrantColour(seen, true, false), c.topRight)) << c.orientation;
        EXPECT_TRUE(Near(QuadrantColour(seen, false, true), c.bottomLeft)) << c.orientation;
        EXPECT_TRUE(Near(QuadrantColour(seen, true, true), c.bottomRight)) << c.orientation;
    }
}

// HEIC and AVIF give their orientation through WIC's photo metadata; the value read there
// turns the photo as an Exif tag would.
TEST(Orientation, WicPhotoValuesInRangeTurnThePhoto) {
    const struct {
        VARTYPE type;
        unsigned value;
        int orientation;
    } cases[] = {{VT_UI2, 1, 1}, {VT_UI2, 6, 6},      {VT_UI2, 8, 8}, {VT_UI2, 0, 1},
                 {VT_UI2, 9, 1}, {VT_UI2, 0xFFFF, 1}, {VT_UI4, 6, 1}, {VT_EMPTY, 0, 1}};
    for (const auto& c : cases) {
        PROPVARIANT value;
        PropVariantInit(&value);
        value.vt = c.type;
        if (c.type == VT_UI2) value.uiVal = USHORT(c.value);
        if (c.type == VT_UI4) value.ulVal = c.value;
        EXPECT_EQ(tk::OrientationFromPhotoValue(value), c.orientation) << c.type << " " << c.value;
    }
}

// A photo taken upright fills the height of the area like any portrait photo.
TEST(Orientation, TheFitIsComputedOnTheTurnedSize) {
    TempDir dir;
    const std::wstring plain = dir / L"plain.jpg", turned = dir / L"turned.jpg";
    ASSERT_TRUE(MakeJpeg(plain, 800, 600, [](int x, int y) { return Quadrants(x, y, 800, 600); }));
    WriteFileBytes(turned, WithSegment(ReadFileBytes(plain), ExifSegment(ExifTiff(6, true))));
    FitImage image;
    ASSERT_TRUE(image.LoadFromFile(turned, 400, 400));
    EXPECT_EQ(image.Picture().Width(), 300);
    EXPECT_EQ(image.Picture().Height(), 400);
    ASSERT_TRUE(image.FitPicture(RECT{0, 0, 600, 1000})); // larger: decoded again, turned
    EXPECT_EQ(image.Picture().Width(), 600);
    EXPECT_EQ(image.Picture().Height(), 800);
    EXPECT_TRUE(Near(QuadrantColour(image.Picture(), true, false), kTopLeft));
}

TEST(Orientation, DamagedOrStrangeMarksCountAsUpright) {
    const std::string good = ExifTiff(6, false);
    const std::string cases[] = {
        ExifTiff(0, false),
        ExifTiff(9, true),
        ExifTiff(6, false, 4),
        ExifTiff(6, true, 3, 2), // wrong type, wrong count
        Tiff(good, 7),
        Tiff(good, 30),                                                      // truncated
        "XX" + good.substr(2),                                               // no byte order
        std::string(good).replace(4, 4, std::string("\xF0\xFF\xFF\xFF", 4)), // IFD past the end
        std::string(good).replace(8, 2, std::string("\xFF\xFF", 2)),         // count past the end
    };
    for (const std::string& tiff : cases)
        EXPECT_EQ(
            tk::OrientationFromTiff(reinterpret_cast<const uint8_t*>(tiff.data()), tiff.size()), 1);
    // An IFD pointing at itself holds no orientation and is read once.
    std::string loop = good;
    loop.replace(4, 4, std::string("\x00\x00\x00\x00", 4));
    EXPECT_EQ(tk::OrientationFromTiff(reinterpret_cast<const uint8_t*>(loop.data()), loop.size()),
              1);

    // Segments before the picture's own, read with its header: the first Exif segment
    // counts, a 64 KB segment of junk before it is passed over, a file cut inside its
    // segments is no picture at all.
    TempDir dir;
    const std::wstring plain = dir / L"plain.jpg";
    ASSERT_TRUE(MakeSolidJpeg(plain, 16, 8, 0x808080));
    const std::string picture = ReadFileBytes(plain).substr(2), soi = "\xFF\xD8";
    auto orientation = [&](const std::string& segments) {
        WriteFileBytes(dir / L"marked.jpg", soi + segments + picture);
        tk::JpegInfo info;
        return tk::ReadJpegInfo(dir / L"marked.jpg", info) ? info.orientation : 0;
    };
    EXPECT_EQ(orientation(ExifSegment(good)), 6);
    EXPECT_EQ(orientation(ExifSegment(good) + ExifSegment(ExifTiff(3, true))), 6);
    EXPECT_EQ(orientation("\xFF\xE2\xFD\xEA" + std::string(65000, '\x5A') + ExifSegment(good)), 6);
    EXPECT_EQ(orientation(""), 1);
    WriteFileBytes(dir / L"cut.jpg", soi + "\xFF\xE1\xFF\xFF" + std::string("Exif\0\0", 6) + good);
    tk::JpegInfo info;
    EXPECT_FALSE(tk::ReadJpegInfo(dir / L"cut.jpg", info));
}

// Some writers end IFD0 at the block's end, without the pointer to a next IFD: its entries
// are whole, and the orientation among them counts, in either byte order, read from the
// TIFF bytes or from the photo's own segment.
TEST(Orientation, AFirstIfdEndingAtTheBlocksEndStillGivesTheOrientation) {
    TempDir dir;
    const std::wstring plain = dir / L"plain.jpg";
    ASSERT_TRUE(MakeSolidJpeg(plain, 16, 8, 0x808080));
    const std::string picture = ReadFileBytes(plain);
    for (bool big : {false, true})
        for (int orientation : {3, 6, 8}) {
            const std::string full = ExifTiff(orientation, big);
            const std::string tiff = Tiff(full, full.size() - 4); // no next-IFD pointer
            EXPECT_EQ(
                tk::OrientationFromTiff(reinterpret_cast<const uint8_t*>(tiff.data()), tiff.size()),
                orientation);
            WriteFileBytes(dir / L"marked.jpg", WithSegment(picture, ExifSegment(tiff)));
            tk::JpegInfo info;
            ASSERT_TRUE(tk::ReadJpegInfo(dir / L"marked.jpg", info));
            EXPECT_EQ(info.orientation, orientation) << (big ? "big" : "little") << " endian";
        }
}
