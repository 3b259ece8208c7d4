#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "settings/ConfigName.h"
#include "controls/FitImage.h"
#include "library/FolderScan.h"
#include "library/MemoryFile.h"
#include "library/ProgressPacer.h"
#include "tests/support/Tree.h"
#include "tests/support/Photos.h"
#include "toolkit/Text.h"

namespace {

struct Lists {
    std::vector<std::wstring> toSee, seen;
    bool operator==(const Lists&) const = default;
};

Lists Parse(const std::string& text) {
    Lists lists;
    ParseMemoryFile(text, [&](bool toSee, std::wstring path) {
        (toSee ? lists.toSee : lists.seen).push_back(std::move(path));
    });
    return lists;
}

} // namespace

TEST(MemoryFile, WritesZeroLinesFirstEachEndedByCrLfInTheAnsiCodePage) {
    const std::string bytes = FormatMemoryFile({L"C:\\b.jpg", L"C:\\été.jpg"}, {L"C:\\a.jpg"});
    EXPECT_EQ(bytes, "0C:\\b.jpg\r\n0C:\\" + tk::Narrow(L"été") + ".jpg\r\n1C:\\a.jpg\r\n");
    if (GetACP() == 1252) {
        EXPECT_EQ(tk::Narrow(L"été"), "\xE9t\xE9");
    }
    EXPECT_EQ(FormatMemoryFile({}, {}), "");
    EXPECT_EQ(MemoryFilePath(L"C:\\Saver\\", L"config 1"), L"C:\\Saver\\config 1.tmp");
    EXPECT_EQ(MemoryFilePath(L"C:\\Saver\\", L""), L"C:\\Saver\\.tmp");
    EXPECT_EQ(MemoryCountText(3, 12), L"=> 3 vus / 12 à voir");
}

