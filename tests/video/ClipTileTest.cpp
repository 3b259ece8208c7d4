// Clips in the saver's tiles, with the real devices: sizing, waiting until visible, looping,
// the display time of the central transitions, and the files that are dropped.
#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "tests/support/ClipTileChecks.h"
#include "toolkit/Counters.h"
#include "toolkit/Log.h"

using namespace cliprig;
using tk::MediaMode;

namespace {

TEST(ClipTile, PanelTakesTheFittedSize) {
    // In the 1024 x 768 window; a strip's tile is centred across its travel (its place along
    // the travel is the strip's business), a central one both ways.
    struct Case {
        const wchar_t* name;
        int transition, grow;
        int w, h, left, top; // -1: not given by the size
    } cases[] = {
        {L"clip.avi", 4, 1, 320, 240, 352, 264},
        {L"clip.mpg", 4, 2, 640, 480, 192, 144},     // twice its size
        {L"clip.avi", 5, 9, 1024, 768, 0, 0},        // the window stops it at 3.2
        {L"large.avi", 6, 1, 1024, 768, 0, 0},       // 1280 x 960 shrunk to the screen
        {L"clip.mov", 1, 1, 160, 120, -1, 324},      // horizontal strip
        {L"bottomup.avi", 11, 2, 320, 240, 352, -1}, // vertical strip
        {L"clip.3gp", 5, 9, 939, 768, 42, 0},        // 176 x 144, set by the height
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " transition " << c.transition);
        SettingsRecord o = ClipSettings(c.transition);
        o.clipMaxGrowth = c.grow;
        ClipScreen screen(o);
        const int left = c.transition <= 3 ? 1024 : 0, top = c.transition >= 11 ? 768 : 0;
        ASSERT_TRUE(screen.Start(0, Media(c.name), left, top));
        RECT box = screen.Box(0);
        EXPECT_EQ(box.right - box.left, c.w);
        EXPECT_EQ(box.bottom - box.top, c.h);
        if (c.left >= 0) {
            EXPECT_EQ(box.left, c.left);
        }
        if (c.top >= 0) {
            EXPECT_EQ(box.top, c.top);
        }
        RECT drawn;
        ASSERT_TRUE(screen.Player(0).DisplayRect(drawn));
        EXPECT_EQ(drawn.right, c.w) << "the clip fills its tile";
        EXPECT_EQ(drawn.bottom, c.h);
        EXPECT_FALSE(screen->Strip().pictures[0]->Visible());
        EXPECT_EQ(screen.Player(0).Mode(), MediaMode::Playing);
    }
}

