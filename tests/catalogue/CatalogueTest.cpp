// The catalogue on its own, without a window: start-up from the memory or a scan, passes,
// the refill's tries, the memory at close and the warnings it asks its owner to show.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>

#include "library/Catalogue.h"
#include "settings/SafeSettings.h"
#include "tests/catalogue/CatalogueFolder.h"
#include "toolkit/Handles.h"
#include "toolkit/Log.h"
#include "toolkit/System.h"
#include "toolkit/Text.h"

namespace {

class Catalogue : public CatalogueFolder {
  protected:
    // The refill's tries, with a given load in place of the tile's.
    bool Refill(const std::function<bool(const std::wstring&)>& load, int& tries) {
        if (cat_.filesToSee.empty()) return false;
        return cat_.TakeNextFile([&] {
            ++tries;
            return load(cat_.currentFile);
        });
    }

    std::vector<std::wstring> warnings_;
    std::function<bool()> keepGoing_; // none: always on
    FileCatalogue cat_{settings_, Events()};

  private:
    CatalogueEvents Events() {
        CatalogueEvents events;
        events.Warning = [this](const std::wstring& text) { warnings_.push_back(text); };
        events.KeepGoing = [this] { return !keepGoing_ || keepGoing_(); };
        return events;
    }
};

using V = std::vector<std::wstring>;

} // namespace

TEST_F(Catalogue, MemoryWithFilesToSeeIsUsedWithoutAScan) {
    MakeFile(Photos() + L"\\z.jpg");
    settings_.rememberSeen = true;
    MakeFile(Memory(), "1C:\\a.jpg\r\n0C:\\b.jpg\r\n");
    cat_.FillCatalogue();
    EXPECT_EQ(cat_.filesToSee, V{L"C:\\b.jpg"});
    EXPECT_EQ(cat_.seenFiles, V{L"C:\\a.jpg"});
    EXPECT_TRUE(warnings_.empty());
}

TEST_F(Catalogue, MemoryOfSeenFilesOnlyAbsentOrOffLeadsToAScan) {
    MakeFile(Photos() + L"\\z.jpg");
    const V scanned = {Photos() + L"\\z.jpg"};
    settings_.rememberSeen = true;
    MakeFile(Memory(), "1C:\\a.jpg\r\n");
    cat_.FillCatalogue();
    EXPECT_EQ(cat_.filesToSee, scanned);
    EXPECT_TRUE(cat_.seenFiles.empty());

    DeleteFileW(Memory().c_str());
    cat_.FillCatalogue();
    EXPECT_EQ(cat_.filesToSee, scanned);

    settings_.rememberSeen = false;
    MakeFile(Memory(), "0C:\\b.jpg\r\n");
    cat_.FillCatalogue();
    EXPECT_EQ(cat_.filesToSee, scanned);
}

// A memory held by another program for a moment is waited for. One that stays unreadable is
// never replaced: the run scans its folders and goes on as with the memory off (a new pass
// takes the seen files again rather than scanning), and the close leaves the file as it was.
TEST_F(Catalogue, UnreadableMemoryIsLeftAsItWas) {
    MakeFile(Photos() + L"\\z.jpg");
    settings_.rememberSeen = true;
    MakeFile(Memory(), "0C:\\b.jpg\r\n");
    {
        HeldFile lock(Memory(), 300);
        cat_.FillCatalogue();
        lock.Release();
        EXPECT_EQ(cat_.filesToSee, V{L"C:\\b.jpg"});
    }
    {
        HeldFile lock(Memory());
        cat_.FillCatalogue();
        EXPECT_EQ(cat_.filesToSee, V{Photos() + L"\\z.jpg"});
    }
    EXPECT_FALSE(cat_.KeepsMemory());
    cat_.PickNextFile();
    MakeFile(Photos() + L"\\new.jpg");
    cat_.RefillCatalogue();
    EXPECT_EQ(cat_.filesToSee, V{Photos() + L"\\z.jpg"});
    cat_.Close();
    EXPECT_EQ(ReadFileBytes(Memory()), "0C:\\b.jpg\r\n");
}

