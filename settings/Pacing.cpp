#include "settings/Pacing.h"

#include <cmath>

#include "settings/Transitions.h"

std::optional<unsigned> StepTimerInterval(int transition, int displaySeconds,
                                          int stepsPerTenSeconds) {
    if (IsCentralTransition(transition)) return CentralDisplayMs(displaySeconds);
    if (StepsEveryTurn(transition, stepsPerTenSeconds)) return std::nullopt;
    return StripStepMs(stepsPerTenSeconds);
}

unsigned StripStepMs(int stepsPerTenSeconds) {
    if (stepsPerTenSeconds <= 0)
        stepsPerTenSeconds = 1; // only a hand-edited file holds one; slowest pace
    long double ms = std::nearbyint(10000.0L / (long double)stepsPerTenSeconds);
    return ms < 1 ? 1u : unsigned(ms);
}

unsigned CentralDisplayMs(int displaySeconds) {
    return unsigned(displaySeconds) * 1000u;
}

bool StepsEveryTurn(int transition, int stepsPerTenSeconds) {
    return !IsCentralTransition(transition) && stepsPerTenSeconds == 1000;
}

bool StepMoves(bool stepDue, int transition, int stepsPerTenSeconds) {
    return stepDue || StepsEveryTurn(transition, stepsPerTenSeconds);
}

bool ClipWatchWanted(bool loop, bool clipOpen, unsigned stepGapMs) {
    return loop && clipOpen && stepGapMs > kClipWatchMs;
}
