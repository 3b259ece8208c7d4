// The transitions' geometry as tables, on a 1024 x 768 saver window.
#include <gtest/gtest.h>

#include <optional>

#include "settings/Transitions.h"
#include "saver/Geometry.h"
#include "settings/Pacing.h"
#include "library/RefillTries.h"

namespace {

const Box kScreen{0, 0, 1024, 768};

struct PhaseCase {
    int transition;
    int phase;
    int start; // the refill's start coordinate
    Box entry; // PlaceTile's entry place
    Travel travel;
};

TEST(Geometry, StartCoordinateEntryPlaceAndTravelByTransitionAndPhase) {
    const PhaseCase cases[] = {
        {1, 0, 1024, {1024, 0, 1024, 768}, Travel::Leftward},
        {2, 0, -1024, {-1024, 0, 1024, 768}, Travel::Rightward},
        {3, 0, 1024, {1024, 0, 1024, 768}, Travel::Leftward},
        {3, 1, 1024, {1024, 0, 1024, 768}, Travel::Leftward},
        {3, 2, -1024, {-1024, 0, 1024, 768}, Travel::Rightward},
        {3, 3, -1024, {-1024, 0, 1024, 768}, Travel::Rightward},
        {11, 0, 768, {0, 768, 1024, 768}, Travel::Upward},
        {12, 0, -768, {0, -768, 1024, 768}, Travel::Downward},
        {13, 1, 768, {0, 768, 1024, 768}, Travel::Upward},
        {13, 2, -768, {0, -768, 1024, 768}, Travel::Downward},
        {13, 3, -768, {0, -768, 1024, 768}, Travel::Downward},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "transition " << c.transition << " phase " << c.phase);
        EXPECT_EQ(StartCoordinate(c.transition, c.phase, kScreen), c.start);
        EXPECT_EQ(EntryBox(c.transition, c.phase, kScreen), c.entry);
        EXPECT_EQ(TravelOf(c.transition, c.phase), c.travel);
    }
    for (int t = 4; t <= 10; ++t) {
        EXPECT_EQ(StartCoordinate(t, 0, kScreen), 0);
        EXPECT_EQ(EntryBox(t, 0, kScreen), (Box{0, 0, 1024, 768}));
        EXPECT_EQ(TravelOf(t, 0), Travel::Still);
    }
}

TEST(Geometry, CentralTransitionsAreFourToTen) {
    for (int n = -1; n <= 14; ++n)
        EXPECT_EQ(IsCentralTransition(n), n >= 4 && n <= 10) << n;
    // The random one (10) draws each change from the others.
    EXPECT_EQ(CentralTransitionsDrawn(), (std::vector<int>{4, 5, 6, 7, 8, 9}));
}

TEST(Geometry, InitialPlacesWaitOutsideTheEntryEdge) {
    const struct {
        int transition;
        Box box;
    } cases[] = {
        {1, {1024, 0, 1024, 768}},  {3, {1024, 0, 1024, 768}},  {2, {-1024, 0, 1024, 768}},
        {4, {-1024, 0, 1024, 768}}, {7, {-1024, 0, 1024, 768}}, {10, {-1024, 0, 1024, 768}},
        {11, {0, 768, 1024, 768}},  {13, {0, 768, 1024, 768}},  {12, {0, -768, 1024, 768}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InitialBox(c.transition, kScreen), c.box) << c.transition;
}

// Entry coordinate then SizeTile with a 300 x 200 content, for the first tile of a run (the
// previous tile is the last one, still at 0 and full-size), a later tile (the previous one
// at 1200, 500 x 400, the next one at -700) and a single tile (its own previous tile, at the
// start coordinate and full-size after PlaceTile).
TEST(Geometry, EntryCoordinateAndSizingForFirstLaterAndSingleTiles) {
    const struct {
        int transition, phase;
        int prevPos, prevW, prevH, nextPos;
        int entry;     // tilePos after PlaceTile
        int sizedPos;  // after SizeTile(300, 200)
        int left, top; // the panel after SizeTile
    } cases[] = {
        // first tile of a run
        {1, 0, 0, 1024, 768, 0, 1074, 1074, 1024, 284},
        {2, 0, 0, 1024, 768, 0, -50, -350, -1024, 284},
        {11, 0, 0, 1024, 768, 0, 818, 818, 362, 768},
        {12, 0, 0, 1024, 768, 0, -50, -250, 362, -768},
        // later tiles
        {1, 0, 1200, 500, 400, -700, 1750, 1750, 1024, 284},
        {3, 1, 1200, 500, 400, -700, 1750, 1750, 1024, 284},
        {2, 0, 1200, 500, 400, -700, 1150, 850, -1024, 284},
        {3, 2, 1200, 500, 400, -700, -750, -1050, -1024, 284},
        {11, 0, 1200, 500, 400, -700, 1650, 1650, 362, 768},
        {13, 0, 1200, 500, 400, -700, 1650, 1650, 362, 768},
        {12, 0, 1200, 500, 400, -700, 1150, 950, 362, -768},
        {13, 3, 1200, 500, 400, -700, -750, -950, 362, -768},
        // a single tile: W (or H) + 50 between the screen edge and its near side
        {1, 0, 1024, 1024, 768, 1024, 2098, 2098, 1024, 284},
        {2, 0, -1024, 1024, 768, -1024, -1074, -1374, -1024, 284},
        {11, 0, 768, 1024, 768, 768, 1586, 1586, 362, 768},
        {12, 0, -768, 1024, 768, -768, -818, -1018, 362, -768},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "transition " << c.transition << " phase " << c.phase
                                        << " previous at " << c.prevPos);
        int entry = EntryCoordinate(c.transition, c.phase, c.prevPos, c.prevW, c.prevH, c.nextPos);
        EXPECT_EQ(entry, c.entry);
        SizedTile sized =
            SizeTileBox(c.transition, c.phase, EntryBox(c.transition, c.phase, kScreen), entry, 300,
                        200, kScreen);
        EXPECT_EQ(sized.pos, c.sizedPos);
        EXPECT_EQ(sized.box, (Box{c.left, c.top, 300, 200}));
    }
}

