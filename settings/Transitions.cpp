#include "settings/Transitions.h"

#include "settings/Settings.h"
#include "settings/IniValue.h"

bool IsKnownTransition(int number) {
    return number >= 1 && number <= kTransitionCount;
}

const TransitionInfo& TransitionOf(int number) {
    return kTransitions[IsKnownTransition(number) ? number - 1 : 0];
}

bool IsCentralTransition(int number) {
    return TransitionOf(number).family == TransitionFamily::Central;
}

const std::vector<int>& CentralTransitionsDrawn() {
    static const std::vector<int> drawn = [] {
        std::vector<int> numbers;
        for (const TransitionInfo& t : kTransitions)
            if (t.family == TransitionFamily::Central && t.change != CentralChange::Random)
                numbers.push_back(t.number);
        return numbers;
    }();
    return drawn;
}

std::vector<int> ListedTransitions(const std::wstring& transitionList) {
    std::vector<int> listed;
    for (const std::wstring& piece : SplitString(L";", transitionList)) {
        auto number = ParseIniInt(piece);
        if (number && IsKnownTransition(*number)) listed.push_back(*number);
    }
    return listed;
}

std::vector<int> UsableTransitions(const std::wstring& transitionList) {
    std::vector<int> usable = ListedTransitions(transitionList);
    if (usable.empty())
        for (const TransitionInfo& t : kTransitions)
            usable.push_back(t.number);
    return usable;
}
