#pragma once
// Decoded video frames in the YUV layouts that decoders hand out, turned into the 32-bit BGRA
// rows that StretchDIBits draws. A plain function of bytes: no window, no Media Foundation.
//
// The colours are exact: each pixel is the standard's formula for its matrix and range,
// rounded to the nearest integer (white stays 255, black 0, a grey stays grey), not the
// approximate colours of a video renderer.
#include <cstddef>
#include <cstdint>

namespace tk {

enum class YuvLayout {
    Nv12, // a plane of Y, then one of interleaved U V at half width and half height
    I420, // a plane of Y, then U, then V, each at half width and half height
    Yuy2, // one plane, Y0 U Y1 V for each pair of pixels
};

// Which weights turned red, green and blue into Y: BT.601 for standard definition, BT.709
// for high definition.
enum class YuvMatrix { Bt601, Bt709 };
// Studio range puts black at Y 16 and white at Y 235 (chroma 16-240); full range uses 0-255.
enum class YuvRange { Studio, Full };

struct YuvFrame {
    YuvLayout layout = YuvLayout::Nv12;
    const uint8_t* data = nullptr;
    size_t bytes = 0; // what data holds; a frame that needs more is refused
    int width = 0;    // the picture; odd sizes are allowed
    int height = 0;
    // Bytes from one row of Y to the next (a YUY2 row: from one row of pairs to the next).
    // I420's chroma rows are half as long. Decoders pad rows, so this may exceed the width.
    int pitch = 0;
    // Rows of Y stored before the chroma planes begin: decoders may pad the height too (a
    // 1080-line picture in 1088 rows). 0 means the height.
    int paddedHeight = 0;
    YuvMatrix matrix = YuvMatrix::Bt601;
    YuvRange range = YuvRange::Studio;
};

// The bytes a frame's layout needs, or 0 when its sizes make no sense (a pitch shorter than
// a row, a size of 0).
size_t YuvBytesNeeded(const YuvFrame& frame);

// Writes frame.width x frame.height BGRA pixels (the fourth byte 0), rows from the top,
// dstPitch bytes apart. False, with nothing written, when the frame's bytes do not hold what
// its layout needs.
bool YuvToBgra(const YuvFrame& frame, uint8_t* dst, int dstPitch);

} // namespace tk
