// Photos in the formats Windows' imaging component reads go through the same fit as JPEG:
// each kind of file (made by WIC's own encoders, or by hand where no encoder writes it) is
// shown at the fitted size with its colours, transparency over black, the first frame or
// page, and turned as its orientation tag says.
#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "controls/FitImage.h"
#include "tests/support/Exif.h"
#include "tests/support/Photos.h"
#include "tests/support/Pictures.h"
#include "tests/support/TempDir.h"
#include "toolkit/Counters.h"
#include "toolkit/Picture.h"
#include "toolkit/Wic.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00;

uint32_t ShownAt(const tk::Dib& dib, int x, int y) {
    return dib.Bits()[size_t(y) * dib.Width() + x] & 0xFFFFFF;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(Channel(a, shift)) - int(Channel(b, shift))) > tolerance) return false;
    return true;
}

PixelAt Halves(uint32_t left, uint32_t right, int width) {
    return [=](int x, int) { return x < width / 2 ? left : right; };
}

std::string Rgb(uint32_t rgb) {
    return {char(rgb >> 16), char(rgb >> 8), char(rgb)};
}

} // namespace

// A 64 x 48 picture, left and right halves of two colours, fitted into 32 x 24.
TEST(Formats, EachKindOfFileShowsFittedWithItsColours) {
    TempDir dir;
    const int w = 64, h = 48;
    auto wic = [&](const GUID& container, std::vector<PixelAt> frames, bool alpha = false) {
        return [=, &container](const std::wstring& path) {
            return MakeWicPicture(path, container, w, h, frames, alpha);
        };
    };
    auto bytes = [](std::string content) {
        return [content](const std::wstring& path) {
            WriteFileBytes(path, content);
            return true;
        };
    };
    std::string rgbRows, deepRows, paletteRows, cmyk;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            rgbRows += Rgb(x < w / 2 ? 0xFF0000 : 0x0000FF);
            deepRows +=
                x < w / 2 ? std::string("\xFF\xFF\0\0\0\0", 6) : std::string("\0\0\0\0\xFF\xFF", 6);
            paletteRows += char(x < w / 2 ? 0 : 1);
            cmyk += x < w / 2 ? std::string("\xFF\0\0\0", 4) : std::string("\0\xFF\0\0", 4);
        }
    std::vector<TiffPage> pages(1000, TiffPage{1, 1, 3, 2, Rgb(0x00FF00)});
    pages[0] = TiffPage{w, h, 3, 2, rgbRows};

    struct Case {
        const wchar_t* name;
        std::function<bool(const std::wstring&)> make;
        uint32_t left, right;
        int tolerance;
    } cases[] = {
        {L"plain.png", wic(GUID_ContainerFormatPng, {Halves(kRed, kBlue, w)}), kRed, kBlue, 2},
        // Half-transparent red over black is dark red; wholly transparent blue is black.
        {L"alpha.png", wic(GUID_ContainerFormatPng, {Halves(0x80FF0000, 0x000000FF, w)}, true),
         0x800000, 0, 2},
        {L"plain.gif", wic(GUID_ContainerFormatGif, {Halves(kRed, kBlue, w)}), kRed, kBlue, 2},
        {L"animated.gif",
         wic(GUID_ContainerFormatGif, {Halves(kRed, kBlue, w), Halves(kGreen, kGreen, w)}), kRed,
         kBlue, 2},
        {L"plain.bmp", wic(GUID_ContainerFormatBmp, {Halves(kRed, kBlue, w)}), kRed, kBlue, 2},
        {L"plain.tif", wic(GUID_ContainerFormatTiff, {Halves(kRed, kBlue, w)}), kRed, kBlue, 2},
        {L"pages.tif",
         wic(GUID_ContainerFormatTiff, {Halves(kRed, kBlue, w), Halves(kGreen, kGreen, w)}), kRed,
         kBlue, 2},
        {L"thousand.tif", bytes(TiffBytes(pages)), kRed, kBlue, 2},
        // Cyan and magenta inks without black.
        {L"cmyk.tif", bytes(TiffBytes({TiffPage{w, h, 4, 5, cmyk}})), 0x00FFFF, 0xFF00FF, 2},
        {L"grey.png", bytes(PngBytes(w, h, 0, 8, std::string(size_t(w) * h, '\x80'), w)), 0x808080,
         0x808080, 2},
        {L"deep.png", bytes(PngBytes(w, h, 2, 16, deepRows, w * 6)), kRed, kBlue, 2},
        // A palette whose second colour is wholly transparent.
        {L"palette.png",
         bytes(PngBytes(w, h, 3, 8, paletteRows, w,
                        PngChunk("PLTE", Rgb(0xFF0000) + Rgb(0x0000FF)) +
                            PngChunk("tRNS", std::string("\xFF\0", 2)))),
         kRed, 0, 2},
        {L"jpeg.png",
         [&](const std::wstring& path) {
             return MakeJpeg(path, w, h, [&](int x, int) { return LeftRedRightBlue(x, w); });
         },
         kRed, kBlue, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
        const std::wstring path = dir / c.name;
        ASSERT_TRUE(c.make(path));
        FitImage image;
        ASSERT_TRUE(image.LoadFromFile(path, w / 2, h / 2));
        ASSERT_TRUE(image.FitPicture(RECT{0, 0, w / 2, h / 2}));
        EXPECT_EQ(image.SourceWidth(), w);
        const tk::Dib& shown = image.Picture();
        ASSERT_EQ(shown.Width(), w / 2);
        ASSERT_EQ(shown.Height(), h / 2);
        EXPECT_TRUE(Near(ShownAt(shown, 6, 12), c.left & 0xFFFFFF, c.tolerance))
            << std::hex << ShownAt(shown, 6, 12);
        EXPECT_TRUE(Near(ShownAt(shown, 26, 12), c.right & 0xFFFFFF, c.tolerance))
            << std::hex << ShownAt(shown, 26, 12);
    }
}

