#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "controls/FitImage.h"
#include "toolkit/AreaReduce.h"

namespace {

std::vector<uint32_t> Reduce(const std::vector<uint32_t>& src, int sw, int sh, int dw, int dh,
                             bool simd) {
    std::vector<uint32_t> dst(size_t(dw) * dh, 0xDEADBEEF);
    tk::AreaReducer reducer;
    reducer.SetSimd(simd);
    EXPECT_TRUE(reducer.Start(sw, sh, dst.data(), dw, dh, size_t(dw)));
    for (int y = 0; y < sh; ++y)
        reducer.Push(src.data() + size_t(y) * sw);
    return dst;
}

// The exact area average, in double precision, of channel `shift` at (x, y).
double Reference(const std::vector<uint32_t>& src, int sw, int sh, int dw, int dh, int x, int y,
                 int shift) {
    const double fx = double(sw) / dw, fy = double(sh) / dh;
    double sum = 0;
    for (int sy = int(y * fy); sy < sh && sy < (y + 1) * fy; ++sy) {
        const double wy = std::min<double>(sy + 1, (y + 1) * fy) - std::max<double>(sy, y * fy);
        for (int sx = int(x * fx); sx < sw && sx < (x + 1) * fx; ++sx) {
            const double wx = std::min<double>(sx + 1, (x + 1) * fx) - std::max<double>(sx, x * fx);
            sum += wx * wy * ((src[size_t(sy) * sw + sx] >> shift) & 0xFF);
        }
    }
    return sum / (fx * fy);
}

std::vector<uint32_t> Noise(int w, int h, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint32_t> v(size_t(w) * h);
    for (auto& p : v)
        p = rng();
    return v;
}

} // namespace

TEST(AreaReduce, KeepsAUniformAreaExact) {
    for (bool simd : {false, true})
        for (auto [sw, sh, dw, dh] : {std::array{7, 5, 3, 2}, std::array{100, 100, 33, 67},
                                      std::array{1, 9, 1, 4}, std::array{640, 480, 189, 141}}) {
            std::vector<uint32_t> src(size_t(sw) * sh, 0xFF123456u);
            for (uint32_t p : Reduce(src, sw, sh, dw, dh, simd))
                ASSERT_EQ(p, 0x00123456u);
        }
}

// One-pixel stripes must come out as the grey they average to, not as stripes: nearest
// sampling would keep whole stripes and make the photo shimmer.
TEST(AreaReduce, AveragesFineDetailInsteadOfSamplingIt) {
    const int sw = 300, sh = 200, dw = 113, dh = 75;
    std::vector<uint32_t> src(size_t(sw) * sh);
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x)
            src[size_t(y) * sw + x] = (x + y) % 2 ? 0xFFFFFF : 0;
    for (uint32_t p : Reduce(src, sw, sh, dw, dh, true))
        for (int shift : {0, 8, 16})
            ASSERT_NEAR(int((p >> shift) & 0xFF), 128, 8);
}

TEST(AreaReduce, MatchesTheExactAverageAndTheSimdPathMatchesThePlainOne) {
    struct Size {
        int sw, sh, dw, dh;
    } sizes[] = {{2250, 7, 1620, 5}, {97, 61, 13, 60}, {64, 64, 64, 64}, {1, 1, 1, 1},
                 {2, 3, 1, 1},       {17, 9, 16, 1},   {1000, 3, 7, 2},  {9, 9, 2, 2}};
    uint32_t seed = 1;
    for (const Size& s : sizes) {
        const auto src = Noise(s.sw, s.sh, seed++);
        const auto plain = Reduce(src, s.sw, s.sh, s.dw, s.dh, false);
        const auto simd = Reduce(src, s.sw, s.sh, s.dw, s.dh, true);
        ASSERT_EQ(plain, simd) << s.sw << "x" << s.sh << " -> " << s.dw << "x" << s.dh;
        for (int y = 0; y < s.dh; ++y)
            for (int x = 0; x < s.dw; ++x) {
                const uint32_t p = plain[size_t(y) * s.dw + x];
                ASSERT_EQ(p >> 24, 0u);
                for (int shift : {0, 8, 16})
                    ASSERT_NEAR(double((p >> shift) & 0xFF),
                                Reference(src, s.sw, s.sh, s.dw, s.dh, x, y, shift), 1.0)
                        << s.sw << "x" << s.sh << " -> " << s.dw << "x" << s.dh << " at " << x
                        << "," << y;
            }
    }
}

TEST(AreaReduce, RefusesToEnlargeOrToWorkOnNothing) {
    std::vector<uint32_t> dst(100);
    tk::AreaReducer reducer;
    EXPECT_FALSE(reducer.Start(10, 10, dst.data(), 11, 5, 11));
    EXPECT_FALSE(reducer.Start(10, 10, dst.data(), 5, 11, 5));
    EXPECT_FALSE(reducer.Start(0, 10, dst.data(), 0, 5, 5));
    EXPECT_FALSE(reducer.Start(10, 10, nullptr, 5, 5, 5));
    EXPECT_TRUE(reducer.Start(10, 10, dst.data(), 5, 5, 5));
}

// And whether the fitted picture can be shown (a picture exactly as wide or as high as the
// area is the common case of landscape photos on a wide screen).
TEST(FitRect, FitsAsTheTableSays) {
    struct Case {
        int aw, ah, pw, ph, w, h;
        bool shown = true;
    } cases[] = {
        {189, 141, 640, 480, 189, 141},     // 141.75 cut to 141
        {189, 141, 480, 640, 105, 141},     // first a height of 252
        {189, 141, 100, 300, 47, 141},      // only too high
        {189, 141, 120, 90, 120, 90},       // fits: never enlarged
        {1024, 768, 4000, 3000, 1024, 767}, // 1024 / 4000 is not exact
        {1024, 768, 3000, 4000, 576, 768},  // first a height of 1365
        {1024, 768, 1024, 768, 1024, 768},  // exactly the area
        {1024, 768, 1024, 500, 1024, 500},  // exactly as wide
        {1024, 768, 2000, 100, 1024, 51},   // only too wide
        {1920, 1080, 6000, 4000, 1620, 1080}, {1, 1, 5000, 3, 1, 0, false},
    };
    for (const Case& c : cases) {
        RECT r = FitRect(c.aw, c.ah, c.pw, c.ph);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, c.w) << c.aw << "x" << c.ah << " " << c.pw << "x" << c.ph;
        EXPECT_EQ(r.bottom, c.h) << c.aw << "x" << c.ah << " " << c.pw << "x" << c.ph;
        EXPECT_EQ(PictureFitsArea(r.right, r.bottom, c.aw, c.ah), c.shown)
            << c.aw << "x" << c.ah << " " << c.pw << "x" << c.ph;
    }
}
