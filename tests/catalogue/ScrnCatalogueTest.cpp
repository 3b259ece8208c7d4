// The catalogue inside the saver window: start-up order, passes, the memory at close, the
// bound of the refill's tries and the warning boxes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

#include "Globals/Globals.h"
#include "Globals/Random.h"
#include "saver/SafeSettings.h"
#include "saver/Ssave.h"
#include "tests/catalogue/Tree.h"
#include "toolkit/Log.h"
#include "toolkit/MsgBox.h"
#include "toolkit/System.h"
#include "toolkit/Text.h"

namespace {

class ScrnCatalogue : public testing::Test {
  protected:
    void SetUp() override {
        Settings = TSettings{};
        Settings.InstallDir = dir_.Path();
        Settings.memfilesname = L"config 1";
        MakeFolder(dir_ / L"photos");
        Settings.defdir = Photos();
        tk::SetBoxHook([this](const tk::BoxRequest& box) {
            boxes_.push_back(box);
            if (onBox_) onBox_();
            return IDOK;
        });
        SetRandomSeed(7);
        ASSERT_TRUE(scrn_.CreateForm());
    }
    void TearDown() override {
        if (!scrn_.Closed()) scrn_.FormClose();
        tk::SetBoxHook({});
        Settings = TSettings{};
    }
    std::wstring Photos() const { return dir_ / L"photos"; }
    std::wstring Memory() const { return dir_ / L"config 1.tmp"; }

    // The refill's tries, with a given load in place of the tile's.
    bool Refill(const std::function<bool(const std::wstring&)>& load, int& tries) {
        if (scrn_.ToSeeFiles.empty()) return false;
        return scrn_.TakeNextFile([&] {
            ++tries;
            return load(scrn_.CurFile);
        });
    }

