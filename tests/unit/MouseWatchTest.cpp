// The mouse rule of the saver: a reference point, a 2-pixel tolerance, and the moves skipped
// after a password check.
#include <windows.h>

#include <gtest/gtest.h>

#include "saver/ExitRules.h"

namespace {
using Verdict = MouseWatch::Verdict;

class MouseWatchTest : public testing::Test {
  protected:
    void SetUp() override { MouseMoveSkip = 0; }
    void TearDown() override { MouseMoveSkip = 0; }
    MouseWatch watch;
};
} // namespace

TEST_F(MouseWatchTest, TheFirstMoveOnlyRecordsTheReference) {
    for (POINT p : {POINT{0, 0}, POINT{1023, 767}, POINT{500, 3}}) {
        watch.Reset();
        EXPECT_EQ(watch.Move(p.x, p.y), Verdict::ReferenceSet);
        EXPECT_EQ(watch.LastX(), p.x);
        EXPECT_EQ(watch.LastY(), p.y);
    }
}

TEST_F(MouseWatchTest, JitterWithinTwoPixelsNeverEnds) {
    watch.Move(100, 100);
    const POINT jitter[] = {{101, 100}, {102, 102}, {98, 98},  {100, 102}, {102, 98},
                            {99, 101},  {100, 100}, {98, 102}, {101, 99}};
    for (int round = 0; round < 20; ++round)
        for (POINT p : jitter)
            ASSERT_EQ(watch.Move(p.x, p.y), Verdict::Ignored);
    EXPECT_EQ(watch.LastX(), 100); // the reference never moved
    EXPECT_EQ(watch.LastY(), 100);
}

TEST_F(MouseWatchTest, ThreePixelsOnEitherAxisEnd) {
    const POINT away[] = {{103, 100}, {97, 100}, {100, 103}, {100, 97}, {103, 103}, {150, 40}};
    for (POINT p : away) {
        watch.Reset();
        watch.Move(100, 100);
        EXPECT_EQ(watch.Move(p.x, p.y), Verdict::Exit) << p.x << "," << p.y;
        EXPECT_EQ(watch.LastX(), p.x); // the new reference
        EXPECT_EQ(watch.LastY(), p.y);
    }
}

TEST_F(MouseWatchTest, ASlowDriftAddsUp) {
    watch.Move(100, 100);
    EXPECT_EQ(watch.Move(101, 100), Verdict::Ignored);
    EXPECT_EQ(watch.Move(102, 101), Verdict::Ignored);
    EXPECT_EQ(watch.Move(103, 101), Verdict::Exit);
    // And from the new reference again.
    EXPECT_EQ(watch.Move(104, 102), Verdict::Ignored);
    EXPECT_EQ(watch.Move(105, 103), Verdict::Ignored);
    EXPECT_EQ(watch.Move(105, 102), Verdict::Ignored);
    EXPECT_EQ(watch.Move(106, 101), Verdict::Exit);
}

TEST_F(MouseWatchTest, AfterACheckFiveMovesAreSkippedAndTheSixthUsesTheOldReference) {
    watch.Move(100, 100);
    MouseMoveSkip = kMoveSkipAfterCheck; // what a refused password leaves
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(watch.Move(100 + 50 * i, 300), Verdict::Ignored) << i;
    EXPECT_EQ(MouseMoveSkip, 0);
    EXPECT_EQ(watch.LastX(), 100);
    EXPECT_EQ(watch.Move(102, 98), Verdict::Ignored); // within 2 of the old reference
    EXPECT_EQ(watch.Move(100, 103), Verdict::Exit);
}

TEST_F(MouseWatchTest, SkippedMovesDoNotSetTheFirstReference) {
    MouseMoveSkip = 2;
    EXPECT_EQ(watch.Move(10, 10), Verdict::Ignored);
    EXPECT_EQ(watch.Move(20, 20), Verdict::Ignored);
    EXPECT_EQ(watch.Move(30, 30), Verdict::ReferenceSet);
    EXPECT_EQ(watch.LastX(), 30);
}
