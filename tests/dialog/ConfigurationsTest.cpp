// The band's named configurations on real files: switching with the offer to save, deleting
// with its question and its failures, and the help link.
#include <gtest/gtest.h>

#include <functional>

#include "Globals/IniValue.h"
#include "dialog/HelpPage.h"
#include "tests/support/DialogRig.h"
#include "toolkit/System.h"

namespace {

const std::wstring kSaveQuestion =
    L"Voulez-vous enregistrer les modifications de la configuration : ";
const std::wstring kDeleteQuestion = L"Voulez-vous supprimer la configuration : ";

class Configurations : public testing::Test {
  protected:
    Configurations() {
        WriteFileBytes(install.File(L"Vacances.cfg"),
                       "[Options]\r\ndefdir=E:\\vacances;\r\nopmemfiles=1\r\nmemfilesname=Vacances\r\n");
        WriteFileBytes(install.File(L"Vacances.tmp"), "0E:\\vacances\\a.jpg\r\n");
        WriteFileBytes(install.File(L"Anniversaire.cfg"), "[Options]\r\ndefdir=F:\\fete;\r\n");
    }
    std::unique_ptr<TSelRepDlg> Open() {
        auto dialog = rig::OpenDialog();
        if (dialog) dialog->RxLabel3Click(); // the knobs and transitions in view
        return dialog;
    }
    // A name picked in the box's list, as a click on it tells the dialog.
    static void Pick(TSelRepDlg& dialog, const std::wstring& name) {
        tk::ComboBox& box = *dialog.CBCfgName;
        box.SetItemIndex(box.FindExact(name));
        SendMessageW(GetParent(box.Handle()), WM_COMMAND, MAKEWPARAM(box.Id(), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box.Handle()));
    }
    static std::vector<std::wstring> Folders(TSelRepDlg& dialog) {
        return dialog.LstDirBox->Items();
    }
    std::string Cfg(const wchar_t* name) const { return ReadFileBytes(install.File(name)); }

