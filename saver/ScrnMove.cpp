// TScrn's movement: the timer only marks a step as due; an idle turn of the message loop
// then sends WM_STEP, whose handler runs the clip checks of every show and, when a step is
// due, moves every show's strip or lets the display time of a central transition end.
#include <algorithm>
#include <climits>

#include "Globals/Globals.h"
#include "saver/Pacing.h"
#include "saver/Ssave.h"

void TScrn::Timer1Timer() {
    StepDue = true;
}

void TScrn::MoveStep() {
    for (const auto& show : shows_)
        show->CheckClips();
    if (!StepMoves(StepDue, Settings.ActiveTransition, Settings.defdelay)) return;
    const bool central = IsCentralTransition(Settings.ActiveTransition);
    if (central && shows_.size() > 1) {
        // The shows' display times run apart (a clip may hold its tile longer, or end sooner):
        // each tick ends those that are over, and the timer waits for the next one.
        for (const auto& show : shows_) // (an animation of the one before takes two seconds)
            if (show->DisplayOver(GetTickCount())) show->Step();
        const DWORD now = GetTickCount();
        unsigned next = UINT_MAX;
        for (const auto& show : shows_)
            if (const unsigned left = show->DisplayLeft(now)) next = std::min(next, left);
        if (next != UINT_MAX) Timer1.SetInterval(next);
    } else {
        for (const auto& show : shows_)
            show->Step();
    }
    StepDue = false;
}
