// The built saver, started as Windows starts it, with one transition of each family: the
// screen shows its tiles where the geometry puts them.
#include <gtest/gtest.h>

#include <optional>

#include "settings/Settings.h"
#include "saver/Geometry.h"
#include "saver/SaverWindow.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"
#include "toolkit/MsgBox.h"

namespace {

struct Found {
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    bool Any() const { return right >= 0; }
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

// Where the screen shows pure red and pure green (the photos' colours, give or take the
// JPEG's rounding).
std::pair<Found, Found> FindPhotos() {
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    const std::vector<uint32_t> shot = ReadScreen({0, 0, W, H});
    Found red, green;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint32_t p = shot[size_t(y) * W + x];
            int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            Found* f = r > 200 && g < 60 && b < 60   ? &red
                       : g > 200 && r < 60 && b < 60 ? &green
                                                     : nullptr;
            if (!f) continue;
            f->left = std::min(f->left, x);
            f->right = std::max(f->right, x);
            f->top = std::min(f->top, y);
            f->bottom = std::max(f->bottom, y);
        }
    return {red, green};
}

class SlideshowE2e : public testing::Test {
  protected:
    void SetUp() override {
        tk::SetBoxHook([](const tk::BoxRequest&) { return IDOK; });
        red = photos / L"red.jpg";
        green = photos / L"green.jpg";
        ASSERT_TRUE(MakeSolidJpeg(red, 300, 200, 0xFF0000));
        ASSERT_TRUE(MakeSolidJpeg(green, 200, 300, 0x00FF00));
        // The saver can show these only once the folder scan finds them.
        SaverWindow probe;
        ASSERT_TRUE(probe.CreateHidden());
        SettingsRecord settings;
        settings.folders = photos.Path();
        probe.UseSettings(settings);
        probe.ScanFoldersToTheEnd();
        // A scan that finds nothing is a fault of the saver, not a reason to skip.
        ASSERT_EQ(probe.Catalogue().filesToSee.size(), 2u) << "the folder scan finds no photos";
    }
    void TearDown() override { tk::SetBoxHook(nullptr); }

    // Runs the saver with the options, hands every screenshot taken over a few seconds to
    // the check, and ends it.
    template <class Check>
    void RunSaver(std::vector<std::pair<std::wstring, std::wstring>> options, Check check) {
        InstallFolder install(install_.Path());
        options.push_back({L"defdir", photos.Path()});
        WriteConfiguration(install_.Path(), options);

        SetCursorPos(512, 384); // where the display has it, so that no first move ends the saver
        SaverProcess saver(L"/s");
        ASSERT_TRUE(saver.Started());
        Sleep(2500);
        for (int shot = 0; shot < 8; ++shot) {
            auto [r, g] = FindPhotos();
            check(r, g);
            Sleep(300);
        }
        EXPECT_TRUE(saver.EndByRequest().has_value()) << "the saver did not end";
    }

    TempDir install_, photos;
    std::wstring red, green;
};

// A photo wholly on the screen shows at its own size (both are smaller than the screen).
void ExpectWhole(const Found& f, int width, int height) {
    if (f.Any() && f.left > 0 && f.top > 0 && f.right < 1023 && f.bottom < 767) {
        EXPECT_EQ(f.Width(), width);
        EXPECT_EQ(f.Height(), height);
    }
}

TEST_F(SlideshowE2e, CentralTransitionCentresEachPhoto) {
    int seen = 0;
    RunSaver({{L"optransition", L";4;"}, {L"opnbimgmax", L"3"}, {L"defpause", L"1"}},
             [&](const Found& r, const Found& g) {
                 for (const Found* f : {&r, &g}) {
                     if (!f->Any()) continue;
                     ++seen;
                     EXPECT_EQ(f->left, (1024 - f->Width()) / 2);
                     EXPECT_EQ(f->top, (768 - f->Height()) / 2);
                 }
                 ExpectWhole(r, 300, 200);
                 ExpectWhole(g, 200, 300);
                 EXPECT_FALSE(r.Any() && g.Any()) << "one tile only";
             });
    EXPECT_GT(seen, 0);
}

// Two tiles of a strip stepping 100 px every second, so that the screenshots fall between
// steps. The first tile starts 50 px beyond the entry edge, the second 50 px behind it; as
// both photos are 200 or 300 px long on the travel, every leading edge stays on the step's
// rhythm: left edges at 1074 - 100 k or 1024 - 100 k (74 or 24 mod 100), top edges at
// 818 - 100 k or 768 - 100 k (18 or 68).
int Mod100(int v) {
    return ((v % 100) + 100) % 100;
}

TEST_F(SlideshowE2e, StripsTravelInStepsCentredAcrossWithTheirGap) {
    const struct {
        const wchar_t* transition;
        bool vertical;
        int rhythm[2];
    } cases[] = {{L";1;", false, {74, 24}}, {L";11;", true, {18, 68}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "optransition " << c.transition);
        int seen = 0;
        auto along = [&](const Found& f) { return c.vertical ? f.top : f.left; };
        auto alongEnd = [&](const Found& f) { return c.vertical ? f.bottom : f.right; };
        RunSaver({{L"optransition", c.transition},
                  {L"opnbimgmax", L"2"},
                  {L"defspeed", L"100"},
                  {L"defdelay", L"10"}},
                 [&](const Found& r, const Found& g) {
                     for (const Found* f : {&r, &g}) {
                         if (!f->Any()) continue;
                         ++seen;
                         if (c.vertical)
                             EXPECT_EQ(f->left, (1024 - f->Width()) / 2);
                         else
                             EXPECT_EQ(f->top, (768 - f->Height()) / 2);
                         int m = Mod100(along(*f));
                         if (along(*f) > 0) {
                             EXPECT_TRUE(m == c.rhythm[0] || m == c.rhythm[1]) << along(*f);
                         }
                     }
                     ExpectWhole(r, 300, 200);
                     ExpectWhole(g, 200, 300);
                     if (r.Any() && g.Any() && along(r) > 0 && along(g) > 0) {
                         const Found& a = along(r) < along(g) ? r : g;
                         const Found& b = along(r) < along(g) ? g : r;
                         EXPECT_EQ(along(b) - alongEnd(a) - 1, kTileGap);
                     }
                 });
        EXPECT_GT(seen, 0);
    }
}

} // namespace
