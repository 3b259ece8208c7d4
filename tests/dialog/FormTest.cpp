// The settings dialog as the user sees it: where each control stands, its colours on the
// screen, the framed buttons' frames and glyphs, and the tooltips.
#include <gtest/gtest.h>

#include "dialog/ControlFactory.h"
#include "resources/SettingsDialogLayout.h"
#include "library/MediaKind.h"
#include "tests/support/DialogRig.h"

namespace {

class DialogForm : public testing::Test {
  protected:
    rig::DialogInstall install;
    std::unique_ptr<SettingsDialog> dialog = rig::OpenDialog();
};

TEST_F(DialogForm, FrameIsFixedCentredAndShowsOnePageAndTheBand) {
    ASSERT_TRUE(dialog);
    wchar_t caption[64] = {};
    GetWindowTextW(dialog->Handle(), caption, 64);
    EXPECT_STREQ(caption, L"Vistamur paramètres");
    RECT outer = dialog->Bounds(), client = dialog->ClientRect();
    EXPECT_EQ(outer.right - outer.left, 480);
    EXPECT_EQ(client.bottom, 430);
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    const LONG style = GetWindowLongW(dialog->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
}

// Left, top, width and height in the panel's client area; -1 where only the place counts.
struct Place {
    const wchar_t* name;
    int left, top, width, height;
};

// The layout of record. The knobs stand where ShowSettings puts them for the test's configuration
// (step 4, delay 500, pause 30).
const Place kPlaces[] = {
    {L"imagesPage", 0, 0, 473, 337},
    {L"settingsPage", 473, 0, 473, 337},
    {L"band", 0, 336, 473, 93},
    {L"imagesPageTitle", 32, 8, 177, 25},
    {L"settingsPageLink", 280, 3, 161, 22},
    {L"driveChooser", 8, 40, 201, 19},
    {L"folderTree", 8, 64, 201, 137},
    {L"fileList", 8, 208, 201, 121},
    {L"addFolderButton", 208, 66, 57, 27},
    {L"removeFoldersButton", 208, 98, 57, 27},
    {L"clearFoldersButton", 208, 130, 57, 27},
    {L"chosenFolders", 264, 40, 193, 129},
    {L"previewBox", 264, 184, 193, 145},
    {L"imagesPageLink", 16, 4, 177, 21},
    {L"settingsPageTitle", 280, 8, 153, 25},
    {L"transitionsHeader", 8, 32, 81, 17},
    {L"transitionList", 8, 56, 190, 121},
    {L"scrollingHeader", 216, 32, 81, 17},
    {L"stepLabel", 248, 72, 25, 13},
    {L"stepKnob", 283, 76, 16, 11},
    {L"pixelsLabel", 412, 72, 37, 13},
    {L"speedLabel", 232, 96, 42, 13},
    {L"speedKnob", 359, 101, 16, 11},
    {L"slowLabel", 279, 117, -1, -1},
    {L"fastLabel", 423, 117, -1, -1},
    {L"centralTransitionHeader", 216, 136, 121, 17},
    {L"displayTimeLabel", 234, 168, 92, 13},
    {L"displayTimeKnob", 344, 168, 16, 11},
    {L"shortLabel", 335, 181, -1, -1},
    {L"longLabel", 415, 181, -1, -1},
    {L"videoOptionsHeader", 16, 186, 89, 17},
    {L"playWhenVisible", 25, 204, 25, 25},
    {L"playWhenVisibleLabel", 52, 208, -1, -1},
    {L"loop", 25, 228, 25, 25},
    {L"loopLabel", 52, 232, -1, -1},
    {L"randomStart", 25, 252, 25, 25},
    {L"randomStartLabel", 52, 256, -1, -1},
    {L"playWhole", 25, 276, 25, 25},
    {L"playWholeLabel", 52, 280, -1, -1},
    {L"growLabel", 28, 304, -1, -1},
    {L"growList", 80, 300, 41, 21},
    {L"growMaxLabel", 124, 304, -1, -1},
    {L"optionsHeader", 216, 202, 89, 17},
    {L"optionList", 216, 224, 241, 49},
    {L"tileCountList", 216, 284, 41, 21},
    {L"tileCountLabel", 260, 288, -1, -1},
    {L"configNameLabel", 264, 6, 149, 17},
    {L"configNameBox", 264, 24, 113, 21},
    {L"deleteConfigButton", 379, 25, 17, 20},
    {L"randomConfigBox", 400, 27, 65, 17},
    {L"versionLabel", 16, 53, 185, 13},
    {L"helpLink", 16, 69, 129, 13},
    {L"okButton", 296, 58, 64, 27},
    {L"cancelButton", 376, 58, 64, 27},
};

TEST_F(DialogForm, EveryControlStandsWhereTheLayoutPutsIt) {
    ASSERT_TRUE(dialog);
    for (const Place& p : kPlaces) {
        SCOPED_TRACE(p.name);
        tk::Control* control = dialog->Find(p.name);
        ASSERT_NE(control, nullptr);
        RECT r = control->Bounds();
        EXPECT_EQ(r.left, p.left);
        EXPECT_EQ(r.top, p.top);
        if (p.width >= 0) {
            EXPECT_EQ(r.right - r.left, p.width);
        }
        if (p.height >= 0) {
            EXPECT_EQ(r.bottom - r.top, p.height);
        }
    }
    RECT preview = dialog->previewPicture.Bounds();
    EXPECT_EQ(preview.left, 1);
    EXPECT_EQ(preview.right - preview.left, 187);
    EXPECT_FALSE(dialog->previewPicture.ShownItself());
}

struct ColourCase {
    const wchar_t* name;
    bool settingsPage;
    COLORREF colour;
    const char* what;
};

const ColourCase kColours[] = {
    {L"chosenFolders", false, dlg::kGreyGreen, "list background"},
    {L"chosenFolders", false, dlg::kListText, "list text"},
    {L"folderTree", false, dlg::kGreyGreen, "folder tree background"},
    {L"configNameBox", false, dlg::kGreyGreen, "combo edit background"},
    {L"configNameBox", false, dlg::kListText, "combo edit text"},
    {L"randomConfigBox", false, dlg::kGreyGreen, "check box background"},
    {L"imagesPageTitle", false, dlg::kBrightGreen, "page title"},
    {L"settingsPageLink", false, dlg::kGreyGreen, "page link at rest"},
    {L"versionLabel", false, dlg::kWhite, "band label"},
    {L"transitionList", true, dlg::kGreyGreen, "check list background"},
    {L"transitionList", true, dlg::kListText, "check list text"},
    {L"growList", true, dlg::kGreyGreen, "drop-down list face"},
    {L"growList", true, dlg::kListText, "drop-down list text"},
    {L"transitionsHeader", true, dlg::kWhite, "section header"},
    {L"settingsPageTitle", true, dlg::kBrightGreen, "page title"},
    {L"playWhenVisible", true, RGB(75, 75, 75), "switch"},
    {L"playWhole", true, RGB(75, 75, 75), "switch"},
};

TEST_F(DialogForm, ScreenShowsTheDialogsColours) {
    ASSERT_TRUE(dialog);
    for (bool settings : {false, true}) {
        if (settings) dialog->ShowSettingsPage();
        for (const ColourCase& c : kColours) {
            if (c.settingsPage != settings) continue;
            SCOPED_TRACE(testing::Message() << c.what);
            EXPECT_TRUE(rig::ScreenShot(dialog->Find(c.name)->Handle()).Holds(c.colour));
        }
    }
}

TEST_F(DialogForm, PageLinkLightsUpUnderThePointerAndSectionHeadersAreBoldUnderlined) {
    ASSERT_TRUE(dialog);
    HWND link = dialog->settingsPageLink->Handle();
    SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(dialog->settingsPageLink->Color(), dlg::kBrightGreen);
    EXPECT_TRUE(rig::ScreenShot(link).Holds(dlg::kBrightGreen));
    SendMessageW(link, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(dialog->settingsPageLink->Color(), dlg::kGreyGreen);
    EXPECT_FALSE(rig::ScreenShot(link).Holds(dlg::kBrightGreen));

    auto* header = dynamic_cast<tk::ShadowLabel*>(dialog->Find(L"transitionsHeader"));
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(header->Style().bold && header->Style().underline);
}

// The button's picture alone, drawn into a bitmap of its size.
tk::Dib Render(tk::Control& control) {
    RECT r = control.ClientRect();
    tk::Dib dib;
    dib.Create(r.right, r.bottom);
    RECT all = {0, 0, r.right, r.bottom};
    FillRect(dib.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    control.Paint(dib.Dc());
    return dib;
}

std::vector<uint32_t> Edge(const tk::Dib& dib) {
    std::vector<uint32_t> edge;
    const int w = dib.Width(), h = dib.Height();
    for (int x = 0; x < w; ++x) {
        edge.push_back(dib.Bits()[x] & 0xFFFFFF);
        edge.push_back(dib.Bits()[size_t(h - 1) * w + x] & 0xFFFFFF);
    }
    for (int y = 0; y < h; ++y) {
        edge.push_back(dib.Bits()[size_t(y) * w] & 0xFFFFFF);
        edge.push_back(dib.Bits()[size_t(y) * w + w - 1] & 0xFFFFFF);
    }
    return edge;
}

bool Holds(const tk::Dib& dib, uint32_t rgb) {
    for (int i = 0; i < dib.Width() * dib.Height(); ++i)
        if ((dib.Bits()[i] & 0xFFFFFF) == rgb) return true;
    return false;
}

TEST_F(DialogForm, FramedButtonOutlinesItsOuterPixelsInItsRectColor) {
    ASSERT_TRUE(dialog);
    FramedSpeedButton& ok = *dialog->okButton;
    EXPECT_EQ(ok.RectColor(), RGB(0, 0, 0));
    tk::Dib black = Render(ok);
    for (uint32_t pixel : Edge(black))
        ASSERT_EQ(pixel, 0x000000u);
    EXPECT_NE(black.Bits()[size_t(1) * black.Width() + 1] & 0xFFFFFF, 0u); // inside: the face

    ok.SetRectColor(RGB(255, 0, 0));
    for (uint32_t pixel : Edge(Render(ok)))
        ASSERT_EQ(pixel, 0xFF0000u);
}

TEST_F(DialogForm, FramedButtonTurnsBrightGreenWhilePressedAndClicksOnlyWhenReleasedOverIt) {
    ASSERT_TRUE(dialog);
    FramedSpeedButton& add = *dialog->addFolderButton;
    int clicks = 0;
    add.onClick = [&] { ++clicks; };
    EXPECT_FALSE(Holds(Render(add), 0x00FF80));
    SendMessageW(add.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(add.State(), tk::GlyphState::Pressed);
    EXPECT_EQ(GetCapture(), add.Handle());
    EXPECT_TRUE(Holds(Render(add), 0x00FF80));
    SendMessageW(add.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 10)); // released elsewhere
    EXPECT_EQ(add.State(), tk::GlyphState::Up);
    EXPECT_EQ(clicks, 0);
    SendMessageW(add.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(add.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(clicks, 1);
}

TEST_F(DialogForm, EveryHintIsItsControlsTooltipWithItsLineBreaks) {
    ASSERT_TRUE(dialog);
    for (auto rows : {layout::kImagesPage, layout::kSettingsPage, layout::kBand})
        for (const layout::ControlRow& row : rows) {
            if (!row.hint) continue;
            SCOPED_TRACE(row.name);
            EXPECT_EQ(dialog->ToolTips().Text(dialog->Find(row.name)->Handle()), row.hint);
        }
    // The file list's tooltip names the photo formats this PC shows.
    EXPECT_EQ(dialog->ToolTips().Text(dialog->fileList->Handle()), FileListHint(UsableMediaMask()));
    // The knobs' hints come from the configuration, and follow it.
    EXPECT_EQ(dialog->ToolTips().Text(dialog->stepKnob->Handle()), L"4 pixels");
    EXPECT_EQ(dialog->ToolTips().Text(dialog->speedKnob->Handle()), L"4 pixels toutes les 20 ms");
    EXPECT_EQ(dialog->ToolTips().Text(dialog->displayTimeKnob->Handle()), L"30 secondes");
}

} // namespace
