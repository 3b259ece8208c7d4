// The other run modes from outside: the preview in a host window, the single instance, the
// password change, the configuration window, and command lines that make no sense.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "tests/e2e/Harness.h"
#include "toolkit/Text.h"

namespace {
class ModesTest : public InstalledSuite {};

constexpr RECT kHostBounds = {200, 150, 352, 262}; // 152 x 112, as in the display settings
constexpr uint32_t kWhite = 0xFFFFFF;

// The leftmost column of the host that holds a pixel other than white, or nothing when the
// host shows no icon (all white) or no preview at all (not even white).
std::optional<int> IconLeftEdge() {
    const int w = kHostBounds.right - kHostBounds.left, h = kHostBounds.bottom - kHostBounds.top;
    auto pixels = ReadScreen(kHostBounds);
    if (pixels.size() != size_t(w) * h) return std::nullopt;
    int whites = 0;
    std::optional<int> left;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (pixels[size_t(y) * w + x] == kWhite)
                ++whites;
            else if (!left || x < *left)
                left = x;
        }
    if (whites < w * h / 2) return std::nullopt; // the preview has not drawn yet
    return left;
}

// Waits until the preview draws its white picture with the icon in it, and returns where.
std::optional<int> WaitForIcon(DWORD deadlineMs = kStartDeadlineMs) {
    std::optional<int> edge;
    WaitUntil([&] { return (edge = IconLeftEdge()).has_value(); }, deadlineMs);
    return edge;
}

// A preview host, top-level or (as the display settings give it) a child of a top-level
// window of the test's process, at the same place on the screen either way.
struct PreviewHost {
    std::unique_ptr<TestWindow> frame, window;
    explicit PreviewHost(bool child) {
        if (!child) {
            window = std::make_unique<TestWindow>(kHostBounds, false);
            return;
        }
        const RECT outer = {kHostBounds.left - 30, kHostBounds.top - 20, kHostBounds.right + 60,
                            kHostBounds.bottom + 40};
        frame = std::make_unique<TestWindow>(outer, false);
        RECT inside = kHostBounds;
        OffsetRect(&inside, -outer.left, -outer.top);
        window = std::make_unique<TestWindow>(inside, false, true, frame->Handle());
    }
};

// Each of these command lines starts a process that ends at once, without a window.
void ExpectEachEndsAtOnceWithoutWindow(const std::vector<std::wstring>& lines) {
    for (const std::wstring& args : lines) {
        SaverProcess process(args);
        EXPECT_TRUE(process.EndsAtOnceWithoutWindow()) << tk::ToUtf8(args);
    }
}

// The icon appears in the host, moves right to left on its middle rows and stays inside the
// host, and the preview ends once the host is hidden.
void CheckPreviewIn(TestWindow& host) {
    SaverProcess preview(L"/p " + host.DecimalHandle());
    auto first = WaitForIcon();
    ASSERT_TRUE(first.has_value()) << "no icon in the host";

    // The icon crosses right to left: within a moment it stands elsewhere.
    std::vector<int> seen = {*first};
    WaitUntil(
        [&] {
            if (auto edge = IconLeftEdge()) seen.push_back(*edge);
            return seen.size() >= 2 && seen.back() != seen.front();
        },
        kStartDeadlineMs);
    ASSERT_NE(seen.back(), seen.front()) << "the icon does not move";
    EXPECT_TRUE(preview.VisibleWindows().empty()) << "the preview opened a window of its own";

    // The icon's rows: vertically centred on H = 113, its top at 113 / 2 - 16 = 40.
    {
        const int w = kHostBounds.right - kHostBounds.left;
        auto pixels = ReadScreen(kHostBounds);
        int top = -1, bottom = -1;
        for (size_t i = 0; i < pixels.size(); ++i)
            if (pixels[i] != kWhite) {
                int y = int(i / w);
                if (top < 0) top = y;
                bottom = y;
            }
        EXPECT_GE(top, 40);
        EXPECT_LE(bottom, 40 + 31);
    }
    // Nothing beside the host: the column to its right and the row below it.
    const RECT right = {kHostBounds.right, kHostBounds.top, kHostBounds.right + 1,
                        kHostBounds.bottom + 1};
    const RECT below = {kHostBounds.left, kHostBounds.bottom, kHostBounds.right,
                        kHostBounds.bottom + 1};
    for (const RECT& beside : {right, below})
        for (uint32_t pixel : ReadScreen(beside))
            ASSERT_NE(pixel, kWhite) << "the preview drew outside its host";

    const DWORD hiddenAt = GetTickCount();
    ShowWindow(host.Handle(), SW_HIDE);
    EXPECT_EQ(preview.WaitExit(), 0u);
    printf("preview ended %lu ms after its host was hidden\n", GetTickCount() - hiddenAt);
}
} // namespace

