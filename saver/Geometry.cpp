#include "saver/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

Travel Opposite(Travel travel) {
    switch (travel) {
    case Travel::Leftward:
        return Travel::Rightward;
    case Travel::Rightward:
        return Travel::Leftward;
    case Travel::Upward:
        return Travel::Downward;
    case Travel::Downward:
        return Travel::Upward;
    case Travel::Still:
        break;
    }
    return Travel::Still;
}

} // namespace

Arrangement ArrangementOf(int transition) {
    const TransitionInfo& t = TransitionOf(transition);
    if (t.family == TransitionFamily::Central) return Arrangement::Central;
    return t.axis == TransitionAxis::Vertical ? Arrangement::Vertical : Arrangement::Horizontal;
}

bool IsAlternating(int transition) {
    return TransitionOf(transition).family == TransitionFamily::AlternatingStrip;
}

Travel TravelOf(int transition, int alternationPhase) {
    if (IsCentralTransition(transition)) return Travel::Still;
    const Travel forward = TransitionOf(transition).direction;
    return IsAlternating(transition) && alternationPhase >= 2 ? Opposite(forward) : forward;
}

int NextAlternationPhase(int transition, int alternationPhase) {
    return IsAlternating(transition) ? (alternationPhase + 1) % 4 : alternationPhase;
}

int NextCurrentTile(int currentTile, int tileCount, int alternationPhase) {
    if (tileCount <= 0) return 0;
    if (alternationPhase >= 2) return currentTile <= 0 ? tileCount - 1 : currentTile - 1;
    return currentTile >= tileCount - 1 ? 0 : currentTile + 1;
}

int PreviousTile(int tile, int tileCount) {
    return tile <= 0 ? tileCount - 1 : tile - 1;
}
int NextTile(int tile, int tileCount) {
    return tile >= tileCount - 1 ? 0 : tile + 1;
}

Box InitialBox(int transition, const Box& s) {
    // A strip waits at its entry edge; the central tiles wait left of the screen.
    if (IsCentralTransition(transition)) return {s.left - s.width, 0, s.width, s.height};
    return EntryBox(transition, 0, s);
}

int StartCoordinate(int transition, int alternationPhase, const Box& s) {
    switch (TravelOf(transition, alternationPhase)) {
    case Travel::Leftward:
        return s.left + s.width;
    case Travel::Rightward:
        return s.left - s.width;
    case Travel::Upward:
        return s.top + s.height;
    case Travel::Downward:
        return s.top - s.height;
    case Travel::Still:
        break;
    }
    return 0;
}

Box EntryBox(int transition, int alternationPhase, const Box& s) {
    switch (TravelOf(transition, alternationPhase)) {
    case Travel::Leftward:
        return {s.left + s.width, 0, s.width, s.height};
    case Travel::Rightward:
        return {s.left - s.width, 0, s.width, s.height};
    case Travel::Upward:
        return {0, s.top + s.height, s.width, s.height};
    case Travel::Downward:
        return {0, s.top - s.height, s.width, s.height};
    case Travel::Still:
        break;
    }
    return {0, 0, s.width, s.height};
}

int EntryCoordinate(int transition, int alternationPhase, int prevPos, int prevWidth,
                    int prevHeight, int nextPos) {
    // Forward, the new tile goes behind the last one (the tile before it in the strip);
    // in the backward phases of an alternating transition the strip's order is read the
    // other way, and the last tile on the entry side is the one after it.
    bool alternateBack = IsAlternating(transition) && alternationPhase >= 2;
    switch (TravelOf(transition, alternationPhase)) {
    case Travel::Leftward:
        return prevPos + prevWidth + kTileGap;
    case Travel::Upward:
        return prevPos + prevHeight + kTileGap;
    case Travel::Rightward:
    case Travel::Downward:
        return (alternateBack ? nextPos : prevPos) - kTileGap;
    case Travel::Still:
        break;
    }
    return 0;
}

int LateEntryCoordinate(int transition, int alternationPhase, int entry, const Box& s) {
    // Forward the coordinate is the tile's far edge, backward its near edge (SizeTileBox).
    switch (TravelOf(transition, alternationPhase)) {
    case Travel::Leftward:
        return std::max(entry, s.left + s.width);
    case Travel::Upward:
        return std::max(entry, s.top + s.height);
    case Travel::Rightward:
        return std::min(entry, s.left);
    case Travel::Downward:
        return std::min(entry, s.top);
    case Travel::Still:
        break;
    }
    return entry;
}

