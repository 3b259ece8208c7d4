// The catalogue while its scan runs behind the show: what the scan found so far is the pass's
// draw, what it finds later joins the same pass, the pass does not end before the scan, and a
// close before the scan's end writes what the run knows. The batches come from the worker
// (ScanWorker.h), here from the test.
#include <gtest/gtest.h>

#include <windows.h>

#include <mutex>
#include <set>

#include "library/Catalogue.h"
#include "library/FolderScan.h"
#include "saver/ScanWorker.h"
#include "tests/catalogue/CatalogueFolder.h"
#include "toolkit/System.h"
#include "toolkit/Text.h"

namespace {

using V = std::vector<std::wstring>;

class ScanBehind : public CatalogueFolder {
  protected:
    ScanBatch Batch(V files, bool last = false) {
        ScanBatch batch;
        batch.files = std::move(files);
        batch.last = last;
        return batch;
    }
    // One refill whose load always works; the file it took, empty when none.
    std::wstring Take() {
        if (cat_.filesToSee.empty() || !cat_.TakeNextFile([] { return true; })) return {};
        return cat_.currentFile;
    }

    std::vector<ScanRequest> requests_;
    V warnings_;
    FileCatalogue cat_{Events()};

  private:
    CatalogueEvents Events() {
        CatalogueEvents events;
        events.Warning = [this](const std::wstring& text) { warnings_.push_back(text); };
        events.StartScan = [this](ScanRequest request) { requests_.push_back(request); };
        return events;
    }
};

} // namespace

TEST_F(ScanBehind, ThePassGrowsWithTheScanAndEndsOnlyAfterIt) {
    cat_.ScanFolders();
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_EQ(requests_[0].folders, Photos());
    EXPECT_TRUE(cat_.ScanRunning());
    EXPECT_TRUE(Take().empty()) << "nothing found yet";

    cat_.TakeFound(Batch({L"C:\\a.jpg", L"C:\\b.jpg"}));
    std::set<std::wstring> shown = {Take(), Take()};
    EXPECT_EQ(shown, (std::set<std::wstring>{L"C:\\a.jpg", L"C:\\b.jpg"}));
    // Every file found so far was shown: the pass waits for the scan, it does not begin again.
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(cat_.seenFiles.size(), 2u);

    cat_.TakeFound(Batch({L"C:\\c.jpg"}, true));
    EXPECT_FALSE(cat_.ScanRunning());
    EXPECT_EQ(cat_.Found(), 3u);
    EXPECT_EQ(Take(), L"C:\\c.jpg") << "a file found late joins the same pass";
    // The last file of the pass began the next one, of all three.
    EXPECT_EQ(cat_.filesToSee.size(), 3u);

    // Batches of a scan given up (a new start) are dropped.
    cat_.Clear();
    cat_.TakeFound(Batch({L"C:\\late.jpg"}, true));
    EXPECT_TRUE(cat_.filesToSee.empty());
}

// "Nothing found" is said when the scan ends having found nothing, even though the files it
// found may all have been shown by then, and not when an exit stopped it.
TEST_F(ScanBehind, NothingFoundIsSaidOnlyOfAWholeScanThatFoundNothing) {
    const std::wstring nothing = L"Erreur : Aucune photos ou vidéos trouvées !";
    struct Case {
        V found;
        bool shownBeforeTheEnd, whole;
        V warnings;
    } cases[] = {
        {{}, false, true, {nothing}},
        {{L"C:\\a.jpg"}, true, true, {}},
        {{}, false, false, {}},
    };
    for (const Case& c : cases) {
        warnings_.clear();
        cat_.ScanFolders();
        cat_.TakeFound(Batch(c.found));
        if (c.shownBeforeTheEnd) Take();
        ScanBatch end = Batch({}, true);
        end.whole = c.whole;
        cat_.TakeFound(std::move(end));
        EXPECT_EQ(warnings_, c.warnings) << c.found.size() << c.shownBeforeTheEnd << c.whole;
    }
}

