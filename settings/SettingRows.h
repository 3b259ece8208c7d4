#pragma once
// Each setting described once, in one row: where it is kept (the file, section and key, or
// the registry value), the field of the settings record it fills, its initial value, the
// range the saver runs with, and the values the dialog offers where it offers a list. The
// record's initial values, loading, saving, the saver's check and the dialog's lists all walk
// these rows, so a setting is named once.
#include <span>
#include <string>
#include <variant>

#include "settings/Settings.h"

using SettingField =
    std::variant<std::wstring SettingsRecord::*, int SettingsRecord::*, bool SettingsRecord::*>;

enum class SettingStore {
    ConfigIni,  // "config.ini": the current configuration's name and the random choice
    ConfigFile, // a configuration's ".cfg" file
    Registry,   // a value of the install key, only read
};

struct SettingRow {
    SettingStore store;
    const wchar_t* section; // none for the registry
    const wchar_t* key;
    SettingField field;
    const wchar_t* initialText; // a text's initial value
    int initialNumber;          // a number's or a switch's (0 or 1)
    // A number the saver brings into lowest..highest; none for texts and switches.
    int lowest, highest;
    std::span<const int> offered; // the dialog's list, in its order; empty where it has none
};

// Every row: "config.ini"'s first, then the ".cfg" file's, each in the order written, then
// the registry's.
std::span<const SettingRow> SettingRows();
std::span<const SettingRow> ConfigIniRows();
std::span<const SettingRow> ConfigFileRows();
// The row of a field; every field of the record that is kept has one.
const SettingRow& RowOf(const SettingField& field);

// A key missing from the file, or an integer that does not parse, leaves the field as it was.
void ReadSetting(const std::wstring& file, const SettingRow& row, SettingsRecord& settings);
// Throws WriteRefused when the system refuses the write.
void WriteSetting(const std::wstring& file, const SettingRow& row, const SettingsRecord& settings);