SizedTile SizeTileBox(int transition, int alternationPhase, const Box& placed, int pos, int w,
                      int h, const Box& s) {
    SizedTile out{placed, pos};
    out.box.width = w;
    out.box.height = h;
    Arrangement family = ArrangementOf(transition);
    if (family != Arrangement::Vertical && h < s.height) out.box.top = (s.height - h) / 2;
    if (family != Arrangement::Horizontal && w < s.width) out.box.left = (s.width - w) / 2;
    if (family == Arrangement::Central) out.pos = out.box.left;
    // Backward, the entry coordinate is the near edge: the far edge is a content size
    // further out.
    Travel travel = TravelOf(transition, alternationPhase);
    if (travel == Travel::Rightward) out.pos -= w;
    if (travel == Travel::Downward) out.pos -= h;
    return out;
}

TileStep StepTile(Travel travel, int pos, int width, int height, int speed, const Box& s) {
    // 64-bit sums: a hand-edited speed must not wrap a coordinate near the ends of int.
    auto moved = [](int p, long long delta) {
        long long v = p + delta;
        return int(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
    };
    if (travel == Travel::Still || PastExitEdge(travel, pos, width, height, s)) return {true, pos};
    const bool forward = travel == Travel::Rightward || travel == Travel::Downward;
    return {false, moved(pos, forward ? (long long)speed : -(long long)speed)};
}

bool PastExitEdge(Travel travel, int pos, int width, int height, const Box& s) {
    switch (travel) {
    case Travel::Leftward:
        return pos <= -width;
    case Travel::Rightward:
        return pos >= s.width;
    case Travel::Upward:
        return pos <= -height;
    case Travel::Downward:
        return pos >= s.height;
    case Travel::Still:
        break;
    }
    return false;
}

bool OnScreen(const Box& b, const Box& s) {
    return b.width > 0 && b.height > 0 && b.left < s.left + s.width && b.left + b.width > s.left &&
           b.top < s.top + s.height && b.top + b.height > s.top;
}

Box MovedBox(Travel travel, const Box& box, int pos) {
    Box out = box;
    if (travel == Travel::Leftward || travel == Travel::Rightward) out.left = pos;
    if (travel == Travel::Upward || travel == Travel::Downward) out.top = pos;
    return out;
}

bool IsAnimated(int transition) {
    const CentralChange change = TransitionOf(transition).change;
    return change == CentralChange::GrowShrink || change == CentralChange::Slide;
}

bool DrawsChangeAnew(int transition) {
    return TransitionOf(transition).change == CentralChange::Random;
}

namespace {

// origin·k/100 + far·(100 − k)/100: both products taken in integers, each divided by 100 in
// extended precision, the sum rounded once with halves to even.
int Blend(int origin, int k, int far) {
    long double a = (long double)((long long)origin * k) / 100.0L;
    long double b = (long double)((long long)far * (kAnimationLast - k)) / 100.0L;
    return int(std::nearbyint(a + b));
}

int Scale(int size, int k) {
    return int(std::nearbyint((long double)((long long)size * k) / 100.0L));
}

} // namespace

namespace {

// Where a tile of box b's size lies just beyond the edge it leaves by, travelling that way.
int BeyondExitEdge(Travel travel, const Box& b, const Box& s) {
    switch (travel) {
    case Travel::Leftward:
        return -b.width;
    case Travel::Rightward:
        return s.width;
    case Travel::Upward:
        return -b.height;
    case Travel::Downward:
        return s.height;
    case Travel::Still:
        break;
    }
    return 0;
}

// Frame k of a central tile at box b: grown to k % of its size, or slid k % of the way from
// beyond the exit edge of the given travel to its box.
Box AnimationFrame(int transition, Travel travel, int k, const Box& b, const Box& s) {
    Box f = b;
    switch (TransitionOf(transition).change) {
    case CentralChange::GrowShrink:
        f.width = Scale(b.width, k);
        f.height = Scale(b.height, k);
        break;
    case CentralChange::Slide:
        if (travel == Travel::Leftward || travel == Travel::Rightward)
            f.left = Blend(b.left, k, BeyondExitEdge(travel, b, s));
        else
            f.top = Blend(b.top, k, BeyondExitEdge(travel, b, s));
        break;
    default:
        break;
    }
    return f;
}

} // namespace

// A leaving tile slides out by the exit edge of the transition's way; the entering one comes
// in by the opposite edge (beyond the exit edge of the opposite way), so both move one way.
Box LeaveFrame(int transition, int k, const Box& from, const Box& s) {
    return AnimationFrame(transition, TransitionOf(transition).direction, k, from, s);
}

Box EnterFrame(int transition, int k, const Box& to, const Box& s) {
    return AnimationFrame(transition, Opposite(TransitionOf(transition).direction), k, to, s);
}

int FrameToDraw(int lastDrawn, unsigned elapsedMs) {
    const int next = lastDrawn + 1;
    if (next > kAnimationLast || elapsedMs / kFrameMs < unsigned(next)) return -1;
    return next;
}
