// Writing the configuration files: the exact bytes, reading them back, and refused writes.
#include <windows.h>

#include "settings/IniValue.h"
#include "settings/SettingRows.h"
#include "toolkit/System.h"
#include "tests/support/SettingsFixture.h"

namespace {
template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };

// Settings unlike the initial ones in every stored field, with letters beyond ASCII.
SettingsRecord Sample(const std::wstring& installDir) {
    SettingsRecord s;
    s.installDir = installDir;
    s.configName = L"Été";
    s.randomConfig = true;
    s.folders = L"C:\\Photos d'été;D:\\Films;";
    s.stepPixels = 7;
    s.stepsPerTenSeconds = 800;
    s.displaySeconds = 45;
    s.clipPlaysWhenVisible = false;
    s.clipLoops = false;
    s.clipRandomStart = true;
    s.clipPlaysWhole = false;
    s.clipMaxGrowth = 3;
    s.transitionList = L";2;5;";
    s.captionName = true;
    s.captionDate = true;
    s.rememberSeen = true;
    s.memoryName = L"Été";
    s.maxTiles = 15;
    return s;
}

// What the system's private-profile functions leave on disk: the file in the ANSI code page
// (é is E9), CR LF line ends, no blank line between sections, keys in the order written.
const std::string kSampleIni = "[Config]\r\ncfgname=\xC9t\xE9\r\n[Options]\r\ncfgalea=1\r\n";
const std::string kSampleCfg = "[Options]\r\n"
                               "defdir=C:\\Photos d'\xE9t\xE9;D:\\Films;\r\n"
                               "defspeed=7\r\n"
                               "defdelay=800\r\n"
                               "defpause=45\r\n"
                               "opdebfilm=0\r\n"
                               "opfinfilm=0\r\n"
                               "opBclfilm=0\r\n"
                               "opdbafilm=1\r\n"
                               "opagrfilm=3\r\n"
                               "optransition=;2;5;\r\n"
                               "opnomfic=1\r\n"
                               "opdatefic=1\r\n"
                               "opmemfiles=1\r\n"
                               "memfilesname=\xC9t\xE9\r\n"
                               "opnbimgmax=15\r\n";

} // namespace

TEST_F(SettingsTest, SavedFilesHoldExactlyTheseBytes) {
    settings = Sample(dir.Path());
    SaveSettings(settings, &unread);
    EXPECT_EQ(ReadFileBytes(dir / L"config.ini"), kSampleIni);
    EXPECT_EQ(ReadFileBytes(dir / L"Été.cfg"), kSampleCfg);
}

TEST_F(SettingsTest, SavedSettingsLoadBackUnchanged) {
    const SettingsRecord saved = Sample(dir.Path());
    settings = saved;
    SaveSettings(settings, &unread);
    settings = SettingsRecord{};
    settings.installDir = dir.Path();
    Load(LoadScope::CurrentConfiguration);
    const SettingsRecord& s = settings;
    EXPECT_EQ(s.configName, saved.configName);
    EXPECT_EQ(s.randomConfig, saved.randomConfig);
    EXPECT_EQ(s.folders, saved.folders);
    EXPECT_EQ(s.stepPixels, saved.stepPixels);
    EXPECT_EQ(s.stepsPerTenSeconds, saved.stepsPerTenSeconds);
    EXPECT_EQ(s.displaySeconds, saved.displaySeconds);
    EXPECT_EQ(s.clipPlaysWhenVisible, saved.clipPlaysWhenVisible);
    EXPECT_EQ(s.clipLoops, saved.clipLoops);
    EXPECT_EQ(s.clipRandomStart, saved.clipRandomStart);
    EXPECT_EQ(s.clipPlaysWhole, saved.clipPlaysWhole);
    EXPECT_EQ(s.clipMaxGrowth, saved.clipMaxGrowth);
    EXPECT_EQ(s.transitionList, saved.transitionList);
    EXPECT_EQ(s.captionName, saved.captionName);
    EXPECT_EQ(s.captionDate, saved.captionDate);
    EXPECT_EQ(s.rememberSeen, saved.rememberSeen);
    EXPECT_EQ(s.memoryName, saved.memoryName);
    EXPECT_EQ(s.maxTiles, saved.maxTiles);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsTest, SavingAgainRewritesValuesInPlace) {
    // A first run saves the initial values; a second save changes them without adding keys,
    // and keys or sections of the file that are not ours stay.
    SaveSettings(settings, &unread);
    EXPECT_EQ(ReadFileBytes(dir / L"config.ini"),
              "[Config]\r\ncfgname=config 1\r\n[Options]\r\ncfgalea=0\r\n");
    WriteFileBytes(dir / L"config.ini", ReadFileBytes(dir / L"config.ini") + "[Autre]\r\nx=1\r\n");
    settings.stepPixels = -2;
    settings.folders = L"";
    SaveSettings(settings, &unread);
    EXPECT_EQ(ReadFileBytes(dir / L"config.ini"),
              "[Config]\r\ncfgname=config 1\r\n[Options]\r\ncfgalea=0\r\n[Autre]\r\nx=1\r\n");
    std::string cfg = ReadFileBytes(dir / L"config 1.cfg");
    EXPECT_EQ(cfg.rfind("[Options]\r\ndefdir=\r\ndefspeed=-2\r\ndefdelay=990\r\n", 0), 0u) << cfg;
    EXPECT_EQ(cfg.find("defspeed=1"), std::string::npos);
}

