#pragma once
// Vistamur-Setup.exe run in the test prefix, and everything a run of it or of its uninstaller
// leaves there: the places it writes to, and a guard that gives them back as it found them.
// Free of GoogleTest, so that the benchmarks use it too.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/Registry.h"
#include "toolkit/NonCopyable.h"

constexpr const wchar_t* kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vistamur";
constexpr const wchar_t* kDesktopKey = L"Control Panel\\Desktop";
constexpr DWORD kInstallerDeadlineMs = 30000; // only keeps a broken run from hanging

std::wstring SetupExe();          // the build's Vistamur-Setup.exe
std::wstring InstalledSaver();    // Vistamur.scr in the system folder
std::wstring SharedDataFolder();  // the shared documents' "Vistamur\", with its backslash
std::wstring UninstallerFolder(); // Program Files' "Korvane\Vistamur", without it

// The exit code of the program started with these arguments, once it has ended.
std::optional<DWORD> RunProgram(const std::wstring& program, const std::wstring& arguments);
// Vistamur-Setup.exe with these arguments ("/S").
std::optional<DWORD> RunSetup(const std::wstring& arguments = L"/S");
// A command line of the uninstall entry ("UninstallString", "QuietUninstallString") run as
// Windows runs it. The uninstaller hands its work to a copy of itself in the temporary folder
// and ends at once: drive (if given) then handles the windows of the copy (its process id),
// and this waits for the copy and gives its exit code; nothing if there was no entry or no
// copy ended in time.
std::optional<DWORD> RunUninstallEntry(const wchar_t* valueName,
                                       const std::function<void(DWORD)>& drive = {});
std::optional<DWORD> RunQuietUninstall();

bool PathExists(const std::wstring& path);

// Notes at construction what an install touches and puts it all back at the end: the
// registry values as they were, and the files, folders and keys that were not there removed.
class InstallerFootprint : private tk::NonCopyable {
  public:
    InstallerFootprint();
    ~InstallerFootprint();

    // Nothing of an install was there: no saver, no uninstall entry, no shared data folder.
    bool FoundClean() const { return foundClean_; }

  private:
    ScopedRegValue installDir_, screenSaver_, screenSaveActive_, pendingDeletes_;
    bool foundClean_ = false;
    bool hadInstallKey_ = false; // the uninstaller removes it when empty
    bool hadKorvaneFolder_ = false;
    std::vector<std::wstring> oldTempFolders_; // the uninstaller copies' folders before
};
