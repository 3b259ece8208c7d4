#include "toolkit/Jpeg.h"

#include <windows.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace tk {

namespace {

// libjpeg reports errors through a callback that must not return: it jumps back here, so
// that no error escapes as an exception through C frames.
struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf jump;
};

void OnError(j_common_ptr info) { longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }
void OnMessage(j_common_ptr) {}

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) fclose(f);
    }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

FilePtr OpenFile(const std::wstring& path, const wchar_t* mode) {
    return FilePtr(_wfopen(path.c_str(), mode));
}

// Images bigger than this are refused: a header may claim 65,000 x 65,000 pixels.
constexpr long long kMaxDecodedPixels = 100'000'000;

// The buffers live in the caller's frame, so that a jump out of libjpeg leaves them in a
// defined state.
bool DecodeOpen(FILE* file, PixelBuffer& result, std::vector<uint8_t>& row, int denominator) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.output_message = OnMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = denominator;
    info.out_color_space = JCS_EXT_BGRX;
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        info.out_color_space = JCS_CMYK;
    jpeg_calc_output_dimensions(&info);
    if ((long long)info.output_width * info.output_height > kMaxDecodedPixels ||
        info.output_width == 0 || info.output_height == 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    result.width = int(info.output_width);
    result.height = int(info.output_height);
    try {
        result.pixels.resize(size_t(result.width) * result.height);
        row.resize(size_t(result.width) * 4);
    } catch (const std::bad_alloc&) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.out_color_space == JCS_CMYK;
    while (info.output_scanline < info.output_height) {
        uint32_t* target = result.pixels.data() + size_t(info.output_scanline) * result.width;
        if (!cmyk) {
            JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(target)};
            jpeg_read_scanlines(&info, rows, 1);
            continue;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        // Adobe writes CMYK inverted; the product of each ink with K gives the colour.
        for (int x = 0; x < result.width; ++x) {
            const uint8_t* p = &row[size_t(x) * 4];
            uint32_t k = p[3];
            uint32_t r = p[0] * k / 255, g = p[1] * k / 255, b = p[2] * k / 255;
            target[x] = (r << 16) | (g << 8) | b;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

bool ReadJpegInfo(const std::wstring& path, JpegInfo& result) {
    FilePtr file = OpenFile(path, L"rb");
    if (!file) return false;
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.output_message = OnMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file.get());
    jpeg_read_header(&info, TRUE);
    result.width = int(info.image_width);
    result.height = int(info.image_height);
    jpeg_destroy_decompress(&info);
    return true;
}

bool DecodeJpeg(const std::wstring& path, PixelBuffer& out, int denominator) {
    if (denominator != 1 && denominator != 2 && denominator != 4 && denominator != 8) return false;
    FilePtr file = OpenFile(path, L"rb");
    if (!file) return false;
    PixelBuffer result;
    std::vector<uint8_t> row;
    if (!DecodeOpen(file.get(), result, row, denominator)) return false;
    out = std::move(result);
    return true;
}

bool EncodeJpeg(const std::wstring& path, const PixelBuffer& image, int quality, bool progressive) {
    FilePtr file = OpenFile(path, L"wb");
    if (!file || image.width <= 0 || image.height <= 0) return false;
    jpeg_compress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.output_message = OnMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = image.width;
    info.image_height = image.height;
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(
            const_cast<uint32_t*>(image.pixels.data() + size_t(info.next_scanline) * image.width))};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace tk
