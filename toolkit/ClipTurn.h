#pragma once
// The turn a clip's picture needs to stand as it was filmed. A phone held upright stores its
// picture on its side, in landscape, and names the turn in the header of the video track (the
// display matrix of the "tkhd" box in MP4, M4V, MOV and 3GP files): 90 degrees, or 270 when
// it was held the other way up, 180 upside down. Neither MCI device applies it, and Media
// Foundation only reports it, so the program reads it from the file itself.
//
// The reader walks the file's boxes through a read callback, never trusting a size it finds:
// a box that claims more than its parent holds, a size too small for a header, a file cut
// short, all end the walk with nothing found.
#include <cstdint>
#include <string>

#include "toolkit/PictureHeader.h" // ReadAt

namespace tk {

struct ClipTurn {
    bool known = false; // the header of a video track was read
    int degrees = 0;    // clockwise: 0, 90, 180 or 270
    // Why a header's matrix was not followed (one that is no quarter turn), for the log;
    // the picture is then shown as stored.
    std::wstring problem;
};

// The clockwise turn that a track header's display matrix (a, b, u, c, d, v, x, y, w, with
// a b c d in 16.16 fixed point) applies, or -1 for a matrix that is no quarter turn (a
// slant, a mirror, a scale). The shift (x, y) and the projection (u, v, w) play no part.
int QuarterTurnOf(const int32_t matrix[9]);

// The turn named by the first video track of an ISO media file (or QuickTime) of `size`
// bytes. Not known for any other file, nor for one whose boxes are damaged.
ClipTurn ReadClipTurn(uint64_t size, const ReadAt& read);
// The same for a file on disk; not known when it cannot be read.
ClipTurn ClipTurnOfFile(const std::wstring& path);

} // namespace tk
