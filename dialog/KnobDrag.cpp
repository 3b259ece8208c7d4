#include "dialog/KnobDrag.h"

#include <algorithm>

const KnobRange& DragRange(Knob knob) {
    switch (knob) {
    case Knob::Step:
        return kStepKnobDrag;
    case Knob::Speed:
        return kSpeedKnobDrag;
    default:
        return kPauseKnobDrag;
    }
}

std::optional<int> DraggedKnobLeft(Knob knob, int pointerX, int grabOffset) {
    if (grabOffset <= 0) return std::nullopt;
    const int left = pointerX - grabOffset;
    const KnobRange& range = DragRange(knob);
    if (left < range.lowest || left > range.highest) return std::nullopt;
    return left;
}

int NudgedKnobLeft(Knob knob, int left, int delta) {
    const KnobRange& range = DragRange(knob);
    const int moved = left + delta;
    if (moved < range.lowest) return std::min(left, range.lowest);
    return std::min(moved, range.highest);
}

std::vector<std::pair<Knob, std::wstring>> HintsForKnobAt(Knob knob, int left, int stepLeft,
                                                          int speedLeft) {
    switch (knob) {
    case Knob::Step: {
        const int step = kStepKnobScale.ValueAt(left);
        return {{Knob::Step, StepHint(step)},
                {Knob::Speed, SpeedHint(step, kSpeedKnobScale.ValueAt(speedLeft))}};
    }
    case Knob::Speed:
        return {{Knob::Speed,
                 SpeedHint(kStepKnobScale.ValueAt(stepLeft), kSpeedKnobScale.ValueAt(left))}};
    default:
        return {{Knob::Pause, PauseHint(kPauseKnobScale.ValueAt(left))}};
    }
}
