// Where only Media Foundation can play the phone clips: the built saver, started as Windows
// starts it, shows them in its tiles, and the settings dialog previews them.
#include <gtest/gtest.h>

#include "tests/support/DialogRig.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/ClipRig.h"
#include "toolkit/Counters.h"

namespace {

void Copy(const std::wstring& name, const TempDir& to) {
    CopyFileW(cliprig::Media(name).c_str(), (to / name).c_str(), FALSE);
}

// Whether the picture in the rectangle changes within a second and a half.
bool Moves(const RECT& inner) {
    const std::vector<uint32_t> first = ReadScreen(inner);
    return WaitUntil([&] { return ReadScreen(inner) != first; }, 1500);
}

// One phone clip at a time, in a central tile at twice its size; each is drawn, moves, and
// loops.
TEST(FallbackE2e, SaverPlaysPhoneClipsInItsTiles) {
    struct Case {
        const wchar_t* name;
        RECT tile;
    } cases[] = {{L"silent.mp4", {192, 144, 832, 624}},
                 {L"silent.mov", {192, 144, 832, 624}},
                 {L"silent.3gp", {336, 240, 688, 528}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        TempDir install, clips;
        Copy(c.name, clips);
        InstallFolder folder(install.Path());
        WriteConfiguration(install.Path(), {{L"optransition", L";4;"},
                                            {L"opnbimgmax", L"1"},
                                            {L"defpause", L"30"},
                                            {L"opagrfilm", L"2"},
                                            {L"opBclfilm", L"1"},
                                            {L"defdir", clips.Path()}});
        SaverProcess saver(L"/s");
        ASSERT_TRUE(saver.Started());
        const RECT inner = {c.tile.left + 4, c.tile.top + 4, c.tile.right - 4, c.tile.bottom - 4};
        EXPECT_TRUE(WaitUntil([&] { return cliprig::LitShare(ReadScreen(inner)) > 0.5; }, 4000));
        const RECT outside = {c.tile.right + 2, c.tile.top, 1024, c.tile.bottom};
        EXPECT_EQ(cliprig::LitShare(ReadScreen(outside)), 0.0) << "black beside it";
        EXPECT_TRUE(Moves(inner)) << "the picture moves";
        Sleep(2500); // past its end
        EXPECT_TRUE(Moves(inner)) << "started again at its end";
        EXPECT_TRUE(saver.EndByRequest().has_value()) << "the saver did not end";
    }
}

TEST(FallbackE2e, DialogPreviewPlaysAPhoneClip) {
    rig::Boxes boxes;
    TempDir clips;
    Copy(L"silent.mp4", clips);
    rig::Options options = rig::DialogOptions();
    for (auto& [key, value] : options)
        if (key == L"defdir") value = clips.Path() + L";";
    rig::DialogInstall install{options};
    const long players = tk::Counts().framePlayers;
    {
        std::unique_ptr<SettingsDialog> dialog = rig::OpenDialog();
        ASSERT_TRUE(dialog);
        ASSERT_TRUE(rig::ClickFile(*dialog, L"silent.mp4"));
        EXPECT_TRUE(dialog->previewPlayer.DrawsFrames());
        EXPECT_EQ(tk::Counts().framePlayers, players + 1);
        RECT r;
        GetWindowRect(dialog->previewBox->Handle(), &r);
        InflateRect(&r, -4, -4);
        EXPECT_TRUE(WaitUntil([&] { return cliprig::LitShare(ReadScreen(r)) > 0.5; }, 2000));
        EXPECT_TRUE(Moves(r)) << "the preview plays";
        dialog->OnCancel();
    }
    EXPECT_EQ(tk::Counts().framePlayers, players) << "closed with the dialog";
    EXPECT_TRUE(boxes.seen.empty()) << "no warning";
}

} // namespace
