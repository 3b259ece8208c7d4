#include "toolkit/WebP.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "toolkit/PictureHeader.h"
#include "toolkit/Wic.h"

namespace tk {

namespace {

bool ReadAll(HANDLE file, std::vector<uint8_t>& bytes, std::wstring& why) {
    LARGE_INTEGER size = {}, start = {};
    if (!GetFileSizeEx(file, &size) || !SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        why = L"it cannot be read";
        return false;
    }
    if (size.QuadPart > kMaxWebPFileBytes) {
        why = L"the file is larger than any WebP photo";
        return false;
    }
    bytes.resize(size_t(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + done, DWORD(bytes.size() - done), &got, nullptr) ||
            got == 0)
            break;
        done += got;
    }
    bytes.resize(done); // a file that became shorter is decoded as it is, and fails if cut
    return true;
}

struct AnimDecoderDelete {
    void operator()(WebPAnimDecoder* d) const { WebPAnimDecoderDelete(d); }
};

// The first frame of an animation as it is shown: drawn by the demuxer on the whole canvas.
bool FirstFrame(const std::vector<uint8_t>& bytes, std::vector<uint32_t>& pixels, int& width,
                int& height) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return false;
    options.color_mode = MODE_BGRA;
    const WebPData data = {bytes.data(), bytes.size()};
    std::unique_ptr<WebPAnimDecoder, AnimDecoderDelete> decoder(
        WebPAnimDecoderNew(&data, &options));
    WebPAnimInfo info;
    uint8_t* frame = nullptr;
    int timestamp = 0;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info) ||
        !WebPAnimDecoderGetNext(decoder.get(), &frame, &timestamp))
        return false;
    width = int(info.canvas_width);
    height = int(info.canvas_height);
    const uint32_t* first = reinterpret_cast<const uint32_t*>(frame);
    pixels.assign(first, first + size_t(width) * height);
    return true;
}

bool Decode(HANDLE file, int orientation, RowSink& sink, std::wstring& why) {
    std::vector<uint8_t> bytes;
    if (!ReadAll(file, bytes, why)) return false;
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK) {
        why = L"its WebP header cannot be read";
        return false;
    }
    int width = features.width, height = features.height;
    if (width <= 0 || height <= 0 || ExceedsPixelBudget(width, height)) {
        why = L"its header claims " + std::to_wstring(width) + L" x " + std::to_wstring(height) +
              L" pixels, beyond the pixel budget";
        return false;
    }
    if (sink.Scale(width, height, orientation) == 0) {
        why = L"refused at " + std::to_wstring(width) + L" x " + std::to_wstring(height);
        return false;
    }
    std::vector<uint32_t> pixels;
    if (features.has_animation) {
        if (!FirstFrame(bytes, pixels, width, height)) {
            why = L"the first frame of its animation cannot be decoded";
            return false;
        }
    } else {
        pixels.resize(size_t(width) * height);
        if (!WebPDecodeBGRAInto(bytes.data(), bytes.size(),
                                reinterpret_cast<uint8_t*>(pixels.data()), pixels.size() * 4,
                                width * 4)) {
            why = L"its WebP data cannot be decoded";
            return false;
        }
    }
    bytes = {}; // given back before the rows are reduced
    if (!sink.Begin(width, height)) {
        why = L"refused at " + std::to_wstring(width) + L" x " + std::to_wstring(height);
        return false;
    }
    // An opaque picture skips the pass over black: a twelfth of the time of a 12-megapixel fit.
    const bool alpha = features.has_alpha || features.has_animation;
    for (int y = 0; y < height; ++y) {
        uint32_t* row = sink.Row(y);
        std::copy_n(pixels.data() + size_t(y) * width, width, row);
        if (alpha) DrawOverBlack(row, width);
        sink.RowDone(y);
    }
    return true;
}

} // namespace

bool DecodeWebPRows(HANDLE file, int orientation, RowSink& sink, std::wstring& why) {
    try {
        return Decode(file, orientation, sink, why);
    } catch (const std::bad_alloc&) {
        why = L"out of memory";
        return false;
    }
}

} // namespace tk
