#include "toolkit/PictureHeader.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "toolkit/Handles.h"
#include "toolkit/Orientation.h"

namespace tk {

namespace {

// Bounds that keep a damaged or hostile file from holding the reader: chunks walked,
// directory entries read, bytes of an Exif block kept.
constexpr int kMaxChunks = 64;
constexpr uint32_t kMaxDirectoryEntries = 1024;
constexpr uint32_t kMaxExifBytes = 64 * 1024;

uint32_t Be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}
uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[1] << 8 | p[0]);
}
uint32_t Le24(const uint8_t* p) {
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// A piece of the file, or an empty one when the file is shorter.
std::vector<uint8_t> ReadExactly(const ReadAt& read, uint64_t offset, size_t size) {
    std::vector<uint8_t> bytes(size);
    if (size && read(offset, bytes.data(), size) != size) bytes.clear();
    return bytes;
}

// Sizes beyond what an int holds are kept as the largest int: the budget refuses them.
int ClampedSize(uint64_t v) {
    return int(std::min<uint64_t>(v, INT32_MAX));
}

// The orientation of an Exif block as PNG and WebP keep it: the TIFF structure itself, or
// (as some writers do) after the "Exif\0\0" that JPEG's APP1 segment puts before it.
int ExifBlockOrientation(const ReadAt& read, uint64_t offset, uint32_t size) {
    const std::vector<uint8_t> block = ReadExactly(read, offset, std::min(size, kMaxExifBytes));
    size_t skip = 0;
    if (block.size() >= 6 && std::memcmp(block.data(), "Exif\0\0", 6) == 0) skip = 6;
    return block.empty() ? 1 : OrientationFromTiff(block.data() + skip, block.size() - skip);
}

// PNG: IHDR first; an eXIf chunk counts only before the image data, as the format says.
void ParsePng(const ReadAt& read, PictureHeader& header) {
    const std::vector<uint8_t> ihdr = ReadExactly(read, 8, 16);
    if (ihdr.empty() || std::memcmp(ihdr.data() + 4, "IHDR", 4) != 0) return;
    header.format = PictureFormat::Png;
    header.width = ClampedSize(Be32(ihdr.data() + 8));
    header.height = ClampedSize(Be32(ihdr.data() + 12));
    uint64_t at = 8;
    for (int i = 0; i < kMaxChunks; ++i) {
        const std::vector<uint8_t> chunk = ReadExactly(read, at, 8);
        if (chunk.empty()) return;
        const uint32_t length = Be32(chunk.data());
        const uint8_t* type = chunk.data() + 4;
        if (std::memcmp(type, "IDAT", 4) == 0 || std::memcmp(type, "IEND", 4) == 0) return;
        if (std::memcmp(type, "eXIf", 4) == 0) {
            header.orientation = ExifBlockOrientation(read, at + 8, length);
            return;
        }
        at += 12ull + length; // length, type, data, checksum
    }
}

// TIFF: the first directory gives the size (tags 256 and 257) and the orientation (274).
// Its entries are read where it lies, often after the pixels at the end of the file.
void ParseTiff(const ReadAt& read, const uint8_t* head, PictureHeader& header) {
    const bool big = head[0] == 'M';
    auto u16 = [big](const uint8_t* p) { return big ? uint16_t(p[0] << 8 | p[1]) : Le16(p); };
    auto u32 = [big](const uint8_t* p) { return big ? Be32(p) : Le32(p); };
    header.format = PictureFormat::Tiff;
    if (u16(head + 2) != 42) return; // BigTIFF: its size is left to the decoder
    const uint32_t directory = u32(head + 4);
    const std::vector<uint8_t> countBytes = ReadExactly(read, directory, 2);
    if (countBytes.empty()) return;
    const uint32_t count = std::min<uint32_t>(u16(countBytes.data()), kMaxDirectoryEntries);
    const std::vector<uint8_t> entries = ReadExactly(read, directory + 2ull, count * 12);
    if (entries.empty()) return;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* e = entries.data() + i * 12;
        const uint16_t tag = u16(e), type = u16(e + 2);
        const uint32_t value = type == 3 ? u16(e + 8) : type == 4 ? u32(e + 8) : 0;
        if (tag == 256) header.width = ClampedSize(value);
        if (tag == 257) header.height = ClampedSize(value);
    }
    // The orientation rules of an Exif block apply as they are: the directory is given to
    // them behind a header of its own byte order that points at it.
    std::vector<uint8_t> directoryAlone(head, head + 4);
    const uint8_t eight[4] = {0, 0, 0, 8};
    for (int k = 0; k < 4; ++k)
        directoryAlone.push_back(big ? eight[k] : eight[3 - k]);
    directoryAlone.insert(directoryAlone.end(), countBytes.begin(), countBytes.end());
    directoryAlone.insert(directoryAlone.end(), entries.begin(), entries.end());
    directoryAlone.insert(directoryAlone.end(), 4, 0); // no next directory
    header.orientation = OrientationFromTiff(directoryAlone.data(), directoryAlone.size());
}

