// What a picture's first bytes say: its format by signature, the size its header claims,
// and the orientation kept beside the pixels; for the formats this machine may have no
// decoder for (WebP, HEIC, AVIF) this is the one layer where they are tested.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/Exif.h"
#include "tests/support/Pictures.h"
#include "toolkit/PictureHeader.h"

namespace {

using tk::PictureFormat;

tk::PictureHeader Parse(const std::string& bytes) {
    return tk::ParsePictureHeader([&](uint64_t offset, uint8_t* into, size_t size) -> size_t {
        if (offset >= bytes.size()) return 0;
        const size_t n = std::min<size_t>(size, bytes.size() - size_t(offset));
        std::memcpy(into, bytes.data() + offset, n);
        return n;
    });
}

std::string Le16(uint32_t v) {
    return {char(v), char(v >> 8)};
}
std::string Le24(uint32_t v) {
    return {char(v), char(v >> 8), char(v >> 16)};
}
std::string Le32(uint32_t v) {
    return Le16(v & 0xFFFF) + Le16(v >> 16);
}

std::string RiffChunk(const std::string& type, const std::string& data) {
    return type + Le32(uint32_t(data.size())) + data +
           (data.size() & 1 ? std::string(1, '\0') : "");
}
std::string WebP(const std::string& chunks) {
    return "RIFF" + Le32(uint32_t(chunks.size() + 4)) + "WEBP" + chunks;
}
std::string Ftyp(const std::string& major, const std::string& compatible) {
    const std::string body = major + std::string(4, '\0') + compatible;
    return Be32Bytes(uint32_t(body.size() + 8)) + "ftyp" + body + std::string(16, '\0');
}
std::string Bmp(uint32_t headerSize, const std::string& sizes) {
    return "BM" + std::string(12, '\0') + Le32(headerSize) + sizes + std::string(40, '\0');
}

} // namespace

TEST(PictureHeader, FormatSizeAndOrientationFromTheFirstBytes) {
    const std::string exif6 = std::string("Exif\0\0", 6) + ExifTiff(6, false);
    const std::string tiff = TiffBytes({TiffPage{5, 7, 3, 2, std::string(105, '\0'), 6}});
    // Big-endian, the width a SHORT and the height a LONG.
    const std::string motorola =
        std::string("MM\0\x2A", 4) + Be32Bytes(8) + std::string("\0\x02", 2) +
        std::string("\x01\x00\0\x03\0\0\0\x01\x02\x80\0\0", 12) +
        std::string("\x01\x01\0\x04\0\0\0\x01\0\0\x01\xE0", 12) + Be32Bytes(0);
    const std::string lossy = std::string("\0\0\0\x9D\x01\x2A", 6) + Le16(640) + Le16(480);
    struct Case {
        const char* what;
        std::string bytes;
        PictureFormat format;
        int width, height, orientation;
    } cases[] = {
        {"JPEG", "\xFF\xD8\xFF\xE0 rest", PictureFormat::Jpeg, 0, 0, 1},
        {"text", "Notes of the holiday, not a picture", PictureFormat::Unknown, 0, 0, 1},
        {"empty", "", PictureFormat::Unknown, 0, 0, 1},
        {"PNG", PngBytes(3, 2, 0, 8, "abcdef", 3), PictureFormat::Png, 3, 2, 1},
        {"PNG cut in its header", PngBytes(3, 2, 0, 8, "abcdef", 3).substr(0, 20),
         PictureFormat::Unknown, 0, 0, 1},
        {"GIF", std::string("GIF89a\x40\x01\xF0\0\0\0\0;", 14), PictureFormat::Gif, 320, 240, 1},
        {"BMP rows from the top", Bmp(40, Le32(300) + Le32(uint32_t(-200))), PictureFormat::Bmp,
         300, 200, 1},
        {"BMP with the old header", Bmp(12, Le16(30) + Le16(20)), PictureFormat::Bmp, 30, 20, 1},
        {"TIFF, its directory after the pixels", tiff, PictureFormat::Tiff, 5, 7, 6},
        {"TIFF in Motorola order", motorola, PictureFormat::Tiff, 640, 480, 1},
        {"BigTIFF", std::string("II+\0\x08\0\0\0", 8) + std::string(32, '\0'), PictureFormat::Tiff,
         0, 0, 1},
        {"WebP lossy", WebP(RiffChunk("VP8 ", lossy)), PictureFormat::WebP, 640, 480, 1},
        {"WebP lossless",
         WebP(RiffChunk("VP8L", std::string("\x2F") + Le32(99 | 49 << 14) + "rest")),
         PictureFormat::WebP, 100, 50, 1},
        {"WebP extended, Exif after the image",
         WebP(RiffChunk("VP8X", std::string(4, '\0') + Le24(3999) + Le24(2999)) +
              RiffChunk("VP8 ", lossy) + RiffChunk("EXIF", exif6)),
         PictureFormat::WebP, 4000, 3000, 6},
        {"HEIC", Ftyp("heic", "mif1heic"), PictureFormat::Heif, 0, 0, 1},
        {"AVIF among compatible brands", Ftyp("xxxx", "isomavif"), PictureFormat::Avif, 0, 0, 1},
        {"AVIF naming mif1 first", Ftyp("mif1", "avifmiaf"), PictureFormat::Avif, 0, 0, 1},
        {"an MP4 clip", Ftyp("isom", "isomiso2mp41"), PictureFormat::Unknown, 0, 0, 1},
    };
    for (const Case& c : cases) {
        const tk::PictureHeader header = Parse(c.bytes);
        EXPECT_EQ(header.format, c.format) << c.what;
        EXPECT_EQ(header.width, c.width) << c.what;
        EXPECT_EQ(header.height, c.height) << c.what;
        EXPECT_EQ(header.orientation, c.orientation) << c.what;
    }
}

TEST(PictureHeader, PixelBudgetPassesEveryRealPhoto) {
    struct Case {
        long long width, height;
        bool refused;
    } cases[] = {
        {16384, 16384, false}, {16385, 16384, true}, {16320, 12240, false}, // a 200 MP phone
        {11648, 8736, false},  {30000, 30000, true}, {65535, 65535, true},
        {INT32_MAX, 1, true},  {-1, 100, true},      {0, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tk::ExceedsPixelBudget(c.width, c.height), c.refused)
            << c.width << " x " << c.height;
}
