#include "toolkit/Jpeg.h"

#include "toolkit/Handles.h"
#include "toolkit/LibjpegGuard.h"
#include "toolkit/Orientation.h"

#include <windows.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

namespace tk {

namespace {

// Data that ends early would leave the rest of the picture grey: such a file counts as
// failed, and giving up at once also keeps a made-up header from holding the decoder.
void OnMessage(j_common_ptr info, int level) {
    const int code = info->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
        JumpBackOnLibjpegError(info);
}

// What the decoder itself may take: a progressive file keeps all of its coefficients
// (about 72 MB for 24 megapixels); beyond this a file fails instead of exhausting memory.
constexpr long kMaxDecoderMemory = 256L << 20;

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) fclose(f);
    }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

FilePtr OpenFile(const std::wstring& path, const wchar_t* mode) {
    return FilePtr(_wfopen(path.c_str(), mode));
}

// Reads the file in large pieces: libjpeg's own stdio source asks for 4 KB at a time, and
// the 2,000 reads of a 9 MB photo cost about a tenth of its decoding.
constexpr DWORD kReadSize = 256 * 1024;

struct FileSource {
    jpeg_source_mgr base;
    HANDLE file;
    JOCTET* buffer;
    bool started;
    RowSink* sink; // asked whether the picture is still wanted before each piece
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr info) {
    auto* source = reinterpret_cast<FileSource*>(info->src);
    if (source->sink && source->sink->Stopped()) ERREXIT(info, JERR_INPUT_EMPTY);
    DWORD got = 0;
    if (!ReadFile(source->file, source->buffer, kReadSize, &got, nullptr) || got == 0) {
        if (!source->started) ERREXIT(info, JERR_INPUT_EMPTY);
        WARNMS(info, JWRN_JPEG_EOF); // ends the decoding (OnMessage)
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        got = 2;
    }
    source->base.next_input_byte = source->buffer;
    source->base.bytes_in_buffer = got;
    source->started = true;
    return TRUE;
}

void SkipInput(j_decompress_ptr info, long count) {
    jpeg_source_mgr* source = info->src;
    if (count <= 0) return;
    while (count > long(source->bytes_in_buffer)) {
        count -= long(source->bytes_in_buffer);
        FillInput(info);
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= size_t(count);
}

void UseFileSource(jpeg_decompress_struct& info, FileSource& source, HANDLE file, JOCTET* buffer) {
    source.base.init_source = InitSource;
    source.base.fill_input_buffer = FillInput;
    source.base.skip_input_data = SkipInput;
    source.base.resync_to_restart = jpeg_resync_to_restart;
    source.base.term_source = TermSource;
    source.base.bytes_in_buffer = 0;
    source.base.next_input_byte = nullptr;
    source.file = file;
    source.buffer = buffer;
    source.started = false;
    source.sink = nullptr;
    info.src = &source.base;
}

// Adobe writes CMYK inverted; the product of each ink with K gives the colour.
void CmykToBgr(const uint8_t* cmyk, uint32_t* target, int width) {
    for (int x = 0; x < width; ++x, cmyk += 4) {
        const uint32_t k = cmyk[3];
        const uint32_t r = cmyk[0] * k / 255, g = cmyk[1] * k / 255, b = cmyk[2] * k / 255;
        target[x] = (r << 16) | (g << 8) | b;
    }
}

// The Exif segment is kept by libjpeg while it reads the header, so the orientation comes
// with the one reading of the file.
void KeepExif(j_decompress_ptr info) {
    jpeg_save_markers(info, JPEG_APP0 + 1, 0xFFFF);
}

// The orientation of the first Exif segment among those kept; 1 without one.
int ExifOrientation(j_decompress_ptr info) {
    for (jpeg_saved_marker_ptr m = info->marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 &&
            std::equal(m->data, m->data + 6, reinterpret_cast<const JOCTET*>("Exif\0\0")))
            return OrientationFromTiff(m->data + 6, m->data_length - 6);
    return 1;
}

// Runs body on a fresh decompressor (see WithLibjpeg), which also gives up on data that ends
// early.
template <class Body> bool WithDecompressor(Body&& body) {
    return WithLibjpeg<jpeg_decompress_struct>([&](jpeg_decompress_struct& info) {
        info.err->emit_message = OnMessage;
        return body(info);
    });
}

bool DecodeOpen(HANDLE file, RowSink& sink, std::vector<uint8_t>& input,
                std::vector<uint8_t>& cmykRow) {
    FileSource source;
    return WithDecompressor([&](jpeg_decompress_struct& info) {
        info.mem->max_memory_to_use = kMaxDecoderMemory;
        UseFileSource(info, source, file, input.data());
        source.sink = &sink;
        KeepExif(&info);
        jpeg_read_header(&info, TRUE);
        const int width = int(info.image_width), height = int(info.image_height);
        const int scale = ExceedsPixelBudget(width, height)
                              ? 0
                              : sink.Scale(width, height, ExifOrientation(&info));
        if (scale < 1 || scale > 8) return false;
        info.scale_num = unsigned(scale);
        info.scale_denom = 8;
        const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
        info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
        jpeg_calc_output_dimensions(&info);
        const int outWidth = int(info.output_width), outHeight = int(info.output_height);
        bool ready = outWidth > 0 && outHeight > 0 && sink.Begin(outWidth, outHeight);
        if (ready && cmyk) {
            try {
                cmykRow.resize(size_t(outWidth) * 4);
            } catch (const std::bad_alloc&) {
                ready = false;
            }
        }
        if (!ready) return false;
        jpeg_start_decompress(&info);
        while (info.output_scanline < info.output_height) {
            const int y = int(info.output_scanline);
            uint32_t* target = sink.Row(y);
            JSAMPROW rows[1] = {cmyk ? cmykRow.data() : reinterpret_cast<JSAMPROW>(target)};
            if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
            if (cmyk) CmykToBgr(cmykRow.data(), target, outWidth);
            sink.RowDone(y);
        }
        // Every row is there: what may follow the last one (up to the end marker) is not read.
        return info.output_scanline == info.output_height;
    });
}

} // namespace

