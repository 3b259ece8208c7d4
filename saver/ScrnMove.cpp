// TScrn's movement: the timer only marks a step as due; an idle turn of the message loop
// then sends WM_STEP, whose handler runs the clip checks and, when a step is due, moves the
// strip or lets the display time of a central transition end.
#include "Globals/Globals.h"
#include "saver/Pacing.h"
#include "saver/Ssave.h"

void TScrn::Timer1Timer() { StepDue = true; }

void TScrn::MoveStep() {
    for (int i = 0; i < strip_.TileCount; ++i)
        CheckClipLoop(i);
    if (!StepMoves(StepDue, Settings.ActiveTransition, Settings.defdelay)) return;
    if (IsCentral()) {
        // Tiles 1 and up are never filled; their calls only turn CurTile round to 0.
        for (int i = 0; i < strip_.TileCount; ++i)
            if (strip_.TileShown(i) && !ClipStillRunning(i)) TimerTimer();
    } else {
        MoveStrip();
    }
    StepDue = false;
}

void TScrn::MoveStrip() {
    const TBox s = ScreenBox();
    const TTravel travel = TravelOf(Settings.ActiveTransition, AltPhase);
    moves_.clear();
    int gone = 0;
    for (int i = 0; i < strip_.TileCount; ++i) {
        if (!strip_.TileShown(i)) continue;
        const TBox box = strip_.TileBox(i);
        const TStep step =
            StepTile(travel, strip_.TilePos[i], box.width, box.height, Settings.defspeed, s);
        if (step.refill) {
            ++gone;
            continue;
        }
        strip_.TilePos[i] = step.pos;
        const TBox moved = MovedBox(travel, box, step.pos);
        if (OnScreen(moved, s)) strip_.Seen[i] = true;
        moves_.push_back({i, box, moved});
    }
    ApplyMoves(moves_);
    for (const Move& m : moves_) PlayWhenVisible(m.tile);
    // The tiles that have left are refilled once the rest of the strip has made its step:
    // a tile placed behind one that was still to move in this step would come defspeed
    // pixels too far behind it (the strip's first tile behind its last one, and every tile
    // of the backward phases, whose neighbour comes after them in index order).
    for (int k = 0; k < gone; ++k) TimerTimer();
}
