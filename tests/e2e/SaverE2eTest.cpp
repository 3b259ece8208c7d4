// The full-screen saver (/s) from outside: it covers the screen, ends on input, ignores
// jitter, and asks the password module when the user wants a password.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "tests/e2e/Harness.h"

namespace {
class SaverTest : public InstalledSuite {
  protected:
    void SetUp() override {
        ASSERT_TRUE(CursorToRest());
        // A white window under the saver shows when the saver's black really covers it.
        backdrop = std::make_unique<TestWindow>(ScreenRect(), true);
        ASSERT_TRUE(WaitUntil([] { return !ScreenCovered(); }, kStartDeadlineMs));
    }
    void TearDown() override { backdrop.reset(); }

    static RECT ScreenRect() {
        return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    // The four corners and the top middle of the screen are black.
    static bool ScreenCovered() {
        const RECT r = ScreenRect();
        const POINT spots[] = {{0, 0},
                               {r.right - 1, 0},
                               {0, r.bottom - 1},
                               {r.right - 1, r.bottom - 1},
                               {r.right / 2, 2}};
        for (POINT p : spots)
            if (ScreenPixel(p.x, p.y) != 0) return false;
        return true;
    }

    // Starts /s and waits until it reacts to input with its reference point at rest. The
    // window gets one synthetic move at the cursor when it appears under it, and that move
    // comes from the display: the saver turns it into a message when it finds its queue
    // empty after its window has shown on the screen. A few turns of its loop then leave
    // the rest point as its reference, before any move of the test.
    HWND StartSaver(SaverProcess& saver) {
        EXPECT_TRUE(saver.Started());
        HWND window = saver.WaitForWindow();
        EXPECT_NE(window, nullptr) << "no saver window";
        if (!window) return nullptr;
        EXPECT_TRUE(saver.WaitForCapture(window)) << "the saver did not capture the mouse";
        EXPECT_TRUE(WaitUntil(ScreenCovered, kStartDeadlineMs)) << "the white backdrop shows";
        for (int turn = 0; turn < 5; ++turn) {
            SyncWith(window);
            Sleep(20);
        }
        return window;
    }

    // Moves to rest + (dx, dy) and waits until the saver has seen the move.
    static void MoveBy(HWND window, int dx, int dy) {
        MoveMouseTo(kRest.x + dx, kRest.y + dy);
        SyncWith(window);
    }

    std::unique_ptr<TestWindow> backdrop;
};
} // namespace

TEST_F(SaverTest, CoversTheScreenTopmostAndEndsOnAKey) {
    SaverProcess saver(L"/s");
    HWND window = StartSaver(saver); // which waits until the backdrop is covered
    ASSERT_NE(window, nullptr);
    RECT r;
    GetWindowRect(window, &r);
    const RECT screen = ScreenRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, screen.right);
    EXPECT_EQ(r.bottom, screen.bottom);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());

    PressKey(VK_SHIFT); // a shift key alone is a key too
    EXPECT_EQ(saver.WaitExit(), 0u);
}

TEST_F(SaverTest, EndsOnAnyButtonOrALetterKey) {
    const struct {
        DWORD down, up; // a button, or
        WORD key;       // a key
        const char* name;
    } inputs[] = {
        {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0, "left"},
        {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0, "right"},
        {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0, "middle"},
        {MOUSEEVENTF_WHEEL, 0, 0, "a turn of the wheel"},
        {0, 0, 'A', "the letter A"},
    };
    for (const auto& input : inputs) {
        SaverProcess saver(L"/s");
        ASSERT_NE(StartSaver(saver), nullptr) << input.name;
        if (input.key)
            PressKey(input.key);
        else
            ClickButton(input.down, input.up);
        EXPECT_EQ(saver.WaitExit(), 0u) << input.name;
    }
}

// While one picture stands, the loop waits for its next message instead of spinning: the
// saver's process uses next to no CPU (the bound is generous, the machine is shared), and
// a key still ends it at once.
TEST_F(SaverTest, AStandingPictureLeavesTheProcessIdleAndAKeyStillEndsIt) {
    SaverProcess saver(L"/s");
    ASSERT_NE(StartSaver(saver), nullptr);
    Sleep(500);
    const double cpu0 = saver.CpuSeconds();
    const DWORD t0 = GetTickCount();
    Sleep(3000);
    const double seconds = (GetTickCount() - t0) / 1000.0;
    const double perSecond = (saver.CpuSeconds() - cpu0) / seconds;
    printf("saver CPU while a picture stands: %.3f s per s\n", perSecond);
    EXPECT_LT(perSecond, 0.1);
    PressKey('A');
    EXPECT_EQ(saver.WaitExit(), 0u);
}

// Moving strips wake at their timer's pace or turn without waiting; input ends them all.
TEST_F(SaverTest, AKeyEndsMovingAndAnimatedShowsToo) {
    const TestInstall::Options shows[] = {
        {{L"optransition", L";1;"}, {L"defdelay", L"990"}},
        {{L"optransition", L";11;"}, {L"defdelay", L"1000"}},
        {{L"optransition", L";6;"}, {L"defpause", L"1"}},
    };
    for (const auto& options : shows) {
        install->SetOptions(options);
        SaverProcess saver(L"/s");
        if (!StartSaver(saver)) continue; // reported there
        PressKey(VK_SPACE);
        EXPECT_EQ(saver.WaitExit(), 0u) << options[0].second;
    }
    install->SetOptions({});
}

