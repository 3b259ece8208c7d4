// The player over the platform's real MCI devices: the AVI device and the DirectShow one
// ("mpegvideo") must look alike to the saver.
#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "tests/support/ClipRig.h"
#include "toolkit/Counters.h"
#include "toolkit/MediaPlayer.h"
#include "toolkit/Panel.h"

using cliprig::Media;
using tk::MediaMode;

namespace {

// A black panel on a plain window, the way a tile shows a clip.
class PlayerTest : public ::testing::Test {
  protected:
    bool Open(const std::wstring& name) { return rig_.Open(Media(name)); }
    long Pos() { return rig_.Pos(); }

    cliprig::PlayerOnPanel rig_{L"PlayerTestHost", false};
    tk::Window& host_ = rig_.host;
    tk::Panel& panel_ = rig_.panel;
    tk::MediaPlayer& player_ = rig_.player;
};

// The two devices, the DirectShow one also with a phone's H.264 and sound; the clips are
// alike (320 x 240, 2 seconds). A clip with sound used to hang that device for good in the
// close that followed a resume.
const wchar_t* const kBothDevices[] = {L"clip.avi", L"clip.mpg", L"clip.mp4"};

TEST_F(PlayerTest, WithoutAClipNeverPausedOrStopped) {
    EXPECT_EQ(player_.Mode(), MediaMode::NotReady);
    EXPECT_FALSE(player_.Play());
    EXPECT_FALSE(player_.Pause());
    EXPECT_FALSE(player_.Seek(0));
    EXPECT_FALSE(player_.Length().has_value());
    EXPECT_EQ(player_.Mode(), MediaMode::NotReady);

    EXPECT_FALSE(Open(L"missing.avi"));
    EXPECT_EQ(player_.Mode(), MediaMode::NotReady);

    ASSERT_TRUE(Open(L"short.avi"));
    ASSERT_TRUE(player_.Play());
    ASSERT_TRUE(player_.Pause());
    player_.Close();
    EXPECT_FALSE(player_.IsOpen());
    EXPECT_EQ(player_.Mode(), MediaMode::NotReady) << "a closed clip is not paused";
    EXPECT_FALSE(tk::HoldsClip(player_.Mode()));
}

TEST_F(PlayerTest, OwnsItsDevice) {
    const long before = tk::Counts().mciDevices;
    {
        tk::MediaPlayer player;
        player.Display = panel_.Handle();
        player.FileName = Media(L"short.avi");
        ASSERT_TRUE(player.Open());
        EXPECT_EQ(tk::Counts().mciDevices, before + 1);
        ASSERT_TRUE(player.Open()) << "opening again closes the clip before";
        EXPECT_EQ(tk::Counts().mciDevices, before + 1);
    }
    EXPECT_EQ(tk::Counts().mciDevices, before) << "closed when the player goes";
    ASSERT_TRUE(Open(L"short.mpg"));
    player_.Close();
    player_.Close();
    EXPECT_EQ(tk::Counts().mciDevices, before);
}

TEST_F(PlayerTest, DisplayRectangleReadsAlikeOnBothDevices) {
    for (const wchar_t* name : kBothDevices) {
        SCOPED_TRACE(testing::Message() << name);
        ASSERT_TRUE(Open(name));
        EXPECT_TRUE(player_.HasPicture());
        EXPECT_EQ(player_.NaturalSize().cx, 320);
        EXPECT_EQ(player_.NaturalSize().cy, 240);
        RECT r;
        ASSERT_TRUE(player_.DisplayRect(r));
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, 320);
        EXPECT_EQ(r.bottom, 240);

        ASSERT_TRUE(player_.SetDisplaySize(640, 480));
        ASSERT_TRUE(player_.DisplayRect(r));
        EXPECT_EQ(r.right, 640);
        EXPECT_EQ(r.bottom, 480);
        EXPECT_EQ(r.left, 0);

        ASSERT_TRUE(player_.SetDisplaySize(0, 0)) << "0 x 0 is the natural size";
        ASSERT_TRUE(player_.DisplayRect(r));
        EXPECT_EQ(r.right, 320);
        EXPECT_EQ(r.bottom, 240);
        player_.Close();
    }
}

