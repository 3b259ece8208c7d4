#include "saver/ClipRules.h"

#include "saver/Geometry.h"

#include <algorithm>
#include <cmath>

namespace {

int Scaled(int value, long double factor) {
    return int(std::nearbyint(value * factor));
}

} // namespace

SIZE FitClipSize(int w, int h, int CW, int CH, int grow) {
    if (w <= 0 || h <= 0) return {0, 0};
    if (CH < h || CW < w) {
        // To the height first, then, with the width that gave, to the width.
        if (CH < h) {
            long double s = (long double)CH / h;
            w = Scaled(w, s);
            h = Scaled(h, s);
        }
        if (CW < w) {
            long double s = (long double)CW / w;
            w = Scaled(w, s);
            h = Scaled(h, s);
        }
        return {w, h};
    }
    if (grow <= 1) return {w, h};
    long double s = std::min((long double)CH / h, (long double)CW / w);
    s = std::min(s, (long double)grow);
    return {Scaled(w, s), Scaled(h, s)};
}

long ClipDisplayTime(long intervalMs, long remainingMs, bool loop, bool whole) {
    if (remainingMs <= 0) return std::max(intervalMs, kMinClipDisplayMs);
    long result = intervalMs;
    if (remainingMs <= intervalMs) {
        if (!loop) result = remainingMs;
    } else if (whole) {
        result = remainingMs;
    }
    return std::max(result, kMinClipDisplayMs);
}

bool ClipKeepsTile(bool whole, bool imageHidden, bool clipOpen, tk::MediaMode mode) {
    return whole && imageHidden && clipOpen && mode != tk::MediaMode::Stopped;
}

bool ClipTileFullyEntered(int transition, int alternationPhase, const RECT& panel, int W, int H) {
    switch (TravelOf(transition, alternationPhase)) {
    case Travel::Leftward:
        return panel.right <= W;
    case Travel::Rightward:
        return panel.left >= 0;
    case Travel::Upward:
        return panel.bottom <= H;
    case Travel::Downward:
        return panel.top >= 0;
    case Travel::Still:
        return true;
    }
    return true;
}

bool ClipTileNotYetGone(int transition, int alternationPhase, int pos, int width, int height, int W,
                        int H) {
    return !PastExitEdge(TravelOf(transition, alternationPhase), pos, width, height,
                         Box{0, 0, W, H});
}
