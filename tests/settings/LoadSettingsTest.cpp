// Loading the configuration files of an install folder, for each of the loads asked for.
#include <windows.h>

#include <algorithm>

#include "settings/Random.h"
#include "settings/Transitions.h"
#include "library/MediaKind.h"
#include "tests/support/SettingsFixture.h"
#include "toolkit/Handles.h"

namespace {
// A configuration file holding every key, with values unlike the initial ones.
const std::vector<std::string> kFullConfig = {
    "[Options]",          "defdir=C:\\Photos;D:\\Films;",
    "defspeed=3",         "defdelay=500",
    "defpause=12",        "opdebfilm=0",
    "opfinfilm=0",        "opBclfilm=0",
    "opdbafilm=1",        "opagrfilm=4",
    "optransition=;2;5;", "opnomfic=1",
    "opdatefic=1",        "opmemfiles=1",
    "memfilesname=full",  "opnbimgmax=9",
};

void ExpectFullConfig(const SettingsRecord& s) {
    EXPECT_EQ(s.folders, L"C:\\Photos;D:\\Films;");
    EXPECT_EQ(s.stepPixels, 3);
    EXPECT_EQ(s.stepsPerTenSeconds, 500);
    EXPECT_EQ(s.displaySeconds, 12);
    EXPECT_FALSE(s.clipPlaysWhenVisible);
    EXPECT_FALSE(s.clipPlaysWhole);
    EXPECT_FALSE(s.clipLoops);
    EXPECT_TRUE(s.clipRandomStart);
    EXPECT_EQ(s.clipMaxGrowth, 4);
    EXPECT_EQ(s.transitionList, L";2;5;");
    EXPECT_TRUE(s.captionName);
    EXPECT_TRUE(s.captionDate);
    EXPECT_TRUE(s.rememberSeen);
    EXPECT_EQ(s.memoryName, L"full");
    EXPECT_EQ(s.maxTiles, 9);
}

void ExpectInitialOptions(const SettingsRecord& s) {
    SettingsRecord initial;
    EXPECT_EQ(s.folders, initial.folders);
    EXPECT_EQ(s.stepPixels, initial.stepPixels);
    EXPECT_EQ(s.stepsPerTenSeconds, initial.stepsPerTenSeconds);
    EXPECT_EQ(s.displaySeconds, initial.displaySeconds);
    EXPECT_EQ(s.transitionList, initial.transitionList);
    EXPECT_EQ(s.maxTiles, initial.maxTiles);
    EXPECT_EQ(s.configName, initial.configName);
    EXPECT_EQ(s.randomConfig, initial.randomConfig);
}
} // namespace

TEST(SettingsRecord, InitialValuesAndTables) {
    SettingsRecord s;
    EXPECT_EQ(s.stepPixels, 1);
    EXPECT_EQ(s.stepsPerTenSeconds, 990);
    EXPECT_EQ(s.displaySeconds, 30);
    EXPECT_TRUE(s.clipPlaysWhenVisible && s.clipLoops && s.clipPlaysWhole);
    EXPECT_FALSE(s.clipRandomStart || s.captionName || s.captionDate || s.rememberSeen ||
                 s.randomConfig);
    EXPECT_EQ(s.clipMaxGrowth, 1);
    EXPECT_EQ(s.maxTiles, 6);
    EXPECT_EQ(s.transitionList, L";1;2;3;4;5;6;7;8;9;10;11;12;13;");
    EXPECT_EQ(s.installDir, L"c:\\program files\\korvane\\vistamur screensaver\\");
    EXPECT_EQ(s.configName, L"config 1");
    EXPECT_EQ(std::wstring(MediaExtensions[0]), L".JPG");
    EXPECT_EQ(std::wstring(MediaExtensions[18]), L".IVF");
    EXPECT_EQ(std::wstring(TransitionOf(10).name), L"Centrale+aléatoire");
}

