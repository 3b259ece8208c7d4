// Configuration names that are no file name of the install folder: refused by the rule, and
// a configuration that config.ini names with one is reported missing, nothing read.
#include "settings/ConfigName.h"
#include "tests/support/SettingsFixture.h"

TEST(ConfigName, PathsAndDeviceNamesAreRefused) {
    struct Case {
        const wchar_t* name;
        bool usable;
    } cases[] = {
        {L"config 1", true},  {L"Vacances été", true}, {L"a.b.c", true},
        {L"CONSOLE", true},   {L"COM10", true},        {L"LPT", true},
        {L"nul2", true},      {L" CON", true},         {L"..", true},
        {L"", false},         {L"..\\..\\x", false},   {L"sub/name", false},
        {L"C:name", false},   {L"a*", false},          {L"a?", false},
        {L"a\"b", false},     {L"<a", false},          {L"a>", false},
        {L"a|b", false},      {L"CON", false},         {L"con", false},
        {L"Prn", false},      {L"AUX", false},         {L"NUL", false},
        {L"nul.txt", false},  {L"Con .cfg", false},    {L"CON.", false},
        {L"COM1", false},     {L"com9", false},        {L"LPT1", false},
        {L"lpt9.tmp", false}, {L"COM0", false},        {L"LPT\u00B9", false},
        {L"CONIN$", false},   {L"conout$.cfg", false}, {L"CONIN", true},
        {L"   ", false},      {L" \t", false},         {L" a ", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsUsableConfigName(c.name), c.usable) << tk::ToUtf8(c.name);
}

TEST_F(SettingsTest, AConfigurationNamedByAPathOrADeviceIsReportedMissing) {
    WriteIni(L"outside.cfg", {"[Options]", "defspeed=99"});
    settings.installDir = dir / L"install\\";
    CreateDirectoryW(settings.installDir.c_str(), nullptr);
    for (const wchar_t* name : {L"..\\outside", L"NUL", L""}) {
        boxes.clear();
        WriteIni(L"install\\config.ini",
                 {"[Config]", "cfgname=" + tk::Narrow(name), "[Options]", "cfgalea=0"});
        Load(LoadScope::CurrentConfiguration);
        EXPECT_EQ(settings.configName, name);
        ASSERT_EQ(boxes.size(), 1u) << tk::ToUtf8(name);
        EXPECT_EQ(boxes[0], L"Configuration non trouvée (" + settings.installDir + name + L".cfg)");
        EXPECT_EQ(settings.stepPixels, 1);
    }
}
