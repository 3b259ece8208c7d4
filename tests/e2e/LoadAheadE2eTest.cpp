// Big photos on a share at 5 MB/s with 20 ms per open: each takes seconds to read, and the
// strip goes on moving meanwhile; a move of the mouse during a load ends the saver.
#include <gtest/gtest.h>

#include <algorithm>
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

} // namespace

TEST(LoadAheadE2e, TheStripMovesWhileBigPhotosLoadFromASlowShareAndAMoveEndsTheSaver) {
    TempDir source;
    for (unsigned i = 0; i < 4; ++i)
        ASSERT_TRUE(MakeHeavyJpeg(source / (L"photo" + std::to_wstring(i) + L".jpg"), i));
    SlowShare share(source.Path(), L"photo0.jpg", "--list-ms 20 --open-ms 20 --mbps 5");
    if (!share.Mounted()) GTEST_SKIP() << kNoSlowShare;
    TestInstall install;
    install.SetOptions({{L"defdir", share.Folder() + L";"},
                        {L"optransition", L";1;"},
                        {L"opnbimgmax", L"3"},
                        {L"defspeed", L"25"},
                        {L"defdelay", L"1000"}});

    ASSERT_TRUE(CursorToRest());
    SaverProcess saver(L"/s");
    HWND window = saver.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(saver.WaitForCapture(window));
    ASSERT_TRUE(WaitUntil([&] { return TilesOf(window).AnyOnScreen(); }, kStartDeadlineMs))
        << "no tile came";

    // Watched for as long as three more photos take to read: the strip never stands while a
    // tile shows. (Before the loads went to a worker, it stood for each whole load.)
    TileRects last = TilesOf(window);
    DWORD lastChange = GetTickCount(), longestStop = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 6000) {
        Sleep(2);
        const TileRects now = TilesOf(window);
        if (now == last && now.AnyOnScreen()) {
            longestStop = std::max(longestStop, GetTickCount() - lastChange);
        } else {
            lastChange = GetTickCount();
            last = now;
        }
    }
    EXPECT_LT(longestStop, 1000u) << "the strip stood while a photo loaded";

    for (int turn = 0; turn < 5; ++turn) { // the saver's reference point is the rest point
        SyncWith(window);
        Sleep(20);
    }
    MoveMouseTo(kRest.x + 40, kRest.y + 40);
    EXPECT_EQ(saver.WaitExit(), 0u) << "a move during a load did not end the saver";
}
