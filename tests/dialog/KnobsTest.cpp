// The settings page's knobs driven as a user does: dragged through the mouse messages they
// receive, moved by the keys the dialog hands them; where they stop, the hints they show,
// what the screen shows of them.
#include <gtest/gtest.h>

#include "tests/support/DialogRig.h"

namespace {

using KnobMember = tk::SpeedButton* SettingsDialog::*;
constexpr KnobMember kStep = &SettingsDialog::stepKnob;
constexpr KnobMember kSpeed = &SettingsDialog::speedKnob;
constexpr KnobMember kDisplayTime = &SettingsDialog::displayTimeKnob;

// The knob's mouse messages, the pointer given in the settings page's pixels.
void Mouse(tk::SpeedButton& knob, UINT msg, int pageX) {
    SendMessageW(knob.Handle(), msg, msg == WM_LBUTTONUP || msg == WM_RBUTTONUP ? 0 : MK_LBUTTON,
                 MAKELPARAM(pageX - knob.Left(), 5));
}

struct Drag {
    const char* what;
    KnobMember knob;
    bool rightButton;
    int offset;               // where in the knob it is pressed
    bool mouseTaken;          // by another window, as a box popping up takes it
    std::vector<int> pointer; // then the pointer's places on the page
    int left;                 // where the knob stays
    std::vector<std::pair<KnobMember, std::wstring>> hints;
};

// The test's configuration puts the knobs at 283 (step 4), 359 (delay 500), 344 (30 s).
// One drag a row.
// clang-format off
const Drag kDrags[] = {
    {"pressed on its leftmost column", kStep, false, 0, false, {300}, 283, {{kStep, L"4 pixels"}}},
    {"the mouse taken", kStep, false, 5, true, {300}, 283, {{kStep, L"4 pixels"}}},
    {"step to its right end and beyond", kStep, false, 5, false, {397, 420}, 392,
     {{kStep, L"100 pixels"}, {kSpeed, L"100 pixels toutes les 20 ms"}}},
    {"speed to its right end, right button", kSpeed, true, 8, false, {447, 600}, 439,
     {{kSpeed, L"4 pixels le plus vite possible"}}},
    {"display time beyond its left end", kDisplayTime, false, 2, false, {400, 337, 300}, 335,
     {{kDisplayTime, L"3 secondes"}}},
    {"display time to its right end", kDisplayTime, false, 3, false, {442}, 439,
     {{kDisplayTime, L"300 secondes"}}},
};
// clang-format on

class Knobs : public testing::Test {
  protected:
    rig::DialogInstall install;
};

TEST_F(Knobs, DragStopsAtTheRangesEndsWithTheGrabbedPointUnderThePointer) {
    for (const Drag& d : kDrags) {
        SCOPED_TRACE(d.what);
        auto dialog = rig::OpenDialog();
        ASSERT_TRUE(dialog);
        tk::SpeedButton& knob = *((*dialog).*d.knob);
        const int start = knob.Left();
        Mouse(knob, d.rightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, start + d.offset);
        if (d.mouseTaken) ReleaseCapture();
        for (int x : d.pointer)
            Mouse(knob, WM_MOUSEMOVE, x);
        Mouse(knob, d.rightButton ? WM_RBUTTONUP : WM_LBUTTONUP, d.pointer.back());
        EXPECT_EQ(knob.Left(), d.left);
        EXPECT_EQ(knob.dragGrabX, 0);
        for (const auto& [which, hint] : d.hints) {
            EXPECT_EQ(((*dialog).*which)->Hint(), hint);
            EXPECT_EQ(dialog->ToolTips().Text(((*dialog).*which)->Handle()), hint);
        }
        // The settings take the knobs' places only when they are saved.
        EXPECT_EQ(dialog->settings.stepPixels, 4);
        EXPECT_EQ(dialog->settings.stepsPerTenSeconds, 500);
        EXPECT_EQ(dialog->settings.displaySeconds, 30);
    }
}

// Columns of the page, in the knob's rows, that show the red line of a knob.
std::vector<int> RedLines(const rig::ScreenShot& page, const tk::SpeedButton& knob) {
    std::vector<int> columns;
    const RECT r = knob.Bounds();
    for (int x = 0; x < page.Width(); ++x)
        if (page.At(x, (r.top + r.bottom) / 2 + 1) == 0xE61E1E) columns.push_back(x);
    return columns;
}

TEST_F(Knobs, DraggedKnobShowsOnceAtItsNewPlaceWithNoTrail) {
    auto dialog = rig::OpenDialog();
    ASSERT_TRUE(dialog);
    dialog->ShowSettingsPage();
    tk::SpeedButton& knob = *dialog->speedKnob;
    Mouse(knob, WM_LBUTTONDOWN, 359 + 4);
    for (int x = 363; x <= 420; x += 19)
        Mouse(knob, WM_MOUSEMOVE, x);
    EXPECT_EQ(RedLines(rig::ScreenShot(dialog->settingsPage->Handle()), knob),
              (std::vector<int>{416 + layout::kKnobWidth / 2 - 1}));
    Mouse(knob, WM_LBUTTONUP, 420);
}

// A key pressed while the knob has the focus, as the application's loop hands it over.
void Key(SettingsDialog& dialog, UINT key) {
    MSG msg = {GetFocus(), WM_KEYDOWN, key, 0x00000001, 0, {}};
    if (!IsDialogMessageW(dialog.Handle(), &msg)) DispatchMessageW(&msg);
}

TEST_F(Knobs, TabReachesTheKnobsWhoseArrowKeysMoveThemAPixelWithinTheirRange) {
    auto dialog = rig::OpenDialog();
    ASSERT_TRUE(dialog);
    dialog->ShowSettingsPage();
    SetFocus(dialog->transitionList->Handle());
    Key(*dialog, VK_TAB);
    tk::SpeedButton& knob = *dialog->stepKnob;
    ASSERT_EQ(GetFocus(), knob.Handle());
    // clang-format off
    const struct { UINT key; int left; const wchar_t* hint; } steps[] = {
        {VK_RIGHT, 284, L"4 pixels"}, {VK_END, 392, L"100 pixels"},
        {VK_DOWN, 392, L"100 pixels"}, {VK_HOME, 280, L"1 pixels"}};
    // clang-format on
    for (const auto& s : steps) {
        Key(*dialog, s.key);
        EXPECT_EQ(knob.Left(), s.left) << s.key;
        EXPECT_EQ(knob.Hint(), s.hint) << s.key;
    }
    EXPECT_EQ(dialog->speedKnob->Hint(), L"1 pixels toutes les 20 ms");
}

} // namespace
