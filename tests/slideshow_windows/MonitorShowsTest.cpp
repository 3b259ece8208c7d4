// The saver window with monitors of the test's own over its 1024 x 768 screen: a show per
// monitor on a stage of its own, every monitor showing pictures however few the files, and
// shows that come and go with the monitors while the saver runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"

namespace {

std::vector<Monitor> Halves() {
    return {{{0, 0, 512, 768}, true}, {{512, 0, 512, 768}}};
}

std::vector<Monitor> Wall() { // twenty monitors of 256 x 153 and a broken one of 1 x 1
    std::vector<Monitor> wall;
    for (int k = 0; k < 20; ++k)
        wall.push_back({{256 * (k % 4), 153 * (k / 4), 256, 153}, k == 0});
    wall.push_back({{1023, 767, 1, 1}});
    return wall;
}

std::vector<std::wstring> Photos(const TempDir& dir, int n) {
    std::vector<std::wstring> files;
    for (int i = 0; i < n; ++i) {
        files.push_back(dir / (L"p" + std::to_wstring(i) + L".jpg"));
        MakeSolidJpeg(files.back(), 120 + 10 * i, 90, 0x203040u * (i + 1));
    }
    return files;
}

// A saver window whose monitors are the given ones (read again at each change), started with
// these files.
std::unique_ptr<SaverWindow> Start(const rig::RunSettings& run, std::vector<Monitor>* monitors,
                                   const std::vector<std::wstring>& files) {
    return rig::StartSaver(run, files, false, [monitors] { return *monitors; });
}

// No file on the tiles of two shows while there are more files than tiles (SharedFiles.h);
// every file is on a tile or in the catalogue.
void ExpectEachFileOnce(const SaverWindow& saver, size_t files, int step) {
    size_t tiles = 0;
    for (const auto& show : saver.Shows())
        tiles += size_t(show->FirstFills());
    std::set<std::wstring> held;
    for (const auto& show : saver.Shows()) {
        std::set<std::wstring> own;
        for (const auto& f : show->HeldFiles())
            own.insert(f);
        for (const auto& f : own)
            EXPECT_TRUE(held.insert(f).second || files <= tiles)
                << "on two monitors, step " << step;
    }
    std::set<std::wstring> known(held);
    known.insert(saver.Catalogue().filesToSee.begin(), saver.Catalogue().filesToSee.end());
    known.insert(saver.Catalogue().seenFiles.begin(), saver.Catalogue().seenFiles.end());
    EXPECT_EQ(known.size(), files) << "a file was lost, step " << step;
}

TEST(MonitorShows, EachMonitorRunsItsShowAndNoFileIsOnTwoAtOnce) {
    TempDir dir;
    const struct {
        const char* what;
        std::vector<Monitor> monitors;
        int tiles, files, shows;
    } cases[] = {
        {"two halves", Halves(), 3, 8, 2},
        {"fewer files than tiles", Halves(), 4, 3, 2},
        {"twenty monitors and a broken one", Wall(), 2, 5, kMaxShows},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.what);
        const auto files = Photos(dir, c.files);
        auto saver = Start({.transition = 1, .tiles = c.tiles, .speed = 40}, &c.monitors, files);
        ASSERT_EQ(int(saver->Shows().size()), c.shows);
        for (const auto& show : saver->Shows()) {
            // Its tiles live on a stage over its monitor, which clips them to it.
            HWND stage = GetParent(show->Strip().panels[0]->Handle());
            EXPECT_EQ(GetParent(stage), saver->Handle());
            EXPECT_EQ(show->Strip().tileCount, c.tiles);
            EXPECT_EQ(show->Strip().tilePos[0], show->Width() + kTileGap) << "its own strip";
        }
        for (int step = 0; step < 150 && !testing::Test::HasFailure(); ++step) {
            saver->MoveOneStep();
            ExpectEachFileOnce(*saver, files.size(), step);
        }
        EXPECT_GT(saver->Refills(), c.shows) << "the strips were refilled";
    }
}

