#include "Globals/SettingKeys.h"

#include "Globals/IniValue.h"

namespace {

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };

constexpr const wchar_t* kOptions = L"Options";

const TSettingKey kIniKeys[] = {
    {L"Config", L"cfgname", &TSettings::cfgname},
    {kOptions, L"cfgalea", &TSettings::cfgalea},
};

const TSettingKey kFileKeys[] = {
    {kOptions, L"defdir", &TSettings::defdir},
    {kOptions, L"defspeed", &TSettings::defspeed},
    {kOptions, L"defdelay", &TSettings::defdelay},
    {kOptions, L"defpause", &TSettings::defpause},
    {kOptions, L"opdebfilm", &TSettings::opdebfilm},
    {kOptions, L"opfinfilm", &TSettings::opfinfilm},
    {kOptions, L"opBclfilm", &TSettings::opBclfilm},
    {kOptions, L"opdbafilm", &TSettings::opdbafilm},
    {kOptions, L"opagrfilm", &TSettings::opagrfilm},
    {kOptions, L"optransition", &TSettings::optransition},
    {kOptions, L"opnomfic", &TSettings::opnomfic},
    {kOptions, L"opdatefic", &TSettings::opdatefic},
    {kOptions, L"opmemfiles", &TSettings::opmemfiles},
    {kOptions, L"memfilesname", &TSettings::memfilesname},
    {kOptions, L"opnbimgmax", &TSettings::opnbimgmax},
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
