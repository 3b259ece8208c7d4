// What the settings dialog does: the page slide, OK with its refusals and a refused write,
// and the ways out that write nothing.
#include <gtest/gtest.h>

#include <functional>

#include "settings/Settings.h"
#include "tests/support/DialogRig.h"
#include "toolkit/App.h"
#include "toolkit/MsgBox.h"

namespace {

std::wstring IniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t value[512] = {};
    GetPrivateProfileStringW(section, key, L"<none>", value, 512, file.c_str());
    return value;
}

void CALLBACK EndTheLoop(HWND, UINT, UINT_PTR, DWORD) {
    PostQuitMessage(1);
}

class DialogActions : public testing::Test {
  protected:
    std::wstring Cfg() const { return install.File(L"config 1.cfg"); }

    rig::DialogInstall install;
    rig::Boxes shown;
    std::vector<tk::BoxRequest>& boxes = shown.seen;
    std::unique_ptr<SettingsDialog> dialog = rig::OpenDialog();
};

TEST_F(DialogActions, PagesSlideInSixteenStepsEachWayAndStayPut) {
    ASSERT_TRUE(dialog);
    std::vector<std::pair<int, int>> seen; // imagesPage, settingsPage left edges after each step
    dialog->onSlideStep = [&](int) {
        seen.emplace_back(dialog->imagesPage->Left(), dialog->settingsPage->Left());
    };
    dialog->ShowSettingsPage();
    ASSERT_EQ(seen.size(), 16u);
    EXPECT_EQ(seen.front(), std::make_pair(450 - 473, 450));
    EXPECT_EQ(seen[8], std::make_pair(210 - 473, 210));
    EXPECT_EQ(seen.back(), std::make_pair(-473, 0));
    EXPECT_EQ(dialog->band->Bounds().top, 336); // the band never moves
    {
        // The form's own column right of the pages shows the form, not a strip of the page
        // that passed over it.
        rig::ScreenShot shot(dialog->Handle());
        RECT client;
        GetClientRect(dialog->Handle(), &client);
        POINT origin = {0, 0};
        ClientToScreen(dialog->Handle(), &origin);
        for (int x = 473; x < client.right; ++x)
            for (int y = 0; y < client.bottom; ++y)
                ASSERT_EQ(shot.At(origin.x - shot.area.left + x, origin.y - shot.area.top + y),
                          0x808080u)
                    << x << ", " << y;
    }

    seen.clear();
    dialog->ShowImagesPage();
    ASSERT_EQ(seen.size(), 16u);
    EXPECT_EQ(seen.front(), std::make_pair(-450, 473 - 450));
    EXPECT_EQ(seen.back(), std::make_pair(0, 473));
    PumpMessages(dialog->Handle());
    EXPECT_EQ(dialog->imagesPage->Left(), 0);
    EXPECT_EQ(dialog->settingsPage->Left(), 473);
}

TEST_F(DialogActions, OkSavesUnderTheNameInTheBoxAndCloses) {
    ASSERT_TRUE(dialog);
    dialog->transitionList->SetChecked(0, false);
    dialog->transitionList->SetChecked(12, true);
    dialog->playWhenVisible->SetOn(true);
    dialog->configNameBox->SetText(L" Vacances ");
    dialog->OnOk();
    EXPECT_FALSE(IsWindow(dialog->Handle()));
    EXPECT_TRUE(boxes.empty());

    // The file takes the name as typed, blanks kept, and config.ini names it so that the
    // saver finds it; the knob's place gives the delay as 503.
    const std::wstring saved = install.File(L" Vacances .cfg");
    EXPECT_EQ(IniValue(install.File(L"config.ini"), L"Config", L"cfgname"), L" Vacances ");
    EXPECT_EQ(IniValue(saved, L"Options", L"optransition"), L";3;13;");
    EXPECT_EQ(IniValue(saved, L"Options", L"defdir"), L"C:\\photos;D:\\films;");
    EXPECT_EQ(IniValue(saved, L"Options", L"defdelay"), L"503");
    EXPECT_EQ(IniValue(saved, L"Options", L"opdebfilm"), L"1");
    EXPECT_EQ(IniValue(saved, L"Options", L"opagrfilm"), L"3");
    EXPECT_EQ(IniValue(saved, L"Options", L"opnbimgmax"), L"8");
}

struct Refusal {
    const char* what;
    std::function<void(SettingsDialog&)> change;
    const wchar_t* const* message;
};

