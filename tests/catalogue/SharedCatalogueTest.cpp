// One catalogue for every monitor: a file on another monitor's tile is not taken, the others
// are drawn as before, and the files of a monitor that goes count as not yet seen again.
#include <gtest/gtest.h>

#include <set>

#include "Globals/Globals.h"
#include "Globals/Random.h"
#include "saver/Catalogue.h"

namespace {

std::vector<std::wstring> Files(int n) {
    std::vector<std::wstring> files;
    for (int i = 0; i < n; ++i)
        files.push_back(L"C:\\photos\\p" + std::to_wstring(i) + L".jpg");
    return files;
}

TEST(SharedCatalogue, FilesOnAnotherMonitorAreNotTaken) {
    const struct {
        const char* what;
        int files;
        std::set<int> elsewhere; // files on another monitor's tiles
        bool free;               // some file may be taken
    } cases[] = {
        {"none elsewhere", 5, {}, true},
        {"some elsewhere", 5, {0, 2, 4}, true},
        {"all but one elsewhere", 5, {0, 1, 2, 3}, true},
        {"all elsewhere: the tile waits", 3, {0, 1, 2}, false},
        {"an empty catalogue", 0, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto files = Files(c.files);
        auto elsewhere = [&](const std::wstring& path) {
            for (int i : c.elsewhere)
                if (path == files[i]) return true;
            return false;
        };
        Settings = SettingsRecord{}; // a new pass takes the seen files again, without a scan
        Settings.rememberSeen = false;
        FileCatalogue cat;
        cat.filesToSee = files;
        EXPECT_EQ(cat.HasFileFor(elsewhere), c.free);
        SetRandomSeed(11);
        std::set<std::wstring> taken;
        int tries = 0;
        while (cat.HasFileFor(elsewhere)) {
            ASSERT_TRUE(cat.TakeNextFile(elsewhere, [&] {
                ++tries;
                return true;
            }));
            EXPECT_FALSE(elsewhere(cat.currentFile)) << "taken while on another monitor";
            taken.insert(cat.currentFile);
            if (cat.filesToSee.size() == files.size()) break; // a new pass began
        }
        EXPECT_EQ(int(taken.size()), c.files - int(c.elsewhere.size()));
        EXPECT_EQ(tries, int(taken.size())) << "one try per file";
    }
}

TEST(SharedCatalogue, WithNoneExcludedTheDrawIsTheOneOfASingleMonitor) {
    const auto files = Files(9);
    FileCatalogue one, shared;
    one.filesToSee = shared.filesToSee = files;
    SetRandomSeed(5);
    std::vector<std::wstring> drawn;
    while (!one.filesToSee.empty()) {
        one.PickNextFile();
        drawn.push_back(one.currentFile);
    }
    SetRandomSeed(5);
    for (const auto& expected : drawn) {
        shared.PickNextFile([](const std::wstring&) { return false; });
        EXPECT_EQ(shared.currentFile, expected);
    }
}

TEST(SharedCatalogue, AnExcludedDrawFallsEvenlyOnTheFreeFiles) {
    const auto files = Files(4);
    auto elsewhere = [&](const std::wstring& path) { return path == files[0]; };
    std::vector<int> counts(4, 0);
    SetRandomSeed(3);
    for (int k = 0; k < 3000; ++k) {
        FileCatalogue cat;
        cat.filesToSee = files;
        cat.PickNextFile(elsewhere);
        for (int i = 0; i < 4; ++i)
            counts[i] += cat.currentFile == files[i];
    }
    EXPECT_EQ(counts[0], 0);
    for (int i = 1; i < 4; ++i)
        EXPECT_NEAR(counts[i], 1000, 120) << "file " << i;
}

TEST(SharedCatalogue, FilesOfAMonitorThatWentAreNotYetSeenAgain) {
    FileCatalogue cat;
    cat.filesToSee = {L"a.jpg"};
    cat.seenFiles = {L"b.jpg", L"C.jpg", L"d.jpg"};
    cat.GiveBack({L"c.jpg", L"b.jpg", L"gone.jpg"});
    EXPECT_EQ(cat.filesToSee, (std::vector<std::wstring>{L"a.jpg", L"c.jpg", L"b.jpg"}));
    EXPECT_EQ(cat.seenFiles, (std::vector<std::wstring>{L"d.jpg"}));
}

} // namespace
