#include "settings/Settings.h"

#include <windows.h>

#include "settings/ConfigName.h"
#include "settings/IniValue.h"
#include "settings/Random.h"
#include "settings/SettingRows.h"
#include "toolkit/FileContent.h"
#include "toolkit/Handles.h"
#include "toolkit/Log.h"
#include "toolkit/MsgBox.h"
#include "toolkit/System.h"
#include "toolkit/Text.h"

const wchar_t* const kWarningCaption = L"Avertissement";

namespace {

void ReadInstallDir(SettingsRecord& settings) {
    const wchar_t* const name = RowOf(&SettingsRecord::installDir).key;
    // The value is only read, so read access is all that is asked for: a standard user is
    // refused all access rights to this key, and would otherwise lose the install folder.
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInstallKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) return;
    tk::RegKey key(raw);
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = DWORD(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                         &bytes) != ERROR_SUCCESS)
        return;
    value.resize(wcsnlen(value.c_str(), value.size()));
    settings.installDir = value;
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

// One load: the record it fills, what went wrong, and the unread files it keeps up to date.
struct Loading {
    SettingsRecord& settings;
    LoadProblems& problems;
    UnreadFiles* unread;
    const std::function<bool()>& keepGoing;
};

// Whether the file can be read, waiting a moment for one that another program holds. One that
// stays held is said so, and noted, so that no save replaces it unasked.
tk::FileRead CheckReadable(const std::wstring& file, Loading& load) {
    if (load.unread)
        std::erase_if(*load.unread, [&](const std::wstring& f) { return tk::SamePath(f, file); });
    const tk::FileRead state = tk::WaitReadable(file, load.keepGoing);
    if (state == tk::FileRead::Unreadable) {
        tk::Log(L"cannot read " + file + L", error " + tk::IntToStr(GetLastError()));
        if (load.unread) load.unread->push_back(file);
        load.problems.push_back({LoadProblem::Unreadable, file});
    }
    return state;
}

// A name that is no usable file name (a path, a device) is taken for a missing
// configuration: nothing outside the install folder is read.
void ReadConfigFile(Loading& load) {
    SettingsRecord& s = load.settings;
    const std::wstring file = ConfigFilePath(s.installDir, s.configName);
    const bool usable = IsUsableConfigName(s.configName);
    if (!usable) tk::Log(L"unusable configuration name \"" + s.configName + L"\"");
    const tk::FileRead state = usable ? CheckReadable(file, load) : tk::FileRead::Absent;
    if (state == tk::FileRead::Absent) load.problems.push_back({LoadProblem::NotFound, file});
    if (state != tk::FileRead::Read) return;
    for (const SettingRow& row : ConfigFileRows())
        ReadSetting(file, row, s);
}

} // namespace

Loaded LoadConfigFiles(LoadScope scope, const SettingsRecord& from, UnreadFiles* unread,
                       const std::function<bool()>& keepGoing) {
    Loaded loaded{from, {}};
    Loading load{loaded.settings, loaded.problems, unread, keepGoing};
    SettingsRecord& s = loaded.settings;
    if (scope != LoadScope::NamedConfiguration) {
        const std::wstring ini = s.installDir + kConfigIni;
        const tk::FileRead state = CheckReadable(ini, load);
        if (state == tk::FileRead::Absent || state == tk::FileRead::Stopped) return loaded;
        if (state == tk::FileRead::Unreadable) {
            ReadConfigFile(load); // the configuration named by default
            return loaded;
        }
        for (const SettingRow& row : ConfigIniRows())
            ReadSetting(ini, row, s);
        if (s.randomConfig && scope == LoadScope::SaverStart) {
            // With no configuration file at all there is nothing to draw from: the named
            // one stays, and its absence is reported below like any missing file.
            std::vector<std::wstring> names = ListConfigurations(s.installDir);
            if (!names.empty()) s.configName = names[Random(int(names.size()))];
        }
    }
    ReadConfigFile(load);
    return loaded;
}

Loaded LoadSettings(LoadScope scope, const SettingsRecord& from, UnreadFiles* unread,
                    const std::function<bool()>& keepGoing) {
    SettingsRecord start = from;
    ReadInstallDir(start);
    return LoadConfigFiles(scope, start, unread, keepGoing);
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
void SaveSettings(const SettingsRecord& s, UnreadFiles* unread) {
    const std::wstring file = ConfigFilePath(s.installDir, s.configName);
    for (const SettingRow& row : ConfigFileRows())
        WriteSetting(file, row, s);

    const std::wstring ini = s.installDir + kConfigIni;
    for (const SettingRow& row : ConfigIniRows())
        WriteSetting(ini, row, s);
    if (unread) unread->clear(); // both files now hold what the user saved
}

std::vector<std::wstring> UnreadFilesASaveReplaces(const SettingsRecord& s,
                                                   const UnreadFiles& unread) {
    std::vector<std::wstring> files;
    for (const std::wstring& file :
         {ConfigFilePath(s.installDir, s.configName), s.installDir + kConfigIni})
        for (const std::wstring& noted : unread)
            if (tk::SamePath(noted, file) && tk::FileExists(file)) files.push_back(file);
    return files;
}

void SaveCurrentConfigName(const SettingsRecord& s) {
    WriteSetting(s.installDir + kConfigIni, RowOf(&SettingsRecord::configName), s);
}

std::wstring ConfigIniName(const std::wstring& installDir) {
    const std::wstring ini = installDir + kConfigIni;
    if (!tk::FileExists(ini)) return L"";
    SettingsRecord named;
    named.configName.clear();
    ReadSetting(ini, RowOf(&SettingsRecord::configName), named);
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
