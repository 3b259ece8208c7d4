// The band's named configurations and its help link. The dialog works on one configuration
// at a time, the one "cfgname" names: picking another in the name box offers to save the
// one left, then loads the one picked; the X button deletes the configuration named in the
// box and moves on to another.
#include "settings/ConfigName.h"
#include "settings/Settings.h"
#include "settings/IniValue.h"
#include "dialog/HelpPage.h"
#include "dialog/NamedConfigurations.h"
#include "dialog/SettingsDialog.h"
#include "toolkit/Log.h"
#include "toolkit/MsgBox.h"
#include "toolkit/Text.h"

namespace {
const wchar_t* const kQuestionCaption = L"Confirmation";
const wchar_t* const kSaveQuestion =
    L"Voulez-vous enregistrer les modifications de la configuration : ";
const wchar_t* const kDeleteQuestion = L"Voulez-vous supprimer la configuration : ";
const wchar_t* const kCannotDelete = L"Impossible de détruire le fichier : ";
// What the box names once the last configuration is gone: OK then saves under it.
const wchar_t* const kFirstName = L"config 1";
} // namespace

void SettingsDialog::WireBand() {
    configNameBox->onSelect = [this] { OnConfigurationPicked(); };
    deleteConfigButton->onClick = [this] { OnDeleteConfiguration(); };
    helpLink->onClick = [this] { OpenHelp(); };
    helpLink->onMouseEnter = [this] { OnHelpLinkEnter(); };
    helpLink->onMouseLeave = [this] { OnHelpLinkLeave(); };
}

bool SettingsDialog::AskYesNo(const std::wstring& question) {
    return tk::ShowBox(Handle(), question, kQuestionCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void SettingsDialog::LoadNamedConfiguration(const std::wstring& name) {
    // Only that configuration's file is read; a missing one is reported by the loading and
    // leaves the values shown as they were.
    SettingsRecord named = settings;
    named.configName = name;
    Loaded loaded = LoadSettings(LoadScope::NamedConfiguration, named, &unreadFiles_);
    settings = std::move(loaded.settings);
    ShowLoadProblems(GetActiveWindow(), loaded.problems);
    ShowSettings();
}

void SettingsDialog::OnConfigurationPicked() {
    // A refused TakeSettings has said why and saves nothing, but the switch goes on: the user asked
    // for the other configuration.
    if (AskYesNo(kSaveQuestion + settings.configName) && TakeSettings(settings.configName) &&
        !SaveOrSay()) {
        // The system refused the write: the switch is abandoned, and the box names again the
        // configuration that is still shown, or OK would save it over the one picked.
        configNameBox->SetItemIndex(configNameBox->FindExact(settings.configName));
        configNameBox->SetText(settings.configName);
        return;
    }
    const std::wstring picked = configNameBox->Text();
    if (!picked.empty()) LoadNamedConfiguration(picked);
}

void SettingsDialog::OnDeleteConfiguration() {
    // Only a configuration's own file is ever deleted: a typed name that is no plain file
    // name (a path, a device) has none, and could lead out of the install folder.
    if (!IsUsableConfigName(configNameBox->Text()) ||
        !ConfigurationFileExists(settings.installDir, configNameBox->Text()))
        return;
    if (!AskYesNo(kDeleteQuestion + configNameBox->Text())) return;

    // Loaded first, so that the name of its memory of seen photos is known.
    LoadNamedConfiguration(configNameBox->Text());
    const std::wstring name = configNameBox->Text();
    std::wstring failedPath;
    if (!DeleteConfigurationFiles(settings.installDir, name, settings.memoryName, failedPath)) {
        // It stays loaded and listed.
        tk::ShowBox(Handle(), kCannotDelete + failedPath, tk::AppTitle(), MB_OK);
        return;
    }
    const int index = configNameBox->FindExact(name);
    if (index >= 0) configNameBox->Delete(index);
    // On to the first name left, without offering to save the configuration just deleted:
    // saving it would write it back under its name, undoing the deletion without a word.
    if (configNameBox->Count() > 0)
        LoadNamedConfiguration(configNameBox->Item(0));
    else
        KeepValuesUnderFirstName();
    RenameCurrentAfterDeletion(name);
}

// The last one gone, there is nothing to load: a box saying that "config 1" is missing
// would only puzzle. The dialog keeps the values it shows, the user's folders among them,
// under that name, and OK saves them; the memory of the one deleted went with it.
void SettingsDialog::KeepValuesUnderFirstName() {
    settings.configName = kFirstName;
    settings.memoryName.clear();
    ShowSettings();
}

// The deletion is done at once, whatever button closes the dialog: "config.ini" must not
// go on naming a file that is gone, or the saver would find no configuration at all.
void SettingsDialog::RenameCurrentAfterDeletion(const std::wstring& deleted) {
    if (!tk::SameIgnoringCase(ConfigIniName(settings.installDir), deleted)) return;
    try {
        SaveCurrentConfigName(settings);
    } catch (const WriteRefused& e) {
        tk::Log(e.Message());
        tk::ShowBox(Handle(), e.Message(), tk::AppTitle(), MB_OK | MB_ICONERROR);
    }
}

void SettingsDialog::OnHelpLinkEnter() {
    helpLink->SetEmphasis(true, true);
}
void SettingsDialog::OnHelpLinkLeave() {
    helpLink->SetEmphasis(true, false);
}

void SettingsDialog::OpenHelp() {
    // Without a browser the page is not shown: the user is told where it lies rather than
    // left with a link that does nothing; the reason is in the log.
    std::wstring page;
    if (!OpenHelpPage(Handle(), page))
        tk::ShowBox(Handle(), HelpNotOpenedText(page), tk::AppTitle(), MB_OK | MB_ICONWARNING);
}