TEST_F(PlayerTest, PausedClipReadsPausedAndResumesWhereItStood) {
    for (const wchar_t* name : kBothDevices) {
        SCOPED_TRACE(testing::Message() << name);
        ASSERT_TRUE(Open(name));
        EXPECT_EQ(player_.Mode(), MediaMode::Stopped);
        ASSERT_TRUE(player_.Play());
        EXPECT_EQ(player_.Mode(), MediaMode::Playing);
        PumpFor(400);
        ASSERT_TRUE(player_.Pause());
        const long at = Pos();
        EXPECT_GT(at, 100);
        // The AVI device itself reads stopped a moment after the pause.
        PumpFor(400);
        EXPECT_EQ(player_.Mode(), MediaMode::Paused);
        EXPECT_EQ(Pos(), at);
        EXPECT_FALSE(player_.Pause()) << "only a playing clip pauses";

        ASSERT_TRUE(player_.Play());
        EXPECT_EQ(player_.Mode(), MediaMode::Playing);
        PumpFor(300);
        EXPECT_GT(Pos(), at + 100) << "it went on from its frame, not from the start";
        player_.Close();
    }
}

TEST_F(PlayerTest, PlayRightAfterPauseThenCloseIsSafe) {
    // A tile that is fully in at the step after its refill does just this; the AVI device
    // used to bring the process down when its pause was not let to settle.
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(Open(i % 5 == 4 ? L"short.mpg" : i % 5 == 3 ? L"clip.mp4" : L"short.avi"));
        ASSERT_TRUE(player_.Play());
        player_.Pause();
        player_.Play();
        player_.Close();
    }
}

TEST_F(PlayerTest, OneFileInTwoPlayersAtOnce) {
    // A small library brings a clip back while the tile that showed it still holds it.
    for (const wchar_t* name : kBothDevices) {
        SCOPED_TRACE(testing::Message() << name);
        tk::MediaPlayer other;
        other.Display = panel_.Handle();
        other.FileName = Media(name);
        ASSERT_TRUE(other.Open());
        ASSERT_TRUE(other.Play());
        ASSERT_TRUE(Open(name)) << player_.LastError();
        ASSERT_TRUE(player_.Play());
        EXPECT_EQ(other.Mode(), MediaMode::Playing);
        player_.Close();
    }
}

TEST_F(PlayerTest, SeekWorksOnBothDevices) {
    for (const wchar_t* name : kBothDevices) {
        SCOPED_TRACE(testing::Message() << name);
        ASSERT_TRUE(Open(name));
        ASSERT_TRUE(player_.Play());
        PumpFor(500);
        ASSERT_TRUE(player_.Seek(0)) << "the DirectShow device refuses MCI_TO 0";
        EXPECT_EQ(Pos(), 0);
        EXPECT_EQ(player_.Mode(), MediaMode::Stopped);

        ASSERT_TRUE(player_.Seek(1000)) << "and any MCI_TO";
        EXPECT_EQ(Pos(), 1000);
        ASSERT_TRUE(player_.Play());
        PumpFor(200);
        EXPECT_GE(Pos(), 1000);
        EXPECT_LT(Pos(), 1800);

        EXPECT_FALSE(player_.Seek(60000)) << "past the end";
        player_.Close();
    }
}

TEST_F(PlayerTest, ClipEndsStoppedAndRestartsFromTheStart) {
    for (const wchar_t* name : {L"short.avi", L"short.mpg"}) {
        SCOPED_TRACE(testing::Message() << name);
        ASSERT_TRUE(Open(name));
        ASSERT_TRUE(player_.Play());
        ASSERT_TRUE(WaitUntil([&] { return player_.Mode() == MediaMode::Stopped; }, 5000));
        ASSERT_TRUE(player_.Seek(0));
        ASSERT_TRUE(player_.Play());
        EXPECT_EQ(player_.Mode(), MediaMode::Playing);
        PumpFor(200);
        EXPECT_LT(Pos(), 700);
        player_.Close();
    }
}

