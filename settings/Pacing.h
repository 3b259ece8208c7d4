#pragma once
#include <optional>

// The slideshow timer's interval in ms: the display time for the central transitions,
// 10000 / stepsPerTenSeconds rounded (halves to even) for the moving ones, and none when
// stepsPerTenSeconds is 1000, where the strip steps at every turn of the message loop.
std::optional<unsigned> StepTimerInterval(int transition, int displaySeconds,
                                          int stepsPerTenSeconds);
// The gap between two steps of a moving strip in ms: 10000 / stepsPerTenSeconds, rounded with
// halves to even, at least 1. The timer runs at it and the speed knob's hint tells it, so they
// agree.
unsigned StripStepMs(int stepsPerTenSeconds);
// The display time of a central tile in ms (displaySeconds is in seconds).
unsigned CentralDisplayMs(int displaySeconds);

// A strip at full speed (stepsPerTenSeconds 1000) has no timer: it steps at every turn of the loop.
bool StepsEveryTurn(int transition, int stepsPerTenSeconds);

// Whether a movement step moves the strip (or lets a central display time end): after a
// tick of the timer, and at every turn of the loop for a strip at full speed, which has no
// timer.
bool StepMoves(bool stepDue, int transition, int stepsPerTenSeconds);

// How often the loop looks at the clips when nothing else wakes it: a looping clip that has
// ended is started again within about one step of the default pace.
constexpr unsigned kClipWatchMs = 10;

// Whether the clip watch has to wake the loop between steps: a looping clip is open and the
// steps come further apart than the watch (stepGapMs 0: a step at every turn).
bool ClipWatchWanted(bool loop, bool clipOpen, unsigned stepGapMs);
