#include "toolkit/Heif.h"

#include <libheif/heif.h>

#include <memory>
#include <new>

#include "toolkit/PictureHeader.h"
#include "toolkit/Text.h"
#include "toolkit/Wic.h"

namespace tk {

namespace {

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageRelease {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};

// libheif reads the file through the handle the loader opened: its own file reader takes a
// narrow name, which cannot hold every folder's name.
struct FileReader {
    HANDLE file;
    int64_t size;
};

int64_t Position(void* user) {
    LARGE_INTEGER zero = {}, at = {};
    SetFilePointerEx(static_cast<FileReader*>(user)->file, zero, &at, FILE_CURRENT);
    return at.QuadPart;
}

int Read(void* into, size_t size, void* user) {
    auto* reader = static_cast<FileReader*>(user);
    auto* bytes = static_cast<uint8_t*>(into);
    while (size > 0) {
        DWORD got = 0;
        const DWORD ask = DWORD(size > (1u << 30) ? 1u << 30 : size);
        if (!ReadFile(reader->file, bytes, ask, &got, nullptr) || got == 0) return 1;
        bytes += got;
        size -= got;
    }
    return 0;
}

int Seek(int64_t position, void* user) {
    LARGE_INTEGER at;
    at.QuadPart = position;
    return SetFilePointerEx(static_cast<FileReader*>(user)->file, at, nullptr, FILE_BEGIN) ? 0 : 1;
}

heif_reader_grow_status WaitForSize(int64_t target, void* user) {
    return target <= static_cast<FileReader*>(user)->size ? heif_reader_grow_status_size_reached
                                                          : heif_reader_grow_status_size_beyond_eof;
}

const heif_reader kReader = {1, Position, Read, Seek, WaitForSize};

bool Failed(const heif_error& error, const wchar_t* what, std::wstring& why) {
    if (error.code == heif_error_Ok) return false;
    std::string message = error.message ? error.message : "";
    message.erase(message.find_last_not_of(" \r\n") + 1); // libheif ends some with a newline
    why = std::wstring(what) + L" (" + Widen(message) + L")";
    return true;
}

// Interleaved R, G, B[, A] rows to B, G, R, A with the transparency drawn over black, which
// the other formats' decoders give too.
void ToBgra(const uint8_t* from, int channels, bool premultiplied, uint32_t* to, int width) {
    for (int x = 0; x < width; ++x, from += channels) {
        const uint32_t alpha = channels == 4 ? from[3] : 0xFF;
        to[x] = alpha << 24 | uint32_t(from[0]) << 16 | uint32_t(from[1]) << 8 | from[2];
    }
    if (channels == 4 && !premultiplied) DrawOverBlack(to, width);
}

bool Decode(HANDLE file, RowSink& sink, std::wstring& why) {
    LARGE_INTEGER size = {}, start = {};
    if (!GetFileSizeEx(file, &size) || !SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        why = L"it cannot be read";
        return false;
    }
    FileReader reader = {file, size.QuadPart};
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context) throw std::bad_alloc();
    heif_context_set_maximum_image_size_limit(context.get(), kMaxHeifSide);
    if (Failed(heif_context_read_from_reader(context.get(), &kReader, &reader, nullptr),
               L"its HEIF structure cannot be read", why))
        return false;
    heif_image_handle* rawHandle = nullptr;
    if (Failed(heif_context_get_primary_image_handle(context.get(), &rawHandle),
               L"it has no primary image", why))
        return false;
    std::unique_ptr<heif_image_handle, HandleRelease> handle(rawHandle);
    // The size its header claims, checked before anything is decoded.
    const int claimedWidth = heif_image_handle_get_width(handle.get());
    const int claimedHeight = heif_image_handle_get_height(handle.get());
    if (claimedWidth <= 0 || claimedHeight <= 0 ||
        ExceedsPixelBudget(claimedWidth, claimedHeight)) {
        why = L"its header claims " + std::to_wstring(claimedWidth) + L" x " +
              std::to_wstring(claimedHeight) + L" pixels, beyond the pixel budget";
        return false;
    }
    // libheif applies the turn and mirror itself: orientation 1 for the sink.
    if (sink.Scale(claimedWidth, claimedHeight, 1) == 0) {
        why = L"refused at " + std::to_wstring(claimedWidth) + L" x " +
              std::to_wstring(claimedHeight);
        return false;
    }
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get());
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    if (!options) throw std::bad_alloc();
    // Interleaved RGB is 8 bits a channel: libheif brings 10- and 12-bit images down to it.
    heif_image* rawImage = nullptr;
    if (Failed(heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                                 alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                                 options.get()),
               L"its image data cannot be decoded", why))
        return false;
    std::unique_ptr<heif_image, ImageRelease> image(rawImage);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    int stride = 0;
    const uint8_t* pixels =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (!pixels || width <= 0 || height <= 0 ||
        heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8) {
        why = L"its decoded image is not 8-bit RGB";
        return false;
    }
    if (!sink.Begin(width, height)) {
        why = L"refused at " + std::to_wstring(width) + L" x " + std::to_wstring(height);
        return false;
    }
    const bool premultiplied = heif_image_is_premultiplied_alpha(image.get());
    for (int y = 0; y < height; ++y) {
        ToBgra(pixels + size_t(y) * stride, alpha ? 4 : 3, premultiplied, sink.Row(y), width);
        sink.RowDone(y);
    }
    return true;
}

} // namespace

bool DecodeHeifRows(HANDLE file, RowSink& sink, std::wstring& why) {
    try {
        return Decode(file, sink, why);
    } catch (const std::bad_alloc&) {
        why = L"out of memory";
        return false;
    }
}

} // namespace tk
