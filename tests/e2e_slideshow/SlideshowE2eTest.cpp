// The built saver, started as Windows starts it, with one transition of each family: the
// screen shows its tiles where the geometry puts them.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "Globals/Globals.h"
#include "saver/Geometry.h"
#include "saver/Ssave.h"
#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"
#include "toolkit/Dib.h"
#include "toolkit/MsgBox.h"

namespace {

class InstallFolder {
  public:
    explicit InstallFolder(const std::wstring& folder) {
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kInstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr);
        wchar_t old[MAX_PATH] = {};
        DWORD bytes = sizeof old, type = 0;
        hadOld_ = RegQueryValueExW(key_, L"InstallDir", nullptr, &type,
                                   reinterpret_cast<BYTE*>(old), &bytes) == ERROR_SUCCESS;
        old_ = old;
        Set(folder);
    }
    ~InstallFolder() {
        if (hadOld_)
            Set(old_);
        else
            RegDeleteValueW(key_, L"InstallDir");
        RegCloseKey(key_);
    }

  private:
    void Set(const std::wstring& value) {
        RegSetValueExW(key_, L"InstallDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD((value.size() + 1) * sizeof(wchar_t)));
    }
    HKEY key_ = nullptr;
    bool hadOld_ = false;
    std::wstring old_;
};

std::wstring SaverPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1) + L"Vistamur.scr";
}

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
    tk::Dib shot;
    shot.Create(W, H);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Dc(), 0, 0, W, H, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    Found red, green;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint32_t p = shot.Bits()[size_t(y) * W + x];
            int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            Found* f = r > 200 && g < 60 && b < 60 ? &red : g > 200 && r < 60 && b < 60 ? &green
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
        ASSERT_TRUE(rig::MakeSolidJpeg(red, 300, 200, 0xFF0000));
        ASSERT_TRUE(rig::MakeSolidJpeg(green, 200, 300, 0x00FF00));
        // The saver can show these only once the folder scan finds them.
        TScrn probe;
        ASSERT_TRUE(probe.CreateForm());
        Settings = TSettings{};
        Settings.defdir = photos.Path();
        probe.GetAllPhotos();
        if (probe.ToSeeFiles.size() != 2) GTEST_SKIP() << "the folder scan finds no photos";
    }
    void TearDown() override { tk::SetBoxHook(nullptr); }

    // Runs the saver with the options, hands every screenshot taken over a few seconds to
    // the check, and ends it.
    template <class Check> void RunSaver(std::map<std::wstring, std::wstring> options, Check check) {
        InstallFolder install(install_.Path());
        const std::wstring ini = install_ / L"config.ini", cfg = install_ / L"config 1.cfg";
        WritePrivateProfileStringW(L"Config", L"cfgname", L"config 1", ini.c_str());
        options[L"defdir"] = photos.Path();
        for (const auto& [key, value] : options)
            WritePrivateProfileStringW(L"Options", key.c_str(), value.c_str(), cfg.c_str());

        std::wstring command = L"\"" + SaverPath() + L"\" /s";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        Sleep(2500);
        for (int shot = 0; shot < 8; ++shot) {
            auto [r, g] = FindPhotos();
            check(r, g);
            Sleep(300);
        }
        if (HWND saver = FindWindowW(L"TScrn", nullptr)) PostMessageW(saver, WM_EXITREQUEST, 0, 0);
        if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the saver did not end";
            TerminateProcess(process.hProcess, 1);
        }
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
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
// steps. The first tile starts at 1024 + 50 and the second 50 px behind it; as both photos
// are 200 or 300 px long on the travel, every left (top) edge stays on 1074 - 100 k or
// 1024 - 100 k (mod 100: 74 or 24; vertically 818 - 100 k or 768 - 100 k: 18 or 68).
int Mod100(int v) { return ((v % 100) + 100) % 100; }

TEST_F(SlideshowE2e, HorizontalStripTravelsLeftInStepsAndKeepsItsGap) {
    int seen = 0;
    RunSaver({{L"optransition", L";1;"}, {L"opnbimgmax", L"2"}, {L"defspeed", L"100"},
              {L"defdelay", L"10"}},
             [&](const Found& r, const Found& g) {
                 for (const Found* f : {&r, &g}) {
                     if (!f->Any()) continue;
                     ++seen;
                     EXPECT_EQ(f->top, (768 - f->Height()) / 2);
                     if (f->left > 0) {
                         EXPECT_TRUE(Mod100(f->left) == 74 || Mod100(f->left) == 24)
                             << "left " << f->left;
                     }
                 }
                 ExpectWhole(r, 300, 200);
                 ExpectWhole(g, 200, 300);
                 if (r.Any() && g.Any() && r.left > 0 && g.left > 0) {
                     const Found& a = r.left < g.left ? r : g;
                     const Found& b = r.left < g.left ? g : r;
                     EXPECT_EQ(b.left - a.right - 1, kTileGap);
                 }
             });
    EXPECT_GT(seen, 0);
}

TEST_F(SlideshowE2e, VerticalStripTravelsUpCentredAcross) {
    int seen = 0;
    RunSaver({{L"optransition", L";11;"}, {L"opnbimgmax", L"2"}, {L"defspeed", L"100"},
              {L"defdelay", L"10"}},
             [&](const Found& r, const Found& g) {
                 for (const Found* f : {&r, &g}) {
                     if (!f->Any()) continue;
                     ++seen;
                     EXPECT_EQ(f->left, (1024 - f->Width()) / 2);
                     if (f->top > 0) {
                         EXPECT_TRUE(Mod100(f->top) == 18 || Mod100(f->top) == 68)
                             << "top " << f->top;
                     }
                 }
                 ExpectWhole(r, 300, 200);
                 ExpectWhole(g, 200, 300);
                 if (r.Any() && g.Any() && r.top > 0 && g.top > 0) {
                     const Found& a = r.top < g.top ? r : g;
                     const Found& b = r.top < g.top ? g : r;
                     EXPECT_EQ(b.top - a.bottom - 1, kTileGap);
                 }
             });
    EXPECT_GT(seen, 0);
}

} // namespace