TEST_F(DialogActions, RefusedInputShowsItsErrorAndLeavesTheDialogOpenWithNothingWritten) {
    ASSERT_TRUE(dialog);
    const Refusal refusals[] = {
        {"name with a slash", [](SettingsDialog& d) { d.configNameBox->SetText(L"a/b"); },
         &kBadNameMessage},
        {"empty name", [](SettingsDialog& d) { d.configNameBox->SetText(L""); }, &kBadNameMessage},
        {"no folder", [](SettingsDialog& d) { d.chosenFolders->Clear(); }, &kNoFolderMessage},
        {"no transition",
         [](SettingsDialog& d) {
             for (int i = 0; i < 13; ++i)
                 d.transitionList->SetChecked(i, false);
         },
         &kNoTransitionMessage},
        {"\";\" stored",
         [](SettingsDialog& d) {
             d.settings.transitionList = L";";
             d.ShowSettings();
         },
         &kNoTransitionMessage},
    };
    const std::string before = ReadFileBytes(Cfg());
    const std::string iniBefore = ReadFileBytes(install.File(L"config.ini"));
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.what);
        auto fresh = rig::OpenDialog();
        ASSERT_TRUE(fresh);
        boxes.clear();
        r.change(*fresh);
        fresh->OnOk();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, *r.message);
        EXPECT_EQ(boxes[0].caption, L"Erreur");
        EXPECT_EQ(boxes[0].flags, UINT(MB_OK | MB_ICONERROR));
        EXPECT_TRUE(IsWindow(fresh->Handle()));
        EXPECT_EQ(ReadFileBytes(Cfg()), before);
        EXPECT_EQ(ReadFileBytes(install.File(L"config.ini")), iniBefore);
    }
}

// Every tile count the list offers shows as its own item and is taken back unchanged.
TEST_F(DialogActions, EveryOfferedTileCountGoesThroughTheListAndBack) {
    ASSERT_TRUE(dialog);
    const int offered[] = {3, 4, 5, 6, 7, 8, 9, 10, 15, 20};
    ASSERT_EQ(dialog->tileCountList->Count(), int(std::size(offered)));
    for (int count : offered) {
        dialog->settings.maxTiles = count;
        dialog->ShowSettings();
        EXPECT_EQ(dialog->tileCountList->Text(), std::to_wstring(count));
        dialog->settings.maxTiles = 0;
        ASSERT_TRUE(dialog->TakeSettings(L"config 1"));
        EXPECT_EQ(dialog->settings.maxTiles, count);
    }
}

TEST_F(DialogActions, RefusedWriteShowsAnErrorAndKeepsTheDialogOpen) {
    ASSERT_TRUE(dialog);
    // The install folder has gone since the dialog opened: the system refuses the write.
    dialog->settings.installDir = install.File(L"gone\\");
    dialog->OnOk();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind(L"Impossible d'écrire dans ", 0), 0u) << boxes[0].text;
    EXPECT_EQ(boxes[0].caption, L"Erreur");
    EXPECT_EQ(boxes[0].flags, UINT(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(IsWindow(dialog->Handle()));
    EXPECT_EQ(dialog->chosenFolders->Count(), 2); // nothing the user set is lost
}

TEST_F(DialogActions, CancelAndTheCloseBoxWriteNothing) {
    const std::string before = ReadFileBytes(Cfg());
    const std::pair<const char*, std::function<void(SettingsDialog&)>> ways[] = {
        {"Cancel", [](SettingsDialog& d) { d.OnCancel(); }},
        {"close box", [](SettingsDialog& d) { SendMessageW(d.Handle(), WM_CLOSE, 0, 0); }},
    };
    for (const auto& [what, close] : ways) {
        SCOPED_TRACE(what);
        auto fresh = rig::OpenDialog();
        ASSERT_TRUE(fresh);
        fresh->chosenFolders->Clear();
        close(*fresh);
        EXPECT_FALSE(IsWindow(fresh->Handle()));
        EXPECT_TRUE(PumpMessages(nullptr)); // the process would end now
        EXPECT_EQ(ReadFileBytes(Cfg()), before);
        EXPECT_FALSE(ReadFileBytes(install.File(L"config.ini")).empty());
    }
    EXPECT_TRUE(boxes.empty());
}

// The only test that runs the application's own loop: it ends with the loop for good.
TEST_F(DialogActions, ZzEscapeInTheApplicationsLoopActsAsCancel) {
    ASSERT_TRUE(dialog);
    const std::string before = ReadFileBytes(Cfg());
    dialog->chosenFolders->Clear();
    SetFocus(dialog->chosenFolders->Handle());
    PostMessageW(dialog->chosenFolders->Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    // Should Escape do nothing, the loop still ends after a while, with the dialog open.
    UINT_PTR guard = SetTimer(nullptr, 0, 10000, &EndTheLoop);
    tk::App::Instance().Run();
    KillTimer(nullptr, guard);
    EXPECT_FALSE(IsWindow(dialog->Handle()));
    EXPECT_EQ(ReadFileBytes(Cfg()), before);
}

} // namespace
