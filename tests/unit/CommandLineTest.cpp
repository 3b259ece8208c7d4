#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/Preview.h"

// Each mode with the command lines that give it, after the program's own name.
TEST(CommandLine, ClassifiesEveryFormOfTheSwitches) {
    using Line = std::vector<std::wstring>;
    const struct {
        RunModeKind mode;
        std::vector<Line> lines;
    } cases[] = {
        {rmSaver, {{L"/s"}, {L"-S"}, {L"s"}, {L"/X"}, {L"/"}, {L"--p"}, {L"xp"}, {L"/é"}}},
        {rmConfigure, {{}, {L""}, {L"/c"}, {L"/c:1234"}, {L"-C"}, {L"c"}}},
        {rmPreview, {{L"/p", L"1234"}, {L"P"}, {L"-p", L"5"}}},
        {rmPasswordChange, {{L"/a", L"66"}, {L"ABC"}, {L"a"}}},
    };
    for (const auto& c : cases)
        for (const Line& line : c.lines) {
            Line args = {L"x.scr"};
            args.insert(args.end(), line.begin(), line.end());
            EXPECT_EQ(ClassifyRunMode(ReadCommandLine(args).arg1), c.mode)
                << (line.empty() ? "none" : std::string(line[0].begin(), line[0].end()));
        }
}

TEST(CommandLine, UpperCasesAsciiLettersOnly) {
    CommandLine line = ReadCommandLine({L"x", L"/cé", L"12ab"});
    EXPECT_EQ(line.arg1, L"/Cé");
    EXPECT_EQ(line.arg2, L"12AB");
}

TEST(CommandLine, WindowHandlesAreDecimalNumbersOnly) {
    EXPECT_EQ(ParseWindowHandle(L"1234"), reinterpret_cast<HWND>(1234));
    EXPECT_EQ(ParseWindowHandle(L"4294967295"), reinterpret_cast<HWND>(0xFFFFFFFFu));
    for (const wchar_t* bad : {L"", L"12x", L"-5", L"0x10", L"4294967296", L"99999999999", L" 1"})
        EXPECT_FALSE(ParseWindowHandle(bad).has_value()) << bad;
}

TEST(Preview, IconCrossesFromTheRightEdgeAndComesBack) {
    // A host 152 pixels wide has W = 153: the first pass starts at 153, later ones at 152.
    const int width = 153;
    int x = width;
    std::vector<int> seen = {x};
    for (int i = 0; i < 2 * (width + 33) + 2; ++i)
        seen.push_back(x = NextPreviewX(x, width));
    EXPECT_EQ(seen[0], 153);
    EXPECT_EQ(seen[1], 152);
    EXPECT_EQ(seen[153 + 33], -33);
    EXPECT_EQ(seen[153 + 34], 152); // the second pass starts one pixel in
    EXPECT_EQ(PreviewIconY(113), 40);
}