// A picture that comes late enters late: its tile starts from beyond the entry edge however
// far the tile it follows has travelled, and one on time keeps its place behind it.
TEST(Geometry, LateEntryStartsBeyondTheEntryEdge) {
    const struct {
        int transition, phase, entry, late;
    } cases[] = {
        {1, 0, 600, 1024}, {1, 0, 1100, 1100}, // leftward: the far edge beyond the right
        {2, 0, 400, 0},    {2, 0, -60, -60},   // rightward: the near edge before the left
        {11, 0, 500, 768}, {11, 0, 800, 800},  // upward
        {12, 0, 300, 0},   {12, 0, -10, -10},  // downward
        {3, 2, 400, 0},    {13, 3, 300, 0},    // the backward phases of the alternating ones
        {4, 0, 300, 300},                      // a central tile has no entry edge
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "transition " << c.transition << " phase " << c.phase
                                        << " entry " << c.entry);
        EXPECT_EQ(LateEntryCoordinate(c.transition, c.phase, c.entry, kScreen), c.late);
    }
}

TEST(Geometry, SizeTileCentresAcrossTheTravelAndBothWaysForCentral) {
    const Box full{0, 0, 1024, 768};
    const struct {
        int transition, w, h;
        Box box;
        int pos;
    } cases[] = {
        {1, 301, 201, {0, 283, 301, 201}, 0},  // (768 - 201) div 2 = 283
        {1, 301, 768, {0, 0, 301, 768}, 0},    // as high as the screen: top stays
        {1, 301, 900, {0, 0, 301, 900}, 0},    // higher: top stays
        {11, 301, 201, {361, 0, 301, 201}, 0}, // (1024 - 301) div 2 = 361
        {11, 1024, 201, {0, 0, 1024, 201}, 0}, {4, 301, 201, {361, 283, 301, 201}, 361},
        {6, 1024, 768, {0, 0, 1024, 768}, 0},  {10, 1, 1, {511, 383, 1, 1}, 511},
        {4, 0, 0, {512, 384, 0, 0}, 512},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "transition " << c.transition << " " << c.w << "x" << c.h);
        SizedTile sized = SizeTileBox(c.transition, 0, full, 0, c.w, c.h, kScreen);
        EXPECT_EQ(sized.box, c.box);
        EXPECT_EQ(sized.pos, c.pos);
    }
}

