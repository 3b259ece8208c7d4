#pragma once
// Takes the rows of a picture as a decoder gives them, so that no decoder needs to hold a
// whole picture for the loader: libjpeg for JPEG, the Windows Imaging Component for the
// other formats. Its functions run between decoder calls and must not throw.
#include <cstdint>

namespace tk {

class RowSink {
  public:
    virtual ~RowSink() = default;
    // The header is read and names the picture's own size, as stored, and the Exif
    // orientation it is to be shown under (1 to 8). Returns the scale to decode at, in
    // eighths (1 to 8), or 0 to refuse the picture. A decoder that cannot scale (all but
    // libjpeg) gives the full size whatever the answer; Begin says what comes.
    virtual int Scale(int width, int height, int orientation) noexcept = 0;
    // Decoding is about to give outWidth x outHeight pixels. False refuses.
    virtual bool Begin(int outWidth, int outHeight) noexcept = 0;
    // Where row y goes: room for outWidth pixels (B, G, R, X).
    virtual uint32_t* Row(int y) noexcept = 0;
    // Row y has been written.
    virtual void RowDone(int y) noexcept = 0;
    // The picture is no longer wanted (the saver closes): asked between the pieces of the
    // file's read, which then ends as a failed decode.
    virtual bool Stopped() noexcept { return false; }
};

} // namespace tk
