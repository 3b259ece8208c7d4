#pragma once
// The big photo that the benchmarks load: 6000 x 4000 pixels at quality 90, made once into
// the temporary folder and kept there for later runs.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

struct Errors {
    jpeg_error_mgr base;
    jmp_buf jump;
};
void OnError(j_common_ptr info) {
    longjmp(reinterpret_cast<Errors*>(info->err)->jump, 1);
}

// Smooth shapes, textures at several sizes and a little sensor noise: it compresses like a
// photo (about 3 bits per pixel at quality 90), unlike pure noise or pure gradients.
class PhotoRows {
  public:
    PhotoRows() : rng_(42) {
        for (int octave = 0; octave < 4; ++octave) {
            const int cells = (kWidth >> (8 - 2 * octave)) + 2;
            const int rows = (kHeight >> (8 - 2 * octave)) + 2;
            lattice_[octave].resize(size_t(cells) * rows * 3);
            cells_[octave] = cells;
            for (auto& v : lattice_[octave])
                v = float(rng_() % 256) - 128.0f;
        }
    }
    void Row(int y, std::vector<uint8_t>& row) {
        std::uniform_int_distribution<int> grain(-9, 9);
        for (int x = 0; x < kWidth; ++x) {
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
            for (int ch = 0; ch < 3; ++ch)
                row[size_t(x) * 3 + ch] = uint8_t(std::clamp(int(c[ch]) + grain(rng_), 0, 255));
        }
    }

  private:
    std::mt19937 rng_;
    std::vector<float> lattice_[4];
    int cells_[4] = {};
};

bool MakePhoto(const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    jpeg_compress_struct info;
    Errors errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        fclose(file);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    PhotoRows photo;
    std::vector<uint8_t> row(size_t(kWidth) * 3);
    while (info.next_scanline < info.image_height) {
        photo.Row(int(info.next_scanline), row);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    fclose(file);
    return true;
}

// The photo's path; empty when it cannot be made.
std::wstring BigPhoto() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"vistamur-bench-6000x4000-q90-v1.jpg";
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && !MakePhoto(path)) return {};
    return path;
}

} // namespace