// A phone clip filmed upright (or upside down) stands as filmed, in a tile of its upright size:
// the white top-left quarter of its stored picture shows in the corner its turn takes it to.
// MCI could open these clips here, but not turn them. A matrix that is no quarter turn leaves
// the clip as stored, with a line in the log.
TEST(ClipTile, TurnedClipsStandAsFilmed) {
    struct Case {
        const wchar_t* name;
        int w, h, lit; // the quarter lit: 0 top left, 1 top right, 2 bottom left, 3 bottom right
    } cases[] = {{L"turn90.mp4", 180, 320, 1},
                 {L"turn180.mov", 320, 180, 3},
                 {L"turn270.3gp", 144, 176, 2},
                 {L"slanted.mp4", 320, 180, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        tk::LogCapture log;
        ClipScreen screen(ClipSettings(4), 1, true);
        ASSERT_TRUE(screen.Start(0, Media(c.name)));
        const RECT b = screen.Box(0);
        EXPECT_EQ(b.right - b.left, c.w);
        EXPECT_EQ(b.bottom - b.top, c.h);
        auto quarterLit = [&](int i) {
            const int left = b.left + i % 2 * c.w / 2, top = b.top + i / 2 * c.h / 2;
            return LitShare(ReadScreen({left + 4, top + 4, left + c.w / 2 - 4, top + c.h / 2 - 4}));
        };
        ASSERT_TRUE(WaitUntil([&] { return quarterLit(c.lit) > 0.9; }, 3000));
        for (int i = 0; i < 4; ++i)
            if (i != c.lit) {
                EXPECT_LT(quarterLit(i), 0.1) << "quarter " << i;
            }
        EXPECT_EQ(log.Holds(L"no quarter turn"), c.lit == 0);
    }
}

TEST(ClipTile, WaitsPausedUntilTheTileIsFullyIn) {
    for (const wchar_t* name : {L"clip.avi", L"clip.mpg"}) {
        SCOPED_TRACE(testing::Message() << name);
        // Leftward: the right edge enters last.
        ClipScreen screen(ClipSettings(1, {&SettingsRecord::clipPlaysWhenVisible}));
        ASSERT_TRUE(screen.Start(0, Media(name), 1024, 0));
        screen.MoveTo(0, 1024);
        tk::MediaPlayer& player = screen.Player(0);
        EXPECT_EQ(player.Mode(), MediaMode::Paused);
        const long first = Pos(player);
        EXPECT_LT(first, 200);

        screen.MoveTo(0, 1024 - 319); // one column still outside
        screen->PlayWhenVisible(0);
        PumpFor(300);
        EXPECT_EQ(player.Mode(), MediaMode::Paused);
        EXPECT_EQ(Pos(player), first);

        screen.MoveTo(0, 1024 - 320);
        screen->PlayWhenVisible(0);
        EXPECT_EQ(player.Mode(), MediaMode::Playing);
        PumpFor(300);
        EXPECT_GT(Pos(player), first + 100);
    }
}

TEST(ClipTile, PausedClipShowsItsFrameWhileEntering) {
    // The devices draw the frames they play, into the part of the window that shows; the
    // player has the still frame drawn as the panel comes in from off the screen, also
    // when the clip was paused where it showed and its tile went off the screen since.
    for (const wchar_t* name : {L"clip.avi", L"clip.mpg", L"clip.mp4"}) {
        for (int pausedAt : {1024, 0}) {
            SCOPED_TRACE(testing::Message() << name << " paused at " << pausedAt);
            ClipScreen screen(ClipSettings(1, {&SettingsRecord::clipPlaysWhenVisible}), 1, true);
            ASSERT_TRUE(screen.Start(0, Media(name), pausedAt, 0));
            for (int x : {pausedAt, 1024}) {
                screen.MoveTo(0, x);
                RedrawWindow(screen->Canvas(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                PumpFor(100);
            }
            // The DirectShow device draws the frame 10 to 30 ms after the move here, more
            // under the suite's load.
            ExpectFrameShownWhileEntering(screen, 5000);
            const long still = Pos(screen.Player(0));
            screen.MoveTo(0, 1024 - 320);
            screen->PlayWhenVisible(0);
            PumpFor(300);
            EXPECT_GT(Pos(screen.Player(0)), still + 100) << "and plays on from it";
        }
    }
}

TEST(ClipTile, WithoutWaitingPlaysOutsideTheScreen) {
    // Downward, entering from above.
    ClipScreen screen(ClipSettings(12));
    ASSERT_TRUE(screen.Start(0, Media(L"clip.avi"), 0, -768));
    EXPECT_EQ(screen.Player(0).Mode(), MediaMode::Playing);
}

TEST(ClipTile, RandomStartThenLoopsFromZero) {
    ExpectRandomStartThenLoopsFromZero(L"clip.avi");
}

TEST(ClipTile, LoopsOnlyWhileTheTileIsOnTheScreen) {
    for (const wchar_t* name : {L"short.avi", L"short.mpg"}) {
        SCOPED_TRACE(testing::Message() << name);
        ClipScreen screen(ClipSettings(1, {&SettingsRecord::clipLoops}));
        tk::MediaPlayer& player = screen.Player(0);
        ASSERT_TRUE(screen.Start(0, Media(name), 1000, 0));
        screen.MoveTo(0, 1000); // 160 wide, still entering
        ASSERT_TRUE(WaitUntil([&] { return player.Mode() == MediaMode::Stopped; }, 4000));
        screen->CheckClipLoop(0);
        EXPECT_EQ(player.Mode(), MediaMode::Stopped) << "waits on its end while entering";

        screen.MoveTo(0, 500);
        screen->CheckClipLoop(0);
        EXPECT_EQ(player.Mode(), MediaMode::Playing);

        screen.MoveTo(0, -159); // leaving, one column left
        ASSERT_TRUE(WaitUntil([&] { return player.Mode() == MediaMode::Stopped; }, 4000));
        screen->CheckClipLoop(0);
        EXPECT_EQ(player.Mode(), MediaMode::Playing);

        screen.MoveTo(0, -160); // gone
        ASSERT_TRUE(WaitUntil([&] { return player.Mode() == MediaMode::Stopped; }, 4000));
        screen->CheckClipLoop(0);
        EXPECT_EQ(player.Mode(), MediaMode::Stopped);
    }
}

TEST(ClipTile, WithoutLoopAClipStaysOnItsEnd) {
    ClipScreen screen(ClipSettings(4));
    tk::MediaPlayer& player = screen.Player(0);
    ASSERT_TRUE(screen.Start(0, Media(L"short.avi")));
    ASSERT_TRUE(WaitUntil([&] { return player.Mode() == MediaMode::Stopped; }, 4000));
    screen->CheckClipLoop(0);
    EXPECT_EQ(player.Mode(), MediaMode::Stopped);
    EXPECT_TRUE(tk::HoldsClip(player.Mode())) << "it keeps its tile until the refill";
}

// The central tile's display time against a 2-second clip, and its keeping while the clip
// plays whole.
TEST(ClipTile, CentralDisplayTimeFollowsTheOptions) {
    ExpectCentralDisplayTimeFollowsTheOptions(L"clip.avi");
}

TEST(ClipTile, CentralTileIsKeptWhileItsClipPlaysWhole) {
    for (const wchar_t* name : {L"short.avi", L"short.mpg"}) {
        SCOPED_TRACE(testing::Message() << name);
        ClipScreen screen(ClipSettings(4, {&SettingsRecord::clipPlaysWhole}), 3);
        tk::MediaPlayer& player = screen.Player(0);
        ASSERT_TRUE(screen.Start(0, Media(name)));
        EXPECT_TRUE(screen->ClipStillRunning(0));
        EXPECT_FALSE(screen->ClipStillRunning(1)) << "a tile without a clip holds nothing up";
        ASSERT_TRUE(WaitUntil([&] { return player.Mode() == MediaMode::Stopped; }, 4000));
        EXPECT_FALSE(screen->ClipStillRunning(0));

        screen.SetOption(&SettingsRecord::clipLoops, true); // looping: it keeps the tile for good
        screen->CheckClipLoop(0);
        EXPECT_TRUE(screen->ClipStillRunning(0));
        screen.SetOption(&SettingsRecord::clipPlaysWhole, false);
        EXPECT_FALSE(screen->ClipStillRunning(0));
    }
}

TEST(ClipTile, FilesWithoutAPictureAreDropped) {
    // Which files the player cannot open is its own tests' business; here, one it cannot
    // open and one without a picture.
    TempDir dir;
    const long devices = tk::Counts().mciDevices;
    ClipScreen screen(ClipSettings(4));
    for (const std::wstring& path : {Media(L"sound.mpa"), dir / L"vanished.mov"}) {
        tk::LogCapture log;
        EXPECT_FALSE(screen.Start(0, path)) << testing::PrintToString(path);
        // Dropped without a word to the user, but with the device's error for developers.
        EXPECT_TRUE(log.Holds(L"clip " + path + L" dropped")) << testing::PrintToString(path);
        EXPECT_FALSE(screen.Player(0).IsOpen());
        EXPECT_EQ(screen.Player(0).Mode(), MediaMode::NotReady);
        EXPECT_EQ(tk::Counts().mciDevices, devices);
    }
    // The next file of the refill's loop opens in the same tile.
    EXPECT_TRUE(screen.Start(0, Media(L"short.avi")));
}

// What the saver shows with a central transition: the clip centred at its natural size or
// enlarged, moving, and nothing drawn outside its tile.
TEST(ClipTile, CentralClipShowsAndMoves) {
    const CentralClip clips[] = {
        {L"clip.avi", 1, {352, 264, 672, 504}},     {L"clip.avi", 2, {192, 144, 832, 624}},
        {L"clip.mpg", 1, {352, 264, 672, 504}},     {L"clip.mpg", 2, {192, 144, 832, 624}},
        {L"bottomup.avi", 2, {352, 264, 672, 504}}, // uncompressed, stored bottom-up
        {L"clip.mp4", 1, {352, 264, 672, 504}},     {L"clip.m4v", 2, {192, 144, 832, 624}},
        {L"clip.3gp", 2, {336, 240, 688, 528}},
    };
    // The DirectShow device holds its first frame for most of a second here.
    for (const CentralClip& clip : clips)
        ExpectCentralClipShowsAndMoves(clip, 3000, 1500);
}

} // namespace
