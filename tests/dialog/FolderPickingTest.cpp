// The images page's rules with real folders: the tree's first folder, adding and removing
// chosen folders, the media files a folder lists, the preview box for a clip.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "dialog/FolderPicking.h"
#include "tests/support/Tree.h"
#include "toolkit/Text.h"

namespace {
using Lines = std::vector<std::wstring>;
}

TEST(FolderPicking, SubBtnRemovesExactlyTheSelectedLines) {
    struct Case {
        Lines lines;
        std::vector<bool> selected;
        Lines left;
    };
    const Case cases[] = {
        {{}, {}, {}},
        {{L"a", L"b", L"c", L"d", L"e"}, {true, false, true, false, true}, {L"b", L"d"}},
        {{L"a", L"b", L"c"}, {true, true, true}, {}}, // the clear button selects all first
        {{L"a", L"a", L"b"}, {false, true, false}, {L"a", L"b"}},
        {{L"a", L"b"}, {false, false}, {L"a", L"b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithoutSelected(c.lines, c.selected), c.left);
}

TEST(FolderPicking, AddsAnEnterableFolderOnceWhateverItsLetterCase) {
    TempDir dir;
    const std::wstring photos = dir / L"Photos", été = dir / L"Été";
    MakeFolder(photos);
    MakeFolder(été);
    struct Case {
        Lines chosen;
        std::wstring folder;
        bool added;
    };
    const Case cases[] = {
        {{}, photos, true},
        {{photos}, photos, false},
        {{dir / L"PHOTOS"}, photos, false},
        {{photos + L"\\"}, photos, false}, // as the README writes folders
        {{dir / L"été"}, été, false},
        {{photos}, dir / L"missing", false},
        {{}, L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MayAddFolder(c.chosen, c.folder), c.added) << tk::ToUtf8(c.folder);
}

TEST(FolderPicking, TheTreeOpensAtTheLastChosenFolderThenPictures) {
    TempDir dir;
    MakeFolder(dir / L"a");
    MakeFolder(dir / L"b");
    EXPECT_EQ(TreeStartFolder({dir / L"a", dir / L"b"}), dir / L"b");
    wchar_t pictures[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures);
    CreateDirectoryW(pictures, nullptr);
    EXPECT_EQ(TreeStartFolder({dir / L"b", dir / L"gone"}), pictures);
    EXPECT_EQ(TreeStartFolder({}), pictures);
}

TEST(FolderPicking, TheFileListShowsEachMediaFileOnceSortedIgnoringCase) {
    TempDir dir;
    for (const wchar_t* name :
         {L"b.JPG", L"A.jpeg", L"clip.mpeg", L"c.avi", L"notes.txt", L"x.jpgz"})
        MakeFile(dir / name);
    MakeFolder(dir / L"sub.jpg");
    // x.jpgz matches "*.JPG" through its short name, but its own extension is no media
    // one: the catalogue leaves it out, and so does the list. clip.mpeg, found by "*.MPEG"
    // and again by "*.MPE" through its short name, shows once.
    EXPECT_EQ(MediaFilesOf(dir.Path()), (Lines{L"A.jpeg", L"b.JPG", L"c.avi", L"clip.mpeg"}));
    EXPECT_EQ(MediaFilesOf(dir / L"missing"), Lines{});
}

TEST(FolderPicking, ThePreviewBoxFitsTheClipAndStaysCentred) {
    struct Case {
        int w, h;
        RECT box;
    };
    const Case cases[] = {
        {640, 480, {264, 184, 457, 329}}, // 189 x 141 inside: the whole standard box
        {480, 640, {306, 184, 415, 329}}, // 105 x 141 inside
        {120, 90, {298, 209, 422, 303}},  // its own size, centred
    };
    for (const Case& c : cases) {
        const RECT r = PreviewBoxForClip(c.w, c.h);
        EXPECT_EQ(r.left, c.box.left) << c.w;
        EXPECT_EQ(r.top, c.box.top) << c.w;
        EXPECT_EQ(r.right, c.box.right) << c.w;
        EXPECT_EQ(r.bottom, c.box.bottom) << c.w;
    }
}
