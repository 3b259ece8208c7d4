// The player in a prefix whose DirectShow has no MP4 splitter, as on a stock Windows: MCI
// cannot open the phone clips there, and the player plays them through Media Foundation,
// drawing the frames itself. MPEG-1 and AVI still go to MCI.
#include <gtest/gtest.h>

#include "tests/support/Photos.h"
#include "tests/support/TempDir.h"
#include "tests/support/ClipRig.h"
#include "toolkit/Counters.h"
#include "toolkit/Log.h"
#include "toolkit/MediaPlayer.h"
#include "toolkit/Panel.h"

using cliprig::Media;
using tk::MediaMode;

namespace {

class FallbackTest : public ::testing::Test {
  protected:
    bool Open(const std::wstring& path) { return rig_.Open(path); }
    long Pos() { return rig_.Pos(); }
    std::vector<uint32_t> Picture(int w, int h) { return ReadScreen({4, 4, w - 4, h - 4}); }

    cliprig::PlayerOnPanel rig_{L"FallbackTestHost", true};
    tk::MediaPlayer& player_ = rig_.player;
};

// The phone clips, and MPEG-1, which this prefix's DirectShow cannot open either (its MPEG
// splitter goes with the same parser). MPEG-1 stamps its first frame at 540 ms, the MP4s at
// 80 ms or 0: each clip's first frame is its zero.
TEST_F(FallbackTest, ClipsMciCannotOpenPlayThroughMediaFoundation) {
    struct Case {
        const wchar_t* name;
        int w, h;
    } cases[] = {{L"silent.mp4", 320, 240},
                 {L"silent.mov", 320, 240},
                 {L"silent.3gp", 176, 144},
                 {L"clip.m4v", 320, 240},
                 {L"clip.mpg", 320, 240}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        ASSERT_TRUE(Open(Media(c.name)));
        EXPECT_TRUE(player_.DrawsFrames());
        EXPECT_TRUE(player_.HasPicture());
        EXPECT_EQ(player_.NaturalSize().cx, c.w);
        EXPECT_EQ(player_.NaturalSize().cy, c.h);
        EXPECT_EQ(player_.Mode(), MediaMode::Stopped) << "opened, as MCI opens it";
        EXPECT_EQ(Pos(), 0);
        // (Wine's reader tells the MPEG-1 file 160 ms short; its frames run their 2 s.)
        EXPECT_NEAR(player_.Length().value_or(0), 2000, 200);
        PumpFor(100);
        EXPECT_GT(cliprig::LitShare(Picture(c.w, c.h)), 0.5) << "its first frame shows";

        ASSERT_TRUE(player_.Play());
        EXPECT_EQ(player_.Mode(), MediaMode::Playing);
        const auto first = Picture(c.w, c.h);
        EXPECT_TRUE(WaitUntil([&] { return Picture(c.w, c.h) != first; }, 1000))
            << "the picture moves";
        PumpFor(300);
        EXPECT_GT(Pos(), 200);
        player_.Close();
        EXPECT_FALSE(player_.IsOpen());
        EXPECT_EQ(player_.Mode(), MediaMode::NotReady);
    }
}

TEST_F(FallbackTest, MciStillPlaysWhatItCan) {
    ASSERT_TRUE(Open(Media(L"clip.avi")));
    EXPECT_FALSE(player_.DrawsFrames());
}

TEST_F(FallbackTest, PausesOnItsFrameAndResumesWhereItWas) {
    ASSERT_TRUE(Open(Media(L"silent.mp4")));
    ASSERT_TRUE(player_.Play());
    PumpFor(500);
    ASSERT_TRUE(player_.Pause());
    EXPECT_FALSE(player_.Pause()) << "only a playing clip pauses";
    EXPECT_EQ(player_.Mode(), MediaMode::Paused);
    const long at = Pos();
    PumpFor(100);
    const auto still = Picture(320, 240);
    PumpFor(300);
    EXPECT_EQ(Pos(), at);
    EXPECT_EQ(Picture(320, 240), still) << "the frame stands";
    ASSERT_TRUE(player_.Play());
    PumpFor(300);
    EXPECT_GT(Pos(), at + 150);
    EXPECT_LT(Pos(), at + 800) << "on from the pause, not from the start";
}

// Its last frame lasts its own 40 ms: the clip ends at 2 s, the length its file tells. Played
// again, with or without a seek to its start, it starts from its start.
TEST_F(FallbackTest, EndsStoppedOnItsEndThenPlaysAgainFromTheStart) {
    ASSERT_TRUE(Open(Media(L"silent.mp4")));
    ASSERT_TRUE(player_.Play());
    ASSERT_TRUE(WaitUntil([&] { return player_.Mode() == MediaMode::Stopped; }, 4000));
    EXPECT_NEAR(player_.Length().value_or(-1), 2000, 100) << "the length after the end";
    EXPECT_EQ(Pos(), player_.Length().value_or(-1)) << "stopped on its end";
    EXPECT_TRUE(tk::HoldsClip(player_.Mode()));
    EXPECT_FALSE(player_.Seek(5000)) << "beyond the end";
    ASSERT_TRUE(player_.Play());
    EXPECT_EQ(player_.Mode(), MediaMode::Playing);
    PumpFor(300);
    EXPECT_GT(Pos(), 150);
    EXPECT_LT(Pos(), 800) << "from its start";
    ASSERT_TRUE(player_.Pause());
    ASSERT_TRUE(player_.Seek(0));
    EXPECT_EQ(Pos(), 0);
}

// A clip shown smaller than it is (in the settings' preview) is averaged, not sampled: a
// checkerboard of single pixels shows as an even grey.
TEST_F(FallbackTest, AClipShownSmallerIsAveraged) {
    ASSERT_TRUE(Open(Media(L"checker.mp4")));
    ASSERT_TRUE(player_.SetDisplaySize(32, 24));
    PumpFor(100);
    for (uint32_t pixel : ReadScreen({2, 2, 30, 22}))
        ASSERT_NEAR(int(pixel & 0xFF), 128, 24) << std::hex << pixel;
}

TEST_F(FallbackTest, StartPositionShowsItsFrame) {
    ASSERT_TRUE(Open(Media(L"silent.mp4")));
    PumpFor(100);
    const auto first = Picture(320, 240);
    player_.SetStartPosition(1200);
    ASSERT_TRUE(player_.Play());
    ASSERT_TRUE(player_.Pause());
    EXPECT_NEAR(Pos(), 1200, 60);
    EXPECT_TRUE(WaitUntil([&] { return Picture(320, 240) != first; }, 1000))
        << "the paused clip shows the frame it starts from";
}

// Each is dropped with a line in the log, at once, and leaves nothing open.
TEST_F(FallbackTest, FilesNoPlayerCanShowAreRefused) {
    TempDir dir;
    const std::wstring corrupt = dir / L"corrupt.mp4", empty = dir / L"empty.mp4";
    MakeCorruptFile(corrupt);
    WriteFileBytes(empty, "");
    struct Case {
        std::wstring path;
        const wchar_t* why;
    } cases[] = {{corrupt, L"does not begin like a video"},
                 {empty, L"does not begin like a video"},
                 {Media(L"soundonly.mp4"), L"no picture"},
                 // Wine's reader decodes as it opens: noise in the picture stream fails there.
                 // (A reader that opens it fails at its first frame: "no frame of it".)
                 {Media(L"undecodable.mp4"), L"cannot read it"},
                 {Media(L"huge.mp4"), L"budget"}};
    const long players = tk::Counts().framePlayers;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(c.path));
        tk::LogCapture log;
        EXPECT_FALSE(Open(c.path));
        EXPECT_FALSE(player_.IsOpen());
        EXPECT_EQ(player_.Mode(), MediaMode::NotReady);
        EXPECT_TRUE(log.Holds(L"Media Foundation cannot play it either")) << log.Lines().size();
        EXPECT_TRUE(log.Holds(c.why));
        EXPECT_EQ(tk::Counts().framePlayers, players);
    }
    EXPECT_TRUE(Open(Media(L"silent.3gp"))) << "the next clip plays";
}

} // namespace
