#pragma once
// HEIC and other HEIF photos, decoded by libheif with libde265, which the program carries:
// Windows reads them only with two Store extensions, one of them paid.
#include <windows.h>

#include <string>

#include "toolkit/RowSink.h"

namespace tk {

// libheif refuses an image whose side is longer than this before it allocates anything for
// it; the pixel budget (PictureHeader.h) is checked beside it. A panorama of 30,000 pixels
// passes both.
constexpr int kMaxHeifSide = 32768;

// Decodes the primary image of a HEIF file already open for reading (not its thumbnail, depth
// or gain map; a grid of tiles whole) into the sink at its full size, turned and mirrored as
// the file's own properties say: the Exif orientation it may also hold describes the same
// turn and is not applied again. Transparency over black; 10 and 12 bits brought to 8. The
// size the file's header claims is checked against the pixel budget before anything is
// decoded. False for damaged, truncated or refused files, `why` then saying what failed, for
// the log. Nothing throws.
bool DecodeHeifRows(HANDLE file, RowSink& sink, std::wstring& why);

} // namespace tk
