#include "saver/MonitorLayout.h"

#include <algorithm>

namespace {
TBox Intersection(const TBox& a, const TBox& b) {
    const long long left = std::max(a.left, b.left), top = std::max(a.top, b.top);
    const long long right = std::min(1LL * a.left + a.width, 1LL * b.left + b.width);
    const long long bottom = std::min(1LL * a.top + a.height, 1LL * b.top + b.height);
    if (right <= left || bottom <= top) return {};
    return {int(left), int(top), int(right - left), int(bottom - top)};
}

bool Overlap(const TBox& a, const TBox& b) {
    const TBox both = Intersection(a, b);
    return both.width > 0 && both.height > 0;
}
} // namespace

std::vector<TShowPlace> LayOutShows(const TBox& virtualScreen,
                                    const std::vector<TMonitor>& monitors, int tilesPerShow) {
    tilesPerShow = std::max(1, tilesPerShow);
    std::vector<TShowPlace> shows;
    if (virtualScreen.width <= 0 || virtualScreen.height <= 0) return shows;
    if (monitors.empty())
        return {
            {{0, 0, virtualScreen.width, virtualScreen.height}, tilesPerShow, true, virtualScreen}};

    // The primary monitor first: it holds the start banner and the progress texts.
    std::vector<TMonitor> ordered;
    for (const TMonitor& m : monitors)
        if (m.primary) ordered.push_back(m);
    for (const TMonitor& m : monitors)
        if (!m.primary) ordered.push_back(m);
    bool primaryPlaced = false;
    for (const TMonitor& m : ordered) {
        if (int(shows.size()) >= kMaxShows) break;
        const TBox seen = Intersection(m.box, virtualScreen);
        if (seen.width < kMinShowSide || seen.height < kMinShowSide) continue;
        bool overlaps = false;
        for (const TShowPlace& s : shows)
            overlaps = overlaps || Overlap(s.monitor, seen);
        if (overlaps) continue;
        TBox box = seen;
        box.left -= virtualScreen.left;
        box.top -= virtualScreen.top;
        // Should the system name no primary monitor, the first one shown takes its part.
        const bool primary = m.primary || !primaryPlaced;
        primaryPlaced = primaryPlaced || primary;
        shows.push_back({box, tilesPerShow, primary, seen});
    }
    if (shows.empty()) return shows;

    long long pixels = 0;
    for (const TShowPlace& s : shows)
        pixels += 1LL * s.box.width * s.box.height;
    if (pixels * tilesPerShow > kTilePixelBudget) {
        const int tiles = int(std::max(1LL, kTilePixelBudget / pixels));
        for (TShowPlace& s : shows)
            s.tiles = std::min(s.tiles, tiles);
    }
    return shows;
}

bool CoversWindow(const std::vector<TShowPlace>& shows, const TBox& virtualScreen) {
    return shows.size() == 1 &&
           shows[0].box == TBox{0, 0, virtualScreen.width, virtualScreen.height};
}

std::vector<int> KeptShows(const std::vector<TShowPlace>& before, bool beforeInWindow,
                           const std::vector<TShowPlace>& after, bool afterInWindow) {
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
