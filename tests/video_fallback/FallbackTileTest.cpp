// Phone clips in the saver's tiles where only Media Foundation can play them: every clip
// option holds as it does with MCI (the rules themselves are tested with MCI's clips).
#include <gtest/gtest.h>

#include <algorithm>

#include "Globals/Random.h"
#include "tests/support/ClipRig.h"

using cliprig::ClipOptions;
using cliprig::ClipScreen;
using cliprig::Media;
using tk::MediaMode;

namespace {

long Pos(tk::MediaPlayer& p) {
    return p.Position().value_or(-1);
}

// Centred, at its natural size or enlarged within the limit, moving, black around.
TEST(FallbackTile, CentralClipShowsFittedAndMoves) {
    struct Case {
        const wchar_t* name;
        int grow;
        RECT tile;
    } cases[] = {
        {L"silent.mp4", 1, {352, 264, 672, 504}},
        {L"silent.mov", 2, {192, 144, 832, 624}},
        {L"silent.3gp", 9, {42, 0, 981, 768}}, // 176 x 144, stopped by the height
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " x" << c.grow);
        ClipOptions o;
        o.transition = 4;
        o.grow = c.grow;
        ClipScreen screen(o, 1, true);
        ASSERT_TRUE(screen.Start(0, Media(c.name)));
        ASSERT_TRUE(screen.Player(0).DrawsFrames());
        const RECT box = screen.Box(0);
        EXPECT_EQ(box.left, c.tile.left);
        EXPECT_EQ(box.top, c.tile.top);
        EXPECT_EQ(box.right, c.tile.right);
        EXPECT_EQ(box.bottom, c.tile.bottom);
        const RECT inner = {c.tile.left + 4, c.tile.top + 4, c.tile.right - 4, c.tile.bottom - 4};
        ASSERT_TRUE(WaitUntil([&] { return cliprig::LitShare(ReadScreen(inner)) > 0.5; }, 2000));
        const auto first = ReadScreen(inner);
        EXPECT_TRUE(WaitUntil([&] { return ReadScreen(inner) != first; }, 1000))
            << "the picture moves";
        const RECT around[] = {{0, 0, 1024, c.tile.top - 1},
                               {0, c.tile.bottom + 1, 1024, 768},
                               {0, c.tile.top, c.tile.left - 1, c.tile.bottom},
                               {c.tile.right + 1, c.tile.top, 1024, c.tile.bottom}};
        for (const RECT& r : around) {
            if (r.right > r.left && r.bottom > r.top) {
                EXPECT_EQ(cliprig::LitShare(ReadScreen(r)), 0.0) << "black around it";
            }
        }
    }
}

// Play when visible: the tile enters showing its first frame, and the clip plays once the
// tile is wholly in.
TEST(FallbackTile, EntersOnItsFirstFrameThenPlays) {
    ClipOptions o;
    o.transition = 1; // leftward: the right edge enters last
    o.fromVisible = true;
    ClipScreen screen(o, 1, true);
    tk::MediaPlayer& player = screen.Player(0);
    ASSERT_TRUE(screen.Start(0, Media(L"silent.mp4"), 1024, 0));
    EXPECT_EQ(player.Mode(), MediaMode::Paused);
    EXPECT_EQ(Pos(player), 0);
    for (int x = 1024 - 80; x > 1024 - 320; x -= 80) {
        screen.MoveTo(0, x);
        RedrawWindow(screen->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        screen->PlayWhenVisible(0);
        const RECT b = screen.Box(0);
        EXPECT_TRUE(WaitUntil(
            [&] {
                return cliprig::LitShare(ReadScreen({b.left, b.top + 4, 1024, b.bottom - 4})) > 0.5;
            },
            2000))
            << "at " << x;
        EXPECT_EQ(player.Mode(), MediaMode::Paused);
        EXPECT_EQ(Pos(player), 0);
    }
    screen.MoveTo(0, 1024 - 320);
    screen->PlayWhenVisible(0);
    EXPECT_EQ(player.Mode(), MediaMode::Playing);
    PumpFor(300);
    EXPECT_GT(Pos(player), 150);
}

TEST(FallbackTile, RandomStartThenLoopsFromZero) {
    ClipOptions o;
    o.transition = 2;
    o.fromVisible = true; // stands on the frame of its random start
    o.randomStart = true;
    o.loop = true;
    ClipScreen screen(o);
    tk::MediaPlayer& player = screen.Player(0);
    std::vector<long> starts;
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
        SetRandomSeed(seed);
        ASSERT_TRUE(screen.Start(0, Media(L"silent.mov"), -1024, 0));
        EXPECT_EQ(player.Mode(), MediaMode::Paused);
        starts.push_back(Pos(player));
        EXPECT_GE(starts.back(), 0);
        EXPECT_LE(starts.back(), 2000);
    }
    std::sort(starts.begin(), starts.end());
    EXPECT_NE(starts.front(), starts.back()) << "the start is drawn anew for each clip";

    screen.MoveTo(0, 100);
    screen->PlayWhenVisible(0);
    ASSERT_TRUE(WaitUntil([&] { return player.Mode() == MediaMode::Stopped; }, 4000));
    screen->CheckClipLoop(0);
    EXPECT_EQ(player.Mode(), MediaMode::Playing);
    PumpFor(100);
    EXPECT_LT(Pos(player), 600) << "a restart begins at the start";
}

// The central tile's display time, and its keeping while a clip plays whole.
TEST(FallbackTile, CentralDisplayTimeFollowsTheOptions) {
    struct Case {
        int pause;
        bool loop, whole;
        long low, high; // the timer's interval, in ms
    } cases[] = {
        {30, false, false, 1800, 2000}, // gives way when it ends
        {30, true, false, 30000, 30000},
        {1, false, false, 1000, 1000}, // cut after P
        {1, false, true, 1800, 2000},  // plays to its end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.pause << " s, loop " << c.loop << ", whole " << c.whole);
        ClipOptions o;
        o.transition = 7;
        o.pause = c.pause;
        o.loop = c.loop;
        o.whole = c.whole;
        ClipScreen screen(o);
        ASSERT_TRUE(screen.Start(0, Media(L"silent.mp4")));
        EXPECT_GE(long(screen->stepTimer.Interval()), c.low);
        EXPECT_LE(long(screen->stepTimer.Interval()), c.high);
        if (!c.whole) continue;
        EXPECT_TRUE(screen->ClipStillRunning(0));
        ASSERT_TRUE(WaitUntil([&] { return screen.Player(0).Mode() == MediaMode::Stopped; }, 4000));
        EXPECT_FALSE(screen->ClipStillRunning(0));
    }
}

} // namespace
