#pragma once
// The photo formats other than JPEG, decoded through the Windows Imaging Component (WIC),
// which Windows ships: PNG, GIF, BMP and TIFF everywhere, AVIF once its extension from the
// Store is installed (HEIC and WebP the program decodes itself: Heif.h, WebP.h). Any thread
// may call these, at any time: each call makes a factory in the calling thread's apartment
// (entering the multithreaded apartment for the call when the thread has none, and leaving it
// after) and releases it before it returns. No COM object is kept from one call to the next,
// none is left for the program's end.
#include <windows.h>

#include <propidl.h>

#include <string>
#include <vector>

#include "toolkit/RowSink.h"

namespace tk {

// The file extensions each installed decoder names, one string per decoder as it gives them
// (".png", ".tif;.tiff", ".heic,.heif" ...). Asked of WIC once and kept as text. Empty when
// WIC cannot be created on this PC, which is logged.
const std::vector<std::wstring>& WicDecoderExtensions();

// Decodes the first frame (the first page of a TIFF, the first frame of an animation) into
// the sink at its full size, pixels with transparency drawn over black. `orientation` is the
// one the file's header gave (1 to 8), or 0 to ask WIC's photo metadata for it (AVIF keeps
// it where only its decoder reads it). False for a file no decoder reads,
// damaged data, a frame larger than the pixel budget, a sink that refused; `why` then says
// what failed, for the log. Nothing throws.
bool DecodeWicRows(const std::wstring& path, int orientation, RowSink& sink, std::wstring& why);

// The orientation that WIC's "System.Photo.Orientation" value gives: 1 to 8 as it is stored
// (an unsigned 16-bit number), 1 for a value of another type or out of that range.
int OrientationFromPhotoValue(const PROPVARIANT& value);

// Multiplies each pixel (B, G, R, A) by its alpha: the picture drawn over black. Pixels that
// are opaque stay as they are; the fourth byte comes out as it went in.
void DrawOverBlack(uint32_t* pixels, int count);

} // namespace tk
