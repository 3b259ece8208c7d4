#include "toolkit/Picture.h"

#include <utility>

#include "toolkit/Handles.h"
#include "toolkit/Heif.h"
#include "toolkit/Log.h"
#include "toolkit/Orientation.h"
#include "toolkit/PictureHeader.h"
#include "toolkit/WebP.h"
#include "toolkit/Wic.h"

namespace tk {

int PictureLoader::Scale(int width, int height, int orientation) noexcept {
    // A photo to be turned a quarter is sized as it will be seen: the target is asked with
    // the turned size, and the stored pixels are decoded to that target turned back.
    orientation_ = orientation;
    SIZE size;
    try {
        if (SwapsSides(orientation)) {
            const SIZE seen = (*target_)(height, width);
            size = SIZE{seen.cy, seen.cx};
        } else {
            size = (*target_)(width, height);
        }
    } catch (...) {
        return 0;
    }
    if (size.cx <= 0 || size.cy <= 0 || size.cx > width || size.cy > height) return 0;
    size_ = size;
    sourceWidth_ = width;
    sourceHeight_ = height;
    return CoveringScale(width, height, size.cx, size.cy);
}

bool PictureLoader::Begin(int outWidth, int outHeight) noexcept {
    // A fresh bitmap of the shown size: the one the caller holds stays intact until the whole
    // file has decoded.
    result_.Clear();
    if (!result_.Create(size_.cx, size_.cy)) return false;
    direct_ = outWidth == size_.cx && outHeight == size_.cy;
    if (direct_) return true;
    try {
        row_.resize(size_t(outWidth));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return reducer_.Start(outWidth, outHeight, result_.Bits(), size_.cx, size_.cy,
                          size_t(size_.cx));
}

uint32_t* PictureLoader::Row(int y) noexcept {
    return direct_ ? result_.Bits() + size_t(y) * size_.cx : row_.data();
}

void PictureLoader::RowDone(int y) noexcept {
    if (!direct_) {
        reducer_.Push(row_.data());
        return;
    }
    uint32_t* row = Row(y);
    for (int x = 0; x < size_.cx; ++x)
        row[x] &= 0x00FFFFFF;
}

// The decoder is chosen by what the file holds, not by its name: a JPEG renamed .png goes to
// libjpeg and its scaled decoding, a HEIC renamed .jpg to libheif, a PNG renamed .jpg to WIC.
// What no signature names goes to libjpeg, which refuses it as it refused every broken photo
// before. HEIC and WebP are decoded by the libraries the program carries, on every PC alike,
// even where Windows has a decoder of its own: Windows' HEIC decoder works only with its paid
// HEVC extension, and the same photo then looks the same on every PC.
bool PictureLoader::Decode(const std::wstring& path, std::wstring& why) {
    // Opened once: the header is read, then libjpeg reads the same handle from its start.
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        why = L"it cannot be opened";
        return false;
    }
    const PictureHeader header = ReadPictureHeader(file.Get());
    if (header.format == PictureFormat::Jpeg || header.format == PictureFormat::Unknown) {
        if (DecodeJpegRows(file.Get(), *this)) return true;
        why = header.format == PictureFormat::Jpeg ? L"its JPEG data cannot be decoded"
                                                   : L"it is no picture this program reads";
        return false;
    }
    if (ExceedsPixelBudget(header.width, header.height)) {
        why = L"its header claims " + std::to_wstring(header.width) + L" x " +
              std::to_wstring(header.height) + L" pixels, beyond the pixel budget";
        return false;
    }
    if (header.format == PictureFormat::Heif) return DecodeHeifRows(file.Get(), *this, why);
    if (header.format == PictureFormat::WebP)
        return DecodeWebPRows(file.Get(), header.orientation, *this, why);
    file.Reset(); // WIC opens the file by its name
    // AVIF keeps its orientation where only its decoder reads it.
    const int orientation = header.format == PictureFormat::Avif ? 0 : header.orientation;
    return DecodeWicRows(path, orientation, *this, why);
}

bool PictureLoader::Stopped() noexcept {
    try {
        return stopped_ && *stopped_ && (*stopped_)();
    } catch (...) {
        return true;
    }
}

bool PictureLoader::Load(const std::wstring& path, const TargetSize& target, Dib& out,
                         const std::function<bool()>& stopped) {
    target_ = &target;
    stopped_ = &stopped;
    orientation_ = 1;
    std::wstring why;
    bool ok = Decode(path, why);
    if (!ok && why.empty()) why = L"it cannot be shown at the size asked";
    if (!ok && Stopped()) why = L"no longer wanted while it was read";
    if (!ok) Log(L"cannot show " + path + L": " + why);
    target_ = nullptr;
    stopped_ = nullptr;
    if (ok && orientation_ != 1) {
        Dib turned;
        ok = Orient(result_, orientation_, turned);
        if (ok) result_ = std::move(turned);
    }
    if (!ok) {
        result_.Clear();
        return false;
    }
    if (SwapsSides(orientation_)) std::swap(sourceWidth_, sourceHeight_);
    out = std::move(result_);
    return true;
}

bool PictureLoader::Reduce(const Dib& from, int width, int height, Dib& out) {
    Dib result;
    if (from.Empty() || !result.Create(width, height) ||
        !reducer_.Start(from.Width(), from.Height(), result.Bits(), width, height, size_t(width)))
        return false;
    for (int y = 0; y < from.Height(); ++y)
        reducer_.Push(from.Bits() + size_t(y) * from.Width());
    out = std::move(result);
    return true;
}

} // namespace tk
