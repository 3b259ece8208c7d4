#include <gtest/gtest.h>

#include <algorithm>

#include "settings/Settings.h"
#include "library/FolderScan.h"
#include "library/MediaKind.h"
#include "library/SameFolder.h"
#include "tests/support/Tree.h"
#include "tests/support/NaiveScan.h"

namespace {

std::string Narrow(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

// What a scan reports: the files, the running counts drawn and the folders warned about,
// each warning placed among the counts by the number of counts before it.
struct ScanLog {
    std::vector<std::wstring> files;
    std::vector<size_t> counts;
    std::vector<std::pair<std::wstring, size_t>> warnings;
};

ScanLog Scan(const std::wstring& folders) {
    ScanLog log;
    ScanEvents events;
    events.FolderScanned = [&](size_t total) { log.counts.push_back(total); };
    events.Inaccessible = [&](const std::wstring& folder) {
        log.warnings.push_back({folder, log.counts.size()});
    };
    FolderScan(log.files, events).ScanFolders(folders);
    return log;
}

std::wstring NoSlash(const TempDir& dir) {
    return dir.Path().substr(0, dir.Path().size() - 1);
}

// Makes these files and folders in the temporary folder, in their order: a name that ends
// with a backslash is a folder.
void MakeTree(const TempDir& dir, std::initializer_list<std::wstring> names) {
    for (const std::wstring& name : names)
        if (name.back() == L'\\')
            MakeFolder(dir / name.substr(0, name.size() - 1));
        else
            MakeFile(dir / name);
}

// These names in the folder, as the scan lists them.
std::vector<std::wstring> Paths(const std::wstring& root,
                                std::initializer_list<std::wstring> names) {
    std::vector<std::wstring> paths;
    for (const std::wstring& name : names)
        paths.push_back(root + L"\\" + name);
    return paths;
}

} // namespace

TEST(MediaKind, ClassifiesByTheNamesOwnExtension) {
    struct Case {
        const wchar_t* name;
        int kinds;
        bool media;
    } cases[] = {
        {L"photo.jpg", mkPhoto, true},
        {L"PHOTO.JPG", mkPhoto, true},
        {L"Photo.Jpeg", mkPhoto, true},
        {L"clip.mpeg", mkClip, true},
        {L"clip.WMV", mkClip, true},
        {L"C:\\a.b\\clip.ivf", mkClip, true},
        {L"photo.jpe", mkPhoto | mkClip, false},
        {L"clip.mpeg4", mkPhoto | mkClip, false},
        {L"photo", mkPhoto | mkClip, false},
        {L"photo.", mkPhoto | mkClip, false},
        {L"C:\\dir.jpg\\file", mkPhoto, false},
        {L"C:.jpg", mkPhoto, true},
        {L"x.jpg:stream", mkPhoto, false},
        {L".jpg", mkPhoto, true},
        {L"photo.jpg", mkClip, false},
        {L"clip.avi", mkPhoto, false},
        {L"clip.avi", mkPhoto | mkClip, true},
        {L"x.jpg", 0, false},
        {L"clıp.avı", mkClip, false}, // dotless i: only a..z are upper-cased
        {L"VID_20240612_101500.mp4", mkClip, true},
        {L"clip.M4v", mkClip, true},
        {L"clip.3gp", mkPhoto, false},
        {L"x.mp4a", mkPhoto | mkClip, false}, // found by "*.MP4" through its short name
        {L"x.3gpp", mkPhoto | mkClip, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsMediaFile(c.name, c.kinds), c.media) << Narrow(c.name) << " " << c.kinds;
    // The photos are the two JPEG extensions and those after the clips, from ".PNG"; each
    // extension counts where this PC can show it.
    for (size_t i = 0; i < MediaExtensions.size(); ++i)
        EXPECT_EQ(IsMediaFile(std::wstring(L"a") + MediaExtensions[i],
                              i < 2 || i >= 22 ? mkPhoto : mkClip),
                  bool(UsableMediaMask() & (1u << i)));
}

// The photo formats taken follow the decoders WIC reports, each naming its extensions as
// it likes (either separator, any case): a format without one is not catalogued at all.
// Clips, JPEG, HEIC and WebP, which the program decodes itself, never depend on them.
TEST(MediaKind, PhotoFormatsFollowTheInstalledDecoders) {
    using Lists = std::vector<std::wstring>;
    const Lists wine = {L".gif",       L".png", L".bmp,.dib,.rle", L".jpg;.jpeg;.jfif",
                        L".tif;.tiff", L".ico"};
    const std::vector<std::wstring> own = {L"a.heic", L"a.heif", L"a.hif", L"a.webp"};
    auto with = [&](std::vector<std::wstring> wic, std::vector<std::wstring> after) {
        std::vector<std::wstring> all = {L"a.jpg", L"a.avi"};
        all.insert(all.end(), wic.begin(), wic.end());
        all.insert(all.end(), own.begin(), own.end());
        all.insert(all.end(), after.begin(), after.end());
        return all;
    };
    struct Case {
        const char* what;
        Lists decoders;
        std::vector<std::wstring> found; // of the folder below, in the scan's order
    } cases[] = {
        {"no WIC at all", {}, with({}, {})},
        {"Wine's decoders", wine, with({L"a.png", L"a.gif", L"a.bmp", L"a.tif", L"a.tiff"}, {})},
        {"Windows with the HEIF, WebP and AV1 extensions",
         {L".png", L".HEIC,.HEIF,.AVCI,.HEICS", L".webp", L".avif"},
         with({L"a.png"}, {L"a.avif"})},
        {"names with spaces", {L" .gif , .avif "}, with({L"a.gif"}, {L"a.avif"})},
    };
    TempDir dir;
    MakeTree(dir, {L"a.jpg", L"a.avi", L"a.png", L"a.gif", L"a.bmp", L"a.tif", L"a.tiff", L"a.heic",
                   L"a.heif", L"a.hif", L"a.webp", L"a.avif", L"a.cr2", L"a.dng", L"a.hifi"});
    const uint32_t before = UsableMediaMask();
    for (const Case& c : cases) {
        SetUsableMediaMask(MediaMaskForDecoders(c.decoders));
        std::vector<std::wstring> found;
        for (const std::wstring& path : Scan(NoSlash(dir)).files)
            found.push_back(path.substr(path.rfind(L'\\') + 1));
        EXPECT_EQ(found, c.found) << c.what;
    }
    SetUsableMediaMask(before);
}

TEST(FolderScan, TakesFolderParts) {
    EXPECT_EQ(FolderPart(L"X:\\Absent\\Sous"), L"X:\\Absent\\");
    EXPECT_EQ(FolderPart(L"C:\\Photos\\plage.jpg"), L"C:\\Photos\\");
    EXPECT_EQ(FolderPart(L"C:plage.jpg"), L"C:");
    EXPECT_EQ(FolderPart(L"plage.jpg"), L"");
    EXPECT_EQ(ScanCountText(1234), L"=> 1234 fichiers trouvés");
}

TEST(FolderScan, WalksPreOrderSkippingHiddenFolders) {
    TempDir dir;
    const std::wstring root = NoSlash(dir);
    MakeTree(dir, {L"b.jpg", L"a.avi", L"hidden.jpg", L"notes.txt", L"sub\\", L"sub\\c.jpg",
                   L"sub\\deeper\\", L"sub\\deeper\\d.mpg", L"secret\\", L"secret\\e.jpg",
                   L"only folders\\", L"only folders\\inner\\", L"only folders\\inner\\f.jpg",
                   L"z\\", L"z\\g.jpg"});
    Hide(dir / L"hidden.jpg");
    Hide(dir / L"secret");

    ScanLog log = Scan(root);
    EXPECT_EQ(log.files,
              Paths(root, {L"b.jpg", L"hidden.jpg", L"a.avi", L"only folders\\inner\\f.jpg",
                           L"sub\\c.jpg", L"sub\\deeper\\d.mpg", L"z\\g.jpg"}));
    // "only folders" draws no count of its own: one count per folder that has files.
    EXPECT_EQ(log.counts, (std::vector<size_t>{3, 4, 5, 6, 7}));
    EXPECT_TRUE(log.warnings.empty());
}

TEST(FolderScan, EntriesThatAreFilesMissingOrEmpty) {
    TempDir dir;
    const std::wstring root = NoSlash(dir);
    MakeTree(dir, {L"Photos\\", L"Photos\\plage.jpg", L"Photos\\film.avi", L"Photos\\Sous\\",
                   L"Photos\\Sous\\x.jpg", L"Films\\", L"Films\\y.wmv"});

    // An entry that names files stands for its whole folder, every kind and every sub-folder;
    // a folder that is not there stands for nothing, whatever its parent holds.
    const auto wholePhotos =
        Paths(root, {L"Photos\\plage.jpg", L"Photos\\film.avi", L"Photos\\Sous\\x.jpg"});
    struct Case {
        std::wstring entry;
        std::vector<std::wstring> files;
        std::wstring warned; // empty for none
    } cases[] = {
        {L"Photos\\plage.jpg", wholePhotos, L""},
        {L"Photos\\*.avi", wholePhotos, L""},
        {L"Photos\\parti.jpg", wholePhotos, L""},                // a photo deleted since
        {L"Photos\\Vacances", {}, root + L"\\Photos\\Vacances"}, // renamed away
        {L"Photos\\Vacances\\", {}, root + L"\\Photos\\Vacances\\"},
        {L"Absent\\Sous", {}, root + L"\\Absent\\"}, // neither level: the folder part
    };
    for (const Case& c : cases) {
        ScanLog log = Scan(root + L"\\" + c.entry);
        EXPECT_EQ(log.files, c.files) << Narrow(c.entry);
        std::vector<std::wstring> warned, expected;
        for (const auto& w : log.warnings)
            warned.push_back(w.first);
        if (!c.warned.empty()) expected.push_back(c.warned);
        EXPECT_EQ(warned, expected) << Narrow(c.entry);
        EXPECT_EQ(UnreachableFolders(root + L"\\" + c.entry), expected) << Narrow(c.entry);
    }

    // ";;": an empty entry, warned about between the scans of the two folders.
    ScanLog empty = Scan(root + L"\\Films;;" + root + L"\\Photos\\Sous;");
    ASSERT_EQ(empty.warnings.size(), 1u);
    EXPECT_EQ(empty.warnings[0], (std::pair<std::wstring, size_t>{L"", 1}));
    EXPECT_EQ(empty.files, Paths(root, {L"Films\\y.wmv", L"Photos\\Sous\\x.jpg"}));

    // A trailing backslash: the folder as the current directory reports it.
    ScanLog slash = Scan(root + L"\\Films\\");
    EXPECT_EQ(slash.files, Paths(root, {L"Films\\y.wmv"}));
}

// The one listing per folder must give exactly what listing each folder once per
// extension gives, including the files that short names bring in twice, the names that
// only look like media through their short name, and folders named like media files.
TEST(FolderScan, OneListingGivesTheListOfOneListingPerExtension) {
    TempDir dir;
    const std::wstring root = NoSlash(dir);
    MakeFolder(dir / L"mixed");
    for (const wchar_t* name :
         {L"clip.mpeg", L"clip.mp2v", L"x.jpgz", L"Photo.Jpeg", L"b.JPG", L"a.jpg",
          L"long photo name.jpg", L"e.mpe", L"f.mp2", L"g.wm", L"h.wmv", L"i.asx", L"clip.mpv2",
          L"notes.txt", L"k.ivf", L"movie.qt", L"track.mpa", L"m.m1v", L"n.mov"})
        MakeFile(dir / (std::wstring(L"mixed\\") + name));
    Hide(dir / L"mixed\\b.JPG");
    // "sub.jpg" is a folder the patterns find too. In "quirk", the first entry "*.MPG" finds
    // is a folder: that extension is not present, and no other is, so this folder's files are
    // not catalogued; its sub-folder is walked.
    MakeTree(dir,
             {L"mixed\\sub.jpg\\", L"mixed\\sub.jpg\\inside.avi", L"quirk\\", L"quirk\\a.mpg\\",
              L"quirk\\b.mpg", L"quirk\\a.mpg\\c.jpg", L"plain\\", L"plain\\readme.txt"});

    const std::wstring defdirs[] = {
        root,
        root + L"\\",
        root + L"\\mixed\\clip.mpeg;" + root + L"\\plain",
        root + L"\\quirk;;" + root + L"\\nothing\\here;" + root + L"\\mixed",
    };
    for (const std::wstring& folders : defdirs) {
        ScanLog log = Scan(folders);
        NaiveScan naive;
        naive.ScanFolders(folders);
        EXPECT_EQ(log.files, naive.files) << Narrow(folders);
        EXPECT_EQ(log.counts, naive.counts) << Narrow(folders);
        std::vector<std::wstring> warned;
        for (const auto& w : log.warnings)
            warned.push_back(w.first);
        EXPECT_EQ(warned, naive.warnings) << Narrow(folders);
    }
    // The duplicates the patterns make are part of the list.
    ScanLog log = Scan(root + L"\\mixed");
    EXPECT_EQ(std::count(log.files.begin(), log.files.end(), root + L"\\mixed\\clip.mpeg"), 2);
    EXPECT_EQ(std::count(log.files.begin(), log.files.end(), root + L"\\mixed\\clip.mp2v"), 2);
    EXPECT_EQ(std::count(log.files.begin(), log.files.end(), root + L"\\mixed\\x.jpgz"), 0);
}

// Extension by extension in the table's order, the phone clips after the nineteen older
// extensions; the names run the other way, so the listing's own order does not give it.
TEST(FolderScan, ListsByExtensionThePhoneClipsLast) {
    TempDir dir;
    const std::wstring root = NoSlash(dir);
    MakeTree(dir,
             {L"v.jpg",  L"u.jpeg", L"t.mpg", L"s.mpeg", L"r.avi", L"q.mov", L"p.qt",  L"o.asf",
              L"n.asx",  L"m.wm",   L"l.wmv", L"k.wvx",  L"j.mpe", L"i.m1v", L"h.mp2", L"g.mp2v",
              L"f.mpv2", L"e.mpa",  L"d.ivf", L"c.MP4",  L"b.m4v", L"a.3gp"});
    // "*.MPE" finds s.mpeg once more and "*.MP2" g.mp2v, by their short names.
    EXPECT_EQ(Scan(root).files,
              Paths(root, {L"v.jpg",  L"u.jpeg", L"t.mpg", L"s.mpeg", L"r.avi", L"q.mov",
                           L"p.qt",   L"o.asf",  L"n.asx", L"m.wm",   L"l.wmv", L"k.wvx",
                           L"j.mpe",  L"s.mpeg", L"i.m1v", L"g.mp2v", L"h.mp2", L"g.mp2v",
                           L"f.mpv2", L"e.mpa",  L"d.ivf", L"c.MP4",  L"b.m4v", L"a.3gp"}));
}

// A short name keeps three letters of an extension: "*.MP4" finds x.mp4a and "*.3GP" finds
// x.3gpp. Neither is a clip; the folder is still looked at, as the platform's listing
// would have it.
TEST(FolderScan, ShortNamesBringNoFalsePhoneClips) {
    TempDir dir;
    const std::wstring root = NoSlash(dir);
    // "album.mp4" is a folder the pattern finds too.
    MakeTree(dir, {L"bait\\", L"bait\\x.mp4a", L"bait\\y.3gpp", L"bait\\long clip name.m4v",
                   L"album.mp4\\", L"album.mp4\\clip.3GP"});

    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir / L"bait\\*.MP4").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE) << "the platform's own pattern finds x.mp4a";
    EXPECT_EQ(std::wstring(data.cFileName), L"x.mp4a");
    FindClose(find);