TEST_F(Catalogue, LargeMemoryFile) {
    settings_.rememberSeen = true;
    std::string text;
    for (int i = 0; i < 200000; ++i) {
        text += i % 2 ? "1C:\\Photos\\IMG_" : "0C:\\Photos\\IMG_";
        text.append(std::to_string(i)).append(".jpg\r\n");
    }
    text.append("0").append(100000, 'x').append("\r\n");
    MakeFile(Memory(), text);
    EXPECT_TRUE(cat_.ReadMemory());
    EXPECT_EQ(cat_.filesToSee.size(), 100001u);
    EXPECT_EQ(cat_.seenFiles.size(), 100000u);
    EXPECT_EQ(cat_.filesToSee.back().size(), 100000u);
}

TEST_F(Catalogue, APassEndsAndTheNextBeginsInTheSameRefill) {
    for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.avi"})
        MakeFile(Photos() + L"\\" + name);
    cat_.FillCatalogue();
    std::multiset<std::wstring> firstPass;
    int tries = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Refill([](const std::wstring&) { return true; }, tries));
        firstPass.insert(cat_.currentFile);
    }
    EXPECT_EQ(firstPass.size(), 3u);
    EXPECT_EQ(std::set<std::wstring>(firstPass.begin(), firstPass.end()).size(), 3u);
    // The third refill took the last file and began the next pass: the same three files.
    EXPECT_EQ(cat_.filesToSee.size(), 3u);
    EXPECT_TRUE(cat_.seenFiles.empty());

    // With the memory on, the new pass comes from a new scan and sees a file added since.
    settings_.rememberSeen = true;
    MakeFile(Photos() + L"\\d.jpg");
    for (int i = 0; i < 3; ++i)
        Refill([](const std::wstring&) { return true; }, tries);
    EXPECT_EQ(cat_.filesToSee.size(), 4u);
}

TEST_F(Catalogue, ForgetFileRemovesTheFirstMatchWithoutRegardToCase) {
    cat_.seenFiles = {L"C:\\Photos\\A.jpg", L"c:\\photos\\a.JPG", L"C:\\b.jpg"};
    cat_.ForgetFile(L"c:\\PHOTOS\\a.jpg");
    EXPECT_EQ(cat_.seenFiles, (V{L"c:\\photos\\a.JPG", L"C:\\b.jpg"}));
    cat_.ForgetFile(L"C:\\absent.jpg");
    EXPECT_EQ(cat_.seenFiles.size(), 2u);
}

// With the memory on, every rescan brings the failing files back: the tries end after a
// whole pass without a load, and each later refill tries at most a pass again.
TEST_F(Catalogue, TriesEndWhenAWholePassFails) {
    settings_.rememberSeen = true;
    for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"})
        MakeFile(Photos() + L"\\" + name);
    cat_.FillCatalogue();
    int tries = 0;
    EXPECT_FALSE(Refill([](const std::wstring&) { return false; }, tries));
    EXPECT_EQ(tries, 3);
    EXPECT_EQ(cat_.filesToSee.size(), 3u); // the rescan is ready for the next refill
    tries = 0;
    EXPECT_FALSE(Refill([](const std::wstring&) { return false; }, tries));
    EXPECT_EQ(tries, 3);

    // One good file: it is found, within two passes at most.
    tries = 0;
    auto onlyB = [](const std::wstring& path) { return path.ends_with(L"b.jpg"); };
    EXPECT_TRUE(Refill(onlyB, tries));
    EXPECT_LE(tries, 3);

    // Begun in the middle of a pass, a refill tries what is left of it and the whole next.
    cat_.ScanFolders();
    tries = 0;
    EXPECT_TRUE(Refill([](const std::wstring&) { return true; }, tries));
    tries = 0;
    EXPECT_FALSE(Refill([](const std::wstring&) { return false; }, tries));
    EXPECT_EQ(tries, 2 + 3);

    // Without the memory the failures are forgotten for good and the catalogue empties.
    settings_.rememberSeen = false;
    cat_.ScanFolders();
    tries = 0;
    EXPECT_FALSE(Refill([](const std::wstring&) { return false; }, tries));
    EXPECT_EQ(tries, 3);
    EXPECT_TRUE(cat_.filesToSee.empty());
}

