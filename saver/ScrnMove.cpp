// TScrn's movement: the timer only marks a step as due; an idle turn of the message loop
// then sends WM_STEP, whose handler runs the clip checks of every show and, when a step is
// due, moves every show's strip or lets the display time of a central transition end.
#include "Globals/Globals.h"
#include "saver/Pacing.h"
#include "saver/Ssave.h"

void TScrn::Timer1Timer() { StepDue = true; }

void TScrn::MoveStep() {
    for (const auto& show : shows_)
        show->CheckClips();
    if (!StepMoves(StepDue, Settings.ActiveTransition, Settings.defdelay)) return;
    for (const auto& show : shows_)
        show->Step();
    StepDue = false;
}
