#include "saver/Geometry.h"

#include <cmath>
#include <cstdint>

TFamily FamilyOf(int transition) {
    if (transition >= 4 && transition <= 10) return TFamily::Central;
    if (transition >= 11 && transition <= 13) return TFamily::Vertical;
    return TFamily::Horizontal;
}

bool IsAlternating(int transition) { return transition == 3 || transition == 13; }

TTravel TravelOf(int transition, int altPhase) {
    bool backward = altPhase >= 2;
    switch (transition) {
    case 2: return TTravel::Rightward;
    case 3: return backward ? TTravel::Rightward : TTravel::Leftward;
    case 11: return TTravel::Upward;
    case 12: return TTravel::Downward;
    case 13: return backward ? TTravel::Downward : TTravel::Upward;
    default: return FamilyOf(transition) == TFamily::Central ? TTravel::Still : TTravel::Leftward;
    }
}

int NextAltPhase(int transition, int altPhase) {
    return IsAlternating(transition) ? (altPhase + 1) % 4 : altPhase;
}

int NextCurTile(int curTile, int tileCount, int altPhase) {
    if (tileCount <= 0) return 0;
    if (altPhase >= 2) return curTile <= 0 ? tileCount - 1 : curTile - 1;
    return curTile >= tileCount - 1 ? 0 : curTile + 1;
}

int PreviousTile(int tile, int tileCount) { return tile <= 0 ? tileCount - 1 : tile - 1; }
int NextTile(int tile, int tileCount) { return tile >= tileCount - 1 ? 0 : tile + 1; }

TBox InitialBox(int transition, const TBox& s) {
    switch (transition) {
    case 1:
    case 3:
        return {s.left + s.width, 0, s.width, s.height};
    case 11:
    case 13:
        return {0, s.top + s.height, s.width, s.height};
    case 12:
        return {0, s.top - s.height, s.width, s.height};
    default:
        // 2 and the central ones; an unknown number waits where transition 1 does.
        if (transition == 2 || FamilyOf(transition) == TFamily::Central)
            return {s.left - s.width, 0, s.width, s.height};
        return {s.left + s.width, 0, s.width, s.height};
    }
}

int StartCoordinate(int transition, int altPhase, const TBox& s) {
    switch (TravelOf(transition, altPhase)) {
    case TTravel::Leftward:
        return s.left + s.width;
    case TTravel::Rightward:
        return s.left - s.width;
    case TTravel::Upward:
        return s.top + s.height;
    case TTravel::Downward:
        return s.top - s.height;
    case TTravel::Still: break;
    }
    return 0;
}

TBox EntryBox(int transition, int altPhase, const TBox& s) {
    switch (TravelOf(transition, altPhase)) {
    case TTravel::Leftward:
        return {s.left + s.width, 0, s.width, s.height};
    case TTravel::Rightward:
        return {s.left - s.width, 0, s.width, s.height};
    case TTravel::Upward:
        return {0, s.top + s.height, s.width, s.height};
    case TTravel::Downward:
        return {0, s.top - s.height, s.width, s.height};
    case TTravel::Still: break;
    }
    return {0, 0, s.width, s.height};
}

int EntryCoordinate(int transition, int altPhase, int prevPos, int prevWidth, int prevHeight,
                    int nextPos) {
    // Forward, the new tile goes behind the last one (the tile before it in the strip);
    // in the backward phases of an alternating transition the strip's order is read the
    // other way, and the last tile on the entry side is the one after it.
    bool alternateBack = IsAlternating(transition) && altPhase >= 2;
    switch (TravelOf(transition, altPhase)) {
    case TTravel::Leftward: return prevPos + prevWidth + kTileGap;
    case TTravel::Upward: return prevPos + prevHeight + kTileGap;
    case TTravel::Rightward:
    case TTravel::Downward: return (alternateBack ? nextPos : prevPos) - kTileGap;
    case TTravel::Still: break;
    }
    return 0;
}

TSized SizeTileBox(int transition, int altPhase, const TBox& placed, int pos, int w, int h,
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
    TTravel travel = TravelOf(transition, altPhase);
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
    case TTravel::Still: break;
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

bool IsAnimated(int transition) { return transition >= 5 && transition <= 9; }

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

TBox LeaveFrame(int transition, int k, const TBox& from, const TBox& s) {
    TBox b = from;
    switch (transition) {
    case 5:
        b.width = Scale(from.width, k);
        b.height = Scale(from.height, k);
        break;
    case 6: b.left = Blend(from.left, k, -from.width); break; // out to the left
    case 7:
        b.left = Blend(from.left, k, s.width);
        break;                                                 // out to the right
    case 8: b.top = Blend(from.top, k, -from.height); break;   // out at the top
    case 9:
        b.top = Blend(from.top, k, s.height);
        break; // out at the bottom
    }
    return b;
}

TBox EnterFrame(int transition, int k, const TBox& to, const TBox& s) {
    TBox b = to;
    switch (transition) {
    case 5:
        b.width = Scale(to.width, k);
        b.height = Scale(to.height, k);
        break;
    case 6:
        b.left = Blend(to.left, k, s.width);
        break;                                               // in from the right edge
    case 7: b.left = Blend(to.left, k, -to.width); break;    // in from the left
    case 8:
        b.top = Blend(to.top, k, s.height);
        break;                                               // in from the bottom edge
    case 9: b.top = Blend(to.top, k, -to.height); break;     // in from the top
    }
    return b;
}
