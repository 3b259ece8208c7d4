#pragma once
// JPEG files decoded through libjpeg into 32-bit top-down pixels (B, G, R, 0).
#include <cstdint>
#include <string>
#include <vector>

namespace tk {

struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // width * height, row after row from the top
};

struct JpegInfo {
    int width = 0;
    int height = 0;
};

// Reads only the header. False for anything that is not a readable JPEG.
bool ReadJpegInfo(const std::wstring& path, JpegInfo& info);

// Decodes the whole file at 1/denominator of its size (1, 2, 4 or 8). Every failure (not a
// JPEG, truncated, unreadable, unsupported colours) comes back as false; nothing throws.
bool DecodeJpeg(const std::wstring& path, PixelBuffer& out, int denominator = 1);

// Encodes pixels as a baseline JPEG file (used to make test and demo photos).
bool EncodeJpeg(const std::wstring& path, const PixelBuffer& image, int quality = 90,
                bool progressive = false);

} // namespace tk