TEST_F(Catalogue, TheCloseWritesTheMemoryAndSurvivesAFailure) {
    for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"})
        MakeFile(Photos() + L"\\" + name);
    settings_.rememberSeen = true;
    MakeFile(Memory(), "0C:\\old.jpg\r\n1C:\\older.jpg\r\n");
    // Closed before the catalogue was filled: the memory is kept as it was.
    cat_.Close();
    EXPECT_EQ(ReadFileBytes(Memory()), "0C:\\old.jpg\r\n1C:\\older.jpg\r\n");

    DeleteFileW(Memory().c_str());
    cat_.FillCatalogue();
    ASSERT_FALSE(cat_.filesToSee.empty()); // picking from nothing would end the program
    cat_.PickNextFile();
    const std::wstring shown = cat_.currentFile;
    V toSee = cat_.filesToSee;
    cat_.Close();
    std::wstring expected;
    for (const auto& path : toSee)
        expected += L"0" + path + L"\r\n";
    expected += L"1" + shown + L"\r\n";
    EXPECT_EQ(ReadFileBytes(Memory()), tk::Narrow(expected));
    EXPECT_TRUE(cat_.filesToSee.empty());

    // The file cannot be written: the old one stays whole and the close goes on.
    cat_.FillCatalogue();
    ASSERT_FALSE(cat_.filesToSee.empty()); // picking from nothing would end the program
    cat_.PickNextFile();
    const std::string before = ReadFileBytes(Memory());
    MakeFolder(Memory() + L".new");
    tk::LogCapture log;
    cat_.Close();
    EXPECT_EQ(ReadFileBytes(Memory()), before);
    EXPECT_TRUE(log.Holds(L"the memory file could not be written"));
    RemoveDirectoryW((Memory() + L".new").c_str());
    EXPECT_TRUE(cat_.filesToSee.empty());
}

TEST_F(Catalogue, WarnsAboutFoldersAndAnEmptyCatalogue) {
    settings_.folders = dir_ / L"Absent\\Sous;" + Photos();
    cat_.ScanFolders();
    EXPECT_EQ(warnings_, (V{L"Répertoire \"" + dir_ / L"Absent\\" + L"\" inaccessible",
                            L"Erreur : Aucune photos ou vidéos trouvées !"}));
}

