// Phone clips in the saver's tiles where only Media Foundation can play them: every clip
// option holds as it does with MCI (the rules themselves are tested with MCI's clips).
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/ClipTileChecks.h"
#include "tests/support/TempDir.h"
#include "toolkit/Log.h"

using namespace cliprig;
using tk::MediaMode;

namespace {

// Centred, at its natural size or enlarged within the limit, moving, black around.
TEST(FallbackTile, CentralClipShowsFittedAndMoves) {
    const CentralClip clips[] = {
        {L"silent.mp4", 1, {352, 264, 672, 504}},
        {L"silent.mov", 2, {192, 144, 832, 624}},
        {L"silent.3gp", 9, {42, 0, 981, 768}}, // 176 x 144, stopped by the height
    };
    for (const CentralClip& clip : clips)
        ExpectCentralClipShowsAndMoves(clip, 2000, 1000);
}

// Play when visible: the tile enters showing its first frame, and the clip plays once the
// tile is wholly in.
TEST(FallbackTile, EntersOnItsFirstFrameThenPlays) {
    // Leftward: the right edge enters last.
    ClipScreen screen(ClipSettings(1, {&SettingsRecord::clipPlaysWhenVisible}), 1, true);
    tk::MediaPlayer& player = screen.Player(0);
    ASSERT_TRUE(screen.Start(0, Media(L"silent.mp4"), 1024, 0));
    EXPECT_EQ(player.Mode(), MediaMode::Paused);
    EXPECT_EQ(Pos(player), 0);
    ExpectFrameShownWhileEntering(screen, 2000);
    EXPECT_EQ(Pos(player), 0);
    screen.MoveTo(0, 1024 - 320);
    screen->PlayWhenVisible(0);
    EXPECT_EQ(player.Mode(), MediaMode::Playing);
    PumpFor(300);
    EXPECT_GT(Pos(player), 150);
}

TEST(FallbackTile, RandomStartThenLoopsFromZero) {
    ExpectRandomStartThenLoopsFromZero(L"silent.mov");
}

// The central tile's display time, and its keeping while a clip plays whole.
TEST(FallbackTile, CentralDisplayTimeFollowsTheOptions) {
    ExpectCentralDisplayTimeFollowsTheOptions(L"silent.mp4");
}

// Clips taken ahead in a moving strip: the first phone clip that MCI refuses at its tile's
// turn goes back to the worker and is opened there by Media Foundation; the later ones go
// there first, MCI refused once. A clip cut short, which neither can open, is dropped.
TEST(FallbackTile, ClipsMciRefusesAreOpenedAheadAndACutClipIsDropped) {
    TempDir folder;
    const std::wstring a = folder / L"a.mp4", b = folder / L"b.mp4", cut = folder / L"cut.mp4";
    const std::wstring photo = folder / L"photo.jpg";
    ASSERT_TRUE(CopyFileW(Media(L"silent.mp4").c_str(), a.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Media(L"silent.mp4").c_str(), b.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Media(L"truncated.mp4").c_str(), cut.c_str(), FALSE));
    ASSERT_TRUE(MakeSolidJpeg(photo, 320, 240, 0x4080C0));
    rig::RunSettings run;
    run.tiles = 2;
    run.speed = 100;
    const auto count = [](const tk::LogCapture& log, const wchar_t* part) {
        return std::count_if(log.Lines().begin(), log.Lines().end(), [&](const std::wstring& l) {
            return l.find(part) != std::wstring::npos;
        });
    };
    {
        tk::LogCapture log;
        auto saver = rig::StartSaver(run, {a, b, photo}, true);
        ASSERT_NE(saver, nullptr);
        ASSERT_GE(rig::SoakSaver(*saver, 12, {}).refills, 12); // four passes
        EXPECT_EQ(count(log, L"MCI cannot open it"), 1)
            << "MCI is asked once for the clips of a kind it refused";
        EXPECT_EQ(count(log, L"dropped"), 0);
    }
    {
        tk::LogCapture log;
        auto saver = rig::StartSaver(run, {cut, photo}, true);
        ASSERT_NE(saver, nullptr);
        ASSERT_GE(rig::SoakSaver(*saver, 8, {cut}).refills, 8);
        EXPECT_GE(count(log, L"cut.mp4 dropped: cannot be opened (Media Foundation"), 1);
        // Wine's MCI once hung for good in a later open of a file it had refused.
        EXPECT_LE(count(log, L"cut.mp4 dropped: cannot be opened, MCI error"), 1)
            << "a file MCI refused was given to it again";
    }
}

} // namespace
