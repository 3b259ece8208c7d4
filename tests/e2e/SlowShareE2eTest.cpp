// The scan behind the show, on a share that takes a second for each folder listing: the first
// picture comes long before the scan could have ended, and a move of the mouse during the scan
// ends the saver without waiting for the listing under way.
#include <gtest/gtest.h>

#include "tests/e2e/Harness.h"
#include "tests/support/Photos.h"
#include "tests/support/SlowShare.h"

constexpr int kFolders = 30;
constexpr DWORD kListingMs = 1000;
constexpr DWORD kScanAtLeastMs = (kFolders + 1) * kListingMs; // the root and each folder listed

TEST(SlowShare, TheFirstPictureComesWhileTheScanGoesOnAndAMoveEndsTheSaver) {
    TempDir source;
    ASSERT_TRUE(MakeSolidJpeg(source / L"first.jpg", 320, 240, 0xFF0000));
    for (int i = 0; i < kFolders; ++i) {
        const std::wstring folder = source / (L"album " + std::to_wstring(i));
        MakeFolder(folder);
        ASSERT_TRUE(MakeSolidJpeg(folder + L"\\photo.jpg", 320, 240, 0xFF0000));
    }
    SlowShare share(source.Path(), L"first.jpg",
                    "--list-ms " + std::to_string(kListingMs) + " --open-ms 20 --mbps 5");
    if (!share.Mounted()) GTEST_SKIP() << kNoSlowShare;
    TestInstall install;
    install.SetOptions({{L"defdir", share.Folder() + L";"}});

    ASSERT_TRUE(CursorToRest());
    const DWORD start = GetTickCount();
    SaverProcess saver(L"/s");
    HWND window = saver.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(saver.WaitForCapture(window));
    const int cx = GetSystemMetrics(SM_CXSCREEN) / 2, cy = GetSystemMetrics(SM_CYSCREEN) / 2;
    ASSERT_TRUE(
        WaitUntil([&] { return (ScreenPixel(cx, cy) & 0xF0F0F0) == 0xF00000; }, kStartDeadlineMs))
        << "no picture";
    EXPECT_LT(GetTickCount() - start, kScanAtLeastMs) << "the show waited for the scan";

    for (int turn = 0; turn < 5; ++turn) { // the saver's reference point is the rest point
        SyncWith(window);
        Sleep(20);
    }
    MoveMouseTo(kRest.x + 40, kRest.y + 40);
    EXPECT_EQ(saver.WaitExit(), 0u);
    EXPECT_LT(GetTickCount() - start, kScanAtLeastMs) << "the close waited for the scan";
}
