#include "toolkit/Dib.h"

#include <utility>

namespace tk {

Dib::Dib(Dib&& other) noexcept {
    *this = std::move(other);
}

Dib& Dib::operator=(Dib&& other) noexcept {
    if (this != &other) {
        Clear();
        dc_ = std::move(other.dc_);
        bitmap_ = std::move(other.bitmap_);
        oldBitmap_ = std::exchange(other.oldBitmap_, nullptr);
        bits_ = std::exchange(other.bits_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

Dib::~Dib() {
    Clear();
}

void Dib::Unselect() {
    if (dc_ && oldBitmap_) SelectObject(dc_.Get(), oldBitmap_);
    oldBitmap_ = nullptr;
}

void Dib::Clear() {
    Unselect(); // the bitmap must leave the DC before either is deleted
    bitmap_.Reset();
    dc_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
}

bool Dib::Create(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    if (bits_ && width == width_ && height == height_) return true;
    Clear();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits) {
        bitmap_.Reset();
        return false;
    }
    dc_.Reset(CreateCompatibleDC(nullptr));
    if (!dc_) {
        bitmap_.Reset();
        return false;
    }
    oldBitmap_ = SelectObject(dc_.Get(), bitmap_.Get());
    bits_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

} // namespace tk
