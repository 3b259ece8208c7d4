// The band's named configurations on real files: switching with the offer to save, deleting
// with its question and its failures, and the help link.
#include <gtest/gtest.h>

#include <functional>

#include "settings/IniValue.h"
#include "dialog/HelpPage.h"
#include "tests/support/DialogRig.h"
#include "toolkit/Handles.h"
#include "toolkit/System.h"
#include "toolkit/Text.h"

namespace {

using Folders = std::vector<std::wstring>;
const Folders kConfig1 = {L"C:\\photos", L"D:\\films"}, kVacances = {L"E:\\vacances"};

class Configurations : public testing::Test {
  protected:
    Configurations() {
        WriteFileBytes(install.File(L"Vacances.cfg"),
                       "[Options]\r\ndefdir=E:\\vacances;\r\n"
                       "optransition=;1;\r\nmemfilesname=Vacances\r\n");
        WriteFileBytes(install.File(L"Vacances.tmp"), "0E:\\vacances\\a.jpg\r\n");
        WriteFileBytes(install.File(L"Anniversaire.cfg"), "[Options]\r\ndefdir=F:\\fete;\r\n");
    }
    // A name picked in the box's list, as a click on it tells the dialog.
    static void Pick(SettingsDialog& dialog, const std::wstring& name) {
        tk::ComboBox& box = *dialog.configNameBox;
        box.SetItemIndex(box.FindExact(name));
        SendMessageW(GetParent(box.Handle()), WM_COMMAND, MAKEWPARAM(box.Id(), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box.Handle()));
    }
    void Delete(SettingsDialog& dialog, const std::wstring& typed) {
        boxes.seen.clear();
        dialog.configNameBox->SetText(typed);
        dialog.OnDeleteConfiguration();
    }

