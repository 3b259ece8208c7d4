// Vistamur-Setup.exe and its uninstaller in the test prefix, run silently as an administrator
// deploys them, and the uninstaller once through its window: what they put in place, what
// they keep of the user's, and the cases where they must not claim success.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <memory>

#include "settings/Settings.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/InstallerFootprint.h"
#include "tests/support/Rig.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/TempDir.h"
#include "toolkit/Jpeg.h"
#include "toolkit/Text.h"

namespace {
// What the uninstaller's exit code says when there was nothing to uninstall, and what the
// installer's says when it stopped before changing anything.
constexpr DWORD kStopped = 2;

// Hand-written configuration files, with bytes the private-profile functions would never
// write (no line end at the end, a stray line), so that any rewrite shows.
const std::string kConfigIni = "[Config]\r\ncfgname=ma s\xE9lection\r\n[Options]\r\ncfgalea=0";
const std::string kConfigCfg =
    "[Options]\r\ndefspeed=3\r\n; notes de l'utilisateur\r\nopnbimgmax=4";

class InstallerTest : public testing::Test {
  protected:
    void SetUp() override {
        footprint = std::make_unique<InstallerFootprint>();
        ASSERT_TRUE(footprint->FoundClean())
            << "an earlier run left Vistamur installed in the test prefix";
        ASSERT_TRUE(PathExists(SetupExe())) << "no Vistamur-Setup.exe in the build folder";
        // A first install finds no install folder named (the demo, say, may have named its
        // own); the footprint gives the value back at the end.
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kInstallKey, L"InstallDir");
    }
    void TearDown() override { footprint.reset(); }

    static std::optional<std::wstring> InstallDir() {
        return ReadRegString(HKEY_LOCAL_MACHINE, kInstallKey, L"InstallDir");
    }
    static std::optional<std::wstring> ScreenSaver() {
        return ReadRegString(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE");
    }
    static void WriteConfigurations(const std::wstring& folder) {
        WriteFileBytes(folder + L"config.ini", kConfigIni);
        WriteFileBytes(folder + L"ma s\u00E9lection.cfg", kConfigCfg);
    }
    static void ExpectConfigurationsKept(const std::wstring& folder) {
        EXPECT_EQ(ReadFileBytes(folder + L"config.ini"), kConfigIni);
        EXPECT_EQ(ReadFileBytes(folder + L"ma s\u00E9lection.cfg"), kConfigCfg);
    }

    std::unique_ptr<InstallerFootprint> footprint;
    // The shared data folder as "InstallDir" names it, with its backslash, and the folder
    // itself, without it.
    const std::wstring data = SharedDataFolder();
    const std::wstring dataFolder = data.substr(0, data.size() - 1);
};

HWND FindVisibleWindowOf(DWORD processId) {
    const std::vector<HWND> windows = VisibleWindowsOf(processId);
    return windows.empty() ? nullptr : windows.front();
}

struct ClassSearch {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<ClassSearch*>(lp);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (lstrcmpiW(name, search->className) == 0) search->found = window;
    return search->found == nullptr;
}

HWND FindChildOfClass(HWND parent, const wchar_t* className) {
    ClassSearch search = {className, nullptr};
    EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The uninstaller's window, a user's hand on it: "Supprimer aussi les configurations" ticked
// (the second entry of its list; the space key toggles the chosen entry), then
// "Désinstaller", then "Fermer" once the work is done (both are the window's button 1).
void TickDeleteConfigurationsAndUninstall(DWORD uninstaller) {
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = FindVisibleWindowOf(uninstaller)); },
                          kInstallerDeadlineMs));
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (list = FindChildOfClass(window, WC_TREEVIEWW)); },
                          kInstallerDeadlineMs));
    auto first = SendMessageW(list, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    auto second = SendMessageW(list, TVM_GETNEXTITEM, TVGN_NEXT, first);
    ASSERT_NE(second, 0);
    SendMessageW(list, TVM_SELECTITEM, TVGN_CARET, second);
    // The key goes through the queue: the uninstaller sees it in its message loop.
    PostMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(list, WM_KEYUP, VK_SPACE, 0);
    constexpr UINT kTicked = INDEXTOSTATEIMAGEMASK(2);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return SendMessageW(list, TVM_GETITEMSTATE, second, TVIS_STATEIMAGEMASK) == kTicked;
        },
        kInstallerDeadlineMs));
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // The program goes first; the button comes back (as "Fermer") once everything is done.
    HWND button = GetDlgItem(window, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !PathExists(InstalledSaver()) && IsWindowEnabled(button); },
                          kInstallerDeadlineMs));
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}
} // namespace