TEST_F(ModesTest, PreviewMovesTheIconAndEndsWhenTheHostHides) {
    for (bool child : {false, true}) {
        SCOPED_TRACE(child ? "a child host" : "a top-level host");
        PreviewHost host(child);
        CheckPreviewIn(*host.window);
    }
}

TEST_F(ModesTest, PreviewEndsWhenTheHostIsDestroyed) {
    auto host = std::make_unique<TestWindow>(kHostBounds, false);
    SaverProcess preview(L"/p " + host->DecimalHandle());
    ASSERT_TRUE(WaitForIcon().has_value());
    host.reset();
    EXPECT_EQ(preview.WaitExit(), 0u);
}

TEST_F(ModesTest, PreviewWaitsForAHostThatShowsLater) {
    TestWindow host(kHostBounds, false, /*show=*/false);
    SaverProcess preview(L"/p " + host.DecimalHandle());
    Sleep(200);
    ASSERT_TRUE(preview.Running());
    ShowWindow(host.Handle(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(WaitForIcon().has_value());
    ShowWindow(host.Handle(), SW_HIDE);
    EXPECT_EQ(preview.WaitExit(), 0u);
}

TEST_F(ModesTest, BadPreviewHandlesEndWithinSeconds) {
    ExpectEachEndsAtOnceWithoutWindow({L"/p 12345678", L"/p abc", L"/p", L"/p -1", L"/P 0"});
}

TEST_F(ModesTest, ASecondInstanceEndsAtOnceWhileASaverRuns) {
    TestWindow host(kHostBounds, false);
    SaverProcess saver(L"/s");
    HWND window = saver.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(saver.WaitForCapture(window));
    ExpectEachEndsAtOnceWithoutWindow({L"/p " + host.DecimalHandle(), L"/s", L"/c", L""});
    ASSERT_TRUE(saver.Running());
    ClickButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(saver.WaitExit(), 0u);
}

TEST_F(ModesTest, ASaverEndsAtOnceWhileAPreviewRuns) {
    TestWindow host(kHostBounds, false);
    SaverProcess preview(L"/p " + host.DecimalHandle());
    ASSERT_TRUE(WaitForIcon().has_value());
    ExpectEachEndsAtOnceWithoutWindow({L"/s", L"/c"});
    EXPECT_TRUE(preview.Running());
    ShowWindow(host.Handle(), SW_HIDE);
    EXPECT_EQ(preview.WaitExit(), 0u);
}

TEST_F(ModesTest, PasswordChangeEndsWithoutAWindow) {
    TestWindow parent(kHostBounds, false);
    ExpectEachEndsAtOnceWithoutWindow({L"/a " + parent.DecimalHandle(), L"/A abc", L"-a"});
}

TEST_F(ModesTest, ConfigureOpensItsWindowWhichClosesNormally) {
    for (const wchar_t* args : {L"/c", L"/c:1234", L""}) {
        SaverProcess dialog(args);
        HWND window = dialog.WaitForWindow();
        ASSERT_NE(window, nullptr) << tk::ToUtf8(args);
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        EXPECT_STREQ(className, L"VistamurSettings");
        EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_CHILD, 0); // top-level, even with /c:1234
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(dialog.WaitExit(), 0u) << tk::ToUtf8(args);
    }
}
