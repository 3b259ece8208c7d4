#include "toolkit/YuvToBgra.h"

#include <algorithm>
#include <cmath>

namespace tk {

namespace {

constexpr int kShift = 16; // the tables hold the terms scaled by 2^16

// The terms of each pixel's formula, one entry per 8-bit value, so that a pixel costs a few
// additions. The rounding half is folded into the Y term.
struct ColourTables {
    int32_t y[256], rv[256], gu[256], gv[256], bu[256];
};

ColourTables MakeTables(YuvMatrix matrix, YuvRange range) {
    const double kr = matrix == YuvMatrix::Bt709 ? 0.2126 : 0.299;
    const double kb = matrix == YuvMatrix::Bt709 ? 0.0722 : 0.114;
    const double kg = 1 - kr - kb;
    const bool studio = range == YuvRange::Studio;
    const double yScale = studio ? 255.0 / 219.0 : 1.0, yOffset = studio ? 16 : 0;
    const double cScale = studio ? 255.0 / 224.0 : 1.0;
    const double one = double(1 << kShift);
    auto term = [&](double weight, int v) { return int32_t(std::lround(weight * v * one)); };
    ColourTables t;
    for (int v = 0; v < 256; ++v) {
        t.y[v] = int32_t(std::lround(yScale * (v - yOffset) * one)) + (1 << (kShift - 1));
        t.rv[v] = term(cScale * 2 * (1 - kr), v - 128);
        t.gu[v] = term(-cScale * 2 * (1 - kb) * kb / kg, v - 128);
        t.gv[v] = term(-cScale * 2 * (1 - kr) * kr / kg, v - 128);
        t.bu[v] = term(cScale * 2 * (1 - kb), v - 128);
    }
    return t;
}

const ColourTables& TablesFor(YuvMatrix matrix, YuvRange range) {
    static const ColourTables all[4] = {MakeTables(YuvMatrix::Bt601, YuvRange::Studio),
                                        MakeTables(YuvMatrix::Bt601, YuvRange::Full),
                                        MakeTables(YuvMatrix::Bt709, YuvRange::Studio),
                                        MakeTables(YuvMatrix::Bt709, YuvRange::Full)};
    return all[(matrix == YuvMatrix::Bt709 ? 2 : 0) + (range == YuvRange::Full ? 1 : 0)];
}

inline uint8_t Clamp(int32_t scaled) {
    return uint8_t(std::clamp(scaled >> kShift, 0, 255));
}

// One pixel's chroma terms, shared by the pixels that share its U and V.
struct Chroma {
    int32_t r, g, b;
};

inline Chroma ChromaOf(const ColourTables& t, uint8_t u, uint8_t v) {
    return {t.rv[v], t.gu[u] + t.gv[v], t.bu[u]};
}

inline void Put(uint8_t* out, const ColourTables& t, uint8_t y, const Chroma& c) {
    const int32_t luma = t.y[y];
    out[0] = Clamp(luma + c.b);
    out[1] = Clamp(luma + c.g);
    out[2] = Clamp(luma + c.r);
    out[3] = 0;
}

int Rows(const YuvFrame& f) {
    return f.paddedHeight > 0 ? f.paddedHeight : f.height;
}
int Half(int n) {
    return (n + 1) / 2;
}
size_t I420ChromaPitch(const YuvFrame& f) {
    return size_t(Half(f.pitch));
}

// The offsets of the chroma planes (U then V; NV12 has one).
size_t FirstChroma(const YuvFrame& f) {
    return size_t(f.pitch) * size_t(Rows(f));
}
size_t SecondChroma(const YuvFrame& f) {
    return FirstChroma(f) + I420ChromaPitch(f) * size_t(Half(Rows(f)));
}

} // namespace

size_t YuvBytesNeeded(const YuvFrame& f) {
    if (f.width <= 0 || f.height <= 0 || f.pitch <= 0 || Rows(f) < f.height) return 0;
    const size_t pitch = size_t(f.pitch), cw = size_t(Half(f.width)), ch = size_t(Half(f.height));
    switch (f.layout) {
    case YuvLayout::Nv12:
        if (pitch < 2 * cw) return 0;
        return FirstChroma(f) + pitch * (ch - 1) + 2 * cw;
    case YuvLayout::I420:
        if (pitch < size_t(f.width) || I420ChromaPitch(f) < cw) return 0;
        return SecondChroma(f) + I420ChromaPitch(f) * (ch - 1) + cw;
    case YuvLayout::Yuy2:
        if (pitch < 4 * cw) return 0;
        return pitch * size_t(f.height - 1) + 4 * cw;
    }
    return 0;
}

bool YuvToBgra(const YuvFrame& f, uint8_t* dst, int dstPitch) {
    const size_t needed = YuvBytesNeeded(f);
    if (needed == 0 || !f.data || f.bytes < needed || !dst || dstPitch < 4 * f.width) return false;
    const ColourTables& t = TablesFor(f.matrix, f.range);
    const int w = f.width;
    for (int row = 0; row < f.height; ++row) {
        uint8_t* out = dst + size_t(row) * size_t(dstPitch);
        if (f.layout == YuvLayout::Yuy2) {
            const uint8_t* in = f.data + size_t(row) * size_t(f.pitch);
            for (int x = 0; x < w; x += 2, in += 4) {
                const Chroma c = ChromaOf(t, in[1], in[3]);
                Put(out + 4 * x, t, in[0], c);
                if (x + 1 < w) Put(out + 4 * (x + 1), t, in[2], c);
            }
            continue;
        }
        const uint8_t* luma = f.data + size_t(row) * size_t(f.pitch);
        if (f.layout == YuvLayout::Nv12) {
            const uint8_t* uv = f.data + FirstChroma(f) + size_t(row / 2) * size_t(f.pitch);
            for (int x = 0; x < w; x += 2) {
                const Chroma c = ChromaOf(t, uv[x], uv[x + 1]);
                Put(out + 4 * x, t, luma[x], c);
                if (x + 1 < w) Put(out + 4 * (x + 1), t, luma[x + 1], c);
            }
        } else {
            const size_t offset = size_t(row / 2) * I420ChromaPitch(f);
            const uint8_t* u = f.data + FirstChroma(f) + offset;
            const uint8_t* v = f.data + SecondChroma(f) + offset;
            for (int x = 0; x < w; x += 2) {
                const Chroma c = ChromaOf(t, u[x / 2], v[x / 2]);
                Put(out + 4 * x, t, luma[x], c);
                if (x + 1 < w) Put(out + 4 * (x + 1), t, luma[x + 1], c);
            }
        }
    }
    return true;
}

} // namespace tk
