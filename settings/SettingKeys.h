#pragma once
// One table of the keys the configuration files hold: each key with its section and the
// field of the settings record that bears its name. Loading and saving both walk it, so a
// key is named once.
#include <span>
#include <string>
#include <variant>

#include "settings/Settings.h"

using SettingField =
    std::variant<std::wstring SettingsRecord::*, int SettingsRecord::*, bool SettingsRecord::*>;

struct SettingKey {
    const wchar_t* section;
    const wchar_t* key;
    SettingField field;
};

// "config.ini": the current configuration's name and the random choice, in the order written.
std::span<const SettingKey> ConfigIniKeys();
// A configuration's ".cfg" file, in the order written.
std::span<const SettingKey> ConfigFileKeys();

// A key missing from the file, or an integer that does not parse, leaves the field as it was.
void ReadSetting(const std::wstring& file, const SettingKey& key, SettingsRecord& settings);
// Throws WriteRefused when the system refuses the write.
void WriteSetting(const std::wstring& file, const SettingKey& key, const SettingsRecord& settings);
