#include "settings/SettingKeys.h"

#include "settings/IniValue.h"

namespace {

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };

constexpr const wchar_t* kOptions = L"Options";

const SettingKey kIniKeys[] = {
    {L"Config", L"cfgname", &SettingsRecord::configName},
    {kOptions, L"cfgalea", &SettingsRecord::randomConfig},
};

const SettingKey kFileKeys[] = {
    {kOptions, L"defdir", &SettingsRecord::folders},
    {kOptions, L"defspeed", &SettingsRecord::stepPixels},
    {kOptions, L"defdelay", &SettingsRecord::stepsPerTenSeconds},
    {kOptions, L"defpause", &SettingsRecord::displaySeconds},
    {kOptions, L"opdebfilm", &SettingsRecord::clipPlaysWhenVisible},
    {kOptions, L"opfinfilm", &SettingsRecord::clipPlaysWhole},
    {kOptions, L"opBclfilm", &SettingsRecord::clipLoops},
    {kOptions, L"opdbafilm", &SettingsRecord::clipRandomStart},
    {kOptions, L"opagrfilm", &SettingsRecord::clipMaxGrowth},
    {kOptions, L"optransition", &SettingsRecord::transitionList},
    {kOptions, L"opnomfic", &SettingsRecord::captionName},
    {kOptions, L"opdatefic", &SettingsRecord::captionDate},
    {kOptions, L"opmemfiles", &SettingsRecord::rememberSeen},
    {kOptions, L"memfilesname", &SettingsRecord::memoryName},
    {kOptions, L"opnbimgmax", &SettingsRecord::maxTiles},
};

} // namespace

std::span<const SettingKey> ConfigIniKeys() {
    return kIniKeys;
}
std::span<const SettingKey> ConfigFileKeys() {
    return kFileKeys;
}

void ReadSetting(const std::wstring& file, const SettingKey& k, SettingsRecord& s) {
    std::visit(Overloaded{
                   [&](std::wstring SettingsRecord::*f) {
                       s.*f = ReadIniString(file, k.section, k.key, s.*f);
                   },
                   [&](int SettingsRecord::*f) { ReadIniInt(file, k.section, k.key, s.*f); },
                   [&](bool SettingsRecord::*f) { ReadIniBool(file, k.section, k.key, s.*f); },
               },
               k.field);
}

void WriteSetting(const std::wstring& file, const SettingKey& k, const SettingsRecord& s) {
    std::visit(
        Overloaded{
            [&](std::wstring SettingsRecord::*f) { WriteIniString(file, k.section, k.key, s.*f); },
            [&](int SettingsRecord::*f) { WriteIniInt(file, k.section, k.key, s.*f); },
            [&](bool SettingsRecord::*f) { WriteIniBool(file, k.section, k.key, s.*f); },
        },
        k.field);
}