    ScanLog log = Scan(root);
    EXPECT_EQ(log.files, Paths(root, {L"album.mp4\\clip.3GP", L"bait\\long clip name.m4v"}));
    NaiveScan naive;
    naive.ScanFolders(root);
    EXPECT_EQ(log.files, naive.files);
    EXPECT_EQ(log.counts, naive.counts);
}

TEST(FolderScan, LinkLoopsAreCutAndOtherLinksFollowed) {
    TempDir dir;
    const std::wstring root = NoSlash(dir);
    MakeTree(dir, {L"top.jpg", L"a\\", L"a\\one.jpg", L"a\\b\\", L"a\\b\\two.jpg", L"c\\",
                   L"c\\three.jpg"});
    if (!MakeFolderLink(dir / L"a\\b\\up", root) || !MakeFolderLink(dir / L"a\\self", dir / L"a") ||
        !MakeFolderLink(dir / L"a\\side", dir / L"c"))
        GTEST_SKIP() << "no folder links can be made here";
    const DWORD attributes = GetFileAttributesW((dir / L"a\\self").c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);

    // A link that leads elsewhere ("side") is followed, and what it leads to is not walked again.
    EXPECT_EQ(Scan(root).files,
              Paths(root, {L"top.jpg", L"a\\one.jpg", L"a\\b\\two.jpg", L"a\\side\\three.jpg"}));

    RemoveFolderLink(dir / L"a\\b\\up");
    RemoveFolderLink(dir / L"a\\self");
    RemoveFolderLink(dir / L"a\\side");
    EXPECT_EQ(GetFileAttributesW((dir / L"a\\self").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW((dir / L"c\\three.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FolderScan, AFolderOfFiftyThousandFiles) {
    TempDir dir;
    const std::wstring root = NoSlash(dir);
    ASSERT_TRUE(MakeManyFiles(root, 50000));
    ScanLog log = Scan(root);
    EXPECT_EQ(log.files.size(), 45000u);
    EXPECT_EQ(log.counts, std::vector<size_t>{45000});
    // All that "*.JPG" finds comes before what "*.AVI" finds.
    EXPECT_TRUE(IsMediaFile(log.files.front(), mkPhoto));
    EXPECT_TRUE(IsMediaFile(log.files.back(), mkClip));
}

// The scan asks KeepGoing before each folder and after every kEntriesPerCheck entries; a
// "stop" ends it at once, without the files of a folder whose listing it cut.
TEST(FolderScan, KeepGoingIsAskedOftenAndStopsTheScan) {
    TempDir dir;
    const std::wstring root = NoSlash(dir);
    ASSERT_TRUE(MakeManyFiles(root, 1000)); // 900 media files
    MakeTree(dir, {L"a\\", L"a\\x.jpg", L"b\\", L"b\\x.jpg", L"c\\", L"c\\x.jpg"});
    // 0: never stopped; 4: stopped while listing the root; 6: at the root's first sub-folder.
    for (size_t stopAt : {size_t(0), size_t(1), size_t(4), size_t(6)}) {
        std::vector<std::wstring> files;
        std::vector<size_t> listedAtChecks;
        FolderScan* scan = nullptr;
        ScanEvents events;
        events.KeepGoing = [&] {
            listedAtChecks.push_back(scan->Listed());
            return listedAtChecks.size() != stopAt;
        };
        FolderScan scanning(files, events);
        scan = &scanning;
        const bool whole = scanning.ScanFolders(root);
        EXPECT_EQ(whole, stopAt == 0) << stopAt;
        listedAtChecks.push_back(scanning.Listed());
        for (size_t i = 1; i < listedAtChecks.size(); ++i)
            EXPECT_LE(listedAtChecks[i] - listedAtChecks[i - 1], kEntriesPerCheck) << stopAt;
        if (stopAt == 0) {
            EXPECT_EQ(files.size(), 903u);
            EXPECT_GE(listedAtChecks.size(), 1000 / kEntriesPerCheck);
        } else {
            EXPECT_EQ(listedAtChecks.size(), stopAt + 1) << "asked again after the stop";
            EXPECT_EQ(files.size(), stopAt < 6 ? 0u : 900u) << stopAt;
        }
    }
}

// One folder under several names: letter case, a trailing backslash, "." and "..", its short
// name. A folder away keeps its names, compared all the same.
TEST(FolderScan, NamesOfTheSameFolderAreTheSamePlace) {
    TempDir dir;
    const std::wstring media = dir / L"Media de vacances";
    MakeFolder(media);
    MakeFolder(dir / L"Autre");
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(media.c_str(), shortName, MAX_PATH), 0u);
    struct Case {
        std::wstring a, b;
        bool same;
    } cases[] = {
        {media, media + L"\\", true},
        {media, dir / L"MEDIA DE VACANCES", true},
        {media, dir / L"Autre\\..\\.\\Media de vacances\\", true},
        {media, shortName, true},
        {dir / L"Absent\\Sous\\", dir / L"absent\\x\\..\\sous", true},
        {L"C:\\", L"c:", true},
        {media, dir / L"Autre", false},
        {media, media + L"\\Sous", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SameFolder(c.a, c.b), c.same) << Narrow(c.a) << " / " << Narrow(c.b);
}

// However the list names a folder, inside another or through a link, its files come once per
// pass, named by the first way the walk reached them.
TEST(FolderScan, AFolderReachedTwiceIsWalkedOnce) {
    TempDir dir;
    const std::wstring root = NoSlash(dir);
    MakeTree(dir, {L"A\\", L"A\\a.jpg", L"A\\sub\\", L"A\\sub\\s.jpg", L"A\\sub\\deep\\",
                   L"A\\sub\\deep\\d.avi", L"B\\", L"B\\b.jpg"});
    const bool links =
        MakeFolderLink(dir / L"L", dir / L"A\\sub") && MakeFolderLink(dir / L"B\\in", dir / L"A");
    const std::wstring a = root + L"\\A", sub = a + L"\\sub";
    const std::vector<std::wstring> inA = {a + L"\\a.jpg", sub + L"\\s.jpg",
                                           sub + L"\\deep\\d.avi"};
    const struct {
        const char* what;
        std::wstring folders;
        std::vector<std::wstring> files; // compared without regard to case
        bool throughLinks;
    } cases[] = {
        {"the same folder, named four ways",
         a + L"\\;" + root + L"\\b;" + a + L";" + root + L"\\a;" + a + L"\\a.jpg",
         {inA[0], inA[1], inA[2], root + L"\\B\\b.jpg"},
         false},
        {"a folder inside one listed before", a + L"\\;" + sub + L"\\;", inA, false},
        {"a folder inside one listed after, in other letters",
         root + L"\\a\\SUB;" + a + L"\\",
         {inA[1], inA[2], inA[0]},
         false},
        {"a folder deeper inside", a + L";" + sub + L"\\deep;" + sub, inA, false},
        {"a link to a folder walked before", a + L";" + root + L"\\L", inA, true},
        {"a link walked before its folder",
         root + L"\\L;" + a,
         {root + L"\\L\\s.jpg", root + L"\\L\\deep\\d.avi", inA[0]},
         true},
        {"a link inside a listed folder",
         root + L"\\B;" + a,
         {root + L"\\B\\b.jpg", root + L"\\B\\in\\a.jpg", root + L"\\B\\in\\sub\\s.jpg",
          root + L"\\B\\in\\sub\\deep\\d.avi"},
         true},
    };
    auto upper = [](std::vector<std::wstring> paths) {
        for (std::wstring& path : paths)
            CharUpperBuffW(path.data(), DWORD(path.size()));
        return paths;
    };
    for (const auto& c : cases) {
        if (c.throughLinks && !links) continue; // said below
        EXPECT_EQ(upper(Scan(c.folders).files), upper(c.files)) << c.what;
    }
    RemoveFolderLink(dir / L"L");
    RemoveFolderLink(dir / L"B\\in");
    if (!links) GTEST_SKIP() << "no folder links can be made here";
}
