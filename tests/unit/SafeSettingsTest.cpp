// Hand-edited configuration files: the saver brings every number into a range it can run
// with, and keeps only the transitions it knows.
#include <gtest/gtest.h>

#include "settings/Transitions.h"
#include "settings/Pacing.h"
#include "settings/SafeSettings.h"
#include "toolkit/Text.h"

TEST(ClampForSaver, BringsEveryNumberIntoItsRange) {
    int SettingsRecord::*const numbers[] = {
        &SettingsRecord::stepPixels, &SettingsRecord::stepsPerTenSeconds,
        &SettingsRecord::displaySeconds, &SettingsRecord::maxTiles, &SettingsRecord::clipMaxGrowth};
    const char* names[] = {"speed", "delay", "pause", "tiles", "grow"};
    struct Case {
        int read[5], clamped[5]; // speed, delay, pause, tiles and grow
    } cases[] = {
        {{1, 990, 30, 6, 1}, {1, 990, 30, 6, 1}}, // the initial values stay
        {{10, 1000, 60, 20, 9}, {10, 1000, 60, 20, 9}},
        {{0, 0, 0, 0, 0}, {1, 1, 1, 1, 1}},
        {{-5, -1, -30, -3, -2}, {1, 1, 1, 1, 1}},
        {{INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN}, {1, 1, 1, 1, 1}},
        {{20000, 5000, 100000, 1000000, 10}, {10000, 1000, 86400, 20, 9}},
        {{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, {10000, 1000, 86400, 20, 9}},
    };
    for (const Case& c : cases) {
        SettingsRecord s;
        for (int i = 0; i < 5; ++i)
            s.*numbers[i] = c.read[i];
        ClampForSaver(s);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(s.*numbers[i], c.clamped[i]) << names[i] << " " << c.read[i];
    }
}

TEST(UsableTransitions, KnownNumbersOnlyAndAllWhenNone) {
    using V = std::vector<int>;
    const V all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    struct Case {
        std::wstring stored;
        V usable;
    } cases[] = {
        {L";1;2;3;4;5;6;7;8;9;10;11;12;13;", all},
        {L";2;5;", {2, 5}},
        {L";13;", {13}},
        {L"4", {4}},        // without its semicolons
        {L"4;5", {4, 5}},   // hand-edited: the leading separator is optional
        {L";4;5;", {4, 5}}, // as the dialog writes it
        {L"x", all},
        {L";4;4;", {4, 4}}, // a number written twice is played twice as often
        {L";5;x;13;99;0;-1;", {5, 13}},
        {L";0;14;abc;;", all},
        {L"", all},
        {L";;;", all},
        {L"garbage", all},
        {L";-4;1e3;2.0; 3;", all},
        {std::wstring(2047, L';'), all},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UsableTransitions(c.stored), c.usable) << tk::ToUtf8(c.stored.substr(0, 40));

    // A 2047-character list of ones: every piece is known, none is lost.
    std::wstring ones;
    while (ones.size() + 2 <= 2047)
        ones += L";1";
    EXPECT_EQ(UsableTransitions(ones), V(ones.size() / 2, 1));
}

TEST(StepTimerInterval, DisplayTimeOrScrollingPace) {
    struct Case {
        int transition, displaySeconds, stepsPerTenSeconds;
        std::optional<unsigned> ms;
    } cases[] = {
        {1, 30, 990, 10u}, // 10.10 -> 10
        {1, 30, 800, 12u}, // 12.5, a half: to the even 12
        {2, 30, 400, 25u},
        {3, 30, 32, 312u},  // 312.5 -> 312
        {11, 30, 96, 104u}, // 104.17 -> 104
        {12, 30, 3, 3333u},
        {13, 30, 1, 10000u},         // the slowest pace
        {1, 30, 1000, std::nullopt}, // as fast as the loop turns
        {11, 30, 1000, std::nullopt},
        {4, 30, 990, 30000u}, // central: the display time, whatever stepsPerTenSeconds is
        {10, 2, 1000, 2000u},
        {7, 86400, 1, 86400000u},
        {1, 30, 0, 10000u}, // only a hand-edited file holds these; the saver clamps first
        {1, 30, -50, 10000u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepTimerInterval(c.transition, c.displaySeconds, c.stepsPerTenSeconds), c.ms)
            << c.transition << " " << c.displaySeconds << " " << c.stepsPerTenSeconds;
}

// The loop is woken for a step only when the step has work: a tick is due, or the strip runs
// at full speed (no timer); a central transition or a paced strip without a tick waits.
TEST(StepMoves, OnATickOrAtEveryTurnAtFullSpeed) {
    struct Case {
        bool due;
        int transition, stepsPerTenSeconds;
        bool moves;
    } cases[] = {
        {false, 1, 990, false}, {true, 1, 990, true},    {false, 11, 800, false},
        {false, 1, 1000, true}, {false, 13, 1000, true}, {false, 4, 1000, false},
        {true, 4, 1000, true},  {false, 10, 990, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepMoves(c.due, c.transition, c.stepsPerTenSeconds), c.moves)
            << c.due << " " << c.transition << " " << c.stepsPerTenSeconds;
}

// Between steps the loop wakes to look at the clips only for a looping clip, and only when
// the steps themselves come further apart than the watch.
TEST(ClipWatchWanted, ALoopingClipBetweenStepsFurtherApartThanTheWatch) {
    struct Case {
        bool loop, open;
        unsigned gap;
        bool wanted;
    } cases[] = {
        {true, true, 30000, true},         {true, true, kClipWatchMs + 1, true},
        {true, true, kClipWatchMs, false}, {true, true, 0, false}, // a step at every turn
        {false, true, 30000, false},       {true, false, 30000, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClipWatchWanted(c.loop, c.open, c.gap), c.wanted)
            << c.loop << " " << c.open << " " << c.gap;
}