// WebP: the size from the first image chunk (VP8X's canvas, or the lossy or lossless
// frame's own), the orientation from an EXIF chunk, which writers put after the image.
void ParseWebP(const ReadAt& read, PictureHeader& header) {
    header.format = PictureFormat::WebP;
    bool sized = false;
    uint64_t at = 12;
    for (int i = 0; i < kMaxChunks; ++i) {
        const std::vector<uint8_t> chunk = ReadExactly(read, at, 8);
        if (chunk.empty()) return;
        const uint32_t length = Le32(chunk.data() + 4);
        const std::vector<uint8_t> start = ReadExactly(read, at + 8, 10);
        const uint8_t* type = chunk.data();
        if (!sized && start.size() == 10) {
            const uint8_t* p = start.data();
            if (std::memcmp(type, "VP8X", 4) == 0) {
                header.width = int(Le24(p + 4)) + 1;
                header.height = int(Le24(p + 7)) + 1;
                sized = true;
            } else if (std::memcmp(type, "VP8 ", 4) == 0 && p[3] == 0x9D && p[4] == 0x01 &&
                       p[5] == 0x2A) {
                header.width = Le16(p + 6) & 0x3FFF;
                header.height = Le16(p + 8) & 0x3FFF;
                sized = true;
            } else if (std::memcmp(type, "VP8L", 4) == 0 && p[0] == 0x2F) {
                const uint32_t bits = Le32(p + 1);
                header.width = int(bits & 0x3FFF) + 1;
                header.height = int((bits >> 14) & 0x3FFF) + 1;
                sized = true;
            }
        }
        if (std::memcmp(type, "EXIF", 4) == 0)
            header.orientation = ExifBlockOrientation(read, at + 8, length);
        at += 8ull + length + (length & 1); // chunks are padded to an even size
    }
}

// HEIC, HEIF and AVIF: an ISO media file whose "ftyp" box names a still-image brand. An AV1
// brand anywhere makes it AVIF: AVIF files name "mif1" too.
PictureFormat IsoMediaStillImage(const ReadAt& read, const uint8_t* head) {
    if (std::memcmp(head + 4, "ftyp", 4) != 0) return PictureFormat::Unknown;
    const uint32_t boxSize = std::min<uint32_t>(Be32(head), 256);
    if (boxSize < 16) return PictureFormat::Unknown;
    const std::vector<uint8_t> box = ReadExactly(read, 0, boxSize);
    if (box.empty()) return PictureFormat::Unknown;
    static const char* const kHeifBrands[] = {"heic", "heix", "hevc", "hevx",
                                              "heim", "heis", "mif1", "msf1"};
    static const char* const kAvifBrands[] = {"avif", "avis"};
    bool heif = false, avif = false;
    // The major brand at 8, then the compatible brands from 16 (the minor version between).
    for (size_t at = 8; at + 4 <= box.size(); at += at == 8 ? 8 : 4) {
        for (const char* brand : kHeifBrands)
            heif = heif || std::memcmp(box.data() + at, brand, 4) == 0;
        for (const char* brand : kAvifBrands)
            avif = avif || std::memcmp(box.data() + at, brand, 4) == 0;
    }
    return avif ? PictureFormat::Avif : heif ? PictureFormat::Heif : PictureFormat::Unknown;
}

} // namespace

PictureHeader ParsePictureHeader(const ReadAt& read) {
    PictureHeader header;
    uint8_t head[32] = {};
    const size_t got = read(0, head, sizeof head);
    if (got < 12) {
        if (got >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF)
            header.format = PictureFormat::Jpeg;
        return header;
    }
    if (head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) {
        header.format = PictureFormat::Jpeg; // libjpeg reads its size itself
    } else if (std::memcmp(head, "\x89PNG\r\n\x1A\n", 8) == 0) {
        ParsePng(read, header);
    } else if (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0) {
        header.format = PictureFormat::Gif;
        header.width = Le16(head + 6);
        header.height = Le16(head + 8);
    } else if (head[0] == 'B' && head[1] == 'M' && got >= 26) {
        header.format = PictureFormat::Bmp;
        if (Le32(head + 14) == 12) { // the old OS/2 header: 16-bit sizes
            header.width = Le16(head + 18);
            header.height = Le16(head + 20);
        } else {
            const int32_t w = int32_t(Le32(head + 18)), h = int32_t(Le32(head + 22));
            // A negative height means rows from the top; a negative width is damage.
            header.width = w < 0 ? -1 : w;
            header.height = h == INT32_MIN ? INT32_MAX : std::abs(h);
        }
    } else if ((std::memcmp(head, "II", 2) == 0 && head[2] == 42 && head[3] == 0) ||
               (std::memcmp(head, "MM", 2) == 0 && head[2] == 0 && head[3] == 42) ||
               (std::memcmp(head, "II", 2) == 0 && head[2] == 43 && head[3] == 0) ||
               (std::memcmp(head, "MM", 2) == 0 && head[2] == 0 && head[3] == 43)) {
        ParseTiff(read, head, header);
    } else if (std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WEBP", 4) == 0) {
        ParseWebP(read, header);
    } else {
        header.format = IsoMediaStillImage(read, head);
    }
    return header;
}

PictureHeader ReadPictureHeader(HANDLE file) {
    return ParsePictureHeader([file](uint64_t offset, uint8_t* into, size_t size) -> size_t {
        LARGE_INTEGER at;
        at.QuadPart = LONGLONG(offset);
        DWORD got = 0;
        if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) ||
            !ReadFile(file, into, DWORD(size), &got, nullptr))
            return 0;
        return got;
    });
}

bool ExceedsPixelBudget(long long width, long long height) {
    return width < 0 || height < 0 || width * height > kMaxPicturePixels;
}

} // namespace tk
