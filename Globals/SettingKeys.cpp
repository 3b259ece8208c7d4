#include "Globals/SettingKeys.h"

#include "Globals/IniValue.h"

namespace {

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };

constexpr const wchar_t* kOptions = L"Options";

const TSettingKey kIniKeys[] = {
    {L"Config", L"cfgname", &TSettings::configName},
    {kOptions, L"cfgalea", &TSettings::randomConfig},
};

const TSettingKey kFileKeys[] = {
    {kOptions, L"defdir", &TSettings::folders},
    {kOptions, L"defspeed", &TSettings::stepPixels},
    {kOptions, L"defdelay", &TSettings::stepsPerTenSeconds},
    {kOptions, L"defpause", &TSettings::displaySeconds},
    {kOptions, L"opdebfilm", &TSettings::clipPlaysWhenVisible},
    {kOptions, L"opfinfilm", &TSettings::clipPlaysWhole},
    {kOptions, L"opBclfilm", &TSettings::clipLoops},
    {kOptions, L"opdbafilm", &TSettings::clipRandomStart},
    {kOptions, L"opagrfilm", &TSettings::clipMaxGrowth},
    {kOptions, L"optransition", &TSettings::transitionList},
    {kOptions, L"opnomfic", &TSettings::captionName},
    {kOptions, L"opdatefic", &TSettings::captionDate},
    {kOptions, L"opmemfiles", &TSettings::rememberSeen},
    {kOptions, L"memfilesname", &TSettings::memoryName},
    {kOptions, L"opnbimgmax", &TSettings::maxTiles},
};

} // namespace

std::span<const TSettingKey> ConfigIniKeys() {
    return kIniKeys;
}
std::span<const TSettingKey> ConfigFileKeys() {
    return kFileKeys;
}

void ReadSetting(const std::wstring& file, const TSettingKey& k, TSettings& s) {
    std::visit(
        Overloaded{
            [&](std::wstring TSettings::*f) { s.*f = ReadIniString(file, k.section, k.key, s.*f); },
            [&](int TSettings::*f) { ReadIniInt(file, k.section, k.key, s.*f); },
            [&](bool TSettings::*f) { ReadIniBool(file, k.section, k.key, s.*f); },
        },
        k.field);
}

void WriteSetting(const std::wstring& file, const TSettingKey& k, const TSettings& s) {
    std::visit(
        Overloaded{
            [&](std::wstring TSettings::*f) { WriteIniString(file, k.section, k.key, s.*f); },
            [&](int TSettings::*f) { WriteIniInt(file, k.section, k.key, s.*f); },
            [&](bool TSettings::*f) { WriteIniBool(file, k.section, k.key, s.*f); },
        },
        k.field);
}
