#pragma once
#include <windows.h>
// The settings record, and the routines that move it to and from the configuration files.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One configuration's settings, as a value: the saver's run has its own, checked once, the
// dialog edits its own copy. Each field is described once, with its key, initial value and
// bounds, in SettingRows.h.
struct SettingsRecord {
    SettingsRecord(); // every field at its row's initial value

    std::wstring folders;
    int stepPixels;
    int stepsPerTenSeconds;
    int displaySeconds;
    bool clipPlaysWhenVisible;
    bool clipLoops;
    bool clipRandomStart;
    bool clipPlaysWhole;
    int clipMaxGrowth;
    std::wstring transitionList;
    bool captionName;
    bool captionDate;
    bool rememberSeen;
    std::wstring memoryName;
    int maxTiles;
    std::wstring installDir;
    std::wstring configName;
    bool randomConfig;

    bool operator==(const SettingsRecord&) const = default;
};

// The configuration files that were there but could not be read at their last load (another
// program held them). A save would replace what was never read, so the dialog keeps them
// and asks first.
using UnreadFiles = std::vector<std::wstring>;

// The caption of every warning box, the saver's and the dialog's.
extern const wchar_t* const kWarningCaption;

constexpr const wchar_t* kInstallKey = L"SOFTWARE\\Korvane\\VistamurSs";
constexpr const wchar_t* kConfigIni = L"config.ini";

// What a load reads, after the install folder from the registry.
enum class LoadScope {
    NamedConfiguration,   // the configuration file that the record's configName names
    CurrentConfiguration, // "config.ini", then the configuration file it names (the dialog)
    SaverStart,           // as CurrentConfiguration, drawing the configuration at random first
                          // when "cfgalea" says so
};

// A configuration file that a load could not take, in the order met. The load only reports
// them: the window that asked for it tells the user (ShowLoadProblems).
struct LoadProblem {
    enum Kind { NotFound, Unreadable } kind;
    std::wstring file;
    bool operator==(const LoadProblem&) const = default;
};
using LoadProblems = std::vector<LoadProblem>;

struct Loaded {
    SettingsRecord settings;
    LoadProblems problems;
};

// The settings from: what a key missing from the files leaves as it was (the initial values,
// or those the dialog shows when it switches configuration), its configName naming the
// configuration of a NamedConfiguration load. unread, when given, is kept up to date: the
// files this load looked at leave it, those it could not read join it. keepGoing, when given,
// is asked while a file that another program holds is waited for: false ends the load at once
// (the saver's exit, which nothing should keep waiting).
Loaded LoadSettings(LoadScope scope, const SettingsRecord& from = {}, UnreadFiles* unread = nullptr,
                    const std::function<bool()>& keepGoing = {});
// LoadSettings without the registry: the files of the install folder that from names.
Loaded LoadConfigFiles(LoadScope scope, const SettingsRecord& from = {},
                       UnreadFiles* unread = nullptr, const std::function<bool()>& keepGoing = {});
// The warning a problem gets, and the boxes that tell them, one a problem.
std::wstring LoadProblemText(const LoadProblem& problem);
void ShowLoadProblems(HWND owner, const LoadProblems& problems);
// Throws WriteRefused when the system refuses a write. The configuration's file is written
// first and "config.ini" only then, so that it never names a configuration left unwritten.
// unread, when given, is emptied: both files now hold what the user saved.
void SaveSettings(const SettingsRecord& settings, UnreadFiles* unread = nullptr);
// The files SaveSettings would replace although their last load could not read them.
std::vector<std::wstring> UnreadFilesASaveReplaces(const SettingsRecord& settings,
                                                   const UnreadFiles& unread);
// "config.ini" names settings' configuration (its configName only); throws WriteRefused.
void SaveCurrentConfigName(const SettingsRecord& settings);
// The configuration "config.ini" names; empty when it names none or cannot be read.
std::wstring ConfigIniName(const std::wstring& installDir);

// Every configuration file of the install folder, hidden and system ones included, in the
// order of the listing, less the four characters of the extension.
std::vector<std::wstring> ListConfigurations(const std::wstring& installDir);

// The non-empty pieces of text between occurrences of the separator, in order.
std::vector<std::wstring> SplitString(const std::wstring& separator, const std::wstring& text);
