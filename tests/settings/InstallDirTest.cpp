// The install folder comes from HKLM "SOFTWARE\Korvane\VistamurSs" "InstallDir".
#include "tests/support/SettingsFixture.h"
#include "tests/support/Registry.h"

TEST_F(SettingsTest, InstallDirComesFromTheRegistryUnchanged) {
    ScopedRegValue value(HKEY_LOCAL_MACHINE, kTestInstallKey, L"InstallDir");
    ASSERT_TRUE(value.SetString(dir.Path()));
    WriteIni(L"config.ini", {"[Config]", "cfgname=depuis le registre"});
    WriteIni(L"depuis le registre.cfg", {"[Options]", "defspeed=5"});
    settings.installDir = L"c:\\ailleurs\\";
    LoadWithRegistry(LoadScope::CurrentConfiguration);
    EXPECT_EQ(settings.installDir, dir.Path());
    EXPECT_EQ(settings.configName, L"depuis le registre");
    EXPECT_EQ(settings.stepPixels, 5);

    // The value is a prefix: nothing is appended to a folder written without its "\".
    std::wstring bare = dir.Path().substr(0, dir.Path().size() - 1);
    ASSERT_TRUE(value.SetString(bare));
    boxes.clear();
    LoadWithRegistry(LoadScope::NamedConfiguration);
    EXPECT_EQ(settings.installDir, bare);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], L"Configuration non trouvée (" + bare + L"depuis le registre.cfg)");
}

TEST_F(SettingsTest, WithoutTheRegistryValueTheInstallFolderStays) {
    ScopedRegValue value(HKEY_LOCAL_MACHINE, kTestInstallKey, L"InstallDir");
    WriteIni(L"config 1.cfg", {"[Options]", "defspeed=4"});
    value.Remove(); // no key at all, or the key without its value
    LoadWithRegistry(LoadScope::NamedConfiguration);
    EXPECT_EQ(settings.installDir, dir.Path());
    EXPECT_EQ(settings.stepPixels, 4);

    ASSERT_TRUE(value.SetDword(1)); // a number is no folder
    LoadWithRegistry(LoadScope::NamedConfiguration);
    EXPECT_EQ(settings.installDir, dir.Path());
    EXPECT_TRUE(boxes.empty());
}

// An install folder that is not there (a share that is gone answers with a code of its own)
// holds no file: the load starts on the initial values at once, with nothing to say, rather
// than waiting for files that another program would hold.
TEST_F(SettingsTest, AMissingInstallFolderIsAbsentNotUnreadable) {
    ScopedRegValue value(HKEY_LOCAL_MACHINE, kTestInstallKey, L"InstallDir");
    for (const std::wstring& missing :
         {dir / L"parti\\", std::wstring(L"\\\\absent\\partage\\Vistamur\\")}) {
        SCOPED_TRACE(testing::PrintToString(tk::Narrow(missing)));
        ASSERT_TRUE(value.SetString(missing));
        const Loaded loaded = LoadSettings(LoadScope::CurrentConfiguration, settings, &unread);
        settings = loaded.settings;
        const LoadProblems& problems = loaded.problems;
        EXPECT_EQ(settings.installDir, missing);
        EXPECT_TRUE(problems.empty());
        EXPECT_TRUE(unread.empty());
    }
}
