// The conversion of decoded frames to BGRA: exact colours for each matrix and range, in each
// layout, at odd sizes and with the padding decoders add to rows and planes.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <mfobjects.h>

#include "toolkit/ClipReader.h"
#include "toolkit/YuvToBgra.h"

using tk::YuvFrame;
using tk::YuvLayout;
using tk::YuvMatrix;
using tk::YuvRange;

namespace {

struct Yuv {
    uint8_t y, u, v;
};

// A frame of the layout whose 2 x 2 block (or pair, for YUY2) at (x / 2, y / 2) has the
// colour colourAt gives for it; bytes outside the picture are 0xEE, so that reading padding
// shows.
std::vector<uint8_t> MakeFrame(YuvFrame& f, const std::function<Yuv(int bx, int by)>& colourAt) {
    const int rows = f.paddedHeight ? f.paddedHeight : f.height, cw = (f.width + 1) / 2;
    const int ch = (f.height + 1) / 2, cp = (f.pitch + 1) / 2;
    std::vector<uint8_t> data(f.layout == YuvLayout::Yuy2 ? size_t(f.pitch) * f.height
                                                          : size_t(f.pitch) * rows * 2,
                              0xEE);
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const Yuv c = colourAt(x / 2, f.layout == YuvLayout::Yuy2 ? y : y / 2);
            if (f.layout == YuvLayout::Yuy2) {
                uint8_t* pair = &data[size_t(y) * f.pitch + 4 * (x / 2)];
                pair[(x % 2) * 2] = c.y;
                pair[1] = c.u;
                pair[3] = c.v;
            } else {
                data[size_t(y) * f.pitch + x] = c.y;
            }
        }
    if (f.layout != YuvLayout::Yuy2)
        for (int by = 0; by < ch; ++by)
            for (int bx = 0; bx < cw; ++bx) {
                const Yuv c = colourAt(bx, by);
                const size_t planes = size_t(f.pitch) * rows;
                if (f.layout == YuvLayout::Nv12) {
                    data[planes + size_t(by) * f.pitch + 2 * bx] = c.u;
                    data[planes + size_t(by) * f.pitch + 2 * bx + 1] = c.v;
                } else {
                    data[planes + size_t(by) * cp + bx] = c.u;
                    data[planes + size_t(cp) * ((rows + 1) / 2) + size_t(by) * cp + bx] = c.v;
                }
            }
    f.data = data.data();
    f.bytes = data.size();
    return data;
}

// Pixels as 0xRRGGBB.
std::vector<uint32_t> Convert(const YuvFrame& f, bool& ok) {
    std::vector<uint32_t> out(size_t(f.width) * f.height, 0xDEADBEEF);
    ok = tk::YuvToBgra(f, reinterpret_cast<uint8_t*>(out.data()), f.width * 4);
    return out;
}

struct Layout {
    YuvLayout layout;
    int width, height, pitch, paddedHeight;
};
// A frame of that layout, size and padding, in the default matrix and range, without data.
YuvFrame FrameIn(const Layout& l) {
    YuvFrame f;
    f.layout = l.layout;
    f.width = l.width;
    f.height = l.height;
    f.pitch = l.pitch;
    f.paddedHeight = l.paddedHeight;
    return f;
}

// Odd sizes, rows longer than the picture, and planes that begin after padding rows.
const Layout kLayouts[] = {{YuvLayout::Nv12, 5, 3, 8, 0},  {YuvLayout::Nv12, 5, 3, 16, 6},
                           {YuvLayout::I420, 5, 3, 6, 0},  {YuvLayout::I420, 7, 5, 16, 8},
                           {YuvLayout::Yuy2, 5, 3, 12, 0}, {YuvLayout::Yuy2, 5, 3, 20, 0}};

