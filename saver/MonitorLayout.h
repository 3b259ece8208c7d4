#pragma once
// Where the shows go: the saver window covers the virtual screen, and each monitor gets a
// show of its own in its monitor's rectangle of that window. Computed from the rectangles the
// system reports, so that every arrangement (side by side, unequal, left of or above the
// primary, broken, too many) is checked without monitors of one's own.
#include <vector>

#include "saver/Geometry.h"

// A monitor as the system reports it, in virtual-screen coordinates (the primary monitor's
// top-left corner is (0, 0); others may lie at negative coordinates).
struct Monitor {
    Box box;
    bool primary = false;
};

// One show: its rectangle in the saver window's client coordinates and its tiles.
struct ShowPlace {
    Box box;
    int tiles = 0;
    bool primary = false;
    Box monitor; // the monitor it stands for, in virtual-screen coordinates
    bool operator==(const ShowPlace&) const = default;
};

// A monitor narrower or lower than this (a broken driver's 1x1, say) has no room for a
// picture worth the name: it is covered black and gets no show.
constexpr int kMinShowSide = 32;
// A video wall of more monitors than this shows on the first ones; the rest stay black.
constexpr int kMaxShows = 16;
// Each tile keeps a picture fitted to its monitor. All tiles together hold at most this many
// pixels (two 3840x2160 monitors with 20 tiles each, about 1.3 GB of bitmaps): with more or
// larger monitors every show gets fewer tiles, one at least.
constexpr long long kTilePixelBudget = 2LL * 20 * 3840 * 2160;

// The shows for these monitors on a saver window over the virtual screen, the primary one
// first, then the others in the system's order. Each monitor is cut to the virtual screen;
// one that is too small, or that overlaps a monitor already placed (a mirrored display), gets
// no show. Without any monitor (the system could not say), one show covers the whole window.
std::vector<ShowPlace> LayOutShows(const Box& virtualScreen, const std::vector<Monitor>& monitors,
                                   int tilesPerShow);

// The show covers the whole window: its tiles can live in the window itself, as on a PC with
// one monitor.
bool CoversWindow(const std::vector<ShowPlace>& shows, const Box& virtualScreen);

// After a change of the monitors: for each new show, the old show that goes on in its place
// (its index in before), or -1 for a show built anew. A show goes on when its monitor kept its
// place and size and its tiles their number, and its tiles stay where they live (the window
// itself, or a stage). The old shows that no new one takes are dropped.
std::vector<int> KeptShows(const std::vector<ShowPlace>& before, bool beforeInWindow,
                           const std::vector<ShowPlace>& after, bool afterInWindow);