bool DecodeJpegRows(HANDLE file, RowSink& sink) {
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return false;
    std::vector<uint8_t> input, cmykRow;
    try {
        input.resize(kReadSize);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return DecodeOpen(file, sink, input, cmykRow);
}

int ScaledSize(int size, int scale) {
    return int(((long long)size * scale + 7) / 8);
}

// Measured with libjpeg-turbo on a 24-megapixel photo (9 MB): 1/8 98 ms, 2/8 119, 3/8 127,
// 4/8 123, 5/8 156, 6/8 169, 7/8 198, 8/8 141. 3/8 decodes about as fast as 4/8 and leaves
// half the pixels to average, so it is used; 5/8 to 7/8 are slower than the full size.
int CoveringScale(int width, int height, int targetWidth, int targetHeight) {
    for (int scale : {1, 2, 3, 4})
        if (ScaledSize(width, scale) >= targetWidth && ScaledSize(height, scale) >= targetHeight)
            return scale;
    return 8;
}

bool ReadJpegInfo(const std::wstring& path, JpegInfo& result) {
    FilePtr file = OpenFile(path, L"rb");
    if (!file) return false;
    return WithDecompressor([&](jpeg_decompress_struct& info) {
        jpeg_stdio_src(&info, file.get());
        KeepExif(&info);
        jpeg_read_header(&info, TRUE);
        result.width = int(info.image_width);
        result.height = int(info.image_height);
        result.orientation = ExifOrientation(&info);
        return true;
    });
}

bool EncodeJpeg(const std::wstring& path, const PixelBuffer& image, int quality, bool progressive) {
    FilePtr file = OpenFile(path, L"wb");
    if (!file || image.width <= 0 || image.height <= 0) return false;
    return WithLibjpeg<jpeg_compress_struct>([&](jpeg_compress_struct& info) {
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
            JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(
                image.pixels.data() + size_t(info.next_scanline) * image.width))};
            jpeg_write_scanlines(&info, rows, 1);
        }
        jpeg_finish_compress(&info);
        return true;
    });
}

} // namespace tk
