#pragma once
// A 32-bit top-down DIB section with a memory DC that has it selected: pictures live in
// these, so that they can be drawn on with GDI and copied to the screen without conversion.
#include <windows.h>

#include <cstdint>

#include "toolkit/Handles.h"

namespace tk {

class Dib {
  public:
    Dib() = default;
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    Dib(Dib&&) noexcept;
    Dib& operator=(Dib&&) noexcept;
    ~Dib();

    // (Re)allocates; keeps the old allocation when the size is unchanged. False on failure.
    bool Create(int width, int height);
    void Clear();

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return !bits_; }
    uint32_t* Bits() const { return bits_; }
    HDC Dc() const { return dc_.Get(); }
    HBITMAP Handle() const { return bitmap_.Get(); }

  private:
    void Unselect();
    MemDc dc_;
    Bitmap bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

} // namespace tk
