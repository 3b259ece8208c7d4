#include "saver/Geometry.h"

#include <cmath>
#include <cstdint>

namespace {

TTravel Opposite(TTravel travel) {
    switch (travel) {
    case TTravel::Leftward:
        return TTravel::Rightward;
    case TTravel::Rightward:
        return TTravel::Leftward;
    case TTravel::Upward:
        return TTravel::Downward;
    case TTravel::Downward:
        return TTravel::Upward;
    case TTravel::Still:
        break;
    }
    return TTravel::Still;
}

} // namespace

TFamily FamilyOf(int transition) {
    const TransitionInfo& t = TransitionOf(transition);
    if (t.family == TransitionFamily::Central) return TFamily::Central;
    return t.axis == TransitionAxis::Vertical ? TFamily::Vertical : TFamily::Horizontal;
}

bool IsAlternating(int transition) {
    return TransitionOf(transition).family == TransitionFamily::AlternatingStrip;
}

TTravel TravelOf(int transition, int alternationPhase) {
    if (IsCentralTransition(transition)) return TTravel::Still;
    const TTravel forward = TransitionOf(transition).direction;
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

TBox InitialBox(int transition, const TBox& s) {
    // A strip waits at its entry edge; the central tiles wait left of the screen.
    if (IsCentralTransition(transition)) return {s.left - s.width, 0, s.width, s.height};
    return EntryBox(transition, 0, s);
}

int StartCoordinate(int transition, int alternationPhase, const TBox& s) {
    switch (TravelOf(transition, alternationPhase)) {
    case TTravel::Leftward:
        return s.left + s.width;
    case TTravel::Rightward:
        return s.left - s.width;
    case TTravel::Upward:
        return s.top + s.height;
    case TTravel::Downward:
        return s.top - s.height;
    case TTravel::Still:
        break;
    }
    return 0;
}

TBox EntryBox(int transition, int alternationPhase, const TBox& s) {
    switch (TravelOf(transition, alternationPhase)) {
    case TTravel::Leftward:
        return {s.left + s.width, 0, s.width, s.height};
    case TTravel::Rightward:
        return {s.left - s.width, 0, s.width, s.height};
    case TTravel::Upward:
        return {0, s.top + s.height, s.width, s.height};
    case TTravel::Downward:
        return {0, s.top - s.height, s.width, s.height};
    case TTravel::Still:
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
    case TTravel::Leftward:
        return prevPos + prevWidth + kTileGap;
    case TTravel::Upward:
        return prevPos + prevHeight + kTileGap;
    case TTravel::Rightward:
    case TTravel::Downward:
        return (alternateBack ? nextPos : prevPos) - kTileGap;
    case TTravel::Still:
        break;
    }
    return 0;
}

TSized SizeTileBox(int transition, int alternationPhase, const TBox& placed, int pos, int w, int h,
                   const TBox& s) {
    TSized out{placed, pos};
    out.box.width = w;
    out.box.height = h;
    TFamily family = FamilyOf(transition);
    if (family != TFamily::Vertical && h < s.height) out.box.top = (s.height - h) / 2;
    if (family != TFamily::Horizontal && w < s.width) out.box.left = (s.width - w) / 2;
    if (family == TFamily::Central) out.pos = out.box.left;
    // Backward, the entry coordinate is the near edge: the far edge is a content size
    // further out.
    TTravel travel = TravelOf(transition, alternationPhase);
    if (travel == TTravel::Rightward) out.pos -= w;
    if (travel == TTravel::Downward) out.pos -= h;
    return out;
}

TStep StepTile(TTravel travel, int pos, int width, int height, int speed, const TBox& s) {
    // 64-bit sums: a hand-edited speed must not wrap a coordinate near the ends of int.
    auto moved = [](int p, long long delta) {
        long long v = p + delta;
        return int(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
    };
    if (travel == TTravel::Still || PastExitEdge(travel, pos, width, height, s)) return {true, pos};
    const bool forward = travel == TTravel::Rightward || travel == TTravel::Downward;
    return {false, moved(pos, forward ? (long long)speed : -(long long)speed)};
}

bool PastExitEdge(TTravel travel, int pos, int width, int height, const TBox& s) {
    switch (travel) {
    case TTravel::Leftward:
        return pos <= -width;
    case TTravel::Rightward:
        return pos >= s.width;
    case TTravel::Upward:
        return pos <= -height;
    case TTravel::Downward:
        return pos >= s.height;
    case TTravel::Still:
        break;
    }
    return false;
}

bool OnScreen(const TBox& b, const TBox& s) {
    return b.width > 0 && b.height > 0 && b.left < s.left + s.width && b.left + b.width > s.left &&
           b.top < s.top + s.height && b.top + b.height > s.top;
}

bool IsCentralTransition(int transition) {
    return FamilyOf(transition) == TFamily::Central;
}

TBox MovedBox(TTravel travel, const TBox& box, int pos) {
    TBox out = box;
    if (travel == TTravel::Leftward || travel == TTravel::Rightward) out.left = pos;
    if (travel == TTravel::Upward || travel == TTravel::Downward) out.top = pos;
    return out;
}

bool IsAnimated(int transition) {
    const CentralChange change = TransitionOf(transition).change;
    return change == CentralChange::GrowShrink || change == CentralChange::Slide;
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
int BeyondExitEdge(TTravel travel, const TBox& b, const TBox& s) {
    switch (travel) {
    case TTravel::Leftward:
        return -b.width;
    case TTravel::Rightward:
        return s.width;
    case TTravel::Upward:
        return -b.height;
    case TTravel::Downward:
        return s.height;
    case TTravel::Still:
        break;
    }
    return 0;
}

// Frame k of a central tile at box b: grown to k % of its size, or slid k % of the way from
// beyond the exit edge of the given travel to its box.
TBox AnimationFrame(int transition, TTravel travel, int k, const TBox& b, const TBox& s) {
    TBox f = b;
    switch (TransitionOf(transition).change) {
    case CentralChange::GrowShrink:
        f.width = Scale(b.width, k);
        f.height = Scale(b.height, k);
        break;
    case CentralChange::Slide:
        if (travel == TTravel::Leftward || travel == TTravel::Rightward)
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
TBox LeaveFrame(int transition, int k, const TBox& from, const TBox& s) {
    return AnimationFrame(transition, TransitionOf(transition).direction, k, from, s);
}

TBox EnterFrame(int transition, int k, const TBox& to, const TBox& s) {
    return AnimationFrame(transition, Opposite(TransitionOf(transition).direction), k, to, s);
}
