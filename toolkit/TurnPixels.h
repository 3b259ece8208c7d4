#pragma once
// A frame of 32-bit pixels turned clockwise by a quarter, a half or three quarters: the way a
// clip that a phone stored on its side is made to stand as it was filmed.
#include <cstdint>

namespace tk {

// Writes the w x h pixels of `in` (rows from the top) turned clockwise by degrees (0, 90, 180
// or 270; any other value copies them) into `out`, which holds as many pixels: h x w for a
// quarter turn, w x h otherwise.
void TurnPixels(const uint32_t* in, int w, int h, int degrees, uint32_t* out);

inline bool TurnSwapsSides(int degrees) {
    return degrees == 90 || degrees == 270;
}

} // namespace tk
