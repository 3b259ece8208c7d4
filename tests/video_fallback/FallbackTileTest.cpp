// Phone clips in the saver's tiles where only Media Foundation can play them: every clip
// option holds as it does with MCI (the rules themselves are tested with MCI's clips).
#include <gtest/gtest.h>

#include "tests/support/ClipTileChecks.h"

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

} // namespace
