#pragma once
// Loads a photo straight into a bitmap of the size it will be shown at. For JPEG, libjpeg's
// DCT scaling takes the picture down to the smallest size that still covers that size; the
// other formats come at their full size: HEIC from libheif and WebP from libwebp, which hold
// the whole decoded picture for the moment they give it, the rest row by row from the Windows
// Imaging Component. Either way the area average takes each decoded row the rest of the way
// as it comes: no full-size bitmap is made. The loader keeps its buffers from one picture to
// the next.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/AreaReduce.h"
#include "toolkit/Dib.h"
#include "toolkit/Jpeg.h"

namespace tk {

class PictureLoader : private RowSink {
  public:
    // Given the picture's own size, the size to show it at (no larger).
    using TargetSize = std::function<SIZE(int width, int height)>;

    // Decodes the file into `out`, which takes the target size, turned as the photo's Exif
    // orientation says. False, with `out` as it was and a line in the log, for any file that
    // cannot be read as a picture.
    // Stopped, when given, is asked between the pieces of the read: a picture no longer
    // wanted stops at its next piece.
    bool Load(const std::wstring& path, const TargetSize& target, Dib& out,
              const std::function<bool()>& stopped = nullptr);

    // The own size of the picture last loaded, as it is seen: a photo that its camera marked
    // as taken upright has its sides swapped.
    int SourceWidth() const { return sourceWidth_; }
    int SourceHeight() const { return sourceHeight_; }

    // Reduces a picture held in memory to width x height (no larger) into `out`.
    bool Reduce(const Dib& from, int width, int height, Dib& out);

  private:
    bool Decode(const std::wstring& path, std::wstring& why);
    int Scale(int width, int height, int orientation) noexcept override;
    bool Begin(int outWidth, int outHeight) noexcept override;
    uint32_t* Row(int y) noexcept override;
    void RowDone(int y) noexcept override;
    bool Stopped() noexcept override;

    const TargetSize* target_ = nullptr;
    const std::function<bool()>* stopped_ = nullptr;
    Dib result_;
    AreaReducer reducer_;
    std::vector<uint32_t> row_; // one decoded row, when it is reduced
    SIZE size_ = {0, 0};        // the target
    bool direct_ = false;       // decoded at the target size: rows go straight in
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    int orientation_ = 1; // of the picture being loaded
};

} // namespace tk
