#pragma once
// What the settings dialog shows, computed from the settings record and back again, apart
// from the windows that show it: the dialog's ShowSettings and TakeSettings copy these values into
// and out of their controls, and tests call the rules here directly.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "settings/Transitions.h"
#include "resources/SettingsDialogLayout.h"

// The knobs' tooltips.
std::wstring StepHint(int stepPixels);                          // "4 pixels"
std::wstring SpeedHint(int stepPixels, int stepsPerTenSeconds); // "4 pixels toutes les 10 ms"
std::wstring DisplayTimeHint(int displaySeconds);               // "30 secondes"

// The items of the two drop-down lists: the values their settings' rows offer.
const std::vector<std::wstring>& GrowItems();      // "1x" .. "9x"
const std::vector<std::wstring>& TileCountItems(); // "3" .. "10", "15", "20"

// The file list's mask: ";*.JPG;*.JPEG;..." over the media extensions in their order, those
// this PC can show (a mask as UsableMediaMask gives it).
std::wstring MediaFileMask(uint32_t usableMask);

// The file list's tooltip, naming the photo formats this PC shows (JPEG always; PNG, GIF,
// BMP, TIFF, HEIC, WebP and AVIF as their extensions are in the usable mask).
std::wstring FileListHint(uint32_t usableMask);

// Which of the 13 transitions a stored "optransition" checks: those it lists
// (ListedTransitions), so that ";" checks none and OK then refuses it; an empty one checks
// all thirteen.
std::array<bool, kTransitionCount> CheckedTransitions(const std::wstring& transitionList);

// The names of the configuration files of the install folder, sorted ignoring case.
std::vector<std::wstring> ConfigurationNames(const std::wstring& installDir);

// Everything the controls of the dialog hold that maps to a setting.
struct DialogValues {
    std::vector<std::wstring> folders;                    // chosenFolders
    std::array<bool, kTransitionCount> transitions{};     // transitionList
    int stepLeft = 0, speedLeft = 0, displayTimeLeft = 0; // stepKnob, speedKnob, displayTimeKnob
    std::array<bool, 4> switches{};        // playWhenVisible, loop, randomStart, playWhole
    int growIndex = 0;                     // growList, -1 for none
    std::array<bool, 3> options{};         // optionList
    int tileCountIndex = -1;               // tileCountList, -1 for none
    std::vector<std::wstring> configNames; // configNameBox's list
    std::wstring configName;               // configNameBox's edit text
    bool randomConfig = false;             // randomConfigBox
};

// ShowSettings: the settings as the controls show them (the configuration names read from the
// install folder).
DialogValues ValuesFromSettings(const SettingsRecord& settings);

// The three refusals of TakeSettings, in the order they are checked.
extern const wchar_t* const kBadNameMessage;
extern const wchar_t* const kNoFolderMessage;
extern const wchar_t* const kNoTransitionMessage;

// A configuration name TakeSettings refuses: empty, holding one of \ / : * ? " < > |, or a device
// name (CON, NUL, COM1 ...), whose ".cfg" would open the device instead of a file.
bool IsRefusedConfigName(const std::wstring& name);

// TakeSettings: validates and copies the values into the settings under the given configuration
// name. Returns an empty text on success, otherwise the refusal to show; fields written
// before a refusal keep their new values. Turning the memory off deletes its file.
std::wstring SettingsFromValues(const DialogValues& values, const std::wstring& name,
                                SettingsRecord& settings);
