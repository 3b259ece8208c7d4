#include <gtest/gtest.h>

#include "saver/ClipRules.h"

namespace {

struct FitCase {
    int w, h, CW, CH, grow;
    int expectW, expectH;
    const char* why;
};

TEST(FitClipSize, Table) {
    const FitCase cases[] = {
        {320, 240, 1024, 768, 1, 320, 240, "natural size at 1"},
        {320, 240, 1024, 768, 0, 320, 240, "0 or less keeps it too"},
        {320, 240, 1024, 768, 2, 640, 480, "enlarged twice"},
        {320, 240, 1024, 768, 9, 1024, 768, "the window stops it at 3.2"},
        {352, 288, 1024, 768, 3, 939, 768, "768/288 rules: 938.67 rounds up"},
        {352, 288, 1024, 768, 9, 939, 768, "same with room to spare"},
        {1920, 1080, 1024, 768, 1, 1024, 576, "to the height (1365 x 768), then the width"},
        {1920, 1080, 1024, 768, 9, 1024, 576, "a shrunk clip is never enlarged"},
        {1024, 768, 1024, 768, 9, 1024, 768, "exactly the window"},
        {2048, 100, 1024, 768, 1, 1024, 50, "only too wide"},
        {100, 1536, 1024, 768, 1, 50, 768, "only too tall"},
        {100, 50, 1024, 768, 9, 900, 450, "the factor stops at 9"},
        // Halves go to the even neighbour, in both directions of the fit.
        {3, 2, 1000, 3, 9, 4, 3, "enlarged by 1.5: 4.5 -> 4"},
        {5, 2, 1000, 3, 9, 8, 3, "enlarged by 1.5: 7.5 -> 8"},
        {5, 4, 100, 2, 1, 2, 2, "halved: 2.5 -> 2"},
        {7, 4, 100, 2, 1, 4, 2, "halved: 3.5 -> 4"},
        // The width step works from the rounded result of the height step.
        {30, 20, 14, 10, 1, 14, 9, "15 x 10, then 14 x 9.33"},
        {0, 240, 1024, 768, 2, 0, 0, "no width: no size"},
        {320, 0, 1024, 768, 2, 0, 0, "no height: no size"},
        {-320, 240, 1024, 768, 2, 0, 0, "negative sizes do not reach the fit"},
    };
    for (const FitCase& c : cases) {
        SIZE s = FitClipSize(c.w, c.h, c.CW, c.CH, c.grow);
        EXPECT_EQ(s.cx, c.expectW) << c.why;
        EXPECT_EQ(s.cy, c.expectH) << c.why;
    }
}

struct TimeCase {
    long interval, remaining;
    bool loop, whole;
    long expect;
    const char* why;
};

TEST(ClipDisplayTime, OptionsTable) {
    // P = 30 s; a 10-second clip and a 60-second clip, under the four combinations.
    const TimeCase cases[] = {
        {30000, 10000, false, false, 10000, "gives way when it ends"},
        {30000, 10000, false, true, 10000, "gives way when it ends"},
        {30000, 10000, true, false, 30000, "loops until P is up"},
        {30000, 10000, true, true, 30000, "loops; the tile keeps it anyway"},
        {30000, 60000, false, false, 30000, "cut after P"},
        {30000, 60000, false, true, 60000, "plays to its end"},
        {30000, 60000, true, false, 30000, "cut after P"},
        {30000, 60000, true, true, 60000, "plays whole"},
        {30000, 30000, false, false, 30000, "exactly P counts as not longer"},
        {30000, 30001, false, true, 30001, "one ms longer"},
        // Nothing left to play: the tile keeps the picture's display time, never 0.
        {30000, 0, false, false, 30000, "a clip of length 0"},
        {30000, -5, false, false, 30000, "a position past the end"},
        {30000, 0, true, true, 30000, "whatever the options"},
        {30000, 1, false, false, 1, "one ms left is still a time"},
    };
    for (const TimeCase& c : cases)
        EXPECT_EQ(ClipDisplayTime(c.interval, c.remaining, c.loop, c.whole), c.expect) << c.why;
}

TEST(ClipKeepsTile, OnlyAnOpenClipThatHasNotStopped) {
    using M = tk::MediaMode;
    struct Case {
        bool whole, hidden, open;
        M mode;
        bool expect;
    } cases[] = {
        {true, true, true, M::Playing, true},
        {true, true, true, M::Paused, true},
        {true, true, true, M::Open, true},
        {true, true, true, M::Seeking, true},
        {true, true, true, M::NotReady, true},
        {true, true, true, M::Stopped, false},
        {false, true, true, M::Playing, false},
        {true, false, true, M::Playing, false},
        // A tile whose player holds no clip (the unused tiles of a central transition)
        // must not hold up the refills.
        {true, true, false, M::NotReady, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClipKeepsTile(c.whole, c.hidden, c.open, c.mode), c.expect)
            << c.whole << c.hidden << c.open << int(c.mode);
}

TEST(ClipTile, FullyEnteredAndNotYetGoneByTravel) {
    const int W = 1024, H = 768;
    // A 200 x 100 panel with its left or top at p.
    auto h = [](int p) { return RECT{p, 300, p + 200, 400}; };
    auto v = [](int p) { return RECT{400, p, 600, p + 100}; };
    struct Case {
        int transition, phase;
        RECT panel;
        int pos;
        bool entered, notGone;
    } cases[] = {
        {1, 0, h(824), 824, true, true},     // right edge on the window's edge
        {1, 0, h(825), 825, false, true},    // one pixel still outside
        {1, 0, h(-199), -199, true, true},   // leaving, a column still shows
        {1, 0, h(-200), -200, true, false},  // gone
        {2, 0, h(0), 0, true, true},         // left edge on the window's edge
        {2, 0, h(-1), -1, false, true},      //
        {2, 0, h(1023), 1023, true, true},   //
        {2, 0, h(1024), 1024, true, false},  //
        {3, 1, h(825), 825, false, true},    // forward phases go as 1
        {3, 2, h(825), 825, true, true},     // backward phases as 2
        {3, 3, h(-1), -1, false, true},      //
        {11, 0, v(668), 668, true, true},    // bottom edge on the window's edge
        {11, 0, v(669), 669, false, true},   //
        {11, 0, v(-100), -100, true, false}, //
        {12, 0, v(-1), -1, false, true},     //
        {12, 0, v(768), 768, true, false},   //
        {13, 0, v(669), 669, false, true},   // as 11
        {13, 2, v(-1), -1, false, true},     // as 12
        {13, 3, v(767), 767, true, true},    //
        {5, 0, h(-500), -500, true, true},   // central: no travel
    };
    for (const Case& c : cases) {
        const int width = c.panel.right - c.panel.left, height = c.panel.bottom - c.panel.top;
        EXPECT_EQ(ClipTileFullyEntered(c.transition, c.phase, c.panel, W, H), c.entered)
            << "transition " << c.transition << " phase " << c.phase << " at " << c.pos;
        EXPECT_EQ(ClipTileNotYetGone(c.transition, c.phase, c.pos, width, height, W, H), c.notGone)
            << "transition " << c.transition << " phase " << c.phase << " at " << c.pos;
    }
}

} // namespace