TEST_F(PlayerTest, StartPositionServesTheNextPlayOnly) {
    ASSERT_TRUE(Open(L"clip.avi"));
    player_.SetStartPosition(1200);
    ASSERT_TRUE(player_.Play());
    PumpFor(100);
    EXPECT_GE(Pos(), 1200);
    ASSERT_TRUE(player_.Seek(0));
    ASSERT_TRUE(player_.Play());
    PumpFor(100);
    EXPECT_LT(Pos(), 1000);
}

TEST_F(PlayerTest, FilesThePlatformCannotPlaceOpenThroughMpegVideo) {
    struct Case {
        const wchar_t* name;
        bool throughMpegVideo;
        int w, h;
    } cases[] = {
        {L"clip.mov", true, 160, 120},     // no device for the extension
        {L"xvid.avi", true, 160, 120},     // the AVI device lacks the codec
        {L"clip.avi", false, 320, 240},    //
        {L"clip.mpg", false, 320, 240},    // mapped to the DirectShow device already
        {L"bottomup.avi", true, 160, 120}, // the AVI device would draw nothing of it
        {L"clip.mp4", true, 320, 240},     // H.264 and AAC
        {L"clip.m4v", true, 320, 240},     // H.264
        {L"clip.3gp", true, 176, 144},     // H.263 and AAC
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        ASSERT_TRUE(Open(c.name)) << player_.LastError();
        EXPECT_EQ(player_.OpenedAsMpegVideo(), c.throughMpegVideo);
        EXPECT_EQ(player_.NaturalSize().cx, c.w);
        EXPECT_EQ(player_.NaturalSize().cy, c.h);
        EXPECT_GT(player_.Length().value_or(0), 300);
        player_.Close();
    }
}

TEST_F(PlayerTest, BrokenFilesDoNotOpen) {
    TempDir dir;
    std::string noise(20000, '\0');
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919u) >> 3);
    WriteFileBytes(dir / L"noise.avi", noise);
    WriteFileBytes(dir / L"noise.mov", noise);
    WriteFileBytes(dir / L"noise.mpg", noise);
    WriteFileBytes(dir / L"empty.avi", "");
    const long before = tk::Counts().mciDevices;
    for (const std::wstring& path : {dir / L"noise.avi", dir / L"noise.mov", dir / L"noise.mpg",
                                     dir / L"empty.avi", dir / L"gone.mov"}) {
        player_.FileName = path;
        EXPECT_FALSE(player_.Open()) << testing::PrintToString(path);
        EXPECT_NE(player_.LastError(), 0u);
        EXPECT_FALSE(player_.IsOpen());
    }
    EXPECT_EQ(tk::Counts().mciDevices, before);
}

TEST_F(PlayerTest, SoundOnlyHasNoPicture) {
    // With no sound device the platform refuses it; with one it opens without a picture.
    if (Open(L"sound.mpa")) {
        EXPECT_FALSE(player_.HasPicture());
    }
    RECT r;
    EXPECT_FALSE(player_.DisplayRect(r));
}

TEST_F(PlayerTest, CloseWipesTheLastFrame) {
    SetWindowPos(host_.Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ASSERT_TRUE(Open(L"clip.avi"));
    ASSERT_TRUE(player_.Play());
    const RECT picture = {20, 20, 300, 220};
    EXPECT_TRUE(WaitUntil([&] { return cliprig::LitShare(ReadScreen(picture)) > 0.5; }, 2000));
    ASSERT_TRUE(player_.Pause());
    player_.Close();
    EXPECT_TRUE(WaitUntil([&] { return cliprig::LitShare(ReadScreen(picture)) < 0.01; }, 2000));
    host_.Hide();
}

} // namespace
