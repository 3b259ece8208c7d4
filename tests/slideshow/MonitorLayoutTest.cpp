// Where the shows go on the monitors, and which shows go on when the monitors change: tables
// of arrangements, without monitors of the test's own.
#include <gtest/gtest.h>

#include "saver/MonitorLayout.h"

namespace {

struct LayoutCase {
    const char* what;
    Box screen; // the virtual screen
    std::vector<Monitor> monitors;
    int tiles;
    std::vector<Box> boxes; // the shows, in the window, the primary one first
    int tilesEach;          // the first show is the primary one, which holds the texts
};

TEST(MonitorLayout, EachMonitorGetsItsRectangleOfTheWindow) {
    const Box hd{0, 0, 1920, 1080};
    std::vector<Monitor> wall; // five by four, the primary in the middle of the top row
    for (int k = 0; k < 20; ++k)
        wall.push_back({{1920 * (k % 5 - 2), 1080 * (k / 5), 1920, 1080}, k == 2});
    // clang-format off
    const LayoutCase cases[] = {
        {"one monitor", {0, 0, 1024, 768}, {{{0, 0, 1024, 768}, true}}, 7, {{0, 0, 1024, 768}}, 7},
        {"two equal", {0, 0, 2048, 768}, {{{0, 0, 1024, 768}, true}, {{1024, 0, 1024, 768}}}, 3,
         {{0, 0, 1024, 768}, {1024, 0, 1024, 768}}, 3},
        {"the primary listed second", {0, 0, 2048, 768},
         {{{1024, 0, 1024, 768}}, {{0, 0, 1024, 768}, true}}, 3,
         {{0, 0, 1024, 768}, {1024, 0, 1024, 768}}, 3},
        {"unequal", {0, 0, 2304, 1024}, {{{0, 0, 1024, 768}, true}, {{1024, 0, 1280, 1024}}}, 5,
         {{0, 0, 1024, 768}, {1024, 0, 1280, 1024}}, 5},
        {"left of the primary", {-1280, 0, 2304, 1024},
         {{{0, 0, 1024, 768}, true}, {{-1280, 0, 1280, 1024}}}, 5,
         {{1280, 0, 1024, 768}, {0, 0, 1280, 1024}}, 5},
        {"above the primary", {0, -600, 1024, 1368},
         {{{0, 0, 1024, 768}, true}, {{100, -600, 800, 600}}}, 2,
         {{0, 600, 1024, 768}, {100, 0, 800, 600}}, 2},
        {"a 1x1 monitor stays black", {0, 0, 1025, 768},
         {{{0, 0, 1024, 768}, true}, {{1024, 0, 1, 1}}}, 4, {{0, 0, 1024, 768}}, 4},
        {"smaller than a tile: black; the smallest shown", {0, 0, 1088, 768},
         {{{0, 0, 1024, 768}, true}, {{1024, 0, 31, 400}}, {{1056, 0, 32, 32}}}, 4,
         {{0, 0, 1024, 768}, {1056, 0, 32, 32}}, 4},
        {"a broken primary hands the texts on", {0, 0, 1025, 768},
         {{{1024, 0, 1, 1}, true}, {{0, 0, 1024, 768}}}, 4, {{0, 0, 1024, 768}}, 4},
        {"no primary named", {0, 0, 2048, 768}, {{{1024, 0, 1024, 768}}, {{0, 0, 1024, 768}}}, 2,
         {{1024, 0, 1024, 768}, {0, 0, 1024, 768}}, 2},
        {"a mirrored display is one show", {0, 0, 1024, 768},
         {{{0, 0, 1024, 768}, true}, {{0, 0, 1024, 768}}}, 3, {{0, 0, 1024, 768}}, 3},
        {"cut to the virtual screen", {0, 0, 1500, 768},
         {{{0, 0, 1024, 768}, true}, {{1024, 0, 1024, 768}}}, 3,
         {{0, 0, 1024, 768}, {1024, 0, 476, 768}}, 3},
        {"the system lists none", {-10, 0, 800, 600}, {}, 3, {{0, 0, 800, 600}}, 3},
        {"no tiles asked for", {0, 0, 1024, 768}, {{{0, 0, 1024, 768}, true}}, 0, {{0, 0, 1024, 768}}, 1},
        {"two 4K monitors keep their 20 tiles", {0, 0, 7680, 2160},
         {{{0, 0, 3840, 2160}, true}, {{3840, 0, 3840, 2160}}}, 20,
         {{0, 0, 3840, 2160}, {3840, 0, 3840, 2160}}, 20},
        {"three 4K monitors share the pixels", {0, 0, 11520, 2160},
         {{{0, 0, 3840, 2160}, true}, {{3840, 0, 3840, 2160}}, {{7680, 0, 3840, 2160}}}, 20,
         {{0, 0, 3840, 2160}, {3840, 0, 3840, 2160}, {7680, 0, 3840, 2160}}, 13},
        {"past the pixels of one tile each, one tile each all the same", {0, 0, 49152, 16384},
         {{{0, 0, 16384, 16384}, true}, {{16384, 0, 16384, 16384}}, {{32768, 0, 16384, 16384}}}, 5,
         {{0, 0, 16384, 16384}, {16384, 0, 16384, 16384}, {32768, 0, 16384, 16384}}, 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto shows = LayOutShows(c.screen, c.monitors, c.tiles);
        ASSERT_EQ(shows.size(), c.boxes.size());
        for (size_t i = 0; i < shows.size(); ++i) {
            EXPECT_EQ(shows[i].box, c.boxes[i]) << "show " << i;
            EXPECT_EQ(shows[i].tiles, c.tilesEach) << "show " << i;
            EXPECT_EQ(shows[i].primary, i == 0) << "show " << i;
        }
        const Box whole{0, 0, c.screen.width, c.screen.height};
        EXPECT_EQ(CoversWindow(shows, c.screen), c.boxes.size() == 1 && c.boxes[0] == whole);
    }

    // Twenty monitors: the first sixteen in the system's order after the primary, each with
    // fewer tiles, so that their pictures stay within the pixels of two 4K monitors.
    const auto shows = LayOutShows({-3840, 0, 5 * 1920, 4 * 1080}, wall, 20);
    ASSERT_EQ(int(shows.size()), kMaxShows);
    EXPECT_EQ(shows[0].box, (Box{3840, 0, 1920, 1080}));
    long long pixels = 0;
    for (const auto& s : shows) {
        EXPECT_EQ(s.tiles, 10);
        EXPECT_EQ(s.box.width, hd.width);
        pixels += 1LL * s.tiles * s.box.width * s.box.height;
    }
    EXPECT_LE(pixels, kTilePixelBudget);
    EXPECT_TRUE(LayOutShows({0, 0, 0, 0}, wall, 20).empty()) << "no window, no show";
}

TEST(MonitorLayout, AShowGoesOnWhileItsMonitorStaysAsItWas) {
    auto place = [](Box monitor, int tiles = 3) {
        ShowPlace p;
        p.monitor = monitor;
        p.tiles = tiles;
        return p;
    };
    const Box a{0, 0, 1024, 768}, b{1024, 0, 1024, 768}, c{-800, 0, 800, 600};
    const struct {
        const char* what;
        std::vector<ShowPlace> before;
        bool beforeInWindow;
        std::vector<ShowPlace> after;
        bool afterInWindow;
        std::vector<int> kept;
    } cases[] = {
        {"nothing changed", {place(a), place(b)}, false, {place(a), place(b)}, false, {0, 1}},
        {"one added on the left",
         {place(a), place(b)},
         false,
         {place(a), place(c), place(b)},
         false,
         {0, -1, 1}},
        {"one taken away",
         {place(a), place(b), place(c)},
         false,
         {place(a), place(c)},
         false,
         {0, 2}},
        {"a second monitor: the first leaves the window for a stage",
         {place(a)},
         true,
         {place(a), place(b)},
         false,
         {-1, -1}},
        {"back to one: it takes the window", {place(a), place(b)}, false, {place(a)}, true, {-1}},
        {"a monitor of a new size",
         {place(a), place(b)},
         false,
         {place(a), place({1024, 0, 1280, 1024})},
         false,
         {0, -1}},
        {"fewer tiles each",
         {place(a), place(b)},
         false,
         {place(a, 2), place(b, 2)},
         false,
         {-1, -1}},
        {"two shows for one monitor never",
         {place(a)},
         false,
         {place(a), place(a)},
         false,
         {0, -1}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        EXPECT_EQ(KeptShows(k.before, k.beforeInWindow, k.after, k.afterInWindow), k.kept);
    }
}

} // namespace