// The orientation is read where each format keeps it; PNG's eXIf counts only before the
// image data, as the format says.
TEST(Formats, TurnedAsTheirOrientationSays) {
    TempDir dir;
    const int w = 64, h = 32;
    // Quadrants: red, green over blue, white.
    const uint32_t A = 0xFF0000, B = 0x00FF00, C = 0x0000FF, D = 0xFFFFFF;
    std::string rows;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows += Rgb(y < h / 2 ? (x < w / 2 ? A : B) : (x < w / 2 ? C : D));
    const std::string exif6 = PngChunk("eXIf", ExifTiff(6, true));
    std::string late = PngBytes(w, h, 2, 8, rows, w * 3);
    late.insert(late.size() - 12, exif6); // before IEND, after the data
    struct Case {
        const wchar_t* name;
        std::string bytes;
        bool turned;
        uint32_t topLeft, topRight, bottomLeft, bottomRight;
    } cases[] = {
        {L"exif6.png", PngBytes(w, h, 2, 8, rows, w * 3, exif6), true, C, A, D, B},
        {L"late-exif.png", late, false, A, B, C, D},
        {L"o3.tif", TiffBytes({TiffPage{w, h, 3, 2, rows, 3}}), false, D, C, B, A},
        {L"o8.tif", TiffBytes({TiffPage{w, h, 3, 2, rows, 8}}), true, B, D, A, C},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
        WriteFileBytes(dir / c.name, c.bytes);
        FitImage image;
        ASSERT_TRUE(image.LoadFromFile(dir / c.name, 200, 200));
        const tk::Dib& shown = image.Picture();
        ASSERT_EQ(shown.Width(), c.turned ? h : w);
        ASSERT_EQ(shown.Height(), c.turned ? w : h);
        const int left = shown.Width() / 4, right = shown.Width() * 3 / 4;
        const int top = shown.Height() / 4, bottom = shown.Height() * 3 / 4;
        EXPECT_EQ(ShownAt(shown, left, top), c.topLeft);
        EXPECT_EQ(ShownAt(shown, right, top), c.topRight);
        EXPECT_EQ(ShownAt(shown, left, bottom), c.bottomLeft);
        EXPECT_EQ(ShownAt(shown, right, bottom), c.bottomRight);
    }
}

// A PNG decodes on threads of every apartment, one after another: the window's (whose
// apartment goes before the next thread decodes), a worker's, one without COM. Each thread is
// left in COM as it was, and no COM object outlives its thread.
TEST(Formats, DecodedOnEachThreadInItsOwnApartment) {
    TempDir dir;
    const std::wstring path = dir / L"grey.png";
    WriteFileBytes(path, PngBytes(64, 48, 0, 8, std::string(64 * 48, '\x80'), 64));
    using Kind = tk::ComApartment::Kind;
    for (std::optional<Kind> kind : {std::optional(Kind::SingleThreaded),
                                     std::optional(Kind::Multithreaded), std::optional<Kind>()}) {
        SCOPED_TRACE(testing::Message() << "apartment " << (kind ? int(*kind) : -1));
        const auto asItIs = [](int w, int h) { return SIZE{w, h}; };
        bool shown = false;
        HRESULT after = S_OK;
        std::thread([&] {
            std::optional<tk::ComApartment> com;
            if (kind) com.emplace(*kind);
            tk::PictureLoader loader;
            tk::Dib picture;
            shown = loader.Load(path, asItIs, picture) && picture.Bits()[0] == 0x808080;
            com.reset();
            APTTYPE type;
            APTTYPEQUALIFIER qualifier;
            after = CoGetApartmentType(&type, &qualifier);
        }).join();
        EXPECT_TRUE(shown);
        EXPECT_EQ(after, CO_E_NOTINITIALIZED);
        EXPECT_EQ(tk::Counts().comObjects.load(), 0);
    }
}

// Over black, a channel v under alpha a is round(v * a / 255), for every v and a.
TEST(Formats, TransparencyIsDrawnOverBlackExactly) {
    std::vector<uint32_t> row(256);
    for (uint32_t a = 0; a < 256; ++a) {
        for (uint32_t v = 0; v < 256; ++v)
            row[v] = a << 24 | v << 16 | (255 - v) << 8 | v;
        tk::DrawOverBlack(row.data(), 256);
        for (uint32_t v = 0; v < 256; ++v) {
            const uint32_t expected = (v * a * 2 + 255) / 510,
                           other = ((255 - v) * a * 2 + 255) / 510;
            ASSERT_EQ(row[v], a << 24 | expected << 16 | other << 8 | expected) << a << " " << v;
        }
    }
}
