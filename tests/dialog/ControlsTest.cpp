// The toolkit's controls as the dialog uses them, driven through their window messages:
// what a click, a key or a pick from a list does to them and which events they raise.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "tests/support/DialogRig.h"

namespace {

class DialogControls : public testing::Test {
  protected:
    rig::DialogInstall install;
    std::unique_ptr<SettingsDialog> dialog = rig::OpenDialog();
};

void Click(HWND hwnd, int x, int y) {
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST_F(DialogControls, CheckListTogglesOnItsBoxOrTheSpaceBarNotOnItsText) {
    ASSERT_TRUE(dialog);
    tk::CheckListBox& list = *dialog->optionList; // items 0 on, 1 off in the test's settings
    int changes = 0;
    list.onChange = [&] { ++changes; };
    struct Step {
        const char* what;
        std::function<void()> act;
        bool first, second;
    };
    const Step steps[] = {
        {"click on the first box", [&] { Click(list.Handle(), 6, 7); }, false, false},
        {"click on the second text", [&] { Click(list.Handle(), 100, 21); }, false, false},
        {"space on the caret line (the second)",
         [&] { SendMessageW(list.Handle(), WM_CHAR, L' ', 0); }, false, true},
        {"click on the first box again", [&] { Click(list.Handle(), 6, 7); }, true, true},
    };
    int expectedChanges = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        const bool before[2] = {list.Checked(0), list.Checked(1)};
        s.act();
        EXPECT_EQ(list.Checked(0), s.first);
        EXPECT_EQ(list.Checked(1), s.second);
        expectedChanges += (before[0] != s.first) + (before[1] != s.second);
        EXPECT_EQ(changes, expectedChanges);
    }
}

TEST_F(DialogControls, SwitchTogglesOnAClickOnlyAndTellsItsChange) {
    ASSERT_TRUE(dialog);
    tk::Switch& on = *dialog->loop; // on in the test's settings
    int changes = 0;
    on.onChange = [&] { ++changes; };
    Click(on.Handle(), 12, 12);
    EXPECT_FALSE(on.On());
    on.SetOn(true); // the program's own change says nothing
    EXPECT_TRUE(on.On());
    EXPECT_EQ(changes, 1);
}

TEST_F(DialogControls, EditableComboShowsThePickedNameBeforeItsSelectEventRuns) {
    ASSERT_TRUE(dialog);
    tk::ComboBox& names = *dialog->configNameBox;
    names.Add(L"Vacances");
    names.Add(L"Anniversaire"); // sorted: first
    std::wstring seen;
    names.onSelect = [&] { seen = names.Text(); };
    names.SetItemIndex(0);
    SendMessageW(GetParent(names.Handle()), WM_COMMAND, MAKEWPARAM(names.Id(), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(names.Handle()));
    EXPECT_EQ(seen, L"Anniversaire");
}

TEST_F(DialogControls, EditableComboPicksOnAKeyInTheClosedBoxOrEnterOrAClickInTheOpenList) {
    ASSERT_TRUE(dialog);
    tk::ComboBox& names = *dialog->configNameBox;
    names.Add(L"Vacances");
    names.Add(L"Anniversaire");
    names.SetItemIndex(1); // "config 1", the middle one
    std::vector<std::wstring> picks;
    names.onSelect = [&] { picks.push_back(names.Text()); };
    COMBOBOXINFO box = {};
    box.cbSize = sizeof box;
    GetComboBoxInfo(names.Handle(), &box);
    auto keys = [&](std::initializer_list<UINT> vks) { // with the characters the loop adds
        for (UINT vk : vks) {
            if (vk == 0) SendMessageW(names.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
            SendMessageW(box.hwndItem, WM_KEYDOWN, vk, 1);
            if (vk == VK_RETURN || vk == VK_ESCAPE) SendMessageW(box.hwndItem, WM_CHAR, vk, 1);
        }
        PumpMessages(dialog->Handle());
    };
    keys({VK_DOWN});         // closed
    keys({0, VK_UP, VK_UP}); // 0: the list opened
    EXPECT_EQ(names.Text(), L"Anniversaire");
    keys({VK_ESCAPE});
    EXPECT_EQ(names.Text(), L"Vacances");
    keys({0, VK_UP, VK_RETURN});
    keys({0, VK_UP});
    SendMessageW(box.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); // the first line
    SendMessageW(box.hwndList, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpMessages(dialog->Handle());
    EXPECT_EQ(picks, (std::vector<std::wstring>{L"Vacances", L"config 1", L"Anniversaire"}));
}

TEST_F(DialogControls, FolderListFindsLinesIgnoringCaseAndKeepsSeveralSelected) {
    ASSERT_TRUE(dialog);
    tk::ListBox& folders = *dialog->chosenFolders; // C:\photos, D:\films
    EXPECT_EQ(folders.FindExact(L"c:\\PHOTOS"), 0);
    EXPECT_EQ(folders.FindExact(L"C:\\photo"), -1);
    folders.Add(L"E:\\clips");
    folders.SetSelected(0, true);
    folders.SetSelected(2, true);
    EXPECT_TRUE(folders.Selected(0));
    EXPECT_FALSE(folders.Selected(1));
    EXPECT_TRUE(folders.Selected(2));

    // A path wider than the list can be scrolled to its end; the scroll goes with it.
    auto scrollWidth = [&] {
        return int(SendMessageW(folders.Handle(), LB_GETHORIZONTALEXTENT, 0, 0));
    };
    const int inside = folders.ClientRect().right;
    EXPECT_LE(scrollWidth(), inside);
    folders.Add(L"E:\\Photos de famille\\Vacances 2019 en Bretagne\\Plages et phares");
    EXPECT_GT(scrollWidth(), inside);
    folders.Delete(3);
    EXPECT_LE(scrollWidth(), inside);
}

TEST_F(DialogControls, KnobMovesItsLeftEdgeKeepsItsTagAndShowsANewHint) {
    ASSERT_TRUE(dialog);
    tk::SpeedButton& knob = *dialog->displayTimeKnob;
    std::vector<std::pair<int, int>> downs;
    knob.onMouseDown = [&](int x, int y) { downs.emplace_back(x, y); };
    SendMessageW(knob.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 4));
    EXPECT_EQ(downs, (std::vector<std::pair<int, int>>{{5, 4}})); // whichever button
    EXPECT_EQ(GetCapture(), knob.Handle());
    SendMessageW(knob.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 4));
    EXPECT_NE(GetCapture(), knob.Handle());

    knob.dragGrabX = 7;
    knob.SetLeft(439);
    EXPECT_EQ(knob.Left(), 439);
    EXPECT_EQ(knob.Bounds().top, 168);
    EXPECT_EQ(knob.dragGrabX, 7);
    knob.SetHint(L"300 secondes");
    EXPECT_EQ(dialog->ToolTips().Text(knob.Handle()), L"300 secondes");
}

TEST_F(DialogControls, TabStaysOnTheShownPage) {
    ASSERT_TRUE(dialog);
    // From the folder list, Tab after Tab never reaches a control of the settings page
    // while it waits off the screen.
    SetFocus(dialog->chosenFolders->Handle());
    std::set<HWND> visited;
    for (int i = 0; i < 12; ++i) {
        MSG tab = {};
        tab.hwnd = GetFocus();
        tab.message = WM_KEYDOWN;
        tab.wParam = VK_TAB;
        tab.lParam = 0x000F0001;
        ASSERT_TRUE(IsDialogMessageW(dialog->Handle(), &tab));
        HWND focus = GetFocus();
        ASSERT_NE(focus, nullptr);
        EXPECT_FALSE(IsChild(dialog->settingsPage->Handle(), focus));
        visited.insert(focus);
    }
    EXPECT_GT(visited.size(), 3u); // it does go round the shown page and the band
}

} // namespace
