#include "settings/SettingRows.h"

#include <algorithm>

#include "settings/IniValue.h"

namespace {

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };

using R = SettingsRecord;
using S = SettingStore;
constexpr const wchar_t* kOptions = L"Options";

constexpr SettingRow Text(S store, const wchar_t* section, const wchar_t* key,
                          std::wstring R::*field, const wchar_t* initial) {
    return {store, section, key, field, initial, 0, 0, 0, {}};
}
constexpr SettingRow Switch(const wchar_t* key, bool R::*field, bool initial,
                            S store = S::ConfigFile) {
    return {store, kOptions, key, field, nullptr, initial ? 1 : 0, 0, 0, {}};
}
constexpr SettingRow Number(const wchar_t* key, int R::*field, int initial, int lowest, int highest,
                            std::span<const int> offered = {}) {
    return {S::ConfigFile, kOptions, key, field, nullptr, initial, lowest, highest, offered};
}

// The enlargement factors ("1x" to "9x") and the tile counts the settings page offers.
constexpr int kGrowthsOffered[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
constexpr int kTileCountsOffered[] = {3, 4, 5, 6, 7, 8, 9, 10, 15, 20};

// The bounds are what the saver can run with: a display time of 86400 s still fits 32 bits in
// milliseconds; 1000 steps per ten seconds is as fast as the loop turns; the dialog offers 3
// to 20 tiles, and one still makes a show.
// clang-format off
constexpr SettingRow kRows[] = {
    Text(S::ConfigIni, L"Config", L"cfgname", &R::configName, L"config 1"),
    Switch(L"cfgalea", &R::randomConfig, false, S::ConfigIni),

    Text(S::ConfigFile, kOptions, L"defdir", &R::folders, L""),
    Number(L"defspeed", &R::stepPixels, 1, 1, 10000),
    Number(L"defdelay", &R::stepsPerTenSeconds, 990, 1, 1000),
    Number(L"defpause", &R::displaySeconds, 30, 1, 86400),
    Switch(L"opdebfilm", &R::clipPlaysWhenVisible, true),
    Switch(L"opfinfilm", &R::clipPlaysWhole, true),
    Switch(L"opBclfilm", &R::clipLoops, true),
    Switch(L"opdbafilm", &R::clipRandomStart, false),
    Number(L"opagrfilm", &R::clipMaxGrowth, 1, 1, 9, kGrowthsOffered),
    Text(S::ConfigFile, kOptions, L"optransition", &R::transitionList,
         L";1;2;3;4;5;6;7;8;9;10;11;12;13;"),
    Switch(L"opnomfic", &R::captionName, false),
    Switch(L"opdatefic", &R::captionDate, false),
    Switch(L"opmemfiles", &R::rememberSeen, false),
    Text(S::ConfigFile, kOptions, L"memfilesname", &R::memoryName, L""),
    Number(L"opnbimgmax", &R::maxTiles, 6, 1, 20, kTileCountsOffered),

    Text(S::Registry, nullptr, L"InstallDir", &R::installDir,
         L"c:\\program files\\korvane\\vistamur screensaver\\"),
};
// clang-format on

std::span<const SettingRow> RowsKeptIn(S store) {
    const auto first = std::find_if(std::begin(kRows), std::end(kRows),
                                    [&](const SettingRow& r) { return r.store == store; });
    const auto last =
        std::find_if(first, std::end(kRows), [&](const SettingRow& r) { return r.store != store; });
    return {first, last};
}

} // namespace

std::span<const SettingRow> SettingRows() {
    return kRows;
}
std::span<const SettingRow> ConfigIniRows() {
    return RowsKeptIn(S::ConfigIni);
}
std::span<const SettingRow> ConfigFileRows() {
    return RowsKeptIn(S::ConfigFile);
}

const SettingRow& RowOf(const SettingField& field) {
    for (const SettingRow& row : kRows)
        if (row.field == field) return row;
    return kRows[0]; // unreachable: every kept field has its row
}

// The initial values are the rows'.
SettingsRecord::SettingsRecord() {
    for (const SettingRow& row : kRows)
        std::visit(Overloaded{
                       [&](std::wstring R::*f) { this->*f = row.initialText; },
                       [&](int R::*f) { this->*f = row.initialNumber; },
                       [&](bool R::*f) { this->*f = row.initialNumber != 0; },
                   },
                   row.field);
}

void ReadSetting(const std::wstring& file, const SettingRow& row, SettingsRecord& s) {
    std::visit(
        Overloaded{
            [&](std::wstring R::*f) { s.*f = ReadIniString(file, row.section, row.key, s.*f); },
            [&](int R::*f) { ReadIniInt(file, row.section, row.key, s.*f); },
            [&](bool R::*f) { ReadIniBool(file, row.section, row.key, s.*f); },
        },
        row.field);
}

void WriteSetting(const std::wstring& file, const SettingRow& row, const SettingsRecord& s) {
    std::visit(Overloaded{
                   [&](std::wstring R::*f) { WriteIniString(file, row.section, row.key, s.*f); },
                   [&](int R::*f) { WriteIniInt(file, row.section, row.key, s.*f); },
                   [&](bool R::*f) { WriteIniBool(file, row.section, row.key, s.*f); },
               },
               row.field);
}