// A folder away for the run (a card, a disk, a share): the memory is not wiped. A run that
// finds nothing leaves the file as it was; beside a reachable folder, the entries of the one
// away are written back as they were read, while the reachable one drops a file it lost.
// The folder's parent is there: it is not shown in its place.
TEST_F(Catalogue, AFolderAwayKeepsItsMemory) {
    const std::wstring card = dir_ / L"card\\DCIM";
    MakeFolder(dir_ / L"card");
    MakeFile(dir_ / L"card\\reader.jpg");
    settings_.rememberSeen = true;
    settings_.folders = card;
    const std::wstring allSeen = L"1" + card + L"\\a.jpg\r\n"; // the run scans
    const std::wstring toSee = L"0" + card + L"\\a.jpg\r\n1" + card + L"\\b.jpg\r\n";
    for (const std::wstring& memory : {allSeen, toSee}) {
        MakeFile(Memory(), tk::Narrow(memory));
        cat_.FillCatalogue();
        ASSERT_EQ(cat_.filesToSee, V{}) << "nothing of the card's reader";
        int tries = 0;
        while (Refill([](const std::wstring& path) { return tk::FileExists(path); }, tries)) {
        }
        EXPECT_TRUE(cat_.filesToSee.empty());
        cat_.Close();
        EXPECT_EQ(ReadFileBytes(Memory()), tk::Narrow(memory));
    }
    EXPECT_EQ(warnings_.front(), L"Répertoire \"" + card + L"\" inaccessible");
    RemoveTree(dir_ / L"card");

    // The card is there at the start and goes during the run; the next pass rescans.
    MakeFolder(dir_ / L"card");
    MakeFolder(card);
    MakeFile(Photos() + L"\\a.jpg");
    MakeFile(Photos() + L"\\b.jpg");
    settings_.folders = Photos() + L";" + dir_ / L"CARD\\DCIM;";
    const std::wstring memory = L"0" + Photos() + L"\\a.jpg\r\n0" + card + L"\\c1.jpg\r\n1" + card +
                                L"\\c2.jpg\r\n1" + Photos() + L"\\lost.jpg\r\n";
    MakeFile(Memory(), tk::Narrow(memory));
    cat_.FillCatalogue();
    RemoveTree(dir_ / L"card");
    cat_.ScanFolders();
    cat_.Close();
    EXPECT_EQ(ReadFileBytes(Memory()),
              tk::Narrow(L"0" + Photos() + L"\\a.jpg\r\n0" + Photos() + L"\\b.jpg\r\n0" + card +
                         L"\\c1.jpg\r\n1" + card + L"\\c2.jpg\r\n"));
}

// Every pass rescans with the memory on; a folder that stays away is warned about once.
TEST_F(Catalogue, AnUnreachableFolderIsWarnedAboutOncePerRun) {
    settings_.rememberSeen = true;
    MakeFile(Photos() + L"\\a.jpg");
    settings_.folders = dir_ / L"X\\1;" + Photos() + L";" + dir_ / L"Y\\Z";
    cat_.FillCatalogue();
    int tries = 0;
    for (int pass = 0; pass < 4; ++pass)
        EXPECT_TRUE(Refill([](const std::wstring&) { return true; }, tries));
    EXPECT_EQ(warnings_, (V{L"Répertoire \"" + dir_ / L"X\\" + L"\" inaccessible",
                            L"Répertoire \"" + dir_ / L"Y\\" + L"\" inaccessible"}));
}

// Names that would lead outside the install folder, or to a device, turn the memory off.
TEST_F(Catalogue, AnUnusableMemoryNameTurnsTheMemoryOff) {
    MakeFile(Photos() + L"\\a.jpg");
    MakeFile(dir_ / L"outside.tmp", "0C:\\x.jpg\r\n");
    settings_.installDir = dir_ / L"install\\";
    MakeFolder(settings_.installDir);
    for (const wchar_t* name : {L"..\\outside", L"NUL", L""}) {
        settings_.rememberSeen = true;
        settings_.memoryName = name;
        ClampForSaver(settings_);
        EXPECT_FALSE(settings_.rememberSeen);
        cat_.FillCatalogue();
        ASSERT_EQ(cat_.filesToSee, V{Photos() + L"\\a.jpg"});
        cat_.PickNextFile();
        cat_.Close();
        EXPECT_EQ(ReadFileBytes(dir_ / L"outside.tmp"), "0C:\\x.jpg\r\n");
    }
    EXPECT_TRUE(RemoveDirectoryW(settings_.installDir.c_str())) << "the install folder is empty";
}

