// The player in a prefix whose DirectShow has no MP4 splitter, as on a stock Windows: MCI
// cannot open the phone clips there, and the player plays them through Media Foundation,
// drawing the frames itself. MPEG-1 and AVI still go to MCI.
#include <gtest/gtest.h>

#include "tests/support/Photos.h"
#include "tests/support/TempDir.h"
#include "tests/video/ClipRig.h"
#include "toolkit/Counters.h"
#include "toolkit/Log.h"
#include "toolkit/MediaPlayer.h"
#include "toolkit/Panel.h"

using cliprig::Media;
using tk::MediaMode;

namespace {

class FallbackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tk::WindowArgs args;
        args.className = L"FallbackTestHost";
        args.style = WS_POPUP | WS_CLIPCHILDREN;
        args.width = 640;
        args.height = 480;
        host_.Create(args);
        host_.Show(SW_SHOWNA);
        panel_.CreatePanel(host_.Handle(), 0, 0, 640, 480, RGB(0, 0, 0));
        panel_.Show(SW_SHOWNA);
        player_.Display = panel_.Handle();
    }
    bool Open(const std::wstring& path) {
        player_.FileName = path;
        return player_.Open();
    }
    long Pos() { return player_.Position().value_or(-1); }
    std::vector<uint32_t> Picture(int w, int h) { return ReadScreen({4, 4, w - 4, h - 4}); }

    tk::Window host_;
    tk::Panel panel_;
    tk::MediaPlayer player_;
};

TEST_F(FallbackTest, PhoneClipsPlayThroughMediaFoundation) {
    struct Case {
        const wchar_t* name;
        int w, h;
    } cases[] = {{L"silent.mp4", 320, 240}, {L"silent.mov", 320, 240}, {L"silent.3gp", 176, 144},
                 {L"clip.m4v", 320, 240}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        ASSERT_TRUE(Open(Media(c.name)));
        EXPECT_TRUE(player_.DrawsFrames());
        EXPECT_TRUE(player_.HasPicture());
        EXPECT_EQ(player_.NaturalSize().cx, c.w);
        EXPECT_EQ(player_.NaturalSize().cy, c.h);
        EXPECT_EQ(player_.Mode(), MediaMode::Stopped) << "opened, as MCI opens it";
        EXPECT_NEAR(player_.Length().value_or(0), 2000, 100);
        PumpFor(100);
        EXPECT_GT(cliprig::LitShare(Picture(c.w, c.h)), 0.5) << "its first frame shows";

        ASSERT_TRUE(player_.Play());
        EXPECT_EQ(player_.Mode(), MediaMode::Playing);
        const auto first = Picture(c.w, c.h);
        EXPECT_TRUE(WaitUntil([&] { return Picture(c.w, c.h) != first; }, 1000))
            << "the picture moves";
        player_.Close();
    }
}

TEST_F(FallbackTest, MciStillPlaysWhatItCan) {
    for (const wchar_t* name : {L"clip.mpg", L"clip.avi", L"xvid.avi", L"clip.mov"}) {
        tk::SetClipRoute(tk::ClipRoute::MciFirst);
        tk::MediaPlayer p;
        p.Display = panel_.Handle();
        p.FileName = Media(name);
        tk::LogCapture log;
        bool ok = p.Open();
        fprintf(stderr, "%ls ok %d frames %d err %lu lines %d\n", name, ok, p.DrawsFrames(), p.LastError(), (int)log.Lines().size());
        for (auto& l : log.Lines()) fprintf(stderr, "  %ls\n", l.c_str());
        ASSERT_TRUE(Open(Media(name))) << name;
        EXPECT_FALSE(player_.DrawsFrames()) << name;
    }
}

} // namespace
