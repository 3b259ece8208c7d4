#include "tests/support/InstallerFootprint.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>

#include "settings/Settings.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/TempDir.h"

namespace {
std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring KorvaneProgramFolder() {
    return ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Korvane";
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, path);
    return path;
}

// The folders in which uninstallers run their copies ("~nsu1.tmp" ...), without backslash.
std::vector<std::wstring> UninstallerCopyFolders() {
    std::vector<std::wstring> folders;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((TempFolder() + L"~nsu*.tmp").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return folders;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            folders.push_back(TempFolder() + data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return folders;
}

std::vector<DWORD> ChildProcesses(DWORD parent) {
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return children;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry))
        if (entry.th32ParentProcessID == parent) children.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return children;
}

template <typename T> bool Contains(const std::vector<T>& list, const T& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}
} // namespace

std::wstring SetupExe() {
    return BuildFolder() + L"Vistamur-Setup.exe";
}

std::wstring InstalledSaver() {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\Vistamur.scr";
}

std::wstring SharedDataFolder() {
    return ShellFolder(CSIDL_COMMON_DOCUMENTS) + L"\\Vistamur\\";
}

std::wstring UninstallerFolder() {
    return KorvaneProgramFolder() + L"\\Vistamur";
}

std::optional<DWORD> RunProgram(const std::wstring& program, const std::wstring& arguments) {
    SaverProcess process(arguments, program);
    return process.WaitExit(kInstallerDeadlineMs);
}

std::optional<DWORD> RunSetup(const std::wstring& arguments) {
    return RunProgram(SetupExe(), arguments);
}

std::optional<DWORD> RunUninstallEntry(const wchar_t* valueName,
                                       const std::function<void(DWORD)>& drive) {
    const auto command = ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, valueName);
    if (!command || command->size() < 2 || (*command)[0] != L'"') return std::nullopt;
    const size_t close = command->find(L'"', 1);
    if (close == std::wstring::npos) return std::nullopt;
    std::wstring arguments = command->substr(close + 1);
    arguments.erase(0, arguments.find_first_not_of(L' '));
    SaverProcess uninstaller(arguments, command->substr(1, close - 1));
    if (uninstaller.WaitExit(kInstallerDeadlineMs) != 0u) return std::nullopt;
    // The copy is the only process the uninstaller started.
    const auto copies = ChildProcesses(uninstaller.Id());
    if (drive && copies.size() == 1) drive(copies.front());
    std::optional<DWORD> code;
    for (DWORD id : copies) {
        HANDLE copy = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
        if (!copy) continue;
        DWORD exit = 0;
        if (WaitUntil([&] { return WaitForSingleObject(copy, 0) == WAIT_OBJECT_0; },
                      kInstallerDeadlineMs) &&
            GetExitCodeProcess(copy, &exit))
            code = exit;
        if (!code) TerminateProcess(copy, 99); // so that one failure does not spoil the next
        CloseHandle(copy);
    }
    return code;
}

std::optional<DWORD> RunQuietUninstall() {
    return RunUninstallEntry(L"QuietUninstallString");
}

bool PathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// --- the guard ---------------------------------------------------------------------------

namespace {
std::wstring WithoutBackslash(std::wstring folder) {
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}
} // namespace

InstallerFootprint::InstallerFootprint()
    : installDir_(HKEY_LOCAL_MACHINE, kInstallKey, L"InstallDir"),
      screenSaver_(HKEY_CURRENT_USER, kDesktopKey, L"SCRNSAVE.EXE"),
      screenSaveActive_(HKEY_CURRENT_USER, kDesktopKey, L"ScreenSaveActive"),
      pendingDeletes_(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                      L"PendingFileRenameOperations") {
    foundClean_ = !RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey) &&
                  !PathExists(InstalledSaver()) &&
                  !PathExists(WithoutBackslash(SharedDataFolder()));
    hadInstallKey_ = RegKeyExists(HKEY_LOCAL_MACHINE, kInstallKey);
    hadKorvaneFolder_ = PathExists(KorvaneProgramFolder());
    oldTempFolders_ = UninstallerCopyFolders();
}

InstallerFootprint::~InstallerFootprint() {
    // What an earlier run left is not this run's to remove.
    if (foundClean_) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
        DeleteFileW(InstalledSaver().c_str());
        const std::wstring data = WithoutBackslash(SharedDataFolder());
        RemoveTree(data);
        DeleteFileW(data.c_str()); // where a test put a file in the folder's place
    }
    if (!hadKorvaneFolder_) RemoveTree(KorvaneProgramFolder());
    if (hadInstallKey_) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kInstallKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr) == ERROR_SUCCESS)
            RegCloseKey(key);
    }
    // The uninstaller's copy asked for itself to be deleted at the next start of Windows;
    // it goes now, and the request with it as the registry values go back.
    for (const auto& folder : UninstallerCopyFolders())
        if (!Contains(oldTempFolders_, folder)) RemoveTree(folder);
}
