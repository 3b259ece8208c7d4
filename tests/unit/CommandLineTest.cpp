#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/Preview.h"

TEST(CommandLine, ClassifiesEveryFormOfTheSwitches) {
    struct Case {
        std::vector<std::wstring> args;
        TRunMode mode;
    } cases[] = {
        {{L"x.scr"}, rmConfigure},
        {{L"x.scr", L"/s"}, rmSaver},
        {{L"x.scr", L"-S"}, rmSaver},
        {{L"x.scr", L"s"}, rmSaver},
        {{L"x.scr", L"/X"}, rmSaver},
        {{L"x.scr", L""}, rmConfigure},
        {{L"x.scr", L"/c"}, rmConfigure},
        {{L"x.scr", L"/c:1234"}, rmConfigure},
        {{L"x.scr", L"-C"}, rmConfigure},
        {{L"x.scr", L"c"}, rmConfigure},
        {{L"x.scr", L"/p", L"1234"}, rmPreview},
        {{L"x.scr", L"P"}, rmPreview},
        {{L"x.scr", L"-p", L"5"}, rmPreview},
        {{L"x.scr", L"/a", L"66"}, rmPasswordChange},
        {{L"x.scr", L"ABC"}, rmPasswordChange},
        {{L"x.scr", L"a"}, rmPasswordChange},
        {{L"x.scr", L"/"}, rmSaver},
        {{L"x.scr", L"--p"}, rmSaver},
        {{L"x.scr", L"xp"}, rmSaver},
        {{L"x.scr", L"/é"}, rmSaver},
    };
    for (const Case& c : cases) {
        TCommandLine line = ReadCommandLine(c.args);
        EXPECT_EQ(ClassifyRunMode(line.arg1), c.mode)
            << (c.args.size() > 1 ? std::string(c.args[1].begin(), c.args[1].end()) : "none");
    }
}

TEST(CommandLine, UpperCasesAsciiLettersOnly) {
    TCommandLine line = ReadCommandLine({L"x", L"/cé", L"12ab"});
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
    for (int i = 0; i < 2 * (width + 33) + 2; ++i) seen.push_back(x = NextPreviewX(x, width));
    EXPECT_EQ(seen[0], 153);
    EXPECT_EQ(seen[1], 152);
    EXPECT_EQ(seen[153 + 33], -33);
    EXPECT_EQ(seen[153 + 34], 152); // the second pass starts one pixel in
    EXPECT_EQ(PreviewIconY(113), 40);
}