// A disk unplugged: it is said, and the memory's entries of its folder are not tried one by
// one at the refills (tens of thousands of failures before the first photo of the folder that is
// there); the close writes each of them back once, as it was read.
TEST_F(Catalogue, TheMemoryOfAFolderAwayIsSetAsideAndWrittenBackOnce) {
    const std::wstring disk = dir_ / L"disk\\Photos";
    MakeFile(Photos() + L"\\here.jpg");
    settings_.rememberSeen = true;
    settings_.folders = Photos() + L";" + disk + L"\\;";
    std::string away;
    for (int i = 0; i < 40000; ++i)
        away +=
            tk::Narrow((i % 3 ? L"0" : L"1") + disk + L"\\IMG_" + std::to_wstring(i) + L".jpg\r\n");
    const std::string here = tk::Narrow(L"0" + Photos() + L"\\here.jpg\r\n");
    MakeFile(Memory(), here + away);
    cat_.FillCatalogue();
    EXPECT_EQ(cat_.filesToSee, V{Photos() + L"\\here.jpg"});
    EXPECT_TRUE(cat_.seenFiles.empty());
    EXPECT_EQ(warnings_, V{L"Répertoire \"" + disk + L"\\\" inaccessible"});
    int tries = 0;
    EXPECT_TRUE(Refill([](const std::wstring&) { return true; }, tries));
    EXPECT_EQ(tries, 1);
    EXPECT_EQ(warnings_.size(), 1u) << "said again at the pass's rescan";
    cat_.Close();
    // The folder away keeps its lines, each once, the "0" lines first.
    std::string zeros, ones;
    for (size_t at = 0; at < away.size();) {
        const size_t end = away.find('\n', at) + 1;
        (away[at] == '0' ? zeros : ones) += away.substr(at, end - at);
        at = end;
    }
    const std::string next = ReadFileBytes(Memory());
    EXPECT_EQ(next.size(), here.size() + away.size());
    // The pass began again with a rescan: here.jpg is to see, the lines kept follow it.
    EXPECT_EQ(next.find(here + zeros), 0u);
    EXPECT_NE(next.find(ones), std::string::npos);

    // The disk there at the start and unplugged during the show, its entries still in the
    // lists: at the close, each of its lines is written once all the same.
    MakeFolder(dir_ / L"disk");
    MakeFolder(disk);
    MakeFile(Memory(), here + away);
    cat_.FillCatalogue();
    ASSERT_EQ(cat_.filesToSee.size() + cat_.seenFiles.size(), 40001u);
    RemoveTree(dir_ / L"disk");
    cat_.Close();
    EXPECT_EQ(ReadFileBytes(Memory()).size(), here.size() + away.size());
}

// A folder away at the start and back before the close (the disk plugged in again during the
// show): the run knows nothing new about its files, whose lines are written back, whether the
// run read the memory or scanned.
TEST_F(Catalogue, AFolderBackBeforeTheCloseKeepsItsMemory) {
    const std::wstring card = dir_ / L"card\\DCIM"; // the card's reader is there
    MakeFile(Photos() + L"\\here.jpg");
    settings_.rememberSeen = true;
    settings_.folders = Photos() + L";" + card;
    const std::wstring cardLines = L"0" + card + L"\\a.jpg\r\n1" + card + L"\\b.jpg\r\n";
    for (const wchar_t* here : {L"0", L"1"}) { // read as it stands; all seen, so scanned
        SCOPED_TRACE(tk::ToUtf8(here));
        RemoveTree(dir_ / L"card");
        MakeFile(Memory(), tk::Narrow(here + Photos() + L"\\here.jpg\r\n" + cardLines));
        cat_.FillCatalogue();
        EXPECT_EQ(cat_.filesToSee, V{Photos() + L"\\here.jpg"});
        MakeFolder(dir_ / L"card");
        MakeFolder(card);
        cat_.Close();
        const std::string written = ReadFileBytes(Memory());
        EXPECT_NE(written.find(tk::Narrow(L"0" + card + L"\\a.jpg\r\n")), std::string::npos)
            << written;
        EXPECT_NE(written.find(tk::Narrow(L"1" + card + L"\\b.jpg\r\n")), std::string::npos)
            << written;
    }
}

