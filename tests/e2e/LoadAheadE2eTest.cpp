// Big photos on a share at 5 MB/s with 20 ms per open: each takes seconds to read, and the
// strip goes on moving meanwhile; a move of the mouse during a load ends the saver.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

#include "tests/e2e/Harness.h"
#include "tests/support/Photos.h"
#include "tests/support/SlowShare.h"

namespace {

// Noise compresses badly: some 8 MB a photo, over a second and a half on the share.
bool MakeHeavyJpeg(const std::wstring& path, unsigned seed) {
    std::mt19937 noise(seed);
    return MakeJpeg(
        path, 3600, 2400, [&](int, int) { return uint32_t(noise()) & 0xFFFFFF; }, false, 95);
}

struct TileRects {
    std::vector<RECT> rects;
    bool operator==(const TileRects& o) const {
        if (rects.size() != o.rects.size()) return false;
        for (size_t i = 0; i < rects.size(); ++i)
            if (!EqualRect(&rects[i], &o.rects[i])) return false;
        return true;
    }
    bool AnyOnScreen() const {
        const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        RECT seen;
        for (const RECT& r : rects)
            if (IntersectRect(&seen, &r, &screen)) return true;
        return false;
    }
};

struct TileSearch {
    HWND window;
    TileRects found;
};

BOOL CALLBACK AddTile(HWND child, LPARAM search) {
    auto& s = *reinterpret_cast<TileSearch*>(search);
    RECT r;
    // The tiles are the window's own children (one monitor: no stage between).
    if (GetParent(child) == s.window && IsWindowVisible(child) && GetWindowRect(child, &r))
        s.found.rects.push_back(r);
    return TRUE;
}

TileRects TilesOf(HWND window) {
    TileSearch search{window, {}};
    EnumChildWindows(window, AddTile, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The longest time the saver's tiles stood still while one of them showed, watched for ms.
DWORD LongestStop(HWND window, DWORD ms) {
    TileRects last = TilesOf(window);
    DWORD lastChange = GetTickCount(), longestStop = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Sleep(2);
        const TileRects now = TilesOf(window);
        if (now == last && now.AnyOnScreen()) {
            longestStop = std::max(longestStop, GetTickCount() - lastChange);
        } else {
            lastChange = GetTickCount();
            last = now;
        }
    }
    return longestStop;
}

// A leftward strip of `tiles` tiles, a step every 10 ms, on the files of the share.
void StripOnShare(TestInstall& install, const SlowShare& share, int tiles) {
    install.SetOptions({{L"defdir", share.Folder() + L";"},
                        {L"optransition", L";1;"},
                        {L"opnbimgmax", std::to_wstring(tiles)},
                        {L"defspeed", L"25"},
                        {L"defdelay", L"1000"}});
}

// The saver's window once its first tile is in (the cursor was put at rest before it started).
HWND FirstTileIn(SaverProcess& saver) {
    HWND window = saver.WaitForWindow();
    if (!window || !saver.WaitForCapture(window)) return nullptr;
    return WaitUntil([&] { return TilesOf(window).AnyOnScreen(); }, kStartDeadlineMs) ? window
                                                                                      : nullptr;
}

// A move of the mouse, once the saver has taken the rest point as its reference; the exit code.
std::optional<DWORD> EndByAMove(SaverProcess& saver, HWND window) {
    for (int turn = 0; turn < 5; ++turn) {
        SyncWith(window);
        Sleep(20);
    }
    MoveMouseTo(kRest.x + 40, kRest.y + 40);
    return saver.WaitExit();
}

} // namespace

TEST(LoadAheadE2e, TheStripMovesWhileBigPhotosLoadFromASlowShareAndAMoveEndsTheSaver) {
    TempDir source;
    for (unsigned i = 0; i < 4; ++i)
        ASSERT_TRUE(MakeHeavyJpeg(source / (L"photo" + std::to_wstring(i) + L".jpg"), i));
    SlowShare share(source.Path(), L"photo0.jpg", "--list-ms 20 --open-ms 20 --mbps 5");
    if (!share.Mounted()) GTEST_SKIP() << kNoSlowShare;
    TestInstall install;
    StripOnShare(install, share, 3);

    ASSERT_TRUE(CursorToRest());
    SaverProcess saver(L"/s");
    HWND window = FirstTileIn(saver);
    ASSERT_NE(window, nullptr) << "no tile came";

    // Watched for as long as three more photos take to read: the strip never stands while a
    // tile shows. (Before the loads went to a worker, it stood for each whole load.)
    EXPECT_LT(LongestStop(window, 6000), 1000u) << "the strip stood while a photo loaded";

    EXPECT_EQ(EndByAMove(saver, window), 0u) << "a move during a load did not end the saver";
}

// A phone clip filmed upright, which Media Foundation plays turned, on a share that reads at
// 20 KB/s: its header is read and it is opened on the show's worker, so the strip goes
// on moving while it opens. (On the window's thread its open stood for several reads.) The share is
// slow in its reads, not its opens: under Wine the server opens every file for the program, and a
// slow open stalls every call to the server, the strip's moves included, whichever thread opens.
TEST(LoadAheadE2e, TheStripMovesWhileAClipOpensFromASlowShare) {
    TempDir source;
    ASSERT_TRUE(CopyFileW((BuildFolder() + L"test-media\\turn90.mp4").c_str(),
                          (source / L"upright.mp4").c_str(), FALSE));
    for (unsigned i = 0; i < 2; ++i)
        ASSERT_TRUE(MakeSolidJpeg(source / (L"photo" + std::to_wstring(i) + L".jpg"), 640, 480,
                                  0x306090u * (i + 1)));
    SlowShare share(source.Path(), L"upright.mp4", "--list-ms 20 --open-ms 20 --mbps 0.02");
    if (!share.Mounted()) GTEST_SKIP() << kNoSlowShare;
    TestInstall install;
    StripOnShare(install, share, 2);

    ASSERT_TRUE(CursorToRest());
    SaverProcess saver(L"/s");
    HWND window = FirstTileIn(saver);
    ASSERT_NE(window, nullptr) << "no tile came";
    // Some five files open in this time: the clip comes among them, by a refill.
    EXPECT_LT(LongestStop(window, 9000), 1000u) << "the strip stood while a clip opened";
    // Ended as a user ends it, not killed in the middle of the clip's reads from the share.
    EXPECT_EQ(EndByAMove(saver, window), 0u) << "a move did not end the saver";
}

// Photos on a share that takes 3 s for each open, six first tiles: their pictures come
// through the worker one after another, and input is heard from the first moment. (Loaded on
// the window's thread, the first tiles kept a move waiting for all six opens.)
TEST(LoadAheadE2e, AMoveDuringTheFirstFillOfASlowShareEndsTheSaver) {
    TempDir source;
    for (unsigned i = 0; i < 8; ++i)
        ASSERT_TRUE(MakeSolidJpeg(source / (L"photo" + std::to_wstring(i) + L".jpg"), 640, 480,
                                  0x203040u * (i + 1)));
    SlowShare share(source.Path(), L"photo0.jpg", "--list-ms 20 --open-ms 3000 --mbps 5");
    if (!share.Mounted()) GTEST_SKIP() << kNoSlowShare;
    TestInstall install;
    StripOnShare(install, share, 6);

    ASSERT_TRUE(CursorToRest());
    SaverProcess saver(L"/s");
    HWND window = saver.WaitForWindow();
    ASSERT_TRUE(window && saver.WaitForCapture(window));
    // Loading the six first tiles on the window's thread would hold it for some 18 s; the move
    // is heard within a fraction of that. (A second move, in case the first one only set the
    // saver's reference point.)
    Sleep(1500);
    const DWORD from = GetTickCount();
    MoveMouseTo(kRest.x + 40, kRest.y + 40);
    Sleep(300);
    MoveMouseTo(kRest.x + 80, kRest.y + 80);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 12000));
    EXPECT_LT(GetTickCount() - from, 10000u) << "input waited for the first fill";
}