TEST(Geometry, OneStepEachDirectionAndTheRefillAtTheExitEdge) {
    const struct {
        Travel travel;
        int pos, width, height, speed;
        TileStep step;
    } cases[] = {
        {Travel::Leftward, 100, 300, 200, 5, {false, 95}},
        {Travel::Leftward, -299, 300, 200, 5, {false, -304}},
        {Travel::Leftward, -300, 300, 200, 5, {true, -300}},
        {Travel::Rightward, 1023, 300, 200, 5, {false, 1028}},
        {Travel::Rightward, 1024, 300, 200, 5, {true, 1024}},
        {Travel::Upward, -199, 300, 200, 5, {false, -204}},
        {Travel::Upward, -200, 300, 200, 5, {true, -200}},
        {Travel::Downward, 767, 300, 200, 5, {false, 772}},
        {Travel::Downward, 768, 300, 200, 5, {true, 768}},
        {Travel::Leftward, 10, 0, 0, 1, {false, 9}}, // an empty tile goes until the edge
        {Travel::Leftward, 0, 0, 0, 1, {true, 0}},
        // a hand-edited step larger than the screen
        {Travel::Leftward, 1074, 300, 200, 10000, {false, -8926}},
    };
    for (const auto& c : cases) {
        TileStep step = StepTile(c.travel, c.pos, c.width, c.height, c.speed, kScreen);
        EXPECT_EQ(step.refill, c.step.refill) << int(c.travel) << " at " << c.pos;
        if (!c.step.refill) {
            EXPECT_EQ(step.pos, c.step.pos) << int(c.travel) << " at " << c.pos;
        }
    }
    EXPECT_EQ(MovedBox(Travel::Leftward, {5, 6, 7, 8}, -3), (Box{-3, 6, 7, 8}));
    EXPECT_EQ(MovedBox(Travel::Downward, {5, 6, 7, 8}, 40), (Box{5, 40, 7, 8}));
}

TEST(Geometry, TheStepThatFindsATileGoneRefillsItWithoutMovingIt) {
    // 20 px wide at 10, speed 7: 3, -4, -11, -18, -25; the next step finds it gone.
    int pos = 10, steps = 0;
    for (;;) {
        TileStep step = StepTile(Travel::Leftward, pos, 20, 10, 7, kScreen);
        if (step.refill) break;
        pos = step.pos;
        ++steps;
    }
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(pos, -25);
}

// The refills of a run: the phase after the k-th refill is k mod 4 for the alternating
// transitions, and currentTile runs down while the phase is 2 or 3.
TEST(Geometry, AltPhaseSequenceWithCurTileRunningDownInPhasesTwoAndThree) {
    const struct {
        int transition;
        int phases[8];
        int filled[8]; // the tile each refill fills
    } cases[] = {
        {3, {1, 2, 3, 0, 1, 2, 3, 0}, {0, 1, 0, 3, 0, 1, 0, 3}},
        {13, {1, 2, 3, 0, 1, 2, 3, 0}, {0, 1, 0, 3, 0, 1, 0, 3}},
        {1, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 0, 1, 2, 3}},
        {12, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 0, 1, 2, 3}},
    };
    for (const auto& c : cases) {
        int phase = 0, cur = 0;
        for (int k = 0; k < 8; ++k) {
            phase = NextAlternationPhase(c.transition, phase);
            EXPECT_EQ(phase, c.phases[k]) << "transition " << c.transition << " refill " << k + 1;
            EXPECT_EQ(cur, c.filled[k]) << "transition " << c.transition << " refill " << k + 1;
            cur = NextCurrentTile(cur, 4, phase);
        }
    }
    EXPECT_EQ(NextCurrentTile(0, 1, 2), 0);
    EXPECT_EQ(NextCurrentTile(0, 1, 0), 0);
    EXPECT_EQ(PreviousTile(0, 4), 3);
    EXPECT_EQ(NextTile(3, 4), 0);
    EXPECT_EQ(PreviousTile(0, 1), 0);
}

