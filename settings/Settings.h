#pragma once
#include <windows.h>
// The process-wide settings record, the tables both forms share, and the routines that move
// the settings to and from the configuration files.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum RunModeKind : uint8_t { rmPasswordChange = 0, rmPreview = 1, rmConfigure = 2, rmSaver = 3 };
extern uint8_t RunMode;

struct SettingsRecord {
    std::wstring folders;
    int stepPixels = 1;
    int stepsPerTenSeconds = 990;
    int displaySeconds = 30;
    bool clipPlaysWhenVisible = true;
    bool clipLoops = true;
    bool clipRandomStart = false;
    bool clipPlaysWhole = true;
    int clipMaxGrowth = 1;
    int activeTransition = 1;
    std::wstring transitionList = L";1;2;3;4;5;6;7;8;9;10;11;12;13;";
    bool captionName = false;
    bool captionDate = false;
    bool rememberSeen = false;
    std::wstring memoryName;
    int maxTiles = 6;
    std::wstring installDir = L"c:\\program files\\korvane\\vistamur screensaver\\";
    std::wstring configName = L"config 1";
    bool randomConfig = false;
    // Not stored: the configuration files that were there but could not be read at their last
    // load (another program held them). A save would replace what was never read, so the
    // dialog asks first.
    std::vector<std::wstring> unreadFiles;
};
extern SettingsRecord Settings;

// The caption of every warning box, the saver's and the dialog's.
extern const wchar_t* const kWarningCaption;

constexpr const wchar_t* kInstallKey = L"SOFTWARE\\Korvane\\VistamurSs";
constexpr const wchar_t* kConfigIni = L"config.ini";

// What a load reads, after the install folder from the registry.
enum class LoadScope {
    NamedConfiguration,   // the configuration file that Settings.configName names
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

// keepGoing, when given, is asked while a file that another program holds is waited for:
// false ends the load at once (the saver's exit, which nothing should keep waiting).
LoadProblems LoadSettings(LoadScope scope, const std::function<bool()>& keepGoing = {});
// LoadSettings without the registry: the files of the install folder Settings holds.
LoadProblems LoadConfigFiles(LoadScope scope, const std::function<bool()>& keepGoing = {});
// The warning a problem gets, and the boxes that tell them, one a problem.
std::wstring LoadProblemText(const LoadProblem& problem);
void ShowLoadProblems(HWND owner, const LoadProblems& problems);
// Throws WriteRefused when the system refuses a write. The configuration's file is written
// first and "config.ini" only then, so that it never names a configuration left unwritten.
void SaveSettings();
// The files SaveSettings would replace although their last load could not read them.
std::vector<std::wstring> UnreadFilesASaveReplaces();
// "config.ini" names this configuration (its configName only); throws WriteRefused.
void SaveCurrentConfigName(const std::wstring& configName);
// The configuration "config.ini" names; empty when it names none or cannot be read.
std::wstring ConfigIniName(const std::wstring& installDir);

std::wstring ConfigFilePath(); // the file of the configuration Settings names (ConfigName.h)

// Every configuration file of the install folder, hidden and system ones included, in the
// order of the listing, less the four characters of the extension.
std::vector<std::wstring> ListConfigurations(const std::wstring& installDir);

// The non-empty pieces of text between occurrences of the separator, in order.
std::vector<std::wstring> SplitString(const std::wstring& separator, const std::wstring& text);
