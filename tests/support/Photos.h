#pragma once
// The JPEG files the tests and benchmarks make for themselves. Free of GoogleTest.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/TempDir.h"
#include "toolkit/Jpeg.h"
#include "toolkit/LibjpegGuard.h"

// A picture whose pixel (x, y) is colour(x, y) as 0xRRGGBB.
inline bool MakeJpeg(const std::wstring& path, int width, int height,
                     const std::function<uint32_t(int, int)>& colour, bool progressive = false,
                     int quality = 90) {
    tk::PixelBuffer image;
    image.width = width;
    image.height = height;
    image.pixels.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.pixels[size_t(y) * width + x] = colour(x, y);
    return tk::EncodeJpeg(path, image, quality, progressive);
}

// A photo of one colour (0xRRGGBB).
inline bool MakeSolidJpeg(const std::wstring& path, int width, int height, uint32_t rgb) {
    return MakeJpeg(path, width, height, [rgb](int, int) { return rgb; });
}

// A photo with detail everywhere, so that the decoder and the fit do real work.
inline bool MakeDetailedJpeg(const std::wstring& path, int width, int height) {
    return MakeJpeg(
        path, width, height,
        [=](int x, int y) {
            const uint32_t r = uint32_t(x * 255 / width), g = uint32_t(y * 255 / height);
            return r << 16 | g << 8 | (((x / 16 + y / 16) & 1) ? 220u : 30u);
        },
        false, 85);
}

// A file named like a photo that no decoder can read.
inline void MakeCorruptFile(const std::wstring& path) {
    WriteFileBytes(path, "\xFF\xD8\xFF\xE0 this is not the rest of a JPEG file");
}

inline uint32_t LeftRedRightBlue(int x, int width) {
    return x < width / 2 ? 0xFF0000 : 0x0000FF;
}

// A CMYK JPEG as Adobe writes them (inverted: 255 is no ink), of one colour given as
// inverted C, M, Y, K.
inline bool MakeCmykJpeg(const std::wstring& path, int width, int height, const uint8_t cmyk[4]) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path.c_str(), L"wb"), fclose);
    if (!file) return false;
    std::string row;
    for (int x = 0; x < width; ++x)
        row.append(reinterpret_cast<const char*>(cmyk), 4);
    return tk::WithLibjpeg<jpeg_compress_struct>([&](jpeg_compress_struct& info) {
        jpeg_stdio_dest(&info, file.get());
        info.image_width = JDIMENSION(width);
        info.image_height = JDIMENSION(height);
        info.input_components = 4;
        info.in_color_space = JCS_CMYK;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 95, TRUE);
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row.data())};
            jpeg_write_scanlines(&info, rows, 1);
        }
        jpeg_finish_compress(&info);
        return true;
    });
}

// The bytes of a small JPEG whose frame header claims another size.
inline std::string WithClaimedSize(std::string bytes, int width, int height) {
    for (size_t i = 0; i + 8 < bytes.size(); ++i)
        if (uint8_t(bytes[i]) == 0xFF &&
            (uint8_t(bytes[i + 1]) == 0xC0 || uint8_t(bytes[i + 1]) == 0xC2)) {
            bytes[i + 5] = char(height >> 8);
            bytes[i + 6] = char(height & 0xFF);
            bytes[i + 7] = char(width >> 8);
            bytes[i + 8] = char(width & 0xFF);
            break;
        }
    return bytes;
}

inline uint8_t Channel(uint32_t pixel, int shift) {
    return uint8_t((pixel >> shift) & 0xFF);
}