TEST_F(SettingsTest, RefusedWritesRaiseTheErrorNamingTheFile) {
    // A folder that does not exist (an install folder removed or never made).
    settings.installDir = dir.Path() + L"absent\\";
    try {
        SaveSettings(settings, &unread);
        ADD_FAILURE() << "no error";
    } catch (const WriteRefused& e) {
        EXPECT_EQ(e.Message(), L"Impossible d'écrire dans " + dir.Path() + L"absent\\config 1.cfg");
    }
    EXPECT_FALSE(tk::FileExists(dir / L"absent\\config.ini"));
}

// A configuration file that cannot be written (a folder of its name, a name too long for the
// file system): the error names it, and "config.ini" still names the configuration it named,
// so the saver goes on with it.
TEST_F(SettingsTest, AConfigurationThatCannotBeWrittenLeavesConfigIniAsItWas) {
    const std::string before = "[Config]\r\ncfgname=old\r\n[Options]\r\ncfgalea=0\r\n";
    CreateDirectoryW((dir / L"blocked.cfg").c_str(), nullptr);
    for (const std::wstring& name : {std::wstring(L"blocked"), std::wstring(255, L'n')}) {
        WriteFileBytes(dir / L"config.ini", before);
        settings.configName = name;
        try {
            SaveSettings(settings, &unread);
            ADD_FAILURE() << "no error";
        } catch (const WriteRefused& e) {
            EXPECT_EQ(e.Message(), L"Impossible d'écrire dans " + dir.Path() + name + L".cfg");
            // The text the application's standard error box shows comes from what().
            EXPECT_EQ(tk::FromUtf8(e.what()), e.Message());
        }
        EXPECT_EQ(ReadFileBytes(dir / L"config.ini"), before);
    }
    EXPECT_TRUE(tk::DirectoryExists(dir / L"blocked.cfg"));
}

// The reading drops blanks around a value: a name with a blank at an end is stored quoted,
// or it would read back as another name and the next start would not find its file.
TEST_F(SettingsTest, ANameWithBlanksAtItsEndsReadsBackWhole) {
    for (const wchar_t* name : {L" Vacances", L"Vacances ", L" Vacances "}) {
        settings = SettingsRecord{};
        settings.installDir = dir.Path();
        settings.configName = name;
        SaveSettings(settings, &unread);
        EXPECT_EQ(ReadFileBytes(dir / L"config.ini"),
                  "[Config]\r\ncfgname=\"" + tk::Narrow(name) + "\"\r\n[Options]\r\ncfgalea=0\r\n");
        settings.configName = L"config 1";
        Load(LoadScope::CurrentConfiguration);
        EXPECT_EQ(settings.configName, name);
    }
    EXPECT_TRUE(boxes.empty());
}

// A folder or a configuration name beyond the ANSI code page turns that file into UTF-16 LE
// with its byte-order mark, its earlier keys kept; everything reads back exactly.
TEST_F(SettingsTest, NamesBeyondTheCodePageTurnTheFileUnicodeAndReadBack) {
    settings = Sample(dir.Path());
    SaveSettings(settings, &unread); // ANSI files first, as a configuration saved before
    settings.configName = L"Фото";
    settings.folders = L"C:\\Фото 写真 😀;C:\\Photos d'été;";
    settings.memoryName = L"Фото";
    SaveSettings(settings, &unread);
    for (const wchar_t* file : {L"config.ini", L"Фото.cfg"})
        EXPECT_EQ(ReadFileBytes(dir / file).substr(0, 2), "\xFF\xFE") << tk::ToUtf8(file);
    EXPECT_EQ(ReadFileBytes(dir / L"Été.cfg"), kSampleCfg); // the other one is untouched

    const SettingsRecord saved = settings;
    settings = SettingsRecord{};
    settings.installDir = dir.Path();
    Load(LoadScope::CurrentConfiguration);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(settings.configName, saved.configName);
    EXPECT_EQ(settings.folders, saved.folders);
    EXPECT_EQ(settings.memoryName, saved.memoryName);
    EXPECT_EQ(settings.displaySeconds, saved.displaySeconds);
    EXPECT_TRUE(settings.randomConfig);
}

// Every row both ways: a record saved and loaded again from the initial values is the same
// record, whatever its fields hold, for records unlike the initial ones in every field.
TEST_F(SettingsTest, EveryRowReadsBackWhatItWrote) {
    SettingsRecord extremes = Sample(dir.Path());
    for (const SettingRow& row : ConfigFileRows())
        std::visit(Overloaded{[&](int SettingsRecord::*f) { extremes.*f = INT32_MIN; },
                              [&](bool SettingsRecord::*f) { extremes.*f = !(extremes.*f); },
                              [&](std::wstring SettingsRecord::*f) { extremes.*f = L" x; "; }},
                   row.field);
    SettingsRecord unicode = Sample(dir.Path());
    unicode.configName = L"写真";
    unicode.maxTiles = INT32_MAX;
    const SettingsRecord records[] = {SettingsRecord{}, Sample(dir.Path()), extremes, unicode};
    for (SettingsRecord saved : records) {
        saved.installDir = dir.Path();
        SaveSettings(saved);
        SettingsRecord from;
        from.installDir = dir.Path();
        EXPECT_EQ(LoadConfigFiles(LoadScope::CurrentConfiguration, from).settings, saved)
            << tk::ToUtf8(saved.configName) << " " << saved.stepPixels;
    }
}
