#include "dialog/KnobDrag.h"

#include <algorithm>

const TKnobRange& DragRange(TKnob knob) {
    switch (knob) {
    case TKnob::Step: return kStepKnobDrag;
    case TKnob::Speed: return kSpeedKnobDrag;
    default: return kPauseKnobDrag;
    }
}

std::optional<int> DraggedKnobLeft(TKnob knob, int pointerX, int grabOffset) {
    if (grabOffset <= 0) return std::nullopt;
    const int left = pointerX - grabOffset;
    const TKnobRange& range = DragRange(knob);
    if (left < range.lowest || left > range.highest) return std::nullopt;
    return left;
}

int NudgedKnobLeft(TKnob knob, int left, int delta) {
    const TKnobRange& range = DragRange(knob);
    const int moved = left + delta;
    if (moved < range.lowest) return std::min(left, range.lowest);
    return std::min(moved, range.highest);
}

std::vector<std::pair<TKnob, std::wstring>> HintsForKnobAt(TKnob knob, int left, int stepLeft,
                                                           int speedLeft) {
    switch (knob) {
    case TKnob::Step: {
        const int step = StepFromKnob(left);
        return {{TKnob::Step, StepHint(step)},
                {TKnob::Speed, SpeedHint(step, DelayFromKnob(speedLeft))}};
    }
    case TKnob::Speed:
        return {{TKnob::Speed, SpeedHint(StepFromKnob(stepLeft), DelayFromKnob(left))}};
    default:
        return {{TKnob::Pause, PauseHint(PauseFromKnob(left))}};
    }
}