    TempDir dir_;
    TScrn scrn_;
    std::vector<tk::BoxRequest> boxes_;
    std::function<void()> onBox_;
};

using V = std::vector<std::wstring>;

BOOL CALLBACK FindBox(HWND w, LPARAM out) {
    wchar_t name[16];
    GetClassNameW(w, name, 16);
    if (std::wstring(name) == L"#32770" && IsWindowVisible(w)) {
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    return TRUE;
}

} // namespace

TEST_F(ScrnCatalogue, MemoryWithFilesToSeeIsUsedWithoutAScan) {
    MakeFile(Photos() + L"\\z.jpg");
    Settings.opmemfiles = true;
    MakeFile(Memory(), "1C:\\a.jpg\r\n0C:\\b.jpg\r\n");
    scrn_.FillCatalogue();
    EXPECT_EQ(scrn_.ToSeeFiles, V{L"C:\\b.jpg"});
    EXPECT_EQ(scrn_.SeenFiles, V{L"C:\\a.jpg"});
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(ScrnCatalogue, MemoryOfSeenFilesOnlyAbsentOrOffLeadsToAScan) {
    MakeFile(Photos() + L"\\z.jpg");
    const V scanned = {Photos() + L"\\z.jpg"};
    Settings.opmemfiles = true;
    MakeFile(Memory(), "1C:\\a.jpg\r\n");
    scrn_.FillCatalogue();
    EXPECT_EQ(scrn_.ToSeeFiles, scanned);
    EXPECT_TRUE(scrn_.SeenFiles.empty());

    DeleteFileW(Memory().c_str());
    scrn_.FillCatalogue();
    EXPECT_EQ(scrn_.ToSeeFiles, scanned);

    Settings.opmemfiles = false;
    MakeFile(Memory(), "0C:\\b.jpg\r\n");
    scrn_.FillCatalogue();
    EXPECT_EQ(scrn_.ToSeeFiles, scanned);
}

// A memory that cannot be read counts as absent; it is not touched until the close writes
// this run's state in its place.
TEST_F(ScrnCatalogue, UnreadableMemoryIsTreatedAsAbsent) {
    MakeFile(Photos() + L"\\z.jpg");
    Settings.opmemfiles = true;
    MakeFile(Memory(), "0C:\\b.jpg\r\n");
    {
        tk::FileHandle lock(
            CreateFileW(Memory().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        scrn_.FillCatalogue();
        EXPECT_EQ(scrn_.ToSeeFiles, V{Photos() + L"\\z.jpg"});
    }
    EXPECT_EQ(ReadFileBytes(Memory()), "0C:\\b.jpg\r\n");
    scrn_.QuitterClick();
    EXPECT_EQ(ReadFileBytes(Memory()), tk::Narrow(L"0" + Photos() + L"\\z.jpg\r\n"));
}

TEST_F(ScrnCatalogue, LargeMemoryFile) {
    Settings.opmemfiles = true;
    std::string text;
    for (int i = 0; i < 200000; ++i) {
        text += i % 2 ? "1C:\\Photos\\IMG_" : "0C:\\Photos\\IMG_";
        text.append(std::to_string(i)).append(".jpg\r\n");
    }
    text.append("0").append(100000, 'x').append("\r\n");
    MakeFile(Memory(), text);
    EXPECT_TRUE(scrn_.ReadMemFiles());
    EXPECT_EQ(scrn_.ToSeeFiles.size(), 100001u);
    EXPECT_EQ(scrn_.SeenFiles.size(), 100000u);
    EXPECT_EQ(scrn_.ToSeeFiles.back().size(), 100000u);
}

TEST_F(ScrnCatalogue, APassEndsAndTheNextBeginsInTheSameRefill) {
    for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.avi"})
        MakeFile(Photos() + L"\\" + name);
    scrn_.FillCatalogue();
    std::multiset<std::wstring> firstPass;
    int tries = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Refill([](const std::wstring&) { return true; }, tries));
        firstPass.insert(scrn_.CurFile);
    }
    EXPECT_EQ(firstPass.size(), 3u);
    EXPECT_EQ(std::set<std::wstring>(firstPass.begin(), firstPass.end()).size(), 3u);
    // The third refill took the last file and began the next pass: the same three files.
    EXPECT_EQ(scrn_.ToSeeFiles.size(), 3u);
    EXPECT_TRUE(scrn_.SeenFiles.empty());

    // With the memory on, the new pass comes from a new scan and sees a file added since.
    Settings.opmemfiles = true;
    MakeFile(Photos() + L"\\d.jpg");
    for (int i = 0; i < 3; ++i)
        Refill([](const std::wstring&) { return true; }, tries);
    EXPECT_EQ(scrn_.ToSeeFiles.size(), 4u);
}

TEST_F(ScrnCatalogue, ForgetFileRemovesTheFirstMatchWithoutRegardToCase) {
    scrn_.SeenFiles = {L"C:\\Photos\\A.jpg", L"c:\\photos\\a.JPG", L"C:\\b.jpg"};
    scrn_.ForgetFile(L"c:\\PHOTOS\\a.jpg");
    EXPECT_EQ(scrn_.SeenFiles, (V{L"c:\\photos\\a.JPG", L"C:\\b.jpg"}));
    scrn_.ForgetFile(L"C:\\absent.jpg");
    EXPECT_EQ(scrn_.SeenFiles.size(), 2u);
}

// With the memory on, every rescan brings the failing files back: the tries end after a
// whole pass without a load, and each later refill tries at most a pass again.
TEST_F(ScrnCatalogue, TriesEndWhenAWholePassFails) {
    Settings.opmemfiles = true;
    for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"})
        MakeFile(Photos() + L"\\" + name);
    scrn_.FillCatalogue();
    int tries = 0;
    EXPECT_FALSE(Refill([](const std::wstring&) { return false; }, tries));
    EXPECT_EQ(tries, 3);
    EXPECT_EQ(scrn_.ToSeeFiles.size(), 3u); // the rescan is ready for the next refill
    tries = 0;
    EXPECT_FALSE(Refill([](const std::wstring&) { return false; }, tries));
    EXPECT_EQ(tries, 3);

    // One good file: it is found, within two passes at most.
    tries = 0;
    auto onlyB = [](const std::wstring& path) { return path.ends_with(L"b.jpg"); };
    EXPECT_TRUE(Refill(onlyB, tries));
    EXPECT_LE(tries, 3);

    // Begun in the middle of a pass, a refill tries what is left of it and the whole next.
    scrn_.GetAllPhotos();
    tries = 0;
    EXPECT_TRUE(Refill([](const std::wstring&) { return true; }, tries));
    tries = 0;
    EXPECT_FALSE(Refill([](const std::wstring&) { return false; }, tries));
    EXPECT_EQ(tries, 2 + 3);

    // Without the memory the failures are forgotten for good and the catalogue empties.
    Settings.opmemfiles = false;
    scrn_.GetAllPhotos();
    tries = 0;
    EXPECT_FALSE(Refill([](const std::wstring&) { return false; }, tries));
    EXPECT_EQ(tries, 3);
    EXPECT_TRUE(scrn_.ToSeeFiles.empty());
}

TEST_F(ScrnCatalogue, TheCloseWritesTheMemoryAndSurvivesAFailure) {
    for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"})
        MakeFile(Photos() + L"\\" + name);
    Settings.opmemfiles = true;
    MakeFile(Memory(), "0C:\\old.jpg\r\n1C:\\older.jpg\r\n");
    // Closed before the catalogue was filled: the memory is kept as it was.
    scrn_.QuitterClick();
    EXPECT_EQ(ReadFileBytes(Memory()), "0C:\\old.jpg\r\n1C:\\older.jpg\r\n");

    DeleteFileW(Memory().c_str());
    scrn_.FillCatalogue();
    ASSERT_FALSE(scrn_.ToSeeFiles.empty()); // picking from nothing would end the program
    scrn_.PickNextFile();
    const std::wstring shown = scrn_.CurFile;
    V toSee = scrn_.ToSeeFiles;
    scrn_.QuitterClick();
    std::wstring expected;
    for (const auto& path : toSee)
        expected += L"0" + path + L"\r\n";
    expected += L"1" + shown + L"\r\n";
    EXPECT_EQ(ReadFileBytes(Memory()), tk::Narrow(expected));
    EXPECT_TRUE(scrn_.ToSeeFiles.empty());

    // The file cannot be written: the old one stays whole and the close goes on.
    scrn_.FillCatalogue();
    ASSERT_FALSE(scrn_.ToSeeFiles.empty()); // picking from nothing would end the program
    scrn_.PickNextFile();
    const std::string before = ReadFileBytes(Memory());
    MakeFolder(Memory() + L".new");
    tk::LogCapture log;
    scrn_.FormClose();
    EXPECT_TRUE(scrn_.Closed());
    EXPECT_EQ(ReadFileBytes(Memory()), before);
    EXPECT_TRUE(log.Holds(L"the memory file could not be written"));
    RemoveDirectoryW((Memory() + L".new").c_str());
    EXPECT_TRUE(scrn_.ToSeeFiles.empty());
}

TEST_F(ScrnCatalogue, WarnsAboutFoldersAndAnEmptyCatalogue) {
    Settings.defdir = dir_ / L"Absent\\Sous;" + Photos();
    scrn_.GetAllPhotos();
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text, L"Répertoire \"" + dir_ / L"Absent\\" + L"\" inaccessible");
    EXPECT_EQ(boxes_[0].caption, L"Avertissement");
    EXPECT_EQ(boxes_[0].flags, UINT(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(boxes_[0].owner, scrn_.Handle());
    EXPECT_EQ(boxes_[1].text, L"Erreur : Aucune photos ou vidéos trouvées !");
    EXPECT_EQ(boxes_[1].caption, L"Avertissement");
}

// An exit asked for while a box is open waits until the box is answered: closing the
// window under the scan would pull the catalogue and tiles from under it.
TEST_F(ScrnCatalogue, AnExitAskedForDuringABoxWaits) {
    bool closedDuringBox = true;
    onBox_ = [&] {
        scrn_.RequestExit();
        closedDuringBox = scrn_.Closed();
    };
    scrn_.WarningBox(L"test");
    EXPECT_FALSE(closedDuringBox);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, scrn_.Handle(), WM_EXITREQUEST, WM_EXITREQUEST, PM_REMOVE));
}

// The real box over a topmost saver: it must come above the saver and take the answer.
TEST_F(ScrnCatalogue, ARealBoxComesAboveTheTopmostSaver) {
    tk::SetBoxHook({});
    scrn_.FirstActivate = false; // no start-up when the box gives the activation back
    SetWindowPos(scrn_.Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    const DWORD thread = GetCurrentThreadId();
    const HWND saver = scrn_.Handle();
    std::atomic<bool> found{false}, topmost{false}, above{false}, owned{false};
    std::thread answer([&] {
        for (int i = 0; i < 200 && !found; ++i) {
            Sleep(50);
            HWND box = nullptr;
            EnumThreadWindows(thread, FindBox, reinterpret_cast<LPARAM>(&box));
            if (!box) continue;
            found = true;
            topmost = (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            owned = GetWindow(box, GW_OWNER) == saver;
            for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
                if (w == box) above = true;
                if (w == box || w == saver) break;
            }
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    });
    const int result = scrn_.WarningBox(L"Répertoire \"X:\\\" inaccessible");
    answer.join();
    EXPECT_TRUE(found);
    EXPECT_TRUE(topmost);
    EXPECT_TRUE(owned);
    EXPECT_TRUE(above);
    EXPECT_EQ(result, IDOK);
    ShowWindow(scrn_.Handle(), SW_HIDE);
}

// A folder away for the run (a card, a disk, a share): the memory is not wiped. A run that
// finds nothing leaves the file as it was; beside a reachable folder, the entries of the one
// away are written back as they were read, while the reachable one drops a file it lost.
TEST_F(ScrnCatalogue, AFolderAwayKeepsItsMemory) {
    const std::wstring card = dir_ / L"card\\DCIM";
    Settings.opmemfiles = true;
    Settings.defdir = card;
    const std::wstring allSeen = L"1" + card + L"\\a.jpg\r\n"; // the run scans
    const std::wstring toSee = L"0" + card + L"\\a.jpg\r\n1" + card + L"\\b.jpg\r\n";
    for (const std::wstring& memory : {allSeen, toSee}) {
        MakeFile(Memory(), tk::Narrow(memory));
        scrn_.FillCatalogue();
        int tries = 0;
        while (Refill([](const std::wstring& path) { return tk::FileExists(path); }, tries)) {
        }
        EXPECT_TRUE(scrn_.ToSeeFiles.empty());
        scrn_.QuitterClick();
        EXPECT_EQ(ReadFileBytes(Memory()), tk::Narrow(memory));
    }

    // The card is there at the start and goes during the run; the next pass rescans.
    MakeFolder(dir_ / L"card");
    MakeFolder(card);
    MakeFile(Photos() + L"\\a.jpg");
    MakeFile(Photos() + L"\\b.jpg");
    Settings.defdir = Photos() + L";" + dir_ / L"CARD\\DCIM;";
    const std::wstring memory = L"0" + Photos() + L"\\a.jpg\r\n0" + card + L"\\c1.jpg\r\n1" + card +
                                L"\\c2.jpg\r\n1" + Photos() + L"\\lost.jpg\r\n";
    MakeFile(Memory(), tk::Narrow(memory));
    scrn_.FillCatalogue();
    RemoveTree(dir_ / L"card");
    scrn_.GetAllPhotos();
    scrn_.QuitterClick();
    EXPECT_EQ(ReadFileBytes(Memory()),
              tk::Narrow(L"0" + Photos() + L"\\a.jpg\r\n0" + Photos() + L"\\b.jpg\r\n0" + card +
                         L"\\c1.jpg\r\n1" + card + L"\\c2.jpg\r\n"));
}

// Every pass rescans with the memory on; a folder that stays away is warned about once.
TEST_F(ScrnCatalogue, AnUnreachableFolderIsWarnedAboutOncePerRun) {
    Settings.opmemfiles = true;
    MakeFile(Photos() + L"\\a.jpg");
    Settings.defdir = dir_ / L"X\\1;" + Photos() + L";" + dir_ / L"Y\\Z";
    scrn_.FillCatalogue();
    int tries = 0;
    for (int pass = 0; pass < 4; ++pass)
        EXPECT_TRUE(Refill([](const std::wstring&) { return true; }, tries));
    std::vector<std::wstring> texts;
    for (const auto& box : boxes_)
        texts.push_back(box.text);
    EXPECT_EQ(texts, (V{L"Répertoire \"" + dir_ / L"X\\" + L"\" inaccessible",
                        L"Répertoire \"" + dir_ / L"Y\\" + L"\" inaccessible"}));
}

// A key that comes while the catalogue is filled is handled at the scan's first check: the
// scan (or the memory read) stops, the window closes, and the memory stays as it was.
TEST_F(ScrnCatalogue, AKeyDuringTheScanEndsItAndTheMemoryStays) {
    for (const wchar_t* name : {L"a", L"b"}) {
        MakeFolder(Photos() + L"\\" + name);
        MakeFile(Photos() + L"\\" + name + L"\\x.jpg");
    }
    Settings.opmemfiles = true;
    for (const char* memory : {"", "0C:\\to see.jpg\r\n"}) { // none: a scan; else read
        if (*memory) MakeFile(Memory(), memory);
        TScrn scrn;
        ASSERT_TRUE(scrn.CreateForm());
        PostMessageW(scrn.Handle(), WM_KEYDOWN, VK_SPACE, 0);
        scrn.FillCatalogue();
        EXPECT_TRUE(scrn.ExitPending()) << memory;
        EXPECT_TRUE(scrn.ToSeeFiles.empty()) << memory;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        EXPECT_TRUE(scrn.Closed()) << memory;
        EXPECT_EQ(tk::FileExists(Memory()) ? ReadFileBytes(Memory()) : "", memory);
    }
}

// Names that would lead outside the install folder, or to a device, turn the memory off.
TEST_F(ScrnCatalogue, AnUnusableMemoryNameTurnsTheMemoryOff) {
    MakeFile(Photos() + L"\\a.jpg");
    MakeFile(dir_ / L"outside.tmp", "0C:\\x.jpg\r\n");
    Settings.InstallDir = dir_ / L"install\\";
    MakeFolder(Settings.InstallDir);
    for (const wchar_t* name : {L"..\\outside", L"NUL", L""}) {
        Settings.opmemfiles = true;
        Settings.memfilesname = name;
        ClampForSaver(Settings);
        EXPECT_FALSE(Settings.opmemfiles);
        scrn_.FillCatalogue();
        ASSERT_EQ(scrn_.ToSeeFiles, V{Photos() + L"\\a.jpg"});
        scrn_.PickNextFile();
        scrn_.QuitterClick();
        EXPECT_EQ(ReadFileBytes(dir_ / L"outside.tmp"), "0C:\\x.jpg\r\n");
    }
    EXPECT_TRUE(RemoveDirectoryW(Settings.InstallDir.c_str())) << "the install folder is empty";
}
