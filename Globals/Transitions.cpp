#include "Globals/Transitions.h"

bool IsKnownTransition(int number) {
    return number >= 1 && number <= kTransitionCount;
}

const TransitionInfo& TransitionOf(int number) {
    return kTransitions[IsKnownTransition(number) ? number - 1 : 0];
}
