#pragma once
// JPEG files decoded through libjpeg into 32-bit top-down pixels (B, G, R, 0).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/PictureHeader.h"
#include "toolkit/RowSink.h"

namespace tk {

struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // width * height, row after row from the top
};

struct JpegInfo {
    int width = 0;
    int height = 0;
    int orientation = 1; // the Exif orientation, 1 to 8; 1 when the file says nothing
};

// Decodes a file already open (for reading), from its start, into the sink. False for
// anything that is not a complete, readable JPEG (empty, truncated, another format, too
// large, unsupported colours), for a sink that refused, and for a picture whose data ends
// early. Nothing throws.
bool DecodeJpegRows(HANDLE file, RowSink& sink);

// The size libjpeg gives a side of `size` pixels at scale/8: rounded up.
int ScaledSize(int size, int scale);

// The smallest scale, in eighths, among those worth decoding at, whose output still covers
// target on both sides (8 when even the full size is needed).
int CoveringScale(int width, int height, int targetWidth, int targetHeight);

// Reads only the header. False for anything that is not a readable JPEG.
bool ReadJpegInfo(const std::wstring& path, JpegInfo& info);

// Encodes pixels as a baseline JPEG file (used to make test and demo photos).
bool EncodeJpeg(const std::wstring& path, const PixelBuffer& image, int quality = 90,
                bool progressive = false);

} // namespace tk
