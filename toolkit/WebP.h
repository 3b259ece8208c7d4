#pragma once
// WebP photos, decoded by libwebp, which the program carries: Windows reads them only with
// an extension from the Store.
#include <windows.h>

#include <string>

#include "toolkit/RowSink.h"

namespace tk {

// A WebP file larger than this is refused unread: a photo of the largest size WebP allows,
// stored losslessly, takes far less.
constexpr int64_t kMaxWebPFileBytes = 256LL << 20;

// Decodes a WebP file already open for reading (a still picture, or the first frame of an
// animation as it is shown) into the sink at its full size, turned as `orientation` (from
// its EXIF chunk) says, transparency over black. False for damaged, truncated or refused
// files, `why` then saying what failed, for the log. Nothing throws.
bool DecodeWebPRows(HANDLE file, int orientation, RowSink& sink, std::wstring& why);

} // namespace tk