TEST(MemoryFile, ReadsEveryLineForm) {
    using V = std::vector<std::wstring>;
    struct Case {
        std::string text;
        Lists lists;
    } cases[] = {
        {"1C:\\a.jpg\r\n0C:\\b.jpg\r\n", {V{L"C:\\b.jpg"}, V{L"C:\\a.jpg"}}},
        {"\r\n   \r\n\t \x01\r\n0x\r\n\r\n", {V{L"x"}, V{}}},   // blank lines
        {" 0C:\\x\r\n", {V{}, V{L"0C:\\x"}}},                   // a leading blank
        {"0\r\n", {V{L""}, V{}}},                               // "0" alone
        {"0a\r0b\n0c\r\n0d", {V{L"a", L"b", L"c", L"d"}, V{}}}, // CR, LF, CR LF, none
        {"0a\n\r0b\r\r\n1c", {V{L"a", L"b"}, V{L"c"}}},         // LF CR is two ends
        {"0a\r\n0b\0\r\n0c\r\n", {V{L"a", L"b"}, V{}}},         // a NUL ends the text
        {"0C:\\x.jpg  \r\n", {V{L"C:\\x.jpg  "}, V{}}},         // trailing blanks kept
        {"xC:\\y\r\n2C:\\z\r\n", {V{}, V{L"C:\\y", L"C:\\z"}}}, // any other first character
        {"", {V{}, V{}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parse(c.text), c.lists) << c.text;
    EXPECT_EQ(Parse("0C:\\" + tk::Narrow(L"été") + "\r\n").toSee, V{L"C:\\été"});

    Lists round = {V{L"C:\\1.jpg", L"D:\\é\\2.avi"}, V{L"C:\\3.jpg", L"C:\\3.jpg"}};
    EXPECT_EQ(Parse(FormatMemoryFile(round.toSee, round.seen)), round);
}

TEST(MemoryFile, ReplacesTheFileWholeOrNotAtAll) {
    TempDir dir;
    const std::wstring path = dir / L"config.tmp";
    ASSERT_TRUE(ReplaceFileContent(path, "0a\r\n"));
    EXPECT_EQ(ReadFileBytes(path), "0a\r\n");
    ASSERT_TRUE(ReplaceFileContent(path, "1a\r\n0b\r\n"));
    EXPECT_EQ(ReadFileBytes(path), "1a\r\n0b\r\n");
    EXPECT_EQ(GetFileAttributesW((path + L".new").c_str()), INVALID_FILE_ATTRIBUTES);

    // The temporary file cannot be made: nothing changes.
    MakeFolder(path + L".new");
    EXPECT_FALSE(ReplaceFileContent(path, "0c\r\n"));
    EXPECT_EQ(ReadFileBytes(path), "1a\r\n0b\r\n");
    RemoveDirectoryW((path + L".new").c_str());

    // The place is taken by a folder: it stays, and the temporary file goes.
    MakeFolder(dir / L"folder.tmp");
    EXPECT_FALSE(ReplaceFileContent(dir / L"folder.tmp", "0c\r\n"));
    EXPECT_EQ(GetFileAttributesW((dir / L"folder.tmp").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesW((dir / L"folder.tmp.new").c_str()), INVALID_FILE_ATTRIBUTES);

    // A read-only file: Windows refuses to replace it, Wine does not; either way it is whole.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    const bool replaced = ReplaceFileContent(path, "0c\r\n");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(path), replaced ? "0c\r\n" : "1a\r\n0b\r\n");
    EXPECT_EQ(GetFileAttributesW((path + L".new").c_str()), INVALID_FILE_ATTRIBUTES);

    // A folder that does not exist.
    EXPECT_FALSE(ReplaceFileContent(dir / L"absent\\config.tmp", "0c\r\n"));
}

TEST(ProgressPacer, DrawsFirstAtOnceThenAtMostOncePerInterval) {
    ProgressPacer pacer(50);
    EXPECT_TRUE(pacer.Due(1000));
    EXPECT_FALSE(pacer.TakePending());
    EXPECT_FALSE(pacer.Due(1010));
    EXPECT_FALSE(pacer.Due(1049));
    EXPECT_TRUE(pacer.Due(1050));
    EXPECT_FALSE(pacer.Due(1060));
    EXPECT_TRUE(pacer.TakePending());
    EXPECT_FALSE(pacer.TakePending());
    ProgressPacer everyTime(0);
    EXPECT_TRUE(everyTime.Due(5));
    EXPECT_TRUE(everyTime.Due(5));
}

// Names beyond the ANSI code page: a folder of them is scanned, its photos decode, and the
// memory keeps every path exactly (as UTF-8 after its mark) where ANSI would write "?".
TEST(MemoryFile, KeepsNamesBeyondTheCodePage) {
    ASSERT_FALSE(tk::FitsAnsi(L"Фото 写真 😀"));
    TempDir dir;
    const std::wstring folder = dir / L"Фото 写真 😀";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::vector<std::wstring> photos = {folder + L"\\été.jpg", folder + L"\\日本.jpg"};
    for (const std::wstring& path : photos)
        ASSERT_TRUE(MakeSolidJpeg(path, 40, 30, 0x336699));

    std::vector<std::wstring> found;
    FolderScan(found, {}).ScanFolders(folder + L";");
    std::sort(found.begin(), found.end());
    std::sort(photos.begin(), photos.end());
    EXPECT_EQ(found, photos);
    for (const std::wstring& path : found) {
        FitImage image;
        EXPECT_TRUE(image.LoadFromFile(path, 20, 20));
    }

    const std::string bytes = FormatMemoryFile({photos[0]}, {photos[1]});
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(Parse(bytes), (Lists{{photos[0]}, {photos[1]}}));
    ASSERT_TRUE(ReplaceFileContent(dir / L"m.tmp", bytes));
    std::string back;
    ASSERT_EQ(ReadWholeFile(dir / L"m.tmp", back), FileRead::Read);
    EXPECT_EQ(Parse(back), (Lists{{photos[0]}, {photos[1]}}));
}
