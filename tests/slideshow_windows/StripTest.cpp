// The slideshow with real windows in the test process: the strip travels and is refilled in
// order, the central transitions keep to tile 0, and failing files end the catalogue.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "saver/Geometry.h"
#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"
#include "toolkit/Log.h"
#include "toolkit/MsgBox.h"

namespace {

struct Photo {
    int width, height;
    uint32_t rgb;
};

class Slideshow : public testing::Test {
  protected:
    void SetUp() override {
        SetRandomSeed(7);
        tk::SetBoxHook([this](const tk::BoxRequest& box) {
            boxes.push_back(box.text);
            return IDOK;
        });
    }
    void TearDown() override { tk::SetBoxHook(nullptr); }

    std::vector<std::wstring> Photos(const std::vector<Photo>& photos) {
        std::vector<std::wstring> paths;
        for (size_t i = 0; i < photos.size(); ++i) {
            std::wstring path = dir / (L"photo" + std::to_wstring(i) + L".jpg");
            EXPECT_TRUE(MakeSolidJpeg(path, photos[i].width, photos[i].height, photos[i].rgb));
            paths.push_back(path);
        }
        return paths;
    }
    std::wstring Corrupt(const std::wstring& name) {
        std::wstring path = dir / name;
        MakeCorruptFile(path);
        return path;
    }

