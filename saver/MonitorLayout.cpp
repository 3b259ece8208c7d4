#include "saver/MonitorLayout.h"

#include <algorithm>

namespace {
Box Intersection(const Box& a, const Box& b) {
    const long long left = std::max(a.left, b.left), top = std::max(a.top, b.top);
    const long long right = std::min(1LL * a.left + a.width, 1LL * b.left + b.width);
    const long long bottom = std::min(1LL * a.top + a.height, 1LL * b.top + b.height);
    if (right <= left || bottom <= top) return {};
    return {int(left), int(top), int(right - left), int(bottom - top)};
}

bool Overlap(const Box& a, const Box& b) {
    const Box both = Intersection(a, b);
    return both.width > 0 && both.height > 0;
}
} // namespace

std::vector<ShowPlace> LayOutShows(const Box& virtualScreen, const std::vector<Monitor>& monitors,
                                   int tilesPerShow) {
    tilesPerShow = std::max(1, tilesPerShow);
    std::vector<ShowPlace> shows;
    if (virtualScreen.width <= 0 || virtualScreen.height <= 0) return shows;
    if (monitors.empty())
        return {
            {{0, 0, virtualScreen.width, virtualScreen.height}, tilesPerShow, true, virtualScreen}};

    // The primary monitor first: it holds the start banner and the progress texts.
    std::vector<Monitor> ordered;
    for (const Monitor& m : monitors)
        if (m.primary) ordered.push_back(m);
    for (const Monitor& m : monitors)
        if (!m.primary) ordered.push_back(m);
    bool primaryPlaced = false;
    for (const Monitor& m : ordered) {
        if (int(shows.size()) >= kMaxShows) break;
        const Box seen = Intersection(m.box, virtualScreen);
        if (seen.width < kMinShowSide || seen.height < kMinShowSide) continue;
        bool overlaps = false;
        for (const ShowPlace& s : shows)
            overlaps = overlaps || Overlap(s.monitor, seen);
        if (overlaps) continue;
        Box box = seen;
        box.left -= virtualScreen.left;
        box.top -= virtualScreen.top;
        // Should the system name no primary monitor, the first one shown takes its part.
        const bool primary = m.primary || !primaryPlaced;
        primaryPlaced = primaryPlaced || primary;
        shows.push_back({box, tilesPerShow, primary, seen});
    }
    if (shows.empty()) return shows;

    long long pixels = 0;
    for (const ShowPlace& s : shows)
        pixels += 1LL * s.box.width * s.box.height;
    if (pixels * tilesPerShow > kTilePixelBudget) {
        const int tiles = int(std::max(1LL, kTilePixelBudget / pixels));
        for (ShowPlace& s : shows)
            s.tiles = std::min(s.tiles, tiles);
    }
    return shows;
}

bool CoversWindow(const std::vector<ShowPlace>& shows, const Box& virtualScreen) {
    return shows.size() == 1 &&
           shows[0].box == Box{0, 0, virtualScreen.width, virtualScreen.height};
}

std::vector<int> KeptShows(const std::vector<ShowPlace>& before, bool beforeInWindow,
                           const std::vector<ShowPlace>& after, bool afterInWindow) {
    std::vector<int> kept(after.size(), -1);
    if (beforeInWindow != afterInWindow) return kept;
    std::vector<char> taken(before.size(), 0);
    for (size_t a = 0; a < after.size(); ++a)
        for (size_t b = 0; b < before.size(); ++b)
            if (!taken[b] && before[b].monitor == after[a].monitor &&
                before[b].tiles == after[a].tiles) {
                kept[a] = int(b);
                taken[b] = 1;
                break;
            }
    return kept;
}
