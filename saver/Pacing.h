#pragma once
#include <optional>

// The slideshow timer's interval in ms: the display time for the central transitions,
// 10000 / defdelay rounded (halves to even) for the moving ones, and none when defdelay is
// 1000, where the strip steps at every turn of the message loop.
std::optional<unsigned> StepTimerInterval(int transition, int defpause, int defdelay);