// Frames of a 301 x 201 tile at (361, 283): the first, the middle and the last frame of each
// animation. Halves go to the even neighbour: 150.5 -> 150, 100.5 -> 100, 692.5 -> 692,
// 525.5 -> 526.
TEST(Geometry, AnimationFramesFirstMiddleLast) {
    const Box tile{361, 283, 301, 201};
    const struct {
        int transition;
        bool entering;
        int k;
        Box frame;
    } cases[] = {
        {5, false, 100, {361, 283, 301, 201}}, {5, false, 50, {361, 283, 150, 100}},
        {5, false, 0, {361, 283, 0, 0}},       {5, true, 0, {361, 283, 0, 0}},
        {5, true, 50, {361, 283, 150, 100}},   {5, true, 100, {361, 283, 301, 201}},
        {6, false, 100, {361, 283, 301, 201}}, {6, false, 50, {30, 283, 301, 201}},
        {6, false, 0, {-301, 283, 301, 201}},  {6, true, 0, {1024, 283, 301, 201}},
        {6, true, 50, {692, 283, 301, 201}},   {6, true, 100, {361, 283, 301, 201}},
        {7, false, 50, {692, 283, 301, 201}},  {7, false, 0, {1024, 283, 301, 201}},
        {7, true, 0, {-301, 283, 301, 201}},   {7, true, 50, {30, 283, 301, 201}},
        {8, false, 50, {361, 41, 301, 201}},   {8, false, 0, {361, -201, 301, 201}},
        {8, true, 0, {361, 768, 301, 201}},    {8, true, 50, {361, 526, 301, 201}},
        {9, false, 50, {361, 526, 301, 201}},  {9, false, 0, {361, 768, 301, 201}},
        {9, true, 0, {361, -201, 301, 201}},   {9, true, 50, {361, 41, 301, 201}},
        {9, true, 100, {361, 283, 301, 201}},
    };
    for (const auto& c : cases) {
        Box frame = c.entering ? EnterFrame(c.transition, c.k, tile, kScreen)
                               : LeaveFrame(c.transition, c.k, tile, kScreen);
        EXPECT_EQ(frame, c.frame) << "transition " << c.transition
                                  << (c.entering ? " entering" : " leaving") << " k " << c.k;
    }
    // One rounding of the whole sum: 3·1/100 + 1024·99/100 = 0.03 + 1013.76 = 1013.79.
    EXPECT_EQ(EnterFrame(6, 1, {3, 0, 10, 10}, kScreen).left, 1014);
    // 1·50/100 = 0.5 -> 0 and 3·50/100 = 1.5 -> 2.
    EXPECT_EQ(LeaveFrame(5, 50, {0, 0, 1, 3}, kScreen), (Box{0, 0, 0, 2}));
}

// The frame a step draws: the next in order once its time has come, never one skipped, none
// after the last.
TEST(Geometry, AnimationStepDrawsTheNextFrameOnceItIsDue) {
    const struct {
        int lastDrawn;
        unsigned elapsedMs;
        int drawn; // -1: none
    } cases[] = {
        {-1, 0, 0},    {0, 9, -1},      {0, 10, 1},    {1, 19, -1},
        {49, 500, 50}, {50, 500, -1},   {3, 900, 4},   {99, 1000, 100},
        {99, 999, -1}, {100, 5000, -1}, {-1, 5000, 0}, {0, 4294967295u, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrameToDraw(c.lastDrawn, c.elapsedMs), c.drawn)
            << "after frame " << c.lastDrawn << ", " << c.elapsedMs << " ms in";
}

TEST(Geometry, TimerIntervalRounding) {
    const struct {
        int transition, pause, delay;
        std::optional<unsigned> interval;
    } cases[] = {
        {1, 30, 990, 10u},     {1, 30, 800, 12u},       {1, 30, 160, 62u},
        {1, 30, 32, 312u},     {11, 30, 1, 10000u},     {3, 30, 1000, std::nullopt},
        {4, 30, 1000, 30000u}, {10, 300, 990, 300000u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepTimerInterval(c.transition, c.pause, c.delay), c.interval)
            << "transition " << c.transition << " delay " << c.delay;
}

// Without the seen-file memory the bound is never reached before the catalogue is empty;
// with it, one whole pass without a success ends the refill.
TEST(RefillTries, GiveUpAfterOneWholePass) {
    // Begun in the middle of a pass: what is left of it, then the whole next pass.
    RefillTries tries(3, false);
    EXPECT_TRUE(tries.FailedMayRetry());
    EXPECT_TRUE(tries.FailedMayRetry());
    tries.NewPass(4);
    tries.NewPass(4); // a second pass adds nothing
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(tries.FailedMayRetry()) << i;
    EXPECT_FALSE(tries.FailedMayRetry());
    EXPECT_EQ(tries.Failures(), 7u);

    // Begun with a pass: that pass is whole, and the next adds nothing.
    RefillTries whole(3, true);
    EXPECT_TRUE(whole.FailedMayRetry());
    EXPECT_TRUE(whole.FailedMayRetry());
    whole.NewPass(3);
    EXPECT_FALSE(whole.FailedMayRetry());

    RefillTries single(1, false);
    EXPECT_FALSE(single.FailedMayRetry());
}

} // namespace
