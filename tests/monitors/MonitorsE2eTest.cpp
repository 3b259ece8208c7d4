// The built saver on two monitors (scripts/monitors-check sets them up in turn: equal, unequal,
// and one left of the primary): the window covers both, each monitor has its own show, the
// two never show the same file at once, and a real pointer move over the second monitor ends
// the saver while a smaller one does not.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "settings/Settings.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/Photos.h"
#include "tests/support/Rig.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tree.h"
#include "toolkit/Handles.h"

namespace {

struct Arrangement {
    const char* name;
    RECT primary, second; // in virtual-screen coordinates
};

const Arrangement kArrangements[] = {
    {"equal", {0, 0, 1024, 768}, {1024, 0, 2048, 768}},
    {"unequal", {0, 0, 1024, 768}, {1024, 0, 2304, 1024}},
    {"left", {0, 0, 1024, 768}, {-1280, 0, 0, 1024}},
};

const Arrangement* Current() {
    const char* name = std::getenv("VISTAMUR_MONITORS");
    for (const auto& a : kArrangements)
        if (name && std::string(name) == a.name) return &a;
    return nullptr;
}

RECT VirtualRect() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// A real X pointer move, to a point in virtual-screen coordinates: X counts from the
// virtual screen's top-left corner.
bool XPointerTo(int x, int y) {
    const RECT v = VirtualRect();
    if (!StartUnix("Z:\\usr\\bin\\xdotool mousemove " + std::to_string(x - v.left) + " " +
                   std::to_string(y - v.top)))
        return false;
    // The move reaches Wine's queue a little after xdotool has ended.
    return WaitUntil(
        [&] {
            POINT at;
            return GetCursorPos(&at) && at.x == x && at.y == y;
        },
        3000);
}

// The photo colour a monitor shows (red, green or blue, the JPEG's rounding aside) and where.
struct Seen {
    char colour = 0; // 'r', 'g', 'b', or 0 for none
    RECT box = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    bool white = false; // something of the white "desktop" behind the saver
};

Seen Look(const std::vector<uint32_t>& screen, const RECT& monitor) {
    Seen seen;
    const RECT v = VirtualRect();
    const int w = monitor.right - monitor.left, stride = v.right - v.left;
    for (size_t i = 0; i < size_t(w) * (monitor.bottom - monitor.top) && !screen.empty(); ++i) {
        const uint32_t p = screen[size_t(monitor.top - v.top + int(i / w)) * stride +
                                  (monitor.left - v.left) + int(i % w)];
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (r > 240 && g > 240 && b > 240) seen.white = true;
        const char c = r > 200 && g < 60 && b < 60   ? 'r'
                       : g > 200 && r < 60 && b < 60 ? 'g'
                       : b > 200 && r < 60 && g < 60 ? 'b'
                                                     : 0;
        if (!c) continue;
        if (seen.colour && seen.colour != c)
            seen.colour = '2';
        else if (!seen.colour)
            seen.colour = c;
        const int x = monitor.left + int(i % w), y = monitor.top + int(i / w);
        seen.box = {std::min<LONG>(seen.box.left, x), std::min<LONG>(seen.box.top, y),
                    std::max<LONG>(seen.box.right, x + 1), std::max<LONG>(seen.box.bottom, y + 1)};
    }
    return seen;
}

class TwoMonitors : public testing::Test {
  protected:
    void SetUp() override {
        arrangement = Current();
        ASSERT_TRUE(arrangement) << "run by scripts/monitors-check, which names the arrangement";
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "the display has not two monitors";
        ASSERT_TRUE(MakeSolidJpeg(photos / L"red.jpg", 300, 200, 0xFF0000));
        ASSERT_TRUE(MakeSolidJpeg(photos / L"green.jpg", 200, 300, 0x00FF00));
        // A third: the monitors keep their files apart only while the library holds more
        // files than their tiles (with two, both would stand still on their own photo).
        ASSERT_TRUE(MakeSolidJpeg(photos / L"blue.jpg", 250, 250, 0x0000FF));
        // The "desktop": a white window over both monitors, which the saver must hide.
        const RECT v = VirtualRect();
        desktop_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | SS_WHITERECT, v.left,
                                   v.top, v.right - v.left, v.bottom - v.top, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        PumpFor(200);
    }
    void TearDown() override {
        if (desktop_) DestroyWindow(desktop_);
    }