TEST_F(SaverTest, TwoPixelJitterGoesOnAndThreePixelsEnd) {
    SaverProcess saver(L"/s");
    HWND window = StartSaver(saver);
    ASSERT_NE(window, nullptr);
    const POINT jitter[] = {{1, 0}, {2, 2}, {-2, -2}, {0, 2}, {2, -2}, {-1, 1}, {0, 0}, {-2, 2}};
    for (int round = 0; round < 3; ++round)
        for (POINT d : jitter) {
            MoveBy(window, d.x, d.y);
            ASSERT_TRUE(saver.Running()) << "ended on a move by " << d.x << "," << d.y;
        }
    EXPECT_FALSE(saver.WaitExit(300).has_value());

    MoveBy(window, 3, 0);
    EXPECT_EQ(saver.WaitExit(), 0u);
}

TEST_F(SaverTest, ASlowDriftEndsOnceItIsThreePixelsAway) {
    SaverProcess saver(L"/s");
    HWND window = StartSaver(saver);
    ASSERT_NE(window, nullptr);
    MoveBy(window, 0, 1);
    MoveBy(window, 0, 2);
    ASSERT_FALSE(saver.WaitExit(300).has_value()) << "ended within 2 pixels";
    MoveBy(window, 1, 3);
    EXPECT_EQ(saver.WaitExit(), 0u);
}

TEST_F(SaverTest, ARefusedPasswordKeepsTheSaverAndSkipsFiveMoves) {
    TestPassword password;
    ASSERT_TRUE(password.Installed());
    SaverProcess saver(L"/s");
    HWND window = StartSaver(saver);
    ASSERT_NE(window, nullptr);

    PressKey('A');
    ASSERT_TRUE(
        WaitUntil([&] { return password.Calls() == 1 || !saver.Running(); }, kExitDeadlineMs));
    ASSERT_EQ(password.Calls(), 1);
    SyncWith(window);
    ASSERT_TRUE(saver.Running()) << "a refused password ended the saver";

    // Five moves far from the reference are ignored ...
    for (int i = 1; i <= 5; ++i) {
        MoveBy(window, 40 * i, 0);
        ASSERT_EQ(password.Calls(), 1) << "move " << i << " was not skipped";
        ASSERT_TRUE(saver.Running());
    }
    // ... and the sixth is compared with the old reference point: within 2 pixels of it,
    // nothing; 3 pixels away, the check again.
    MoveBy(window, 2, 2);
    EXPECT_EQ(password.Calls(), 1);
    MoveBy(window, 0, -3);
    ASSERT_TRUE(WaitUntil([&] { return password.Calls() == 2; }, kExitDeadlineMs));
    SyncWith(window);
    EXPECT_TRUE(saver.Running());

    password.Answer(true);
    ClickButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(saver.WaitExit(), 0u);
    EXPECT_EQ(password.Calls(), 3);
}

TEST_F(SaverTest, AnAcceptedPasswordEndsTheSaverAtOnce) {
    TestPassword password;
    ASSERT_TRUE(password.Installed());
    password.Answer(true);
    SaverProcess saver(L"/s");
    ASSERT_NE(StartSaver(saver), nullptr);
    PressKey(VK_SPACE);
    EXPECT_EQ(saver.WaitExit(), 0u);
    EXPECT_EQ(password.Calls(), 1);
}

TEST_F(SaverTest, ValuesTheDialogNeverWritesStillGiveARunningSaver) {
    // A folder list longer than the first buffer it is read into (2047 characters), made of
    // the photo folder again and again: it is read whole, every entry a real folder.
    std::wstring list;
    while (list.size() <= 4096)
        list += install->PhotoFolder() + L";";

    TestInstall bad;
    bad.SetOptions({{L"defdir", list},
                    {L"defspeed", L"999999999"},
                    {L"defdelay", L"0"},
                    {L"defpause", L"-5"},
                    {L"opnbimgmax", L"2147483647"},
                    {L"opagrfilm", L"50"},
                    {L"optransition", L";0;14;abc;;-3;"}});
    SaverProcess saver(L"/s");
    HWND window = StartSaver(saver);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(saver.WaitExit(1000).has_value());
    const size_t bytes = saver.PrivateBytes();
    EXPECT_GT(bytes, 0u);
    EXPECT_LT(bytes, size_t(512) << 20) << "tiles and pictures within bounds take far less";
    printf("saver private bytes with the bad values: %u KiB\n", unsigned(bytes >> 10));
    ClickButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(saver.WaitExit(), 0u);
}

TEST_F(SaverTest, AnotherProgramMayAskTheSaverToEndThroughTheSamePasswordCheck) {
    constexpr UINT kExitRequest = WM_USER + 2; // 1026
    TestPassword password;
    ASSERT_TRUE(password.Installed());
    SaverProcess saver(L"/s");
    HWND window = StartSaver(saver);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, kExitRequest, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return password.Calls() == 1; }, kExitDeadlineMs));
    SyncWith(window);
    EXPECT_TRUE(saver.Running()) << "refused, yet ended";
    password.Answer(true);
    PostMessageW(window, kExitRequest, 0, 0);
    EXPECT_EQ(saver.WaitExit(), 0u);
}