TEST(YuvToBgra, SolidColoursAreExact) {
    // The standard's formula in real numbers, rounded to the nearest: white, black and grey
    // stay so; the code values of the primaries give them within what 8 bits can say.
    struct Case {
        YuvMatrix matrix;
        YuvRange range;
        Yuv in;
        uint32_t rgb;
    } cases[] = {
        {YuvMatrix::Bt601, YuvRange::Studio, {235, 128, 128}, 0xFFFFFF},
        {YuvMatrix::Bt601, YuvRange::Studio, {16, 128, 128}, 0x000000},
        {YuvMatrix::Bt601, YuvRange::Studio, {126, 128, 128}, 0x808080},
        {YuvMatrix::Bt601, YuvRange::Studio, {81, 90, 240}, 0xFE0000},
        {YuvMatrix::Bt601, YuvRange::Studio, {145, 54, 34}, 0x00FF01},
        {YuvMatrix::Bt601, YuvRange::Studio, {41, 240, 110}, 0x0000FF},
        {YuvMatrix::Bt601, YuvRange::Studio, {100, 60, 200}, 0xD54200},
        {YuvMatrix::Bt709, YuvRange::Studio, {63, 102, 240}, 0xFF0100},
        {YuvMatrix::Bt709, YuvRange::Studio, {173, 42, 26}, 0x00FF01},
        {YuvMatrix::Bt601, YuvRange::Full, {255, 128, 128}, 0xFFFFFF},
        {YuvMatrix::Bt601, YuvRange::Full, {76, 85, 255}, 0xFE0000},
        {YuvMatrix::Bt709, YuvRange::Full, {54, 99, 255}, 0xFE0000},
    };
    for (const Layout& l : kLayouts)
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "layout " << int(l.layout) << " " << l.width << "x" << l.height
                         << " pitch " << l.pitch << " Y " << int(c.in.y) << " U " << int(c.in.u)
                         << " V " << int(c.in.v));
            YuvFrame f = FrameIn(l);
            f.matrix = c.matrix;
            f.range = c.range;
            const auto data = MakeFrame(f, [&](int, int) { return c.in; });
            bool ok = false;
            const auto out = Convert(f, ok);
            ASSERT_TRUE(ok);
            for (uint32_t pixel : out)
                ASSERT_EQ(pixel, c.rgb) << std::hex << pixel;
        }
}

TEST(YuvToBgra, EachPixelTakesTheChromaOfItsBlock) {
    // Blocks in four colours: white, black, red and blue by their code values.
    const Yuv colours[] = {{235, 128, 128}, {16, 128, 128}, {81, 90, 240}, {41, 240, 110}};
    const uint32_t rgb[] = {0xFFFFFF, 0x000000, 0xFE0000, 0x0000FF};
    for (const Layout& l : kLayouts) {
        SCOPED_TRACE(testing::Message() << "layout " << int(l.layout) << " pitch " << l.pitch);
        YuvFrame f = FrameIn(l);
        auto block = [](int bx, int by) { return (bx + 2 * by) % 4; };
        const auto data = MakeFrame(f, [&](int bx, int by) { return colours[block(bx, by)]; });
        bool ok = false;
        const auto out = Convert(f, ok);
        ASSERT_TRUE(ok);
        for (int y = 0; y < l.height; ++y)
            for (int x = 0; x < l.width; ++x) {
                const int by = l.layout == YuvLayout::Yuy2 ? y : y / 2;
                EXPECT_EQ(out[size_t(y) * l.width + x], rgb[block(x / 2, by)])
                    << "at " << x << "," << y;
            }
    }
}

TEST(YuvToBgra, FramesThatDoNotHoldTheirLayoutAreRefused) {
    struct Case {
        Layout layout;
        size_t bytes;
    } cases[] = {
        {{YuvLayout::Nv12, 4, 2, 4, 0}, 11},  // one byte short of 4 x 2 + 4 x 1
        {{YuvLayout::Nv12, 5, 2, 5, 0}, 100}, // a chroma row of 6 in a pitch of 5
        {{YuvLayout::I420, 4, 4, 3, 0}, 100}, // a pitch shorter than a row
        {{YuvLayout::I420, 4, 4, 4, 2}, 100}, // fewer rows than the picture
        {{YuvLayout::Yuy2, 4, 2, 8, 0}, 15},   {{YuvLayout::Yuy2, 0, 2, 8, 0}, 100},
        {{YuvLayout::Nv12, 4, 2, -4, 0}, 100},
    };
    for (const Case& c : cases) {
        YuvFrame f = FrameIn(c.layout);
        std::vector<uint8_t> data(c.bytes, 0x80);
        f.data = data.data();
        f.bytes = data.size();
        std::vector<uint32_t> out(64, 0xDEADBEEF);
        EXPECT_FALSE(tk::YuvToBgra(f, reinterpret_cast<uint8_t*>(out.data()), 4 * 8))
            << f.width << "x" << f.height << " pitch " << f.pitch << " bytes " << c.bytes;
        EXPECT_EQ(out[0], 0xDEADBEEF) << "nothing written";
    }
}

// The matrix a clip's decoder names, else BT.709 from 720 lines up: a 1280 x 720 clip is high
// definition.
TEST(YuvToBgra, ClipMatrixIsTheDecodersElseByItsHeight) {
    struct Case {
        UINT32 named;
        int height;
        YuvMatrix matrix;
    } cases[] = {
        {0, 576, YuvMatrix::Bt601},
        {0, 719, YuvMatrix::Bt601},
        {0, 720, YuvMatrix::Bt709},
        {0, 1080, YuvMatrix::Bt709},
        {MFVideoTransferMatrix_BT601, 1080, YuvMatrix::Bt601},
        {MFVideoTransferMatrix_BT709, 480, YuvMatrix::Bt709},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tk::ClipYuvMatrix(c.named, c.height), c.matrix) << c.named << " " << c.height;
}

} // namespace
