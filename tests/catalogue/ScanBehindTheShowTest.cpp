// The catalogue while its scan runs behind the show (the batches come from the test, not the
// worker), and the worker's batches.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>

#include "library/Catalogue.h"
#include "library/FolderScan.h"
#include "saver/ScanWorker.h"
#include "tests/catalogue/CatalogueFolder.h"
#include "tests/support/Rig.h"
#include "toolkit/System.h"

namespace {
using V = std::vector<std::wstring>;

ScanBatch Batch(V files, bool last = false, bool whole = true) {
    ScanBatch batch;
    batch.files = std::move(files);
    batch.last = last;
    batch.whole = whole;
    return batch;
}

class ScanBehind : public CatalogueFolder {
  protected:
    std::wstring Take() { // one refill whose load works; the file taken, empty when none
        if (cat_.filesToSee.empty() || !cat_.TakeNextFile([] { return true; })) return {};
        return cat_.currentFile;
    }
    V warnings_;
    int scans_ = 0;
    FileCatalogue cat_{settings_,
                       {.Warning = [this](const std::wstring& text) { warnings_.push_back(text); },
                        .StartScan = [this](ScanRequest) { ++scans_; }}};
};
} // namespace

// A scan that holds (a share that stopped answering) does not hold the show: once the files
// found so far are all seen, the pass begins again on them, and files found later join it.
TEST_F(ScanBehind, ThePassGrowsWithTheScanAndBeginsAgainOnWhatItFound) {
    const std::wstring a = L"C:\\a.jpg", b = L"C:\\b.jpg";
    cat_.ScanFolders();
    EXPECT_EQ(scans_, 1);
    cat_.TakeFound(Batch({a, b}));
    EXPECT_EQ((std::set<std::wstring>{Take(), Take()}), (std::set<std::wstring>{a, b}));
    const std::wstring again = Take();
    EXPECT_TRUE(again == a || again == b) << "the pass waited for the scan's end";
    EXPECT_EQ(scans_, 1) << "a second scan began beside the first";
    cat_.TakeFound(Batch({L"C:\\c.jpg"}, true));
    EXPECT_EQ(cat_.filesToSee.size(), 2u) << "a file found late did not join the pass";
    cat_.ScanFolders();
    cat_.Clear(); // a new start: what the scan given up still sends is dropped
    cat_.TakeFound(Batch({L"C:\\late.jpg"}, true));
    EXPECT_TRUE(cat_.filesToSee.empty());
}

// Said of a whole scan that found nothing, though what it found may all be shown by its end.
TEST_F(ScanBehind, NothingFoundIsSaidOnlyOfAWholeScanThatFoundNothing) {
    const struct {
        V found;
        bool whole;
        size_t warnings;
    } cases[] = {{{}, true, 1}, {{L"C:\\a.jpg"}, true, 0}, {{}, false, 0}};
    for (const auto& c : cases) {
        warnings_.clear();
        cat_.ScanFolders();
        cat_.TakeFound(Batch(c.found));
        Take();
        cat_.TakeFound(Batch({}, true, c.whole));
        EXPECT_EQ(warnings_.size(), c.warnings) << c.found.size() << c.whole;
    }
}

// After a pass, the files of that pass not found yet are still to see; without one (the run's
// first scan) the memory stays as it was.
TEST_F(ScanBehind, ACloseDuringTheScanWritesWhatTheRunKnows) {
    settings_.rememberSeen = true;
    MakeFile(Memory(), "1C:\\old.jpg\r\n");
    cat_.FillCatalogue(); // all seen: a scan begins
    cat_.TakeFound(Batch({L"C:\\a.jpg"}));
    cat_.Close();
    EXPECT_EQ(ReadFileBytes(Memory()), "0C:\\a.jpg\r\n0C:\\old.jpg\r\n");

    DeleteFileW(Memory().c_str());
    cat_.FillCatalogue();
    cat_.TakeFound(Batch({L"C:\\a.jpg", L"C:\\b.jpg"}));
    cat_.Close();
    EXPECT_FALSE(tk::FileExists(Memory())) << "written from part of the folders";
}

// The walk's files in its order, a folder away after the files found before it, a last batch.
TEST_F(ScanBehind, TheWorkerHandsOverWhatTheWalkFinds) {
    for (const wchar_t* name : {L"\\a", L"\\b", L"\\c"}) {
        MakeFolder(Photos() + name);
        MakeFile(Photos() + name + L"\\x.jpg");
        MakeFile(Photos() + name + L"\\y.avi");
    }
    const std::wstring folders =
        Photos() + L"\\a;" + dir_ / L"away\\x;" + Photos() + L"\\b;" + Photos();
    V walked, files, away;
    FolderScan(walked, {}).ScanFolders(folders);
    std::atomic<int> wakes{0};
    bool whole = false;
    size_t awayAfter = 0;
    ScanWorker worker({folders, UsableMediaMask()}, [&] { ++wakes; });
    WaitUntil(
        [&] {
            for (ScanBatch& batch : worker.TakeBatches()) {
                files.insert(files.end(), batch.files.begin(), batch.files.end());
                if (!batch.away.empty()) awayAfter = files.size();
                away.insert(away.end(), batch.away.begin(), batch.away.end());
                whole = batch.last && batch.whole;
            }
            return whole;
        },
        10000);
    EXPECT_TRUE(whole);
    EXPECT_GT(wakes, 0);
    EXPECT_EQ(files, walked);
    EXPECT_EQ(away, V{dir_ / L"away\\"});
    EXPECT_EQ(awayAfter, 2u) << "the folder away waited for the files after it";
}

// A file taken ahead as its pass ended is shown once in the next, though the rescan finds it.
TEST_F(ScanBehind, AFileTakenAheadIsNotFoundAgainByTheRescan) {
    settings_.rememberSeen = true;
    cat_.filesToSee = {L"C:\\a.jpg"};
    EXPECT_EQ(cat_.TakeAhead(), L"C:\\a.jpg"); // the pass's last file: the rescan begins
    ASSERT_TRUE(cat_.ScanRunning());
    cat_.TakeFound(Batch({L"C:\\a.jpg", L"C:\\b.jpg"}, true));
    EXPECT_EQ(cat_.filesToSee, V{L"C:\\b.jpg"});
}
