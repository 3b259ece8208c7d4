// A show's tiles: the four steps of a transition that the refill runs on the current tile
// (leave, place, size, enter), the central animations, and the tiles' geometry.
#include "settings/Settings.h"
#include "settings/Random.h"
#include "settings/Transitions.h"
#include "saver/MonitorShow.h"

namespace {
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

bool MonitorShow::LeaveTile() {
    const int t = EffectiveTransition(transition_);
    // An animation of a tile that is not on the screen would show nothing for a second.
    if (IsAnimated(t) && strip_.TileShown(currentTile) &&
        OnScreen(strip_.TileBox(currentTile), ScreenBox())) {
        Animate(t, false);
        return true;
    }
    SetTileShown(currentTile, false);
    return false;
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
    if (late_)
        strip_.tilePos[c] =
            LateEntryCoordinate(t, alternationPhase, strip_.tilePos[c], ScreenBox());
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

bool MonitorShow::EnterTile() {
    const int t = EffectiveTransition(transition_);
    if (IsAnimated(t)) {
        Animate(t, true);
        return true;
    }
    SetTileShown(currentTile, true);
    return false;
}

void MonitorShow::Animate(int transition, bool entering) {
    // The frames come with the steps, which the timer brings every frame's time meanwhile:
    // input is heard between any two, and every monitor animates at once.
    change_ = entering ? Change::Entering : Change::Leaving;
    changeTransition_ = transition;
    changeBase_ = strip_.TileBox(currentTile);
    changeFrom_ = GetTickCount();
    lastFrame_ = -1;
    stepTimer.SetInterval(kFrameMs);
    stepTimer.SetEnabled(true);
    DrawDueFrame();
}

void MonitorShow::DrawDueFrame() {
    const int i = FrameToDraw(lastFrame_, unsigned(GetTickCount() - changeFrom_));
    if (i < 0) return;
    lastFrame_ = i;
    const bool entering = change_ == Change::Entering;
    const int c = currentTile, k = entering ? i : kAnimationLast - i;
    const Box s = ScreenBox();
    const Box frame = entering ? EnterFrame(changeTransition_, k, changeBase_, s)
                               : LeaveFrame(changeTransition_, k, changeBase_, s);
    ApplyMoves({{c, strip_.TileBox(c), frame}});
    if (entering && k == 0) SetTileShown(c, true);
    if (i < kAnimationLast) return;
    change_ = Change::None;
    if (entering) {
        EndRefill();
    } else {
        SetTileShown(c, false);
        PutNextFile();
    }
}
