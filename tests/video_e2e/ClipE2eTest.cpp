// The built saver with a clip in its folder, started as Windows starts it: a central
// transition shows the clip centred at its natural size or enlarged, and the picture moves.
#include <gtest/gtest.h>

#include <vector>

#include "settings/Settings.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/TempDir.h"
#include "tests/support/ClipRig.h"
#include "toolkit/MsgBox.h"

namespace {

// The smallest rectangle holding every pixel of the screen that is not black.
RECT LitBox() {
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    std::vector<uint32_t> shot = ReadScreen({0, 0, W, H});
    RECT box = {W, H, -1, -1};
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint32_t p = shot[size_t(y) * W + x];
            if ((p & 0xFF) < 24 && ((p >> 8) & 0xFF) < 24 && ((p >> 16) & 0xFF) < 24) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
}

class ClipE2e : public testing::Test {
  protected:
    void SetUp() override {
        tk::SetBoxHook([](const tk::BoxRequest&) { return IDOK; });
        ASSERT_TRUE(
            CopyFileW(cliprig::Media(L"clip.avi").c_str(), (clips / L"clip.avi").c_str(), FALSE));
    }
    void TearDown() override { tk::SetBoxHook(nullptr); }

    TempDir install, clips;
};

// Whether the picture in the rectangle changes within a second and a half.
bool Moves(const RECT& inner) {
    std::vector<uint32_t> first = ReadScreen(inner);
    for (int i = 0; i < 10; ++i) {
        Sleep(150);
        if (ReadScreen(inner) != first) return true;
    }
    return false;
}

// Later: the two-second clip loops, as the saver, whose loop waits between its steps,
// still looks at it often enough to start it again.
TEST_F(ClipE2e, CentralClipIsCentredAndMoves) {
    struct Case {
        int grow;
        RECT tile;
        bool later;
    } cases[] = {{1, {352, 264, 672, 504}, true}, {2, {192, 144, 832, 624}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x" << c.grow);
        InstallFolder folder(install.Path());
        WriteConfiguration(install.Path(), {{L"optransition", L";4;"},
                                            {L"opnbimgmax", L"1"},
                                            {L"defpause", L"30"},
                                            {L"opagrfilm", std::to_wstring(c.grow)},
                                            {L"opBclfilm", L"1"},
                                            {L"defdir", clips.Path()}});
        SaverProcess saver(L"/s");
        ASSERT_TRUE(saver.Started());
        Sleep(2000);
        RECT box = LitBox();
        EXPECT_EQ(box.left, c.tile.left);
        EXPECT_EQ(box.top, c.tile.top);
        EXPECT_EQ(box.right, c.tile.right);
        EXPECT_EQ(box.bottom, c.tile.bottom);
        const RECT inner = {c.tile.left + 4, c.tile.top + 4, c.tile.right - 4, c.tile.bottom - 4};
        EXPECT_TRUE(Moves(inner)) << "the picture changes between two screenshots";
        if (c.later) {
            Sleep(4000); // past two more ends of the clip
            EXPECT_TRUE(Moves(inner)) << "the clip still plays, started again at its end";
        }
        EXPECT_TRUE(saver.EndByRequest().has_value()) << "the saver did not end";
    }
}

} // namespace