TEST_F(SettingsTest, WithoutConfigIniTheDialogAndTheSaverReadNothing) {
    WriteIni(L"config 1.cfg", kFullConfig); // present, but nothing names it
    for (LoadScope scope : {LoadScope::CurrentConfiguration, LoadScope::SaverStart}) {
        Load(scope);
        ExpectInitialOptions(settings);
    }
    EXPECT_TRUE(boxes.empty());
    // The named configuration alone does not look at "config.ini": it reads the current file.
    Load(LoadScope::NamedConfiguration);
    ExpectFullConfig(settings);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsTest, ConfigIniNamesTheConfigurationFile) {
    WriteIni(L"config.ini", {"[Config]", "cfgname=mes photos", "[Options]", "cfgalea=0"});
    WriteIni(L"mes photos.cfg", kFullConfig);
    Load(LoadScope::CurrentConfiguration);
    EXPECT_EQ(settings.configName, L"mes photos");
    EXPECT_FALSE(settings.randomConfig);
    ExpectFullConfig(settings);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsTest, AMissingConfigurationFileIsReportedWithItsFullPath) {
    WriteIni(L"config.ini", {"[Config]", "cfgname=partie", "[Options]", "cfgalea=0"});
    for (LoadScope scope : {LoadScope::CurrentConfiguration, LoadScope::SaverStart,
                            LoadScope::NamedConfiguration}) { // the last uses the name read
        boxes.clear();
        Load(scope);
        ASSERT_EQ(boxes.size(), 1u) << int(scope);
        EXPECT_EQ(boxes[0], L"Configuration non trouvée (" + dir.Path() + L"partie.cfg)");
        EXPECT_EQ(settings.folders, L""); // the options keep their values ...
        EXPECT_EQ(settings.stepPixels, 1);
        EXPECT_EQ(settings.stepsPerTenSeconds, 990);
    }
    EXPECT_EQ(settings.configName, L"partie"); // ... and configName is what config.ini said
}

TEST_F(SettingsTest, KeysMissingFromALaterConfigurationKeepTheEarlierValues) {
    WriteIni(L"config.ini", {"[Config]", "cfgname=full", "[Options]", "cfgalea=0"});
    WriteIni(L"full.cfg", kFullConfig);
    WriteIni(L"partial.cfg", {"[Options]", "defspeed=0x20", "defdir=E:\\Vacances;", "opnomfic=0",
                              "opagrfilm=abc", "defpause="});
    Load(LoadScope::CurrentConfiguration);
    ExpectFullConfig(settings);

    settings.configName = L"partial"; // as the dialog does when the user picks another one
    Load(LoadScope::NamedConfiguration);
    EXPECT_EQ(settings.stepPixels, 32);
    EXPECT_EQ(settings.folders, L"E:\\Vacances;");
    EXPECT_FALSE(settings.captionName);
    EXPECT_EQ(settings.clipMaxGrowth, 4);   // not an integer: kept
    EXPECT_EQ(settings.displaySeconds, 12); // empty: kept
    EXPECT_EQ(settings.stepsPerTenSeconds, 500);
    EXPECT_EQ(settings.transitionList, L";2;5;");
    EXPECT_EQ(settings.memoryName, L"full");
    EXPECT_TRUE(settings.captionDate);
    EXPECT_EQ(settings.maxTiles, 9);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsTest, RandomConfigurationIsOneOfTheFilesAndConfigIniIsNeverRewritten) {
    WriteIni(L"config.ini", {"[Config]", "cfgname=b", "[Options]", "cfgalea=1"});
    for (const char* name : {"a", "b", "c"})
        WriteIni(tk::FromUtf8(name) + L".cfg", {"[Options]", std::string("defdir=") + name});
    const std::string iniBefore = ReadFileBytes(dir / L"config.ini");

    std::vector<std::wstring> drawn;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        SetRandomSeed(seed);
        settings.configName = L"b";
        Load(LoadScope::SaverStart);
        ASSERT_TRUE(settings.configName == L"a" || settings.configName == L"b" ||
                    settings.configName == L"c")
            << tk::ToUtf8(settings.configName);
        EXPECT_EQ(settings.folders, settings.configName); // the drawn file is the one read
        drawn.push_back(settings.configName);
    }
    for (const wchar_t* name : {L"a", L"b", L"c"})
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), name), drawn.end())
            << "never drew " << tk::ToUtf8(name);
    EXPECT_EQ(ReadFileBytes(dir / L"config.ini"), iniBefore);
    EXPECT_TRUE(boxes.empty());

    // The dialog does not draw: it shows the configuration config.ini names.
    Load(LoadScope::CurrentConfiguration);
    EXPECT_EQ(settings.configName, L"b");
    EXPECT_TRUE(settings.randomConfig);
}

