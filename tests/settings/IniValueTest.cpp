// Reading single values: what counts as an integer, what leaves a field alone, and how long
// a string can be.
#include "settings/FolderList.h"
#include "settings/IniValue.h"
#include "tests/support/SettingsFixture.h"

TEST(ParseIniInt, DecimalHexadecimalAndEverythingElse) {
    struct Case {
        const wchar_t* text;
        std::optional<int> value;
    } cases[] = {
        {L"16", 16},
        {L"0x10", 16},
        {L"0X1f", 31},
        {L"0x7FFFFFFF", 0x7FFFFFFF},
        {L"0xFFFFFFFF", -1}, // eight hex digits are the 32 bits as stored
        {L"0x100000000", std::nullopt},
        {L"-5", -5},
        {L"+7", 7},
        {L"-0x10", -16},
        {L"-0x80000000", INT32_MIN},
        {L"2147483647", INT32_MAX},
        {L"-2147483648", INT32_MIN},
        {L"2147483648", std::nullopt},
        {L"-2147483649", std::nullopt},
        {L"99999999999999999999999", std::nullopt},
        {L"0x", std::nullopt}, // the prefix alone is no number
        {L"0", 0},
        {L"00012", 12},
        {L"", std::nullopt},
        {L"-", std::nullopt},
        {L"abc", std::nullopt},
        {L"12abc", std::nullopt},
        {L"0x1g", std::nullopt},
        {L"1.5", std::nullopt},
        {L"1 2", std::nullopt},
    };
    for (const Case& c : cases) {
        auto got = ParseIniInt(c.text);
        EXPECT_EQ(got, c.value) << tk::ToUtf8(c.text);
    }
}

TEST_F(SettingsTest, IntegersAndBooleansFromAFile) {
    // Each key's line as it stands in the file (none: the key is missing), and the field
    // after reading it into a field that held 7 (integers) or true/false (booleans).
    struct Case {
        const char* line;
        int integer;
    } ints[] = {
        {"n=0x10", 16}, {"n=abc", 7},   {"n=", 7},   {nullptr, 7},         {"n=  42  ", 42},
        {"n=-3", -3},   {"n=12abc", 7}, {"n=0x", 7}, {"n=0xFFFFFFFF", -1}, {"N=9", 9},
    };
    for (const Case& c : ints) {
        std::vector<std::string> lines = {"[Options]"};
        if (c.line) lines.push_back(c.line);
        WriteIni(L"values.ini", lines);
        int field = 7;
        ReadIniInt(dir / L"values.ini", L"Options", L"n", field);
        EXPECT_EQ(field, c.integer) << (c.line ? c.line : "(missing)");
    }

    struct BoolCase {
        const char* line;
        bool fromFalse, fromTrue;
    } bools[] = {
        {"b=1", true, true},    {"b=0", false, false},   {"b=2", true, true},
        {"b=-1", true, true},   {"b=0x0", false, false}, {"b=0x10", true, true},
        {"b=yes", false, true}, {"b=", false, true},     {nullptr, false, true},
    };
    for (const BoolCase& c : bools) {
        std::vector<std::string> lines = {"[Options]"};
        if (c.line) lines.push_back(c.line);
        WriteIni(L"values.ini", lines);
        bool a = false, b = true;
        ReadIniBool(dir / L"values.ini", L"Options", L"b", a);
        ReadIniBool(dir / L"values.ini", L"Options", L"b", b);
        EXPECT_EQ(a, c.fromFalse) << (c.line ? c.line : "(missing)");
        EXPECT_EQ(b, c.fromTrue) << (c.line ? c.line : "(missing)");
    }
}

// Around each size the buffer takes on its way (2048, 4096) and a list of sixty folders.
TEST_F(SettingsTest, StringsComeBackWholeWhateverTheirLength) {
    for (size_t length : {0, 1, 2046, 2047, 2048, 4095, 4096, 4097}) {
        std::string value;
        for (size_t i = 0; i < length; ++i)
            value += char('a' + i % 26);
        WriteIni(L"long.ini", {"[Options]", "s=" + value});
        std::wstring got = ReadIniString(dir / L"long.ini", L"Options", L"s", L"previous");
        EXPECT_EQ(got, std::wstring(value.begin(), value.end())) << length;
    }
    std::string folders;
    for (int i = 0; folders.size() < 6000; ++i)
        folders += "D:\\Photos de vacances\\" + std::to_string(2000 + i) + " Bretagne;";
    WriteIni(L"config 1.cfg", {"[Options]", "defdir=" + folders, "defspeed=7"});
    Load(LoadScope::NamedConfiguration);
    EXPECT_EQ(settings.folders, std::wstring(folders.begin(), folders.end()));
    EXPECT_EQ(settings.stepPixels, 7);
}

TEST_F(SettingsTest, StringsAreAnsiInTheFileAndMissingOnesKeepTheDefault) {
    WriteIni(L"text.ini", {"[Options]", "s=C:\\Photos d\xE9j\xE0 vues;D:\\Films;", "e="});
    EXPECT_EQ(ReadIniString(dir / L"text.ini", L"Options", L"s", L""),
              L"C:\\Photos déjà vues;D:\\Films;");
    // An empty string value is a value: only a missing key keeps the default.
    EXPECT_EQ(ReadIniString(dir / L"text.ini", L"Options", L"e", L"before"), L"");
    EXPECT_EQ(ReadIniString(dir / L"text.ini", L"Options", L"none", L"before"), L"before");
    EXPECT_EQ(ReadIniString(dir / L"text.ini", L"Other", L"s", L"before"), L"before");
    EXPECT_EQ(ReadIniString(dir / L"absent.ini", L"Options", L"s", L"before"), L"before");
}

TEST(SplitString, NonEmptyPiecesInOrder) {
    using V = std::vector<std::wstring>;
    struct Case {
        const wchar_t* separator;
        const wchar_t* text;
        V pieces;
    } cases[] = {
        {L";", L";1;;12;", {L"1", L"12"}},
        {L";", L"", {}},
        {L";", L"7", {L"7"}},
        {L";", L";;;", {}},
        {L";", L"C:\\Photos;D:\\Films;", {L"C:\\Photos", L"D:\\Films"}},
        {L";", L"C:\\Photos", {L"C:\\Photos"}},
        {L";",
         L";1;2;3;4;5;6;7;8;9;10;11;12;13;",
         {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10", L"11", L"12", L"13"}},
        {L"ab", L"xabyababz", {L"x", L"y", L"z"}},
        {L"", L"abc", {L"abc"}}, // no separator: the whole text, and no endless loop
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitString(c.separator, c.text), c.pieces) << tk::ToUtf8(c.text);
}

// The one reading of a stored "defdir", for the saver's scan and the dialog's list alike.
TEST(FolderEntries, EveryPieceBetweenSemicolons) {
    using V = std::vector<std::wstring>;
    struct Case {
        const wchar_t* stored;
        V entries;
    } cases[] = {
        {L"", {}},
        {L"C:\\Photos", {L"C:\\Photos"}},
        {L"C:\\Photos;D:\\Films;", {L"C:\\Photos", L"D:\\Films"}},
        {L"C:\\a;;D:\\b;", {L"C:\\a", L"", L"D:\\b"}},
        {L"C:\\a;D:\\b", {L"C:\\a", L"D:\\b"}}, // a last one without its ";" is kept
        {L"C:\\Photos;;D:\\Films", {L"C:\\Photos", L"", L"D:\\Films"}},
        {L";;", {L"", L""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FolderEntries(c.stored), c.entries) << tk::ToUtf8(c.stored);
}