    rig::DialogInstall install;
    rig::Boxes boxes{IDYES};
};

const std::vector<std::wstring> kConfig1Folders = {L"C:\\photos", L"D:\\films"};
const std::vector<std::wstring> kVacancesFolders = {L"E:\\vacances"};

TEST_F(Configurations, PickingAsksToSaveTheOneLeftThenLoadsThePickedOneFromDisk) {
    struct Case {
        const char* what;
        int answer;
        const wchar_t* pick;
        bool allUnchecked; // the change is all transitions unchecked, which Get refuses
        bool saved;
        std::vector<std::wstring> folders;
        bool firstTransition; // as shown afterwards; unchecked before the pick
    };
    const Case cases[] = {
        {"Yes, to another", IDYES, L"Vacances", false, true, kVacancesFolders, true},
        {"No, to another", IDNO, L"Vacances", false, false, kVacancesFolders, true},
        {"Yes, refused by Get", IDYES, L"Vacances", true, false, kVacancesFolders, true},
        {"No, the same again", IDNO, L"config 1", false, false, kConfig1Folders, true},
        {"Yes, the same again", IDYES, L"config 1", false, true, kConfig1Folders, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rig::DialogInstall fresh;
        WriteFileBytes(fresh.File(L"Vacances.cfg"),
                       "[Options]\r\ndefdir=E:\\vacances;\r\noptransition=;1;\r\n");
        const std::string before = ReadFileBytes(fresh.File(L"config 1.cfg"));
        auto dialog = Open();
        ASSERT_TRUE(dialog);
        for (int i = 0; i < (c.allUnchecked ? 13 : 1); ++i) dialog->CBTransition->SetChecked(i, false);
        boxes.seen.clear();
        boxes.answer = c.answer;
        Pick(*dialog, c.pick);

        ASSERT_EQ(boxes.seen.size(), c.allUnchecked ? 2u : 1u);
        EXPECT_EQ(boxes.seen[0].text, kSaveQuestion + L"config 1");
        EXPECT_EQ(boxes.seen[0].caption, L"Confirmation");
        EXPECT_EQ(boxes.seen[0].flags, UINT(MB_YESNO | MB_ICONQUESTION));
        if (c.allUnchecked) {
            EXPECT_EQ(boxes.seen[1].text, kNoTransitionMessage);
        }
        EXPECT_EQ(ReadFileBytes(fresh.File(L"config 1.cfg")) != before, c.saved);
        // The switch names no new current configuration.
        EXPECT_EQ(ReadIniString(fresh.File(L"config.ini"), L"Config", L"cfgname", L""), L"config 1");
        EXPECT_EQ(Settings.cfgname, c.pick);
        EXPECT_EQ(dialog->CBCfgName->Text(), c.pick);
        EXPECT_EQ(Folders(*dialog), c.folders);
        EXPECT_EQ(dialog->CBTransition->Checked(0), c.firstTransition);
    }
}

TEST_F(Configurations, RefusedSaveBeforeASwitchStaysOnTheConfigurationShown) {
    auto dialog = Open();
    ASSERT_TRUE(dialog);
    Settings.InstallDir = install.File(L"gone\\"); // the system refuses the write
    Pick(*dialog, L"Vacances");
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_EQ(boxes.seen[1].text.rfind(L"Impossible d'écrire dans ", 0), 0u);
    // OK would now save the values shown under the name shown: they must agree.
    EXPECT_EQ(dialog->CBCfgName->Text(), L"config 1");
    EXPECT_EQ(Settings.cfgname, L"config 1");
    EXPECT_EQ(Folders(*dialog), kConfig1Folders);
}

TEST_F(Configurations, DeletingANameWithoutItsOwnFileAsksAndTouchesNothing) {
    CreateDirectoryW(install.File(L"folder.cfg").c_str(), nullptr);
    CreateDirectoryW(install.File(L"sub").c_str(), nullptr);
    WriteFileBytes(install.File(L"sub\\inner.cfg"), "[Options]\r\n");
    auto dialog = Open();
    ASSERT_TRUE(dialog);
    for (const wchar_t* typed : {L"absent", L"  ", L"folder", L"sub\\inner", L"CON", L"nul"}) {
        dialog->CBCfgName->SetText(typed);
        dialog->Button1Click();
    }
    EXPECT_TRUE(boxes.seen.empty());
    EXPECT_TRUE(tk::FileExists(install.File(L"sub\\inner.cfg")));
    EXPECT_EQ(dialog->CBCfgName->Count(), 3);
}

TEST_F(Configurations, DeletingOneOfAThousandMovesToTheFirstNameLeftWithoutSavingTheDeletedOne) {
    for (int i = 0; i < 1000; ++i)
        WriteFileBytes(install.File(L"n" + std::to_wstring(1000 + i) + L".cfg"), "[Options]\r\n");
    const std::string ini = Cfg(L"config.ini");
    auto dialog = Open();
    ASSERT_TRUE(dialog);
    ASSERT_EQ(dialog->CBCfgName->Count(), 1003);
    dialog->CBCfgName->SetText(L"vacances"); // the file system ignores case
    dialog->Button1Click();

    // Yes to every question, and only the deletion's was asked.
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, kDeleteQuestion + L"vacances");
    EXPECT_EQ(boxes.seen[0].caption, L"Confirmation");
    EXPECT_FALSE(tk::FileExists(install.File(L"Vacances.cfg")));
    EXPECT_FALSE(tk::FileExists(install.File(L"Vacances.tmp")));
    EXPECT_EQ(dialog->CBCfgName->Count(), 1002);
    EXPECT_EQ(dialog->CBCfgName->Text(), L"Anniversaire");
    EXPECT_EQ(Settings.cfgname, L"Anniversaire");
    EXPECT_EQ(Folders(*dialog), std::vector<std::wstring>{L"F:\\fete"});
    EXPECT_EQ(Cfg(L"config.ini"), ini);
    EXPECT_FALSE(Cfg(L"config 1.cfg").empty());
}

TEST_F(Configurations, DeletionRefusedBySystemSaysSoAndKeepsTheConfigurationLoadedAndListed) {
    const std::wstring path = install.File(L"Vacances.cfg");
    const std::pair<const char*, std::function<tk::FileHandle()>> refusals[] = {
        {"read-only", [&] {
             SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
             return tk::FileHandle();
         }},
        {"open elsewhere", [&] {
             return tk::FileHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                               nullptr, OPEN_EXISTING, 0, nullptr));
         }},
    };
    for (const auto& [what, refuse] : refusals) {
        SCOPED_TRACE(what);
        auto dialog = Open();
        ASSERT_TRUE(dialog);
        tk::FileHandle held = refuse();
        boxes.seen.clear();
        dialog->CBCfgName->SetText(L"Vacances");
        dialog->Button1Click();
        ASSERT_EQ(boxes.seen.size(), 2u);
        EXPECT_EQ(boxes.seen[1].text, L"Impossible de détruire le fichier : " + path);
        EXPECT_EQ(boxes.seen[1].caption, L"Vistamur");
        EXPECT_EQ(boxes.seen[1].flags, UINT(MB_OK));
        EXPECT_TRUE(tk::FileExists(path));
        EXPECT_TRUE(tk::FileExists(install.File(L"Vacances.tmp")));
        EXPECT_EQ(Settings.cfgname, L"Vacances");
        EXPECT_GE(dialog->CBCfgName->FindExact(L"Vacances"), 0);
        EXPECT_EQ(Folders(*dialog), kVacancesFolders);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(Configurations, DeletingTheLastLeavesConfig1AndTheValuesShown) {
    DeleteFileW(install.File(L"config 1.cfg").c_str());
    DeleteFileW(install.File(L"Anniversaire.cfg").c_str());
    auto dialog = Open();
    ASSERT_TRUE(dialog);
    dialog->CBCfgName->SetText(L"Vacances");
    boxes.seen.clear(); // the opening's own "not found"
    dialog->Button1Click();
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_EQ(boxes.seen[1].text, L"Configuration non trouvée (" + install.File(L"config 1.cfg") + L")");
    EXPECT_EQ(dialog->CBCfgName->Count(), 0);
    EXPECT_EQ(dialog->CBCfgName->Text(), L"config 1");
    EXPECT_EQ(Folders(*dialog), kVacancesFolders);
}

TEST_F(Configurations, HelpLinkStandsOutUnderThePointerAndOpensTheWrittenPage) {
    auto dialog = Open();
    ASSERT_TRUE(dialog);
    tk::ShadowLabel& link = *dialog->RxLabel25;
    wchar_t text[64] = {};
    GetWindowTextW(link.Handle(), text, 64);
    EXPECT_STREQ(text, L"Aide de Vistamur");
    SendMessageW(link.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(link.Style().bold && link.Style().underline);

    std::vector<std::pair<HWND, std::wstring>> opened;
    SetShellOpen([&](HWND owner, const std::wstring& page) {
        opened.emplace_back(owner, page);
        return INT_PTR(31); // SE_ERR_NOASSOC: as without a browser
    });
    SendMessageW(link.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(link.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SetShellOpen(nullptr);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].first, dialog->Handle());
    EXPECT_EQ(ReadFileBytes(opened[0].second).substr(0, 15), "<!DOCTYPE html>");
    EXPECT_TRUE(boxes.seen.empty());

    SendMessageW(link.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(link.Style().bold);
    EXPECT_FALSE(link.Style().underline);
}

} // namespace