TEST_F(InstallerTest, SilentInstallPutsEverythingInPlace) {
    ASSERT_EQ(RunSetup(), 0u);

    EXPECT_EQ(ReadFileBytes(InstalledSaver()), ReadFileBytes(BuildFolder() + L"Vistamur.scr"));

    // The data folder, named with its backslash, exists and takes a new file.
    EXPECT_EQ(InstallDir(), data);
    WriteFileBytes(data + L"essai.cfg", "[Options]\r\n");
    EXPECT_EQ(ReadFileBytes(data + L"essai.cfg"), "[Options]\r\n");

    const std::wstring uninstaller = UninstallerFolder() + L"\\uninstall.exe";
    EXPECT_TRUE(PathExists(uninstaller));
    // Beside it, the licences of the libraries inside as their built sources give them, and
    // where those sources come from.
    const struct {
        const wchar_t* installed;
        const wchar_t* source; // under the build's third_party
    } licences[] = {
        {L"libjpeg-turbo.txt", L"jpeg-src\\LICENSE.md"},
        {L"libjpeg-turbo-ijg.txt", L"jpeg-src\\README.ijg"},
        {L"libde265.txt", L"libde265-src\\COPYING"},
        {L"libheif.txt", L"libheif-src\\COPYING"},
        {L"libwebp.txt", L"libwebp-src\\COPYING"},
        {L"libwebp-brevets.txt", L"libwebp-src\\PATENTS"},
    };
    const std::wstring licenceFolder = UninstallerFolder() + L"\\Licences\\";
    for (const auto& [installed, source] : licences) {
        std::string text = ReadFileBytes(licenceFolder + installed);
        std::erase(text, '\r');
        if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3); // for Notepad
        EXPECT_TRUE(text == ReadFileBytes(BuildFolder() + L"third_party\\" + source)) << installed;
    }
    const std::string sources = ReadFileBytes(licenceFolder + L"Sources.txt");
    for (const char* named : {"libjpeg-turbo 2.1.5", "libde265 1.0.11", "libheif 1.15.1",
                              "libwebp 1.2.4", "scripts/build"})
        EXPECT_NE(sources.find(named), std::string::npos) << named;
    const struct {
        const wchar_t* name;
        std::wstring value;
    } entry[] = {
        {L"DisplayName", L"Vistamur"},
        {L"DisplayVersion", L"4.0.0"},
        {L"Publisher", L"Korvane"},
        {L"DisplayIcon", InstalledSaver() + L",0"},
        {L"UninstallString", L"\"" + uninstaller + L"\""},
        {L"QuietUninstallString", L"\"" + uninstaller + L"\" /S"},
    };
    for (const auto& [name, value] : entry)
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, name), value) << name;
    // The size in KiB: the program and the uninstaller.
    const auto size = ReadRegDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize");
    ASSERT_TRUE(size.has_value());
    const size_t programKb = ReadFileBytes(InstalledSaver()).size() / 1024;
    EXPECT_GE(*size, programKb);
    EXPECT_LE(*size, programKb + 1024);

    wchar_t shortPath[MAX_PATH] = {};
    GetShortPathNameW(InstalledSaver().c_str(), shortPath, MAX_PATH);
    EXPECT_EQ(ScreenSaver(), std::wstring(shortPath));
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kDesktopKey, L"ScreenSaveActive"), L"1");
}