// The close during a scan: after a pass, the files of that pass that the new scan has not
// found yet are still to see; without a pass before (the run's first scan) the memory stays.
TEST_F(ScanBehind, ACloseDuringTheScanWritesWhatTheRunKnows) {
    Settings.rememberSeen = true;
    MakeFile(Memory(), "1C:\\old.jpg\r\n");
    cat_.FillCatalogue(); // all seen: the memory is read, then a scan begins
    ASSERT_TRUE(cat_.ScanRunning());
    cat_.TakeFound(Batch({L"C:\\a.jpg"}));
    cat_.Close();
    EXPECT_EQ(ReadFileBytes(Memory()), "0C:\\a.jpg\r\n0C:\\old.jpg\r\n");

    DeleteFileW(Memory().c_str());
    cat_.FillCatalogue(); // no memory: the first scan of the library
    cat_.TakeFound(Batch({L"C:\\a.jpg"}));
    cat_.Close();
    EXPECT_FALSE(tk::FileExists(Memory())) << "written from part of the folders";

    cat_.FillCatalogue();
    cat_.TakeFound(Batch({L"C:\\a.jpg", L"C:\\b.jpg", L"C:\\c.jpg"}, true));
    while (cat_.seenFiles.size() < 3 && !cat_.filesToSee.empty())
        Take(); // the third take ends the pass and begins the rescan
    ASSERT_TRUE(cat_.ScanRunning());
    cat_.TakeFound(Batch({L"C:\\b.jpg", L"C:\\d.jpg"}));
    const std::wstring shown = Take();
    cat_.Close();
    const std::string memory = ReadFileBytes(Memory());
    for (const char* file : {"C:\\a.jpg", "C:\\b.jpg", "C:\\c.jpg", "C:\\d.jpg"})
        EXPECT_NE(memory.find((tk::Narrow(shown) == file ? "1" : "0") + std::string(file)),
                  std::string::npos)
            << memory;
    EXPECT_EQ(memory.size(), 4 * std::string("0C:\\a.jpg\r\n").size()) << memory;
}

// The worker hands over what the walk finds, in its order, a folder away after the files found
// before it, and ends with a last batch.
TEST_F(ScanBehind, TheWorkerHandsOverWhatTheWalkFinds) {
    for (const wchar_t* name : {L"a", L"b", L"c"}) {
        MakeFolder(Photos() + L"\\" + name);
        MakeFile(Photos() + L"\\" + name + L"\\x.jpg");
        MakeFile(Photos() + L"\\" + name + L"\\y.avi");
    }
    const std::wstring folders =
        Photos() + L"\\a;" + dir_ / L"away\\x;" + Photos() + L"\\b;" + Photos();
    V walked;
    FolderScan(walked, {}).ScanFolders(folders);

    std::mutex mutex;
    std::vector<ScanBatch> batches;
    HANDLE ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        ScanWorker worker({folders, UsableMediaMask()}, [&](std::unique_ptr<ScanBatch> batch) {
            std::lock_guard<std::mutex> lock(mutex);
            if (batch->last) SetEvent(ended);
            batches.push_back(std::move(*batch));
        });
        ASSERT_EQ(WaitForSingleObject(ended, 10000), WAIT_OBJECT_0);
    }
    CloseHandle(ended);
    V files, away;
    size_t awayAfter = 0;
    for (const ScanBatch& batch : batches) {
        files.insert(files.end(), batch.files.begin(), batch.files.end());
        if (!batch.away.empty()) awayAfter = files.size();
        away.insert(away.end(), batch.away.begin(), batch.away.end());
    }
    EXPECT_EQ(files, walked);
    EXPECT_EQ(away, V{dir_ / L"away\\"});
    EXPECT_EQ(awayAfter, 2u) << "the folder away comes after the files found before it";
    ASSERT_FALSE(batches.empty());
    EXPECT_TRUE(batches.back().last && batches.back().whole);
}