TEST_F(SettingsTest, RandomDrawTakesOnlyConfigurationFiles) {
    // Folders and files whose names only look alike (the listing also matches short
    // names: "notes.cfgold" is NOTES~1.CFG) are no configurations.
    WriteIni(L"config.ini", {"[Config]", "cfgname=seule", "[Options]", "cfgalea=1"});
    WriteIni(L"seule.cfg", {"[Options]", "defdir=seule"});
    WriteIni(L"notes.cfgold", {"[Options]", "defdir=notes"});
    WriteIni(L"CAPITALES.CFG", {"[Options]", "defdir=capitales"});
    CreateDirectoryW((dir / L"dossier.cfg").c_str(), nullptr);
    std::vector<std::wstring> drawn;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SetRandomSeed(seed);
        Load(LoadScope::SaverStart);
        drawn.push_back(settings.configName);
        EXPECT_EQ(settings.folders, settings.configName == L"seule" ? L"seule" : L"capitales");
    }
    for (const auto& name : drawn)
        EXPECT_TRUE(name == L"seule" || name == L"CAPITALES") << tk::ToUtf8(name);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsTest, RandomDrawWithNoConfigurationFileReportsTheNamedOne) {
    WriteIni(L"config.ini", {"[Config]", "cfgname=partie", "[Options]", "cfgalea=1"});
    Load(LoadScope::SaverStart);
    EXPECT_EQ(settings.configName, L"partie");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], L"Configuration non trouvée (" + dir.Path() + L"partie.cfg)");
}

// A configuration file held by another program without sharing (a backup, a virus scanner):
// the load waits a moment for it; one still held is said unreadable, its values are not
// taken, and it is noted so that no save replaces it unasked.
TEST_F(SettingsTest, AFileHeldByAnotherProgramIsWaitedForThenSaidUnreadable) {
    WriteIni(L"config.ini", {"[Config]", "cfgname=config 1"});
    WriteIni(L"config 1.cfg", {"[Options]", "defspeed=7"});
    const std::wstring cfg = dir / L"config 1.cfg";
    for (bool released : {true, false}) {
        SCOPED_TRACE(released ? "released after 300 ms" : "held throughout");
        settings = SettingsRecord{};
        settings.installDir = dir.Path();
        boxes.clear();
        HeldFile held(cfg, released ? 300 : INFINITE);
        ASSERT_TRUE(held.Held());
        Load(LoadScope::CurrentConfiguration);
        held.Release();
        EXPECT_EQ(settings.stepPixels, released ? 7 : 1);
        EXPECT_EQ(boxes, released ? std::vector<std::wstring>{}
                                  : std::vector<std::wstring>{L"Impossible de lire " + cfg});
        EXPECT_EQ(UnreadFilesASaveReplaces(settings, unread),
                  released ? std::vector<std::wstring>{} : std::vector<std::wstring>{cfg});
    }
    SaveSettings(settings, &unread); // what the user confirmed: nothing is unread any more
    EXPECT_TRUE(UnreadFilesASaveReplaces(settings, unread).empty());
}

TEST_F(SettingsTest, TheLoadReportsWhatWentWrongAndLeavesTheTellingToTheWindow) {
    WriteIni(L"config.ini", {"[Config]", "cfgname=partie", "[Options]", "cfgalea=0"});
    const LoadProblems problems =
        LoadConfigFiles(LoadScope::CurrentConfiguration, settings).problems;
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(problems, (LoadProblems{{LoadProblem::NotFound, dir.Path() + L"partie.cfg"}}));
}
