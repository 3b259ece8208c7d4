// Writing the configuration files: the exact bytes, reading them back, and refused writes.
#include <windows.h>

#include "Globals/IniValue.h"
#include "toolkit/System.h"
#include "tests/settings/SettingsFixture.h"

namespace {
// Settings unlike the initial ones in every stored field, with letters beyond ASCII.
TSettings Sample(const std::wstring& installDir) {
    TSettings s;
    s.InstallDir = installDir;
    s.cfgname = L"Été";
    s.cfgalea = true;
    s.defdir = L"C:\\Photos d'été;D:\\Films;";
    s.defspeed = 7;
    s.defdelay = 800;
    s.defpause = 45;
    s.opdebfilm = false;
    s.opBclfilm = false;
    s.opdbafilm = true;
    s.opfinfilm = false;
    s.opagrfilm = 3;
    s.optransition = L";2;5;";
    s.opnomfic = true;
    s.opdatefic = true;
    s.opmemfiles = true;
    s.memfilesname = L"Été";
    s.opnbimgmax = 15;
    return s;
}

// What the system's private-profile functions leave on disk: the file in the ANSI code page
// (é is E9), CR LF line ends, no blank line between sections, keys in the order written.
const std::string kSampleIni = "[Config]\r\ncfgname=\xC9t\xE9\r\n[Options]\r\ncfgalea=1\r\n";
const std::string kSampleCfg =
    "[Options]\r\n"
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
    Settings = Sample(dir.Path());
    SaveSettings();
    EXPECT_EQ(ReadFileBytes(dir / L"config.ini"), kSampleIni);
    EXPECT_EQ(ReadFileBytes(dir / L"Été.cfg"), kSampleCfg);
}

TEST_F(SettingsTest, SavedSettingsLoadBackUnchanged) {
    const TSettings saved = Sample(dir.Path());
    Settings = saved;
    SaveSettings();
    Settings = TSettings{};
    Settings.InstallDir = dir.Path();
    Load(LoadScope::CurrentConfiguration);
    const TSettings& s = Settings;
    EXPECT_EQ(s.cfgname, saved.cfgname);
    EXPECT_EQ(s.cfgalea, saved.cfgalea);
    EXPECT_EQ(s.defdir, saved.defdir);
    EXPECT_EQ(s.defspeed, saved.defspeed);
    EXPECT_EQ(s.defdelay, saved.defdelay);
    EXPECT_EQ(s.defpause, saved.defpause);
    EXPECT_EQ(s.opdebfilm, saved.opdebfilm);
    EXPECT_EQ(s.opBclfilm, saved.opBclfilm);
    EXPECT_EQ(s.opdbafilm, saved.opdbafilm);
    EXPECT_EQ(s.opfinfilm, saved.opfinfilm);
    EXPECT_EQ(s.opagrfilm, saved.opagrfilm);
    EXPECT_EQ(s.optransition, saved.optransition);
    EXPECT_EQ(s.opnomfic, saved.opnomfic);
    EXPECT_EQ(s.opdatefic, saved.opdatefic);
    EXPECT_EQ(s.opmemfiles, saved.opmemfiles);
    EXPECT_EQ(s.memfilesname, saved.memfilesname);
    EXPECT_EQ(s.opnbimgmax, saved.opnbimgmax);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsTest, SavingAgainRewritesValuesInPlace) {
    // A first run saves the initial values; a second save changes them without adding keys,
    // and keys or sections of the file that are not ours stay.
    SaveSettings();
    EXPECT_EQ(ReadFileBytes(dir / L"config.ini"),
              "[Config]\r\ncfgname=config 1\r\n[Options]\r\ncfgalea=0\r\n");
    WriteFileBytes(dir / L"config.ini", ReadFileBytes(dir / L"config.ini") + "[Autre]\r\nx=1\r\n");
    Settings.defspeed = -2;
    Settings.defdir = L"";
    SaveSettings();
    EXPECT_EQ(ReadFileBytes(dir / L"config.ini"),
              "[Config]\r\ncfgname=config 1\r\n[Options]\r\ncfgalea=0\r\n[Autre]\r\nx=1\r\n");
    std::string cfg = ReadFileBytes(dir / L"config 1.cfg");
    EXPECT_EQ(cfg.rfind("[Options]\r\ndefdir=\r\ndefspeed=-2\r\ndefdelay=990\r\n", 0), 0u) << cfg;
    EXPECT_EQ(cfg.find("defspeed=1"), std::string::npos);
}

TEST_F(SettingsTest, RefusedWritesRaiseTheErrorNamingTheFile) {
    // A folder that does not exist (an install folder removed or never made).
    Settings.InstallDir = dir.Path() + L"absent\\";
    try {
        SaveSettings();
        ADD_FAILURE() << "no error";
    } catch (const EWriteError& e) {
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
        Settings.cfgname = name;
        try {
            SaveSettings();
            ADD_FAILURE() << "no error";
        } catch (const EWriteError& e) {
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
        Settings = TSettings{};
        Settings.InstallDir = dir.Path();
        Settings.cfgname = name;
        SaveSettings();
        EXPECT_EQ(ReadFileBytes(dir / L"config.ini"),
                  "[Config]\r\ncfgname=\"" + tk::Narrow(name) + "\"\r\n[Options]\r\ncfgalea=0\r\n");
        Settings.cfgname = L"config 1";
        Load(LoadScope::CurrentConfiguration);
        EXPECT_EQ(Settings.cfgname, name);
    }
    EXPECT_TRUE(boxes.empty());
}

// A folder or a configuration name beyond the ANSI code page turns that file into UTF-16 LE
// with its byte-order mark, its earlier keys kept; everything reads back exactly.
TEST_F(SettingsTest, NamesBeyondTheCodePageTurnTheFileUnicodeAndReadBack) {
    Settings = Sample(dir.Path());
    SaveSettings(); // ANSI files first, as a configuration saved before
    Settings.cfgname = L"Фото";
    Settings.defdir = L"C:\\Фото 写真 😀;C:\\Photos d'été;";
    Settings.memfilesname = L"Фото";
    SaveSettings();
    for (const wchar_t* file : {L"config.ini", L"Фото.cfg"})
        EXPECT_EQ(ReadFileBytes(dir / file).substr(0, 2), "\xFF\xFE") << tk::ToUtf8(file);
    EXPECT_EQ(ReadFileBytes(dir / L"Été.cfg"), kSampleCfg); // the other one is untouched

    const TSettings saved = Settings;
    Settings = TSettings{};
    Settings.InstallDir = dir.Path();
    Load(LoadScope::CurrentConfiguration);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Settings.cfgname, saved.cfgname);
    EXPECT_EQ(Settings.defdir, saved.defdir);
    EXPECT_EQ(Settings.memfilesname, saved.memfilesname);
    EXPECT_EQ(Settings.defpause, saved.defpause);
    EXPECT_TRUE(Settings.cfgalea);
}