// A central tile keeps its own display time on each monitor: a tick of the one timer ends
// only the display times that are over.
TEST(MonitorShows, ATickEndsOnlyTheDisplayTimesThatAreOver) {
    TempDir dir;
    auto monitors = Halves();
    auto saver = Start({.transition = 4, .tiles = 1, .pause = 1}, &monitors, Photos(dir, 4));
    ASSERT_EQ(saver->Refills(), 2);
    saver->PrimaryShow().SetDisplayTime(5000); // a clip, say, that holds its tile longer
    saver->OnStepTick();
    saver->MoveOneStep();
    EXPECT_EQ(saver->Refills(), 2) << "a tick before any display time is over";
    Sleep(1100);
    saver->OnStepTick();
    saver->MoveOneStep();
    EXPECT_EQ(saver->Shows()[0]->Refills(), 1);
    EXPECT_EQ(saver->Shows()[1]->Refills(), 2);
    EXPECT_LE(saver->stepTimer.Interval(), 5000u - 1000u) << "the next tick ends the held display";
}

TEST(MonitorShows, MonitorsComingAndGoingAddAndDropShowsAndLoseNoFile) {
    TempDir dir;
    const auto files = Photos(dir, 6);
    std::vector<Monitor> monitors = {{{0, 0, 1024, 768}, true}};
    auto saver = Start({.transition = 11, .tiles = 3, .speed = 30}, &monitors, files);
    const long windows = tk::Counts().windows;
    ASSERT_EQ(saver->Shows().size(), 1u);
    EXPECT_EQ(GetParent(saver->PrimaryShow().Strip().panels[0]->Handle()), saver->Handle());

    const struct {
        std::vector<Monitor> monitors;
        size_t shows;
        long windows; // beyond those of one monitor
    } changes[] = {{Halves(), 2, 2 + 3 * 2},
                   {Wall(), kMaxShows, kMaxShows * (1 + 3 * 2) - 3 * 2},
                   {Halves(), 2, 2 + 3 * 2},
                   {{{{0, 0, 1024, 768}, true}}, 1, 0}};
    for (const auto& change : changes) {
        monitors = change.monitors;
        SendMessageW(saver->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
        PumpMessages(); // the change waits for the next step
        ASSERT_EQ(saver->Shows().size(), change.shows);
        EXPECT_EQ(tk::Counts().windows - windows, change.windows);
        for (const auto& show : saver->Shows()) // every monitor shows, however few the files
            EXPECT_FALSE(show->HeldFiles().empty());
        ExpectEachFileOnce(*saver, files.size(), 0);
        for (int step = 0; step < 30; ++step)
            saver->MoveOneStep();
    }
}

// The files on the tiles of a monitor unplugged are to see again, not counted as seen.
TEST(MonitorShows, TheFilesOfAMonitorUnpluggedAreToSeeAgain) {
    TempDir dir;
    const auto files = Photos(dir, 24);
    auto monitors = Halves();
    auto saver = Start({.transition = 1, .tiles = 3, .speed = 40}, &monitors, files);
    ASSERT_EQ(saver->Shows().size(), 2u);
    const std::vector<std::wstring> gone = saver->Shows()[1]->HeldFiles();
    ASSERT_EQ(gone.size(), 3u);
    monitors.pop_back();
    SendMessageW(saver->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    PumpMessages();
    ASSERT_EQ(saver->Shows().size(), 1u);
    const FileCatalogue& catalogue = saver->Catalogue();
    for (const auto& file : gone) {
        EXPECT_EQ(std::count(catalogue.filesToSee.begin(), catalogue.filesToSee.end(), file), 1);
        EXPECT_EQ(std::count(catalogue.seenFiles.begin(), catalogue.seenFiles.end(), file), 0);
    }
}

} // namespace