// The saver that Windows starts from the screen-saver choice finds the data folder through
// the registry: a configuration that keeps the memory of seen photos, written there, makes
// the saver leave that memory there when it ends.
TEST_F(InstallerTest, TheChosenSaverReadsItsConfigurationFromTheDataFolder) {
    ASSERT_EQ(RunSetup(), 0u);
    const auto saverPath = ScreenSaver();
    ASSERT_TRUE(saverPath.has_value());

    TempDir photos;
    tk::PixelBuffer photo;
    photo.width = 64;
    photo.height = 48;
    photo.pixels.assign(size_t(photo.width) * photo.height, 0x3366CCu);
    ASSERT_TRUE(tk::EncodeJpeg(photos / L"photo.jpg", photo));
    WriteConfiguration(data, {{L"defdir", photos.Path() + L";"},
                              {L"optransition", L";4;"},
                              {L"defpause", L"3600"},
                              {L"opnbimgmax", L"3"},
                              {L"opmemfiles", L"1"},
                              {L"memfilesname", L"config 1"}});

    SaverProcess saver(L"/s", *saverPath);
    HWND window = saver.WaitForWindow();
    ASSERT_NE(window, nullptr) << "no saver window";
    ASSERT_TRUE(saver.WaitForCapture(window));
    // The photo on the screen: the scan has ended, and the close writes the memory whole.
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const auto alike = [](uint32_t p, uint32_t q, int by) {
        for (int shift : {0, 8, 16})
            if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) > by) return false;
        return true;
    };
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (uint32_t p : ReadScreen(screen))
                if (alike(p, 0x3366CCu, 24)) return true;
            return false;
        },
        10000))
        << "the photo never showed";
    EXPECT_EQ(saver.EndByRequest(), 0u);
    const std::string memory = ReadFileBytes(data + L"config 1.tmp");
    EXPECT_NE(memory.find("photo.jpg"), std::string::npos) << memory;
}

TEST_F(InstallerTest, AnUpdateKeepsTheConfigurationsByteForByte) {
    ASSERT_EQ(RunSetup(), 0u);
    WriteConfigurations(data);
    WriteFileBytes(data + L"ma s\u00E9lection.tmp", "1C:\\Photos\\a.jpg\r\n");

    ASSERT_EQ(RunSetup(), 0u);
    EXPECT_EQ(InstallDir(), data);
    ExpectConfigurationsKept(data);
    EXPECT_EQ(ReadFileBytes(data + L"ma s\u00E9lection.tmp"), "1C:\\Photos\\a.jpg\r\n");
}

// The screen-saver choice goes with the program only while it still names Vistamur.
TEST_F(InstallerTest, SilentUninstallRemovesTheProgramAndKeepsTheData) {
    const struct {
        const wchar_t* chosenSaver; // null: as the install left it
        bool kept;
    } cases[] = {
        {nullptr, false},
        {L"C:\\windows\\system32\\autre.scr", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosenSaver ? c.chosenSaver : L"Vistamur");
        ASSERT_EQ(RunSetup(), 0u);
        WriteConfigurations(data);
        ScopedRegValue chosen(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE");
        if (c.chosenSaver) chosen.SetString(c.chosenSaver);

        ASSERT_EQ(RunQuietUninstall(), 0u);
        EXPECT_FALSE(PathExists(InstalledSaver()));
        EXPECT_FALSE(PathExists(UninstallerFolder()));
        EXPECT_FALSE(InstallDir().has_value());
        EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kInstallKey)) << "the emptied key stays";
        EXPECT_EQ(ScreenSaver(),
                  c.kept ? std::optional<std::wstring>(c.chosenSaver) : std::nullopt);
        ExpectConfigurationsKept(data);
        RemoveTree(dataFolder); // as a fresh machine for the next case
    }
}

