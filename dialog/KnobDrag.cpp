#include "dialog/KnobDrag.h"

#include <algorithm>

const layout::KnobTrack& TrackOf(Knob knob) {
    switch (knob) {
    case Knob::Step:
        return layout::kStepTrack;
    case Knob::Speed:
        return layout::kSpeedTrack;
    default:
        return layout::kDisplayTimeTrack;
    }
}

std::optional<int> DraggedKnobLeft(Knob knob, int pointerX, int grabOffset) {
    if (grabOffset <= 0) return std::nullopt;
    const int left = pointerX - grabOffset;
    const layout::KnobTrack& track = TrackOf(knob);
    if (left < track.lowest || left > track.highest) return std::nullopt;
    return left;
}

int NudgedKnobLeft(Knob knob, int left, int delta) {
    const layout::KnobTrack& track = TrackOf(knob);
    const int moved = left + delta;
    if (moved < track.lowest) return std::min(left, track.lowest);
    return std::min(moved, track.highest);
}

std::vector<std::pair<Knob, std::wstring>> HintsForKnobAt(Knob knob, int left, int stepLeft,
                                                          int speedLeft) {
    switch (knob) {
    case Knob::Step: {
        const int step = layout::kStepTrack.ValueAt(left);
        return {{Knob::Step, StepHint(step)},
                {Knob::Speed, SpeedHint(step, layout::kSpeedTrack.ValueAt(speedLeft))}};
    }
    case Knob::Speed:
        return {{Knob::Speed, SpeedHint(layout::kStepTrack.ValueAt(stepLeft),
                                        layout::kSpeedTrack.ValueAt(left))}};
    default:
        return {{Knob::DisplayTime, DisplayTimeHint(layout::kDisplayTimeTrack.ValueAt(left))}};
    }
}
