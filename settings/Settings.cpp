#include "settings/Settings.h"

#include <windows.h>

#include "settings/ConfigName.h"
#include "settings/IniValue.h"
#include "settings/Random.h"
#include "settings/SettingKeys.h"
#include "toolkit/FileContent.h"
#include "toolkit/Handles.h"
#include "toolkit/Log.h"
#include "toolkit/MsgBox.h"
#include "toolkit/System.h"
#include "toolkit/Text.h"

uint8_t RunMode = rmSaver;
const wchar_t* const kWarningCaption = L"Avertissement";
SettingsRecord Settings;

namespace {

void ReadInstallDir() {
    // The value is only read, so read access is all that is asked for: a standard user is
    // refused all access rights to this key, and would otherwise lose the install folder.
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInstallKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) return;
    tk::RegKey key(raw);
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.Get(), L"InstallDir", nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = DWORD(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), L"InstallDir", nullptr, &type,
                         reinterpret_cast<BYTE*>(value.data()), &bytes) != ERROR_SUCCESS)
        return;
    value.resize(wcsnlen(value.c_str(), value.size()));
    Settings.installDir = value;
}

} // namespace

// The pattern also matches folders and, through their short names, files such as
// "notes.cfgold": those are no configurations, and drawing one would stop the saver on a
// missing-file box.
std::vector<std::wstring> ListConfigurations(const std::wstring& installDir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    tk::FindHandle find(FindFirstFileW((installDir + L"*.cfg").c_str(), &data));
    if (!find) return names;
    do {
        std::wstring name = data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (name.size() <= 4 ||
            CompareStringOrdinal(name.c_str() + name.size() - 4, 4, L".cfg", 4, TRUE) != CSTR_EQUAL)
            continue;
        names.push_back(name.substr(0, name.size() - 4));
    } while (FindNextFileW(find.Get(), &data));
    return names;
}

namespace {

// The warnings of the loading.
const wchar_t* const kNotFoundMessage = L"Configuration non trouvée (%s)";
const wchar_t* const kCannotReadMessage = L"Impossible de lire %s";

// Whether the file can be read, waiting a moment for one that another program holds. One that
// stays held is said so, and noted, so that no save replaces it unasked.
tk::FileRead CheckReadable(const std::wstring& file, LoadProblems& problems,
                           const std::function<bool()>& keepGoing) {
    std::erase_if(Settings.unreadFiles,
                  [&](const std::wstring& f) { return tk::SamePath(f, file); });
    const tk::FileRead state = tk::WaitReadable(file, keepGoing);
    if (state == tk::FileRead::Unreadable) {
        tk::Log(L"cannot read " + file + L", error " + tk::IntToStr(GetLastError()));
        Settings.unreadFiles.push_back(file);
        problems.push_back({LoadProblem::Unreadable, file});
    }
    return state;
}

// A name that is no usable file name (a path, a device) is taken for a missing
// configuration: nothing outside the install folder is read.
void ReadConfigFile(LoadProblems& problems, const std::function<bool()>& keepGoing) {
    const std::wstring file = ConfigFilePath();
    const bool usable = IsUsableConfigName(Settings.configName);
    if (!usable) tk::Log(L"unusable configuration name \"" + Settings.configName + L"\"");
    const tk::FileRead state =
        usable ? CheckReadable(file, problems, keepGoing) : tk::FileRead::Absent;
    if (state == tk::FileRead::Absent) problems.push_back({LoadProblem::NotFound, file});
    if (state != tk::FileRead::Read) return;
    for (const SettingKey& k : ConfigFileKeys())
        ReadSetting(file, k, Settings);
}

} // namespace

std::wstring ConfigFilePath() {
    return ConfigFilePath(Settings.installDir, Settings.configName);
}

LoadProblems LoadConfigFiles(LoadScope scope, const std::function<bool()>& keepGoing) {
    LoadProblems problems;
    if (scope != LoadScope::NamedConfiguration) {
        const std::wstring ini = Settings.installDir + kConfigIni;
        const tk::FileRead state = CheckReadable(ini, problems, keepGoing);
        if (state == tk::FileRead::Absent || state == tk::FileRead::Stopped) return problems;
        if (state == tk::FileRead::Unreadable) {
            ReadConfigFile(problems, keepGoing); // the configuration named by default
            return problems;
        }
        for (const SettingKey& k : ConfigIniKeys())
            ReadSetting(ini, k, Settings);
        if (Settings.randomConfig && scope == LoadScope::SaverStart) {
            // With no configuration file at all there is nothing to draw from: the named
            // one stays, and its absence is reported below like any missing file.
            std::vector<std::wstring> names = ListConfigurations(Settings.installDir);
            if (!names.empty()) Settings.configName = names[Random(int(names.size()))];
        }
    }
    ReadConfigFile(problems, keepGoing);
    return problems;
}

LoadProblems LoadSettings(LoadScope scope, const std::function<bool()>& keepGoing) {
    ReadInstallDir();
    return LoadConfigFiles(scope, keepGoing);
}

std::wstring LoadProblemText(const LoadProblem& problem) {
    return tk::FormatMessageText(problem.kind == LoadProblem::NotFound ? kNotFoundMessage
                                                                       : kCannotReadMessage,
                                 problem.file);
}

void ShowLoadProblems(HWND owner, const LoadProblems& problems) {
    for (const LoadProblem& problem : problems)
        tk::ShowBox(owner, LoadProblemText(problem), kWarningCaption, MB_OK | MB_ICONWARNING);
}

// The configuration's file first: "config.ini" names it only once it is written whole, so
// that a write refused on the way (a folder of that name, a name too long) leaves the saver
// on the configuration it had.
void SaveSettings() {
    const SettingsRecord& s = Settings;
    const std::wstring file = ConfigFilePath();
    for (const SettingKey& k : ConfigFileKeys())
        WriteSetting(file, k, s);

    const std::wstring ini = s.installDir + kConfigIni;
    for (const SettingKey& k : ConfigIniKeys())
        WriteSetting(ini, k, s);
    Settings.unreadFiles.clear(); // both files now hold what the user saved
}

std::vector<std::wstring> UnreadFilesASaveReplaces() {
    std::vector<std::wstring> files;
    for (const std::wstring& file : {ConfigFilePath(), Settings.installDir + kConfigIni})
        for (const std::wstring& unread : Settings.unreadFiles)
            if (tk::SamePath(unread, file) && tk::FileExists(file)) files.push_back(file);
    return files;
}

void SaveCurrentConfigName(const std::wstring& configName) {
    SettingsRecord named = Settings;
    named.configName = configName;
    WriteSetting(Settings.installDir + kConfigIni, ConfigIniKeys()[0], named);
}

std::wstring ConfigIniName(const std::wstring& installDir) {
    const std::wstring ini = installDir + kConfigIni;
    if (!tk::FileExists(ini)) return L"";
    SettingsRecord named;
    named.configName.clear();
    ReadSetting(ini, ConfigIniKeys()[0], named);
    return named.configName;
}

std::vector<std::wstring> SplitString(const std::wstring& separator, const std::wstring& text) {
    std::vector<std::wstring> pieces;
    std::wstring rest = text;
    while (!rest.empty()) {
        size_t at = separator.empty() ? std::wstring::npos : rest.find(separator);
        std::wstring piece = at == std::wstring::npos ? rest : rest.substr(0, at);
        if (!piece.empty()) pieces.push_back(piece);
        size_t cut = piece.size() + (at == std::wstring::npos ? 0 : separator.size());
        rest.erase(0, cut);
    }
    return pieces;
}
