#pragma once
// One table of the keys the configuration files hold: each key with its section and the
// field of the settings record that bears its name. Loading and saving both walk it, so a
// key is named once.
#include <span>
#include <string>
#include <variant>

#include "Globals/Globals.h"

using TSettingField = std::variant<std::wstring TSettings::*, int TSettings::*, bool TSettings::*>;

struct TSettingKey {
    const wchar_t* section;
    const wchar_t* key;
    TSettingField field;
};

// "config.ini": the current configuration's name and the random choice, in the order written.
std::span<const TSettingKey> ConfigIniKeys();
// A configuration's ".cfg" file, in the order written.
std::span<const TSettingKey> ConfigFileKeys();

// A key missing from the file, or an integer that does not parse, leaves the field as it was.
void ReadSetting(const std::wstring& file, const TSettingKey& key, TSettings& settings);
// Throws EWriteError when the system refuses the write.
void WriteSetting(const std::wstring& file, const TSettingKey& key, const TSettings& settings);
