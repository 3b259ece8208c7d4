// The caption's text and the shortening of a path, with widths the tests choose.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "saver/Caption.h"

namespace {

TEST(Caption, TextForEachOptionCombination) {
    const std::wstring path = L"C:\\photos\\a.jpg", date = L"01/02/2024";
    const struct {
        bool names, dates;
        const wchar_t* name;
        const wchar_t* datePart;
    } cases[] = {
        {true, true, L"C:\\photos\\a.jpg", L" - 01/02/2024"},
        {true, false, L"C:\\photos\\a.jpg", L""},
        {false, true, L"", L"01/02/2024"},
        {false, false, L"", L""},
    };
    for (const auto& c : cases) {
        Caption caption = CaptionParts(path, date, c.names, c.dates);
        EXPECT_EQ(caption.name, c.name) << c.names << c.dates;
        EXPECT_EQ(caption.date, c.datePart) << c.names << c.dates;
        EXPECT_EQ(caption.Text(), std::wstring(c.name) + c.datePart);
    }
}

// Each form of the path gets a width of the test's choosing; the limit picks where the
// shortening stops.
TEST(Caption, ShorteningSequenceFromTheLeft) {
    const std::map<std::wstring, int> widths = {
        {L"C:\\a\\b\\name.jpg", 100},
        {L"C:\\...\\b\\name.jpg", 90},
        {L"C:\\...\\name.jpg", 80},
        {L"...\\name.jpg", 70},
        {L"name.jpg", 60},
    };
    std::vector<std::wstring> measured;
    auto width = [&](const std::wstring& s) {
        measured.push_back(s);
        auto it = widths.find(s);
        return it == widths.end() ? 1000 : it->second;
    };
    const struct {
        int limit;
        const wchar_t* shown;
    } cases[] = {
        {100, L"C:\\a\\b\\name.jpg"},
        {99, L"C:\\...\\b\\name.jpg"},
        {90, L"C:\\...\\b\\name.jpg"},
        {89, L"C:\\...\\name.jpg"},
        {79, L"...\\name.jpg"},
        {69, L"name.jpg"},
        {10, L"name.jpg"}, // the bare name even when it is still too wide
        {-5, L"name.jpg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortenPath(L"C:\\a\\b\\name.jpg", c.limit, width), c.shown) << c.limit;

    measured.clear();
    ShortenPath(L"C:\\a\\b\\name.jpg", 0, width);
    const std::vector<std::wstring> sequence = {L"C:\\a\\b\\name.jpg", L"C:\\...\\b\\name.jpg",
                                                L"C:\\...\\name.jpg", L"...\\name.jpg"};
    EXPECT_EQ(measured, sequence);
}

TEST(Caption, ShorteningOtherPathShapes) {
    auto chars = [](const std::wstring& s) { return int(s.size()); };
    const struct {
        const wchar_t* path;
        int limit;
        const wchar_t* shown;
    } cases[] = {
        {L"C:\\photos\\vacances\\name.jpg", 27, L"C:\\photos\\vacances\\name.jpg"},
        {L"C:\\photos\\vacances\\name.jpg", 26, L"C:\\...\\vacances\\name.jpg"},
        {L"C:\\photos\\vacances\\name.jpg", 23, L"C:\\...\\name.jpg"},
        {L"C:\\photos\\vacances\\name.jpg", 14, L"...\\name.jpg"},
        {L"C:\\name.jpg", 5, L"name.jpg"},
        {L"C:name.jpg", 5, L"name.jpg"},
        {L"name.jpg", 1, L"name.jpg"},
        {L"\\\\server\\share\\dir\\name.jpg", 12, L"...\\name.jpg"},
        {L"\\\\server\\share\\dir\\name.jpg", 1, L"name.jpg"},
        {L"C:\\...\\x\\name.jpg", 1, L"name.jpg"}, // a folder really named "..."
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortenPath(c.path, c.limit, chars), c.shown) << c.path;
}

TEST(Caption, BandWidthAndNameRoom) {
    EXPECT_EQ(CaptionBandWidth(120, 300), 120);
    EXPECT_EQ(CaptionBandWidth(500, 300), 300);
    EXPECT_EQ(CaptionBandWidth(300, 300), 300);
    EXPECT_EQ(CaptionNameLimit(200, 50), 148);
    EXPECT_EQ(CaptionNameLimit(1, 0), -1);
}

TEST(Caption, FileDateOfAMissingFileIsEmpty) {
    EXPECT_EQ(FileDateText(L"C:\\no such folder\\no such file.jpg"), L"");
}

TEST(Caption, FileDateIsTheLastWriteNotTheCreation) {
    auto noon = [](WORD year, WORD month, WORD day) {
        SYSTEMTIME s = {year, month, 0, day, 12, 0, 0, 0};
        FILETIME f;
        SystemTimeToFileTime(&s, &f);
        return f;
    };
    WIN32_FILE_ATTRIBUTE_DATA copied = {};
    copied.ftCreationTime = noon(2024, 3, 1);
    copied.ftLastWriteTime = noon(2019, 7, 14);
    WIN32_FILE_ATTRIBUTE_DATA taken = copied, created = copied;
    taken.ftCreationTime = taken.ftLastWriteTime;
    created.ftLastWriteTime = created.ftCreationTime;
    EXPECT_NE(FileDateText(copied), L"");
    EXPECT_EQ(FileDateText(copied), FileDateText(taken));
    EXPECT_NE(FileDateText(copied), FileDateText(created));
}

} // namespace