TEST_F(InstallerTest, UninstallingTwiceSaysThereIsNothingToUninstall) {
    ASSERT_EQ(RunSetup(), 0u);
    WriteConfigurations(data);
    TempDir copy;
    ASSERT_TRUE(CopyFileW((UninstallerFolder() + L"\\uninstall.exe").c_str(),
                          (copy / L"uninstall.exe").c_str(), FALSE));
    ASSERT_EQ(RunQuietUninstall(), 0u);

    ScopedRegValue chosen(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE");
    chosen.SetString(L"C:\\windows\\system32\\Vistamur.scr"); // a stale choice names it still
    // "_?=" runs the copy where it is, so that its own exit code comes back.
    const std::wstring folder = copy.Path().substr(0, copy.Path().size() - 1);
    EXPECT_EQ(RunProgram(copy / L"uninstall.exe", L"/S _?=" + folder), kStopped);
    ExpectConfigurationsKept(data);
    EXPECT_EQ(ScreenSaver(), L"C:\\windows\\system32\\Vistamur.scr");
}

// A data folder left read-only (by hand, or by a copy from a CD) is kept with its
// configurations and opened to writing again.
TEST_F(InstallerTest, AReadOnlyDataFolderIsKeptAndMadeWritable) {
    ASSERT_TRUE(CreateDirectoryW(dataFolder.c_str(), nullptr));
    WriteConfigurations(data);
    ASSERT_TRUE(SetFileAttributesW(dataFolder.c_str(), FILE_ATTRIBUTE_READONLY));

    ASSERT_EQ(RunSetup(), 0u);
    EXPECT_EQ(InstallDir(), data);
    EXPECT_FALSE(GetFileAttributesW(dataFolder.c_str()) & FILE_ATTRIBUTE_READONLY);
    ExpectConfigurationsKept(data);
}

// "InstallDir" naming a folder that holds configurations is the user's own choice, and is
// kept; naming nothing usable, it is replaced by the shared data folder.
TEST_F(InstallerTest, AnInstallDirAlreadySetIsKeptWhenItHoldsTheConfigurations) {
    TempDir own;
    WriteConfigurations(own.Path());
    const std::wstring ownWithoutBackslash = own.Path().substr(0, own.Path().size() - 1);
    const struct {
        std::wstring value;
        bool kept;
    } cases[] = {
        {own.Path(), true},
        // Without its backslash the value names files beside the folder, "...\ownconfig.ini".
        {ownWithoutBackslash, false},
        {L"C:\\dossier\\disparu\\", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        ScopedRegValue installDir(HKEY_LOCAL_MACHINE, kInstallKey, L"InstallDir");
        installDir.SetString(c.value);
        ASSERT_EQ(RunSetup(), 0u);
        EXPECT_EQ(InstallDir(), c.kept ? c.value : data);
        EXPECT_EQ(PathExists(data), !c.kept);
        ExpectConfigurationsKept(own.Path());
        RemoveTree(dataFolder);
    }
}

// A file where the data folder should be: the install stops, says so in its exit code, and
// neither the file nor the system changes.
TEST_F(InstallerTest, ADataFolderThatCannotBeMadeStopsTheInstall) {
    WriteFileBytes(dataFolder, "not a folder");

    EXPECT_EQ(RunSetup(), kStopped);
    EXPECT_EQ(ReadFileBytes(dataFolder), "not a folder");
    EXPECT_FALSE(PathExists(InstalledSaver()));
    EXPECT_FALSE(InstallDir().has_value());
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(ScreenSaver().has_value());
}

// Only what is provably the program's own goes: "config.ini" naming a configuration, a
// ".cfg" holding Vistamur's keys, and the memory such a configuration names. A folder shared
// with other programs keeps their files, and the folder stays unless nothing is left in it.
TEST_F(InstallerTest, SupprimerAussiLesConfigurationsRemovesOnlyTheProgramsFiles) {
    using Files = std::vector<std::pair<std::wstring, std::string>>;
    const std::string ours = kConfigCfg + "\r\nmemfilesname=ma s\xE9lection\r\n";
    const Files vistamur = {{L"config.ini", "[Config]\r\ncfgname=ma s\xE9lection\r\n"},
                            {L"ma s\u00E9lection.cfg", ours},
                            {L"ma s\u00E9lection.tmp", "1C:\\Photos\\a.jpg\r\n"}};
    const Files others = {{L"vacances.jpg", "une photo de l'utilisateur"},
                          {L"jeu.cfg", "[Options]\r\ndefspeed=3\r\nvolume=7\r\n"},
                          {L"jeu.tmp", "partie en cours"},
                          {L"config 1.tmp", "0C:\\x.jpg\r\n"}}; // named by no configuration
    const Files foreignIni = {{L"config.ini", "[R\xE9glages]\r\nlangue=fr\r\n"}};
    const struct {
        const char* what;
        Files gone, kept;
    } cases[] = {
        {"Vistamur's folder", vistamur, others},
        {"only Vistamur's files", vistamur, {}},
        {"another program's folder",
         {},
         [&] {
             Files all = others;
             all.insert(all.end(), foreignIni.begin(), foreignIni.end());
             return all;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(RunSetup(), 0u);
        for (const Files* files : {&c.gone, &c.kept})
            for (const auto& [name, bytes] : *files)
                WriteFileBytes(data + name, bytes);
        EXPECT_EQ(
            RunUninstallEntry(L"UninstallString",
                              [&](DWORD copy) { TickDeleteConfigurationsAndUninstall(copy); }),
            0u);
        EXPECT_FALSE(PathExists(InstalledSaver()));
        for (const auto& [name, bytes] : c.gone)
            EXPECT_FALSE(PathExists(data + name)) << tk::ToUtf8(name);
        for (const auto& [name, bytes] : c.kept)
            EXPECT_EQ(ReadFileBytes(data + name), bytes) << tk::ToUtf8(name);
        EXPECT_EQ(PathExists(dataFolder), !c.kept.empty());
        RemoveTree(dataFolder);
    }
}
