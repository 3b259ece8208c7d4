#include "saver/Pacing.h"

#include <cmath>

#include "saver/Geometry.h"

std::optional<unsigned> StepTimerInterval(int transition, int defpause, int defdelay) {
    if (IsCentralTransition(transition)) return CentralDisplayMs(defpause);
    if (StepsEveryTurn(transition, defdelay)) return std::nullopt;
    return StripStepMs(defdelay);
}

unsigned StripStepMs(int defdelay) {
    if (defdelay <= 0) defdelay = 1; // only a hand-edited file holds one; slowest pace
    long double ms = std::nearbyint(10000.0L / (long double)defdelay);
    return ms < 1 ? 1u : unsigned(ms);
}

unsigned CentralDisplayMs(int defpause) {
    return unsigned(defpause) * 1000u;
}

bool StepsEveryTurn(int transition, int defdelay) {
    return !IsCentralTransition(transition) && defdelay == 1000;
}

bool StepMoves(bool stepDue, int transition, int defdelay) {
    return stepDue || StepsEveryTurn(transition, defdelay);
}

bool ClipWatchWanted(bool loop, bool clipOpen, unsigned stepGapMs) {
    return loop && clipOpen && stepGapMs > kClipWatchMs;
}
