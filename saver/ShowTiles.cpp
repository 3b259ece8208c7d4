// A show's tiles: the four steps of a transition that the refill runs on the current tile
// (leave, place, size, enter), the central animations, and the tiles' geometry.
#include "settings/Settings.h"
#include "settings/Random.h"
#include "settings/Transitions.h"
#include "saver/MonitorShow.h"

namespace {
constexpr DWORD kFrameMs = 10;

// Transition 10 does each leaving and each entering as one of the other central ones, drawn
// anew.
int EffectiveTransition(int transition) {
    if (!DrawsChangeAnew(transition)) return transition;
    const std::vector<int>& drawn = CentralTransitionsDrawn();
    return drawn[Random(int(drawn.size()))];
}
} // namespace

bool MonitorShow::IsCentral() const {
    return IsCentralTransition(transition_);
}

void MonitorShow::RepaintNow() {
    // What windows left to paint themselves (a clip's tile, a window shown) is painted
    // before the loop goes on.
    RedrawWindow(canvas_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void MonitorShow::LeaveTile() {
    const int t = EffectiveTransition(transition_);
    // An animation of a tile that is not on the screen would show nothing for a second.
    if (IsAnimated(t) && strip_.TileShown(currentTile) &&
        OnScreen(strip_.TileBox(currentTile), ScreenBox())) {
        Animate(t, false);
        return;
    }
    SetTileShown(currentTile, false);
}

void MonitorShow::PlaceTile() {
    const int t = transition_;
    const int c = currentTile;
    const int p = PreviousTile(c, strip_.tileCount), n = NextTile(c, strip_.tileCount);
    strip_.SetTileBox(c, EntryBox(t, alternationPhase, ScreenBox()));
    // Read after the move: the single tile is its own previous tile, now full-size.
    Box previous = strip_.TileBox(p);
    strip_.tilePos[c] = EntryCoordinate(t, alternationPhase, strip_.tilePos[p], previous.width,
                                        previous.height, strip_.tilePos[n]);
    strip_.placedBox = strip_.TileBox(c);
    strip_.placedPos = strip_.tilePos[c];
}

void MonitorShow::SizeTile(int w, int h) {
    const int c = currentTile;
    SizedTile sized = SizeTileBox(transition_, alternationPhase, strip_.placedBox, strip_.placedPos,
                                  w, h, ScreenBox());
    strip_.SetTileBox(c, sized.box);
    strip_.tilePos[c] = sized.pos;
}

void MonitorShow::EnterTile() {
    const int t = EffectiveTransition(transition_);
    if (IsAnimated(t)) {
        Animate(t, true);
        return;
    }
    SetTileShown(currentTile, true);
}

void MonitorShow::Animate(int transition, bool entering) {
    // 101 frames, 10 ms apart, each painted at once; the message loop waits meanwhile.
    const int c = currentTile;
    const Box base = strip_.TileBox(c);
    const Box s = ScreenBox();
    for (int i = 0; i <= kAnimationLast; ++i) {
        int k = entering ? i : kAnimationLast - i;
        Box frame =
            entering ? EnterFrame(transition, k, base, s) : LeaveFrame(transition, k, base, s);
        ApplyMoves({{c, strip_.TileBox(c), frame}});
        if (entering && k == 0) SetTileShown(c, true);
        Sleep(kFrameMs);
    }
    if (!entering) SetTileShown(c, false);
}