// The refill's tries over a folder of broken files: a file listed twice is tried once in a
// pass, and the owner is asked after every try whether to go on, so its input is heard.
TEST_F(Catalogue, TriesSkipWhatFailedInThePassAndStopWhenAsked) {
    cat_.filesToSee = {L"C:\\broken.mpeg", L"C:\\BROKEN.MPEG", L"C:\\b.jpg", L"C:\\c.jpg"};
    std::vector<std::wstring> tried;
    int tries = 0;
    auto onlyC = [&](const std::wstring& path) {
        tried.push_back(path);
        return path == L"C:\\c.jpg";
    };
    auto broken = [](const std::wstring& p) { return tk::SameIgnoringCase(p, L"C:\\broken.mpeg"); };
    // Until both spellings have left the pass, whichever order the draw takes.
    while (std::any_of(cat_.filesToSee.begin(), cat_.filesToSee.end(), broken))
        Refill(onlyC, tries);
    EXPECT_EQ(std::count_if(tried.begin(), tried.end(), broken), 1);

    std::vector<std::wstring> many;
    for (int i = 0; i < 1000; ++i)
        many.push_back(L"C:\\broken\\" + std::to_wstring(i) + L".jpg");
    cat_.Clear();
    cat_.filesToSee = many;
    int asks = 0;
    keepGoing_ = [&] { return ++asks < 10; };
    tries = 0;
    EXPECT_FALSE(Refill([](const std::wstring&) { return false; }, tries));
    EXPECT_EQ(asks, 10);
    EXPECT_EQ(tries, 10);
    EXPECT_EQ(cat_.filesToSee.size(), 990u);
}

// Files taken ahead for a worker: not seen until shown, given back by the close, dropped for
// the pass when they fail, and shown once per pass however the pass turns.
TEST_F(Catalogue, AFileTakenAheadIsSeenOnlyOnceShown) {
    for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"})
        MakeFile(Photos() + L"\\" + name);
    settings_.rememberSeen = true;
    cat_.FillCatalogue();
    const std::wstring shown = cat_.TakeAhead(), closing = cat_.TakeAhead();
    EXPECT_EQ(cat_.filesToSee.size(), 1u);
    EXPECT_TRUE(cat_.seenFiles.empty()) << "taken ahead is not seen";
    cat_.AheadShown(shown);
    EXPECT_EQ(cat_.seenFiles, V{shown});
    EXPECT_EQ(cat_.aheadFiles, V{closing});
    // The close gives back the file that never reached the screen.
    cat_.Close();
    const std::string memory = ReadFileBytes(Memory());
    EXPECT_NE(memory.find(tk::Narrow(L"0" + closing + L"\r\n")), std::string::npos) << memory;
    EXPECT_NE(memory.find(tk::Narrow(L"1" + shown + L"\r\n")), std::string::npos) << memory;
}

TEST_F(Catalogue, AFileFailedAheadIsNotTakenAgainInThePass) {
    for (const wchar_t* name : {L"a.jpg", L"b.jpg"})
        MakeFile(Photos() + L"\\" + name);
    settings_.rememberSeen = true; // each new pass scans again and finds the failed file
    cat_.FillCatalogue();
    const std::wstring broken = cat_.TakeAhead();
    cat_.AheadFailed(broken);
    const std::wstring good = cat_.TakeAhead(); // the last file: the next pass begins
    EXPECT_NE(good, broken);
    EXPECT_EQ(cat_.filesToSee.size(), 1u) << "the rescan leaves out the file still ahead";
    EXPECT_EQ(cat_.TakeAhead(), broken) << "a new pass may try it again";
    EXPECT_TRUE(cat_.filesToSee.empty()) << "both files are ahead";
    // A file that two patterns list twice is not tried again once it failed.
    settings_.rememberSeen = false;
    cat_.Clear();
    cat_.aheadFiles.clear();
    cat_.filesToSee = {broken, broken};
    cat_.AheadFailed(cat_.TakeAhead());
    EXPECT_EQ(cat_.TakeAhead(), L"");
    EXPECT_TRUE(cat_.filesToSee.empty() && cat_.aheadFiles.empty() && cat_.seenFiles.empty());
}
