#pragma once
// Whether a file begins like a video container (MP4, QuickTime, 3GP, MPEG, ASF, AVI, IVF,
// Matroska). Only such files are handed to Media Foundation: under Wine its reader never
// returns from some files that are no video at all (a JPEG named .mp4, say), and a file that
// is not a container has nothing for it anyway.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tk {

bool LooksLikeVideoContainer(const uint8_t* head, size_t size);
// The same, read from the first bytes of the file; false for a file that cannot be read.
bool FileLooksLikeVideoContainer(const std::wstring& path);

} // namespace tk