    TempDir dir;
    std::vector<std::wstring> boxes;
};

// The strip in its order: each tile 50 px behind the one before it, centred across the
// travel. Tiles that wait at the entry side count too.
void ExpectGaps(const SaverWindow& saver, int first, const char* when) {
    const int n = saver.PrimaryShow().Strip().tileCount;
    for (int k = 0; k + 1 < n; ++k) {
        int a = (first + k) % n, b = (first + k + 1) % n;
        Box boxA = saver.PrimaryShow().Strip().TileBox(a);
        EXPECT_EQ(saver.PrimaryShow().Strip().tilePos[b] -
                      (saver.PrimaryShow().Strip().tilePos[a] + boxA.width),
                  kTileGap)
            << when << ": between tiles " << a << " and " << b;
    }
    for (int i = 0; i < n; ++i) {
        Box box = saver.PrimaryShow().Strip().TileBox(i);
        EXPECT_EQ(box.top, (768 - box.height) / 2) << when << ": tile " << i;
    }
}

TEST_F(Slideshow, StripOfThreeTravelsIsRefilledInOrderAndKeepsItsGaps) {
    auto files = Photos({{300, 200, 0xFF0000}, {200, 300, 0x00FF00}, {400, 100, 0x0000FF}});
    auto saver = rig::StartSaver({.transition = 1, .tiles = 3, .speed = 10}, files);
    ASSERT_TRUE(saver);
    ASSERT_EQ(saver->PrimaryShow().Strip().tileCount, 3);
    EXPECT_EQ(saver->Refills(), 3);
    EXPECT_EQ(saver->PrimaryShow().currentTile, 0);
    EXPECT_EQ(saver->PrimaryShow().alternationPhase, 0);
    EXPECT_EQ(saver->PrimaryShow().Strip().tilePos[0], 1024 + 50);
    ExpectGaps(*saver, 0, "after Init");
    // The panels wait outside the screen until a step brings them on it.
    for (int i = 0; i < 3; ++i)
        EXPECT_GE(saver->PrimaryShow().Strip().TileBox(i).left, 1024);

    std::vector<int> refilled;
    int first = 0; // the tile at the head of the strip
    for (int step = 0; step < 1000 && refilled.size() < 6; ++step) {
        std::vector<int> before = saver->PrimaryShow().Strip().tilePos;
        std::vector<Box> boxes;
        for (int i = 0; i < 3; ++i)
            boxes.push_back(saver->PrimaryShow().Strip().TileBox(i));
        long refills = saver->Refills();
        int cur = saver->PrimaryShow().currentTile;
        saver->MoveOneStep();
        bool refill = saver->Refills() != refills;
        if (refill) {
            ASSERT_EQ(saver->Refills(), refills + 1);
            refilled.push_back(cur);
            // ... at the first step that found it wholly past the left edge, unmoved.
            EXPECT_LE(before[cur], -boxes[cur].width) << "step " << step;
            EXPECT_GT(before[cur] + 10, -boxes[cur].width) << "step " << step;
            first = (cur + 1) % 3;
        }
        for (int i = 0; i < 3; ++i) {
            if (refill && i == cur) continue;
            EXPECT_EQ(saver->PrimaryShow().Strip().tilePos[i], before[i] - 10)
                << "tile " << i << " step " << step;
            // panels on the screen stand where the strip says (those off it wait).
            const int left = saver->PrimaryShow().Strip().tilePos[i],
                      width = saver->PrimaryShow().Strip().TileBox(i).width;
            if (left < 1024 && left + width > 0) {
                EXPECT_EQ(saver->PrimaryShow().Strip().TileBox(i).left, left) << "tile " << i;
            }
        }
        ExpectGaps(*saver, first, refill ? "after a refill" : "travelling");
        if (HasFailure()) break;
    }
    EXPECT_EQ(refilled, (std::vector<int>{0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(saver->Loads(), saver->Refills());
}

// The alternating strips turn at every second refill and stay one strip: the tiles still
// waiting beyond the old entry edge change sides when it turns, without counting as
// refills, so that the next turn comes only after two more tiles have crossed the screen.
TEST_F(Slideshow, AlternatingStripsTurnAtEverySecondRefillAndStayOneStrip) {
    // Photos nearly as large as the screen: most of the strip waits beyond the entry edge.
    auto files = Photos({{900, 600, 0xFF0000}, {700, 700, 0x00FF00}, {1000, 500, 0x0000FF}});
    for (int transition : {3, 13}) {
        SCOPED_TRACE(testing::Message() << "transition " << transition);
        auto saver = rig::StartSaver({.transition = transition, .tiles = 5, .speed = 40}, files);
        ASSERT_TRUE(saver);
        const bool vertical = transition == 13;
        std::vector<int> phases;
        std::vector<char> wasPast(saver->PrimaryShow().Strip().tileCount, 0);
        for (int step = 0; step < 5000 && phases.size() < 6; ++step) {
            long refills = saver->Refills();
            int phase = saver->PrimaryShow().alternationPhase;
            saver->MoveOneStep();
            if (saver->Refills() != refills) {
                phases.push_back(saver->PrimaryShow().alternationPhase);
            } else {
                EXPECT_EQ(saver->PrimaryShow().alternationPhase, phase) << "step " << step;
            }
            std::vector<std::pair<int, int>> strip;
            for (int i = 0; i < saver->PrimaryShow().Strip().tileCount; ++i) {
                Box box = saver->PrimaryShow().Strip().TileBox(i);
                strip.push_back(
                    {saver->PrimaryShow().Strip().tilePos[i], vertical ? box.height : box.width});
                // A tile past the exit edge is dealt with at the next step: none is left
                // waiting there (the turn's waiting tiles change sides).
                bool past = StepTile(TravelOf(transition, saver->PrimaryShow().alternationPhase),
                                     saver->PrimaryShow().Strip().tilePos[i], box.width, box.height,
                                     1, {0, 0, 1024, 768})
                                .refill;
                if (saver->PrimaryShow().alternationPhase == phase) {
                    EXPECT_FALSE(past && wasPast[i]) << "tile " << i;
                }
                wasPast[i] = past;
            }
            // Ordered by place, the tiles are 50 px apart.
            std::sort(strip.begin(), strip.end());
            for (size_t k = 0; k + 1 < strip.size(); ++k)
                EXPECT_EQ(strip[k + 1].first - (strip[k].first + strip[k].second), kTileGap)
                    << "step " << step;
            if (HasFailure()) return;
        }
        EXPECT_EQ(phases, (std::vector<int>{1, 2, 3, 0, 1, 2}));
    }
}

TEST_F(Slideshow, CentralTransitionFillsTileZeroOnlyAndLeavesCurTileAtOne) {
    auto files = Photos({{301, 201, 0xFF0000}, {1024, 100, 0x00FF00}});
    auto saver = rig::StartSaver({.transition = 4, .tiles = 3, .delay = 990}, files);
    ASSERT_TRUE(saver);
    EXPECT_EQ(saver->Refills(), 1);
    EXPECT_EQ(saver->PrimaryShow().currentTile, 1);
    Box box = saver->PrimaryShow().Strip().TileBox(0);
    EXPECT_EQ(box.left, (1024 - box.width) / 2);
    EXPECT_EQ(box.top, (768 - box.height) / 2);
    EXPECT_EQ(saver->PrimaryShow().Strip().tilePos[0], box.left);
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(saver->PrimaryShow().Strip().TileBox(i), (Box{-1024, 0, 1024, 768})) << i;
        EXPECT_TRUE(saver->PrimaryShow().Strip().TileShown(i)) << i;
    }
    EXPECT_TRUE(saver->stepTimer.Enabled());
    EXPECT_EQ(saver->stepTimer.Interval(), 30000u);

    saver->MoveOneStep(); // no tick yet: nothing
    EXPECT_EQ(saver->Refills(), 1);
    for (int tick = 0; tick < 3; ++tick) {
        saver->OnStepTick();
        saver->MoveOneStep();
        EXPECT_EQ(saver->Refills(), 2 + tick) << "one refill per tick";
        EXPECT_EQ(saver->PrimaryShow().currentTile, 1);
        EXPECT_FALSE(saver->stepDue);
    }
}

// A central tile whose next picture is still on its worker when its display time ends keeps
// its picture, and changes as soon as the picture comes; a job that never ends is given up at
// its deadline, its file dropped, and its thread ends once it sees it is no longer wanted.
TEST_F(Slideshow, ACentralTileWaitsForItsPictureAndAHungJobIsGivenUp) {
    const auto files = Photos({{400, 300, 0xFF0000}, {300, 200, 0x00FF00}, {200, 100, 0x0000FF}});
    struct Case {
        const char* name;
        bool released; // the job goes on once released; else it never ends
    } cases[] = {{"late picture", true}, {"hung job", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::atomic<bool> release{false};
        std::atomic<int> jobs{0};
        tk::LogCapture log;
        const long threadsBefore = tk::Worker::Running();
        auto saver = rig::NewSaverWindow(false);
        ASSERT_TRUE(saver);
        saver->aheadJobs.onWindowThread = false;
        saver->aheadJobs.deadlineMs = c.released ? 60000 : 300;
        saver->aheadJobs.work = [&](const PictureRequest& r, const std::function<bool()>& stopped) {
            if (jobs++ == 1) // the job after the first tile's waits; the hung one never ends
                while (!release && !stopped())
                    Sleep(5);
            return PreparePicture(r, stopped);
        };
        saver->UseSettings(rig::SettingsOf({.transition = 4, .tiles = 1}));
        saver->BuildSlideshow();
        saver->Catalogue().filesToSee = files;
        saver->FirstRefills();
        ASSERT_TRUE(WaitUntil([&] { return saver->Refills() == 1; }, 5000)) << "no first tile";
        rig::FinishChanges(*saver);
        const std::wstring first = saver->PrimaryShow().HeldFiles().at(0);

        saver->OnStepTick(); // the display time is over
        saver->MoveOneStep();
        PumpFor(100);
        saver->MoveOneStep();
        EXPECT_TRUE(saver->PrimaryShow().RefillWaits());
        EXPECT_EQ(saver->Refills(), 1) << "the tile changed without its picture";
        EXPECT_EQ(saver->PrimaryShow().HeldFiles().at(0), first);
        EXPECT_EQ(saver->stepTimer.Interval(), MonitorShow::kWaitCheckMs)
            << "a waiting tile is stepped often, for its job's deadline";

        if (c.released) release = true;
        // The next picture comes, and the tile changes at the next step, without waiting for
        // another display time. A hung job is given up at the first tick past its deadline,
        // and the next file comes.
        EXPECT_TRUE(WaitUntil(
            [&] {
                if (!c.released) saver->OnStepTick();
                saver->MoveOneStep();
                return saver->Refills() == 2;
            },
            5000));
        EXPECT_EQ(log.Holds(L"took too long to be read"), !c.released);
        saver.reset();
        EXPECT_TRUE(WaitUntil([&] { return tk::Worker::Running() == threadsBefore; }, 5000))
            << "a job's thread was left running";
        release = true;
    }
}

TEST_F(Slideshow, SlidingCentralTransitionEndsCentred) {
    auto files = Photos({{400, 300, 0xFF0000}});
    auto saver = rig::StartSaver({.transition = 6, .tiles = 1}, files);
    ASSERT_TRUE(saver);
    EXPECT_EQ(saver->PrimaryShow().Strip().TileBox(0), (Box{312, 234, 400, 300}));
    saver->OnStepTick();
    saver->MoveOneStep(); // leaves to the left, comes back from the right
    rig::FinishChanges(*saver);
    EXPECT_EQ(saver->PrimaryShow().Strip().TileBox(0), (Box{312, 234, 400, 300}));
    EXPECT_TRUE(saver->PrimaryShow().Strip().TileShown(0));
}

TEST_F(Slideshow, EveryFileFailingEmptiesTheCatalogueAndLaterRefillsDoNothing) {
    std::vector<std::wstring> files = {Corrupt(L"a.jpg"), Corrupt(L"b.jpg"), dir / L"missing.jpg",
                                       Corrupt(L"clip.avi")};
    auto saver = rig::StartSaver({.transition = 1, .tiles = 3}, files);
    ASSERT_TRUE(saver);
    EXPECT_TRUE(saver->Catalogue().filesToSee.empty());
    EXPECT_TRUE(saver->Catalogue().seenFiles.empty());
    EXPECT_EQ(saver->Refills(), 1);
    EXPECT_EQ(saver->Loads(), 0);
    EXPECT_EQ(saver->PrimaryShow().currentTile, 1);
    EXPECT_FALSE(saver->BannerText().empty());
    // The tile that was tried shows nothing; it travels and is never filled again.
    EXPECT_EQ(saver->PrimaryShow().Strip().TileBox(0).width, 0);
    for (int step = 0; step < 300; ++step)
        saver->MoveOneStep();
    EXPECT_EQ(saver->Refills(), 1);
    EXPECT_EQ(saver->PrimaryShow().currentTile, 1);
    EXPECT_TRUE(boxes.empty());
}

// With the memory kept, every new pass scans the folders again behind the show: its count,
// in the notice's line, goes once the scan is over, leaving only the tiles on black.
TEST_F(Slideshow, ARescanDuringTheShowLeavesNoTextOnTheScreen) {
    auto files = Photos({{200, 150, 0xFF0000}, {200, 150, 0x00FF00}, {200, 150, 0x0000FF}});
    auto saver = rig::StartSaver({.transition = 1, .tiles = 3}, files);
    ASSERT_TRUE(saver);
    SettingsRecord settings = saver->Settings();
    settings.rememberSeen = true;
    settings.folders = dir.Path();
    saver->UseSettings(settings);
    EXPECT_FALSE(saver->HasCanvasTexts());
    // The refill that takes the last file of a pass starts the next one: three refills on,
    // the folder has been scanned again.
    const long rescanAt = saver->Refills() + long(saver->Catalogue().filesToSee.size());
    for (int step = 0; step < 5000 && saver->Refills() < rescanAt; ++step)
        saver->MoveOneStep();
    ASSERT_EQ(saver->Refills(), rescanAt);
    ASSERT_TRUE(WaitUntil([&] { return !saver->Catalogue().ScanRunning(); }, 10000));
    EXPECT_TRUE(saver->NoticeLines().empty()) << "the count stays after the scan";
    // The file whose taking started the pass was shown in it; the others are to see.
    const FileCatalogue& catalogue = saver->Catalogue();
    EXPECT_EQ(catalogue.seenFiles.size(), 1u);
    EXPECT_EQ(catalogue.filesToSee.size(), files.size() - 1);
    EXPECT_FALSE(saver->HasCanvasTexts());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Slideshow, ATileWhoseTriesAllFailShowsItsLastPictureAgain) {
    auto good = Photos({{320, 240, 0x00FF00}});
    auto saver = rig::StartSaver({.transition = 1, .tiles = 1}, good);
    ASSERT_TRUE(saver);
    ASSERT_EQ(saver->Loads(), 1);
    // The only file now fails: the refill forgets it and the tile keeps its picture.
    MakeCorruptFile(good[0]);
    saver->PrimaryShow().RefillTile();
    EXPECT_EQ(saver->Loads(), 1);
    EXPECT_TRUE(saver->Catalogue().filesToSee.empty());
    EXPECT_EQ(saver->PrimaryShow().Strip().TileBox(0).width, 320);
    EXPECT_EQ(saver->PrimaryShow().Strip().TileBox(0).height, 240);
    EXPECT_TRUE(saver->PrimaryShow().Strip().TileShown(0));
}

TEST_F(Slideshow, TinyAndPanoramaPhotosAndALibraryOfOne) {
    // In the last case, 768 / 10000 x 10 is cut to no pixel at all: the photo cannot be
    // shown and is dropped like one that cannot be read.
    const struct {
        int transition;
        Photo photo;
        int width, height; // the tile
    } cases[] = {{1, {1, 1, 0xFFFFFF}, 1, 1},         {11, {1, 1, 0xFFFFFF}, 1, 1},
                 {4, {1, 1, 0xFFFFFF}, 1, 1},         {1, {10000, 10, 0x808080}, 1024, 1},
                 {5, {10000, 10, 0x808080}, 1024, 1}, {12, {10, 1000, 0x808080}, 7, 768},
                 {12, {10, 10000, 0x808080}, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "transition " << c.transition << " photo "
                                        << c.photo.width << "x" << c.photo.height);
        auto saver =
            rig::StartSaver({.transition = c.transition, .tiles = 2, .names = true, .dates = true},
                            Photos({c.photo}));
        ASSERT_TRUE(saver);
        EXPECT_EQ(saver->Loads(), c.width ? saver->Refills() : 0);
        EXPECT_EQ(saver->PrimaryShow().Strip().TileBox(0).width, c.width);
        EXPECT_EQ(saver->PrimaryShow().Strip().TileBox(0).height, c.height);
        // A few steps (each tick of a central transition animates for two seconds).
        for (int step = 0; step < (IsCentralTransition(c.transition) ? 2 : 50); ++step) {
            saver->OnStepTick();
            saver->MoveOneStep();
        }
    }
}

// A library smaller than, as large as, or just larger than the strip, its pictures prepared
// on the shows' workers as the saver does: every tile keeps changing, whatever the transition.
TEST_F(Slideshow, ASmallLibraryKeepsEveryTileChanging) {
    for (int transition : {1, 3, 11, 13, 4}) {
        for (int count : {1, 2, 3}) {
            SCOPED_TRACE(testing::Message()
                         << "transition " << transition << ", " << count << " files");
            std::vector<Photo> photos;
            for (int i = 0; i < count; ++i)
                photos.push_back({160 + 20 * i, 120, 0x203040u * (i + 1)});
            const int tiles = IsCentralTransition(transition) ? 1 : 3;
            auto saver = rig::StartSaver(
                {.transition = transition, .tiles = 3, .speed = 100, .preparesInline = false},
                Photos(photos));
            ASSERT_TRUE(saver);
            const long wanted = saver->Refills() + 3 * tiles;
            EXPECT_TRUE(WaitUntil(
                [&] {
                    saver->OnStepTick();
                    saver->MoveOneStep();
                    rig::FinishChanges(*saver);
                    return saver->Refills() >= wanted;
                },
                10000))
                << saver->Refills() << " refills";
            EXPECT_EQ(saver->Loads(), saver->Refills()) << "a refill found no picture";
        }
    }
}

// The caption burnt into the picture: a grey band at the bottom-left corner as wide as the
// whole caption, at most the picture.
TEST_F(Slideshow, CaptionBandAtTheBottomLeftCappedAtThePicture) {
    const struct {
        int width;
        bool fullWidth;
    } cases[] = {{120, true}, {1000, false}};
    for (const auto& c : cases) {
        auto saver = rig::StartSaver({.transition = 4, .tiles = 1, .names = true},
                                     Photos({{c.width, 80, 0x0000FF}}));
        ASSERT_TRUE(saver);
        const tk::Dib& picture = saver->PrimaryShow().Strip().pictures[0]->Picture();
        ASSERT_EQ(picture.Width(), c.width);
        auto at = [&](int x, int y) {
            return picture.Bits()[size_t(y) * picture.Width() + x] & 0xFFFFFF;
        };
        EXPECT_EQ(at(0, 79), 0x808080u);
        // The band and its text are grey to white; the photo is pure blue.
        auto inBand = [&](int x) { return (at(x, 79) >> 16) >= 0x70; };
        int band = 0;
        while (band < c.width && inBand(band))
            ++band;
        if (c.fullWidth) {
            EXPECT_EQ(band, c.width);
        } else {
            EXPECT_GT(band, 50);
            EXPECT_LT(band, c.width);
        }
        uint32_t top = at(c.width - 1, 0); // the photo above the band is untouched (blue)
        EXPECT_LT(top & 0xFFFF00, 0x202000u);
        EXPECT_GT(top & 0xFF, 0xE0u);
    }
}

TEST_F(Slideshow, QuittingFreesEveryTileWindowAndPicture) {
    const tk::ResourceCounts before = tk::Counts();
    {
        auto saver = rig::StartSaver({.tiles = 5, .names = true},
                                     Photos({{64, 48, 0x123456}, {48, 64, 0x654321}}));
        ASSERT_TRUE(saver);
        EXPECT_EQ(tk::Counts().windows - before.windows, 1 + 5 * 2);
        saver->EndSlideshow();
        EXPECT_TRUE(saver->PrimaryShow().Strip().panels.empty());
        EXPECT_TRUE(saver->PrimaryShow().Strip().pictures.empty());
        EXPECT_TRUE(saver->PrimaryShow().Strip().players.empty());
        EXPECT_TRUE(saver->PrimaryShow().Strip().tilePos.empty());
        EXPECT_EQ(tk::Counts().windows - before.windows, 1);
        saver->MoveOneStep(); // nothing left to move
    }
    PumpMessages();
    EXPECT_EQ(tk::Counts().windows, before.windows);
    EXPECT_EQ(tk::Counts().gdiObjects, before.gdiObjects);
}

} // namespace
