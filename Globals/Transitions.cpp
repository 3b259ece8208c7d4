#include "Globals/Transitions.h"

#include "Globals/Globals.h"
#include "Globals/IniValue.h"

bool IsKnownTransition(int number) {
    return number >= 1 && number <= kTransitionCount;
}

const TransitionInfo& TransitionOf(int number) {
    return kTransitions[IsKnownTransition(number) ? number - 1 : 0];
}

std::vector<int> UsableTransitions(const std::wstring& transitionList) {
    std::vector<int> usable;
    for (const std::wstring& piece : SplitString(L";", transitionList)) {
        auto number = ParseIniInt(piece);
        if (number && IsKnownTransition(*number)) usable.push_back(*number);
    }
    if (usable.empty())
        for (const TransitionInfo& t : kTransitions)
            usable.push_back(t.number);
    return usable;
}
