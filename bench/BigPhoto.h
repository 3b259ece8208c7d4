#pragma once
// The big photo that the benchmarks load: 6000 x 4000 pixels at quality 90, made once into
// the temporary folder and kept there for later runs.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tests/support/Photos.h"

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

// Smooth shapes, textures at several sizes and a little sensor noise: it compresses like a
// photo (about 3 bits per pixel at quality 90), unlike pure noise or pure gradients. Its
// pixels are asked row after row, left to right: the noise is drawn in that order.
class PhotoPixels {
  public:
    PhotoPixels() : rng_(42) {
        for (int octave = 0; octave < 4; ++octave) {
            const int cells = (kWidth >> (8 - 2 * octave)) + 2;
            const int rows = (kHeight >> (8 - 2 * octave)) + 2;
            lattice_[octave].resize(size_t(cells) * rows * 3);
            cells_[octave] = cells;
            for (auto& v : lattice_[octave])
                v = float(rng_() % 256) - 128.0f;
        }
    }
    uint32_t operator()(int x, int y) {
        float c[3] = {90.0f + 80.0f * std::sin(x * 0.0011f + y * 0.0004f),
                      110.0f + 70.0f * std::cos(y * 0.0009f),
                      120.0f + 60.0f * std::sin((x + y) * 0.0007f)};
        const float amp[4] = {0.35f, 0.30f, 0.30f, 0.30f};
        for (int octave = 0; octave < 4; ++octave) {
            const int period = 256 >> (2 * octave);
            const float fx = float(x) / period, fy = float(y) / period;
            const int ix = int(fx), iy = int(fy);
            const float tx = fx - ix, ty = fy - iy;
            for (int ch = 0; ch < 3; ++ch) {
                auto at = [&](int cx, int cy) {
                    return lattice_[octave][(size_t(cy) * cells_[octave] + cx) * 3 + ch];
                };
                const float top = at(ix, iy) * (1 - tx) + at(ix + 1, iy) * tx;
                const float bottom = at(ix, iy + 1) * (1 - tx) + at(ix + 1, iy + 1) * tx;
                c[ch] += amp[octave] * (top * (1 - ty) + bottom * ty);
            }
        }
        uint32_t rgb = 0;
        for (int ch = 0; ch < 3; ++ch)
            rgb = rgb << 8 | uint32_t(std::clamp(int(c[ch]) + grain_(rng_), 0, 255));
        return rgb;
    }

  private:
    std::mt19937 rng_;
    std::uniform_int_distribution<int> grain_{-9, 9};
    std::vector<float> lattice_[4];
    int cells_[4] = {};
};

// The photo's path; empty when it cannot be made.
[[maybe_unused]] std::wstring BigPhoto() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"vistamur-bench-6000x4000-q90-v2.jpg";
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
    PhotoPixels photo;
    return MakeJpeg(path, kWidth, kHeight, std::ref(photo), false, 90) ? path : L"";
}

} // namespace
