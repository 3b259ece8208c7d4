#pragma once
// The thirteen transitions, each described once: its number (what "optransition" stores),
// its name on the settings page, and how its tiles go. The geometry, the settings' clamp, the
// dialog's list and the start banner all read this table.
#include <array>
#include <string>
#include <vector>

// Which way a tile travels across the screen; Still for the central tiles.
enum class Travel { Leftward, Rightward, Upward, Downward, Still };

enum class TransitionFamily {
    Strip,            // a strip of tiles travelling one way
    AlternatingStrip, // a strip that turns back at every second refill
    Central,          // one centred tile that changes after a display time
};

enum class TransitionAxis { Horizontal, Vertical, None };

// How a central tile gives way to the next.
enum class CentralChange {
    None,       // a strip: not central
    Cut,        // the new picture replaces the old at once
    GrowShrink, // the old one shrinks to nothing, the new one grows from nothing
    Slide,      // the old one slides out one way, the new one slides in the same way
    Random,     // one of the others, drawn at every change
};

struct TransitionInfo {
    int number;
    const wchar_t* name;
    TransitionFamily family;
    TransitionAxis axis;
    // A strip's way at the start (an alternating strip goes the other way in its backward
    // phases); the way a sliding central tile moves; Still otherwise.
    Travel direction;
    CentralChange change;
};

constexpr int kTransitionCount = 13;
namespace transition_table {
using F = TransitionFamily;
using A = TransitionAxis;
using T = Travel;
using C = CentralChange;

// clang-format off
inline constexpr std::array<TransitionInfo, kTransitionCount> kTransitions = {{
    {1,  L"Horizontale droite/gauche",       F::Strip,            A::Horizontal, T::Leftward,  C::None},
    {2,  L"Horizontale gauche/droite",       F::Strip,            A::Horizontal, T::Rightward, C::None},
    {3,  L"Horizontale alternée",            F::AlternatingStrip, A::Horizontal, T::Leftward,  C::None},
    {4,  L"Centrale",                        F::Central,          A::None,       T::Still,     C::Cut},
    {5,  L"Centrale+apparition/disparition", F::Central,          A::None,       T::Still,     C::GrowShrink},
    {6,  L"Centrale+droite/gauche",          F::Central,          A::None,       T::Leftward,  C::Slide},
    {7,  L"Centrale+gauche/droite",          F::Central,          A::None,       T::Rightward, C::Slide},
    {8,  L"Centrale+bas/haut",               F::Central,          A::None,       T::Upward,    C::Slide},
    {9,  L"Centrale+haut/bas",               F::Central,          A::None,       T::Downward,  C::Slide},
    {10, L"Centrale+aléatoire",              F::Central,          A::None,       T::Still,     C::Random},
    {11, L"Verticale bas/haut",              F::Strip,            A::Vertical,   T::Upward,    C::None},
    {12, L"Verticale haut/bas",              F::Strip,            A::Vertical,   T::Downward,  C::None},
    {13, L"Verticale alternée",              F::AlternatingStrip, A::Vertical,   T::Upward,    C::None},
}};
// clang-format on
} // namespace transition_table
using transition_table::kTransitions;

// Each row's number is its place in the table.
constexpr bool TransitionsInOrder() {
    for (int i = 0; i < kTransitionCount; ++i)
        if (kTransitions[i].number != i + 1) return false;
    return true;
}
static_assert(TransitionsInOrder());

bool IsKnownTransition(int number); // 1 to 13
// The row of a transition number; a number outside 1..13 never reaches the saver's geometry
// (it picks among the known ones), and should one come it is read as transition 1.
const TransitionInfo& TransitionOf(int number);
// A central transition (4 to 10): one centred tile that changes after the display time.
bool IsCentralTransition(int number);

// The central transitions that the random one (10) draws from at each change: every other
// central one (4 to 9), in order.
const std::vector<int>& CentralTransitionsDrawn();

// The transition numbers of a stored "optransition" list, the one reading rule that the
// dialog ticks by and the saver plays by: the pieces between ";" (a leading one is optional)
// that are whole numbers 1 to 13, in order; the others are left out.
std::vector<int> ListedTransitions(const std::wstring& transitionList);
// The transitions the saver draws from: those listed, or all thirteen for a list without
// one, so that a hand-edited list never leaves the saver without a transition.
std::vector<int> UsableTransitions(const std::wstring& transitionList);
