#pragma once
// Cameras and phones store a photo taken upright as landscape pixels and say in the Exif
// "Orientation" tag (1 to 8) how to turn it for showing. The tag is read with the header
// (JpegInfo, RowSink); the turn is applied to the already reduced bitmap, never to a
// full-size decode.
#include <cstddef>
#include <cstdint>

#include "toolkit/Dib.h"

namespace tk {

// The orientation a TIFF structure (the Exif APP1 payload after "Exif\0\0") gives in IFD0.
// 1 for anything missing, damaged, out of range or of the wrong type; never reads outside
// the bytes given.
int OrientationFromTiff(const uint8_t* tiff, size_t size);

// Orientations 5 to 8 turn the picture a quarter: its width and height change places.
inline bool SwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// `from` as it is to be seen under the orientation, into `out`. False on allocation failure.
bool Orient(const Dib& from, int orientation, Dib& out);

} // namespace tk
