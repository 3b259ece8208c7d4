#include "toolkit/Orientation.h"

namespace tk {

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;

// Reads of the TIFF structure in its own byte order, each checked against its end.
class TiffReader {
  public:
    TiffReader(const uint8_t* data, size_t size, bool bigEndian)
        : data_(data), size_(size), big_(bigEndian) {}
    bool U16(size_t at, uint16_t& v) const {
        if (at > size_ || size_ - at < 2) return false;
        v = big_ ? uint16_t(data_[at] << 8 | data_[at + 1])
                 : uint16_t(data_[at] | data_[at + 1] << 8);
        return true;
    }
    bool U32(size_t at, uint32_t& v) const {
        uint16_t a, b;
        if (!U16(at, a) || !U16(at + 2, b)) return false;
        v = big_ ? uint32_t(a) << 16 | b : uint32_t(b) << 16 | a;
        return true;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    bool big_;
};

} // namespace

int OrientationFromTiff(const uint8_t* tiff, size_t size) {
    if (size < 8) return 1;
    bool big;
    if (tiff[0] == 'I' && tiff[1] == 'I')
        big = false;
    else if (tiff[0] == 'M' && tiff[1] == 'M')
        big = true;
    else
        return 1;
    TiffReader r(tiff, size, big);
    uint16_t magic = 0, count = 0;
    uint32_t ifd = 0;
    if (!r.U16(2, magic) || magic != 42 || !r.U32(4, ifd) || !r.U16(ifd, count)) return 1;
    // Only IFD0 is read, and no offset is followed from it, so no loop can form. An IFD
    // whose count runs past the end is damaged: none of its entries is trusted.
    if (size_t(ifd) + 2 + size_t(count) * 12 > size) return 1;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = size_t(ifd) + 2 + size_t(i) * 12;
        uint16_t tag, type, value;
        uint32_t n;
        if (!r.U16(entry, tag) || !r.U16(entry + 2, type) || !r.U32(entry + 4, n) ||
            !r.U16(entry + 8, value))
            return 1;
        if (tag != kOrientationTag) continue;
        if (type != kTypeShort || n != 1 || value < 1 || value > 8) return 1;
        return value;
    }
    return 1;
}

namespace {
// Where the pixel shown at (x, y) is stored, for each orientation value: read at (y, x) when
// the sides swap (SwapsSides), then read backwards along the stored width, the height, or
// both.
struct Backwards {
    bool x, y;
};
constexpr Backwards kBackwards[9] = {
    {false, false}, // 0: not a value; shown as stored
    {false, false}, // 1: as stored
    {true, false},  // 2
    {true, true},   // 3
    {false, true},  // 4
    {false, false}, // 5
    {false, true},  // 6
    {true, true},   // 7
    {true, false},  // 8
};
} // namespace

bool Orient(const Dib& from, int orientation, Dib& out) {
    const int w = from.Width(), h = from.Height();
    const bool swap = SwapsSides(orientation);
    const Backwards backwards =
        orientation >= 1 && orientation <= 8 ? kBackwards[orientation] : kBackwards[1];
    const int ow = swap ? h : w, oh = swap ? w : h;
    Dib result;
    if (from.Empty() || !result.Create(ow, oh)) return false;
    const uint32_t* src = from.Bits();
    uint32_t* dst = result.Bits();
    for (int y = 0; y < oh; ++y)
        for (int x = 0; x < ow; ++x) {
            int sx = swap ? y : x, sy = swap ? x : y;
            if (backwards.x) sx = w - 1 - sx;
            if (backwards.y) sy = h - 1 - sy;
            dst[size_t(y) * ow + x] = src[size_t(sy) * w + sx];
        }
    out = std::move(result);
    return true;
}

} // namespace tk
