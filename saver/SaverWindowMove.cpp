// SaverWindow's movement: the timer only marks a step as due; an idle turn of the message loop
// then sends WM_STEP, whose handler runs the clip checks of every show and, when a step is
// due, moves every show's strip or lets the display time of a central transition end.
#include <algorithm>
#include <climits>

#include "settings/Settings.h"
#include "settings/Pacing.h"
#include "saver/SaverWindow.h"

void SaverWindow::OnStepTick() {
    stepDue = true;
}

void SaverWindow::MoveOneStep() {
    for (const auto& show : shows_)
        show->CheckClips();
    if (!StepMoves(stepDue, transition_, settings_.stepsPerTenSeconds)) return;
    const bool central = IsCentralTransition(transition_);
    if (central && shows_.size() > 1) {
        // The shows' display times run apart (a clip may hold its tile longer, or end sooner):
        // each tick ends those that are over, and the timer waits for the next one, or for
        // the next frame while a change animates. A refill may load for a while, during
        // which input waits: with input waiting the other monitors change at the next tick,
        // after the input has been handled.
        bool inputWaits = false;
        for (size_t i = 0; i < shows_.size() && !inputWaits; ++i) {
            MonitorShow& show = *shows_[i];
            if (show.Animating() || show.DisplayOver(GetTickCount())) show.Step();
            inputWaits = (HIWORD(GetQueueStatus(QS_INPUT)) & QS_INPUT) != 0;
        }
        const DWORD now = GetTickCount();
        unsigned next = UINT_MAX;
        for (const auto& show : shows_)
            if (show->Animating())
                next = std::min(next, kFrameMs);
            else if (const unsigned left = show->DisplayLeft(now))
                next = std::min(next, left);
        if (inputWaits) next = USER_TIMER_MINIMUM;
        if (next != UINT_MAX) stepTimer.SetInterval(next);
    } else {
        for (const auto& show : shows_)
            show->Step();
    }
    stepDue = false;
}

void SaverWindow::OnPictureReady() {
    bool waits = false;
    for (const auto& show : shows_) {
        show->CollectAhead();
        show->FillFirstTiles();
        waits = waits || show->RefillWaits();
    }
    // The banner announces the start; once a picture is on its way it would only show
    // through the gaps of the strip.
    if (HasCanvasTexts() && Loads() > 0) ClearCanvasTexts();
    // A moving strip takes its late tile at its next step, a few milliseconds away; a central
    // tile's next step may be a display time away.
    if (waits && IsCentralTransition(transition_)) {
        stepDue = true;
        stepTimer.SetInterval(USER_TIMER_MINIMUM);
    }
}

void SaverWindow::TakeWorkersResults() {
    if (closed_ || scanDepth_ > 0) return;
    if (scan_) OnScanFound();
    if (!showStarted_) return;
    for (const auto& show : shows_)
        if (show->AheadDone()) {
            OnPictureReady();
            return;
        }
}
