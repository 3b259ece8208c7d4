#pragma once
// Exif segments as cameras write them, for photos marked with an orientation.
#include <cstdint>
#include <string>

// The TIFF structure of an Exif segment: IFD0 holding a few entries, the orientation among
// them (of the given type and count), in either byte order.
inline std::string ExifTiff(int orientation, bool bigEndian, uint16_t type = 3,
                            uint32_t count = 1) {
    std::string t;
    auto u16 = [&](uint16_t v) {
        if (bigEndian)
            t += {char(v >> 8), char(v & 0xFF)};
        else
            t += {char(v & 0xFF), char(v >> 8)};
    };
    auto u32 = [&](uint32_t v) {
        if (bigEndian) {
            u16(uint16_t(v >> 16));
            u16(uint16_t(v));
        } else {
            u16(uint16_t(v));
            u16(uint16_t(v >> 16));
        }
    };
    t += bigEndian ? "MM" : "II";
    u16(42);
    u32(8);
    u16(3); // entries: a camera make before the orientation and a resolution after it
    u16(0x010F);
    u16(2);
    u32(4);
    t += std::string("Cam\0", 4);
    u16(0x0112);
    u16(type);
    u32(count);
    u16(uint16_t(orientation));
    u16(0);
    u16(0x011A);
    u16(5);
    u32(1);
    u32(0);
    u32(0); // no next IFD
    return t;
}

// An APP1 segment holding "Exif\0\0" and the TIFF bytes.
inline std::string ExifSegment(const std::string& tiff) {
    const size_t length = tiff.size() + 8;
    return std::string{char(0xFF), char(0xE1), char(length >> 8), char(length & 0xFF)} +
           std::string("Exif\0\0", 6) + tiff;
}

// A JPEG file's bytes with a segment put right after its start marker.
inline std::string WithSegment(const std::string& jpeg, const std::string& segment) {
    return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}