    rig::DialogInstall install;
    rig::Boxes boxes{IDYES};
};

TEST_F(Configurations, PickingAsksToSaveTheOneLeftThenLoadsThePickedOneFromDisk) {
    struct Case {
        const char* what;
        int answer;
        const wchar_t* pick;
        std::function<void(SettingsDialog&)> change; // besides the first transition unchecked
        size_t boxes;
        bool saved;
        const wchar_t* shown;
        Folders folders;
        bool firstTransition;
    };
    auto none = [](SettingsDialog&) {};
    auto noTransition = [](SettingsDialog& d) {
        for (int i = 0; i < 13; ++i)
            d.transitionList->SetChecked(i, false);
    };
    auto refusedWrite = [&](SettingsDialog& d) { d.settings.installDir = install.File(L"gone\\"); };
    const Case cases[] = {
        {"Yes, to another", IDYES, L"Vacances", none, 1, true, L"Vacances", kVacances, true},
        {"No, to another", IDNO, L"Vacances", none, 1, false, L"Vacances", kVacances, true},
        {"Yes, refused by TakeSettings", IDYES, L"Vacances", noTransition, 2, false, L"Vacances",
         kVacances, true},
        {"Yes, refused by the system", IDYES, L"Vacances", refusedWrite, 2, false, L"config 1",
         kConfig1, false},
        {"No, the same again", IDNO, L"config 1", none, 1, false, L"config 1", kConfig1, true},
    };
    const std::wstring cfg = install.File(L"config 1.cfg");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteConfiguration(install.dir.Path(), rig::DialogOptions());
        const std::string before = ReadFileBytes(cfg);
        auto dialog = rig::OpenDialog();
        ASSERT_TRUE(dialog);
        dialog->transitionList->SetChecked(0, false);
        c.change(*dialog);
        boxes.seen.clear();
        boxes.answer = c.answer;
        Pick(*dialog, c.pick);

        ASSERT_EQ(boxes.seen.size(), c.boxes);
        EXPECT_EQ(boxes.seen[0].text,
                  L"Voulez-vous enregistrer les modifications de la configuration : config 1");
        EXPECT_EQ(boxes.seen[0].caption, L"Confirmation");
        EXPECT_EQ(boxes.seen[0].flags, UINT(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(ReadFileBytes(cfg) != before, c.saved);
        // The switch makes no other configuration the current one.
        EXPECT_EQ(ReadIniString(install.File(L"config.ini"), L"Config", L"cfgname", L""),
                  L"config 1");
        // What OK would save, and under which name, agree.
        EXPECT_EQ(dialog->settings.configName, c.shown);
        EXPECT_EQ(dialog->configNameBox->Text(), c.shown);
        EXPECT_EQ(dialog->chosenFolders->Items(), c.folders);
        EXPECT_EQ(dialog->transitionList->Checked(0), c.firstTransition);
    }
}

TEST_F(Configurations, DeletingANameWithoutItsOwnFileAsksNothingAndTouchesNothing) {
    CreateDirectoryW(install.File(L"folder.cfg").c_str(), nullptr);
    CreateDirectoryW(install.File(L"sub").c_str(), nullptr);
    WriteFileBytes(install.File(L"sub\\inner.cfg"), "[Options]\r\n");
    auto dialog = rig::OpenDialog();
    ASSERT_TRUE(dialog);
    for (const wchar_t* typed : {L"absent", L"  ", L"folder", L"sub\\inner", L"CON", L"nul"}) {
        Delete(*dialog, typed);
        EXPECT_TRUE(boxes.seen.empty()) << typed;
    }
    EXPECT_TRUE(tk::FileExists(install.File(L"sub\\inner.cfg")));
}

TEST_F(Configurations, DeletingOneOfAThousandMovesToTheFirstNameLeftWithoutSavingTheDeletedOne) {
    for (int i = 1000; i < 2000; ++i)
        WriteFileBytes(install.File(L"n" + std::to_wstring(i) + L".cfg"), "[Options]\r\n");
    const std::string ini = ReadFileBytes(install.File(L"config.ini"));
    auto dialog = rig::OpenDialog();
    ASSERT_TRUE(dialog);
    Delete(*dialog, L"vacances"); // the file system ignores case
    // Yes to every question, and only the deletion's was asked.
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, L"Voulez-vous supprimer la configuration : vacances");
    EXPECT_FALSE(tk::FileExists(install.File(L"Vacances.cfg")));
    EXPECT_FALSE(tk::FileExists(install.File(L"Vacances.tmp")));
    EXPECT_EQ(dialog->configNameBox->Count(), 1002);
    EXPECT_EQ(dialog->configNameBox->Text(), L"Anniversaire");
    EXPECT_EQ(dialog->settings.configName, L"Anniversaire");
    EXPECT_EQ(dialog->chosenFolders->Items(), Folders{L"F:\\fete"});
    EXPECT_EQ(ReadFileBytes(install.File(L"config.ini")), ini);
}

TEST_F(Configurations, DeletionRefusedBySystemSaysSoAndKeepsTheConfigurationLoadedAndListed) {
    const std::wstring path = install.File(L"Vacances.cfg");
    auto dialog = rig::OpenDialog();
    ASSERT_TRUE(dialog);
    for (bool readOnly : {true, false}) {
        SetFileAttributesW(path.c_str(),
                           readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        tk::FileHandle openElsewhere(readOnly
                                         ? INVALID_HANDLE_VALUE
                                         : CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                       nullptr, OPEN_EXISTING, 0, nullptr));
        Delete(*dialog, L"Vacances");
        ASSERT_EQ(boxes.seen.size(), 2u);
        EXPECT_EQ(boxes.seen[1].text, L"Impossible de détruire le fichier : " + path);
        EXPECT_EQ(boxes.seen[1].caption, L"Vistamur");
        EXPECT_EQ(boxes.seen[1].flags, UINT(MB_OK));
        EXPECT_TRUE(tk::FileExists(install.File(L"Vacances.tmp")));
        EXPECT_EQ(dialog->settings.configName, L"Vacances");
        EXPECT_GE(dialog->configNameBox->FindExact(L"Vacances"), 0);
    }
}

// The deletion is done at once: "config.ini" names at once the configuration the dialog
// moved to when it named the one deleted, whatever closes the dialog then. The last one gone,
// the dialog keeps its values under "config 1", without a box about a missing file.
TEST_F(Configurations, DeletingTheCurrentOneMakesConfigIniNameTheOneShown) {
    struct Case {
        const char* what;
        bool onlyOne;
        const wchar_t* shown;
        Folders folders;
    } cases[] = {{"others left", false, L"Anniversaire", Folders{L"F:\\fete"}},
                 {"the last one", true, L"config 1", Folders{L"E:\\vacances"}}};
    const std::wstring ini = install.File(L"config.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(install.File(L"Vacances.cfg"), "[Options]\r\ndefdir=E:\\vacances;\r\n");
        WritePrivateProfileStringW(L"Config", L"cfgname", L"Vacances", ini.c_str());
        if (c.onlyOne) {
            DeleteFileW(install.File(L"config 1.cfg").c_str());
            DeleteFileW(install.File(L"Anniversaire.cfg").c_str());
        }
        auto dialog = rig::OpenDialog();
        ASSERT_TRUE(dialog);
        Delete(*dialog, L"Vacances");
        ASSERT_EQ(boxes.seen.size(), 1u) << tk::ToUtf8(boxes.seen.back().text);
        EXPECT_EQ(ReadIniString(ini, L"Config", L"cfgname", L""), c.shown);
        EXPECT_EQ(dialog->configNameBox->Text(), c.shown);
        EXPECT_EQ(dialog->settings.configName, c.shown);
        EXPECT_EQ(dialog->chosenFolders->Items(), c.folders);
        dialog->OnCancel();
        EXPECT_EQ(ReadIniString(ini, L"Config", L"cfgname", L""), c.shown);
    }
    EXPECT_EQ(ListConfigurations(install.dir.Path()), std::vector<std::wstring>{});
}

// The last one gone, OK saves the values it had under "config 1", less its memory.
TEST_F(Configurations, OkSavesTheLastOnesValuesUnderTheFirstName) {
    DeleteFileW(install.File(L"config 1.cfg").c_str());
    DeleteFileW(install.File(L"Anniversaire.cfg").c_str());
    WritePrivateProfileStringW(L"Config", L"cfgname", L"Vacances",
                               install.File(L"config.ini").c_str());
    auto dialog = rig::OpenDialog();
    ASSERT_TRUE(dialog);
    Delete(*dialog, L"Vacances");
    dialog->OnOk();
    ASSERT_EQ(boxes.seen.size(), 1u) << tk::ToUtf8(boxes.seen.back().text); // the question
    const std::wstring cfg = install.File(L"config 1.cfg");
    EXPECT_EQ(ReadIniString(cfg, L"Options", L"defdir", L""), L"E:\\vacances;");
    EXPECT_EQ(ReadIniString(cfg, L"Options", L"optransition", L""), L";1;");
    EXPECT_EQ(ReadIniString(cfg, L"Options", L"memfilesname", L"?"), L"");
}

// A configuration file that another program held while the dialog opened was said unreadable;
// OK asks before it replaces the file with the values shown, and No keeps the file and the
// dialog.
TEST_F(Configurations, AConfigurationThatCouldNotBeReadIsReplacedOnlyWhenTheUserSaysSo) {
    const std::wstring cfg = install.File(L"config 1.cfg");
    const std::string before = ReadFileBytes(cfg);
    std::unique_ptr<SettingsDialog> dialog;
    {
        HeldFile held(cfg);
        ASSERT_TRUE(held.Held());
        dialog = rig::OpenDialog();
    }
    ASSERT_TRUE(dialog);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, L"Impossible de lire " + cfg);
    dialog->chosenFolders->Add(L"C:\\nouveau");
    for (int answer : {IDNO, IDYES}) {
        boxes.seen.clear();
        boxes.answer = answer;
        dialog->OnOk();
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_EQ(boxes.seen[0].text,
                  L"Le fichier " + cfg +
                      L" n'a pas pu être lu : les valeurs affichées ne sont pas les siennes.\r"
                      L"Voulez-vous le remplacer par ces valeurs ?");
        EXPECT_EQ(boxes.seen[0].flags, UINT(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(ReadFileBytes(cfg) == before, answer == IDNO);
        EXPECT_EQ(IsWindow(dialog->Handle()) != FALSE, answer == IDNO);
    }
    EXPECT_EQ(ReadIniString(cfg, L"Options", L"defdir", L""), L"C:\\nouveau;");
}

TEST_F(Configurations, HelpLinkStandsOutUnderThePointerAndOpensTheWrittenPage) {
    auto dialog = rig::OpenDialog();
    ASSERT_TRUE(dialog);
    tk::ShadowLabel& link = *dialog->helpLink;
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
    // No browser opened it: the user is told where the page is.
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_NE(boxes.seen[0].text.find(opened[0].second), std::wstring::npos);
    EXPECT_EQ(boxes.seen[0].flags, UINT(MB_OK | MB_ICONWARNING));
    SendMessageW(link.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(link.Style().bold && !link.Style().underline);
}

} // namespace
