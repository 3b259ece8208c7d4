#pragma once
// Dragging the three knobs of the settings page, and moving them with the arrow keys: where
// a knob goes and which hints change, apart from the buttons that show it.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialog/DialogValues.h"

enum class Knob { Step, Speed, DisplayTime };

const layout::KnobTrack& TrackOf(Knob knob);

// Where a drag brings a knob: the pointer's x in the settings page less the grab offset,
// which stays under the pointer. Nothing when no drag is in progress (an offset of 0: the
// press was on the knob's leftmost column, or none) or when that place is outside the
// knob's range: the knob then stays at the last place it reached.
std::optional<int> DraggedKnobLeft(Knob knob, int pointerX, int grabOffset);

// An arrow key moves the focused knob by one pixel within the same range; a knob that ShowSettings
// placed one pixel short of the range only moves into it.
int NudgedKnobLeft(Knob knob, int left, int delta);

// The hints that change when `knob` moves to `left`, given where the step and speed knobs
// stand: the step knob's own and the speed knob's (which names the step), the speed knob's,
// or the display time's.
std::vector<std::pair<Knob, std::wstring>> HintsForKnobAt(Knob knob, int left, int stepLeft,
                                                          int speedLeft);