    const Arrangement* arrangement = nullptr;
    TempDir install, photos;
    HWND desktop_ = nullptr;
};

TEST_F(TwoMonitors, EachMonitorShowsItsOwnCentredTileAndAMoveThereEndsTheSaver) {
    const RECT& a = arrangement->primary;
    const RECT& b = arrangement->second;
    for (const RECT* m : {&a, &b}) { // the display is the one the arrangement names
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        const POINT centre = {(m->left + m->right) / 2, (m->top + m->bottom) / 2};
        ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(centre, MONITOR_DEFAULTTONULL), &info));
        ASSERT_TRUE(EqualRect(&info.rcMonitor, m)) << "monitor at " << m->left << "," << m->top;
    }
    InstallFolder folder(install.Path());
    WriteConfiguration(install.Path(), {{L"defdir", photos.Path()},
                                        {L"optransition", L";4;"},
                                        {L"opnbimgmax", L"2"},
                                        {L"defpause", L"1"},
                                        {L"opmemfiles", L"0"}});
    // The pointer rests on the second monitor from the start.
    const int px = (b.left + b.right) / 2, py = (b.top + b.bottom) / 2;
    ASSERT_TRUE(XPointerTo(px, py));

    SaverProcess saver(L"/s");
    ASSERT_TRUE(saver.Started());
    HWND window = saver.WaitForWindow();
    ASSERT_TRUE(window);
    ASSERT_TRUE(saver.WaitForCapture(window));
    RECT covered;
    GetWindowRect(window, &covered);
    const RECT v = VirtualRect();
    EXPECT_TRUE(EqualRect(&covered, &v))
        << "the saver covers " << covered.left << "," << covered.top << " to " << covered.right
        << "," << covered.bottom;

    int bothShown = 0;
    for (int shot = 0; shot < 6; ++shot) {
        Sleep(200);
        const std::vector<uint32_t> screen = ReadScreen(VirtualRect());
        ASSERT_FALSE(screen.empty()) << "the screen could not be read";
        const Seen onA = Look(screen, a), onB = Look(screen, b);
        EXPECT_FALSE(onA.white || onB.white) << "the desktop shows, shot " << shot;
        for (const auto& [seen, monitor] : {std::pair{onA, a}, std::pair{onB, b}}) {
            if (!seen.colour) continue;
            EXPECT_NE(seen.colour, '2') << "one tile per monitor, shot " << shot;
            const int w = seen.box.right - seen.box.left, h = seen.box.bottom - seen.box.top;
            const int mw = monitor.right - monitor.left, mh = monitor.bottom - monitor.top;
            EXPECT_EQ(seen.box.left - monitor.left, (mw - w) / 2)
                << "centred on the monitor at " << monitor.left << ": " << seen.box.left << ","
                << seen.box.top << " to " << seen.box.right << "," << seen.box.bottom;
            EXPECT_EQ(seen.box.top - monitor.top, (mh - h) / 2) << "centred on its monitor";
        }
        if (onA.colour && onB.colour) {
            ++bothShown;
            EXPECT_NE(onA.colour, onB.colour)
                << "a file is on one monitor at a time, shot " << shot;
        }
    }
    EXPECT_GT(bothShown, 0) << "both monitors had their show";

    // Jitter of 2 pixels over the second monitor is no move; 6 pixels is.
    ASSERT_TRUE(XPointerTo(px + 2, py - 2));
    EXPECT_FALSE(saver.WaitExit(1000).has_value()) << "a move of 2 pixels ended the saver";
    ASSERT_TRUE(XPointerTo(px + 6, py));
    EXPECT_TRUE(saver.WaitExit().has_value()) << "a move over the second monitor did not end it";
}

} // namespace

namespace {

// What the start cannot use is written on the primary monitor, also where the other one is
// larger, and in no box: the catalogue's warning, and a configuration that could not be
// loaded at the start.
TEST_F(TwoMonitors, WarningsAreWrittenOnThePrimaryMonitor) {
    const RECT& a = arrangement->primary;
    const RECT& b = arrangement->second;
    const auto anyWhite = [&](const RECT& monitor) {
        const RECT corner = {monitor.left, monitor.bottom - 80, monitor.left + 400, monitor.bottom};
        for (uint32_t pixel : ReadScreen(corner))
            if ((pixel & 0xFFFFFF) == 0xFFFFFF) return true;
        return false;
    };
    TempDir empty;
    for (const bool configurationMissing : {false, true}) {
        SCOPED_TRACE(configurationMissing ? "a configuration missing" : "no photos");
        TempDir installed;
        InstallFolder folder(installed.Path());
        WriteConfiguration(installed.Path(), {{L"defdir", empty.Path()}, {L"opmemfiles", L"0"}});
        if (configurationMissing)
            WritePrivateProfileStringW(L"Config", L"cfgname", L"absent",
                                       (installed / L"config.ini").c_str());
        SaverProcess saver(L"/s");
        HWND window = saver.WaitForWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(saver.WaitForCapture(window)) << "the start waited for something";
        EXPECT_TRUE(WaitUntil([&] { return anyWhite(a); }, kStartDeadlineMs))
            << "nothing written on the primary monitor";
        EXPECT_FALSE(anyWhite(b)) << "written on the other monitor";
        for (HWND w : saver.VisibleWindows()) {
            wchar_t caption[64] = {};
            GetWindowTextW(w, caption, 64);
            EXPECT_NE(std::wstring(caption), L"Avertissement") << "a box came up";
        }
    }
}

} // namespace
