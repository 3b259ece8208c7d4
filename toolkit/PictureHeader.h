#pragma once
// What a picture file says of itself in its first bytes: its format (from its signature,
// whatever its name says), the size its header claims, and the orientation its camera or
// editor wrote where the format keeps it beside the pixels. Read before any decoder sees the
// file, so that a header claiming an absurd size is refused without decoding anything: some
// decoders (Wine's PNG and GIF ones) decode the whole picture as soon as they open it.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace tk {

// Pictures larger than this are refused from their header before anything is decoded:
// 16384 x 16384 (268 megapixels). Every real photo passes (a 200-megapixel phone photo, a
// 100-megapixel medium-format camera, an A4 page scanned at 1200 dpi, 140 megapixels);
// a header claiming 30,000 x 30,000 over a few kilobytes of data does not.
constexpr long long kMaxPicturePixels = 1LL << 28;

// Heif: an ISO media still image that is not AVIF (HEIC, and HEIF of any other codec);
// Avif: one that names an AV1 brand.
enum class PictureFormat { Unknown, Jpeg, Png, Gif, Bmp, Tiff, WebP, Heif, Avif };

struct PictureHeader {
    PictureFormat format = PictureFormat::Unknown;
    // The size the header claims; 0 x 0 when the format keeps it where this reader does not
    // look (HEIC and AVIF boxes, BigTIFF): the decoder's own size is checked then.
    int width = 0;
    int height = 0;
    // The Exif orientation (1 to 8) of a PNG's eXIf chunk, a TIFF's first directory or a
    // WebP's EXIF chunk; 1 when the file has none or it is damaged.
    int orientation = 1;
};

// Reads size bytes at offset into `into`; returns how many it could (fewer at the end).
using ReadAt = std::function<size_t(uint64_t offset, uint8_t* into, size_t size)>;

// The header of the bytes `read` gives. Never reads outside what `read` returns and follows
// no more than a bounded number of chunks, so any file ends the reading quickly.
PictureHeader ParsePictureHeader(const ReadAt& read);

// The header of a file already open for reading (its position is left anywhere).
PictureHeader ReadPictureHeader(HANDLE file);

// The claimed size exceeds the budget (or is negative): the picture is not decoded.
bool ExceedsPixelBudget(long long width, long long height);

} // namespace tk
