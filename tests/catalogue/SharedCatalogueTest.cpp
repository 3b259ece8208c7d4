// One catalogue for every monitor: a file on another monitor's tile is not taken, the others
// are drawn as before, and the files of a monitor that goes count as not yet seen again.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "settings/Settings.h"
#include "settings/Random.h"
#include "library/Catalogue.h"
#include "saver/SharedFiles.h"

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
        SettingsRecord settings; // a new pass takes the seen files again, without a scan
        settings.rememberSeen = false;
        FileCatalogue cat(settings);
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
    const SettingsRecord settings;
    FileCatalogue one(settings), shared(settings);
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
        const SettingsRecord settings;
        FileCatalogue cat(settings);
        cat.filesToSee = files;
        cat.PickNextFile(elsewhere);
        for (int i = 0; i < 4; ++i)
            counts[i] += cat.currentFile == files[i];
    }
    EXPECT_EQ(counts[0], 0);
    for (int i = 1; i < 4; ++i)
        EXPECT_NEAR(counts[i], 1000, 120) << "file " << i;
}

// Monitors refilling their tiles in turn from one catalogue, as the shows do: each shows a
// picture and changes it whatever the size of the library, and no file is on two at once
// while the library holds more files than all their tiles.
TEST(SharedCatalogue, EveryMonitorShowsAndChangesWhateverTheLibrary) {
    const struct {
        const char* what;
        int files;
        std::vector<int> tiles; // of each monitor
        bool apart;             // no file on two monitors at once
    } cases[] = {
        {"one photo, two monitors", 1, {1, 1}, false},
        {"two photos, three monitors", 2, {1, 1, 1}, false},
        {"as many photos as tiles", 2, {1, 1}, false},
        {"strips with as many photos as tiles", 4, {2, 2}, false},
        {"one photo more than the tiles", 5, {2, 2}, true},
        {"many photos", 12, {3, 3, 1}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsRecord settings;
        settings.rememberSeen = false;
        FileCatalogue cat(settings);
        cat.filesToSee = Files(c.files);
        SetRandomSeed(7);
        size_t allTiles = 0;
        std::vector<std::vector<std::wstring>> held;
        for (int n : c.tiles) {
            held.emplace_back(n);
            allTiles += size_t(n);
        }
        std::vector<std::set<std::wstring>> shown(held.size());
        for (int round = 0; round < 40; ++round)
            for (size_t m = 0; m < held.size(); ++m) {
                auto onOther = [&](const std::wstring& path) {
                    for (size_t k = 0; k < held.size(); ++k)
                        if (k != m && std::count(held[k].begin(), held[k].end(), path)) return true;
                    return false;
                };
                const auto excluded = ExcludedForRefill(cat, allTiles, onOther);
                if (!cat.HasFileFor(excluded)) continue; // the tile waits
                ASSERT_TRUE(cat.TakeNextFile(excluded, [] { return true; }));
                ASSERT_TRUE(!c.apart || !onOther(cat.currentFile)) << "round " << round;
                held[m][size_t(round) % held[m].size()] = cat.currentFile;
                shown[m].insert(cat.currentFile);
            }
        for (size_t m = 0; m < held.size(); ++m) {
            EXPECT_EQ(std::count(held[m].begin(), held[m].end(), L""), 0) << "monitor " << m;
            EXPECT_GT(shown[m].size(), size_t(std::min(c.tiles[m], c.files - 1)))
                << "monitor " << m << " never changed its files";
        }
    }
}

TEST(SharedCatalogue, FilesOfAMonitorThatWentAreNotYetSeenAgain) {
    const SettingsRecord settings;
    FileCatalogue cat(settings);
    cat.filesToSee = {L"a.jpg"};
    cat.seenFiles = {L"b.jpg", L"C.jpg", L"d.jpg"};
    cat.GiveBack({L"c.jpg", L"b.jpg", L"gone.jpg"});
    EXPECT_EQ(cat.filesToSee, (std::vector<std::wstring>{L"a.jpg", L"c.jpg", L"b.jpg"}));
    EXPECT_EQ(cat.seenFiles, (std::vector<std::wstring>{L"d.jpg"}));
}

} // namespace
