#pragma once
// Folder trees for the catalogue tests, made on the real file system.
#include <windows.h>

#include <string>
#include <utility>

#include "tests/support/Launch.h"
#include "tests/support/TempDir.h"
#include "toolkit/Text.h"

inline void MakeFolder(const std::wstring& path) {
    CreateDirectoryW(path.c_str(), nullptr);
}

inline void MakeFile(const std::wstring& path, const std::string& bytes = "x") {
    WriteFileBytes(path, bytes);
}

inline void Hide(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), GetFileAttributesW(path.c_str()) | FILE_ATTRIBUTE_HIDDEN);
}

using UnixNameFunction = char*(CDECL*)(LPCWSTR);

// Wine's own function giving the Unix path of a Windows path; null on Windows.
inline UnixNameFunction WineUnixName() {
    return reinterpret_cast<UnixNameFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
}

inline std::string UnixPath(const std::wstring& path) {
    char* name = WineUnixName()(path.c_str());
    std::string text = name ? name : "";
    HeapFree(GetProcessHeap(), 0, name);
    return text;
}

// Starts a Unix command line under Wine (Wine starts Unix programs too); false if it could not
// start. Wine gives no handle that tells when a Unix program ends: a caller waits for what
// the program does.
inline bool StartUnix(const std::string& line) {
    return Launch(tk::Widen(line));
}

// Runs a Unix command line under Wine and waits up to 30 s for `done` to hold.
template <class Done> bool RunUnix(std::string line, Done done) {
    if (!StartUnix(line)) return false;
    for (int i = 0; i < 600; ++i) {
        if (done()) return true;
        Sleep(50);
    }
    return false;
}

// A symbolic link to a folder. Wine's CreateSymbolicLinkW answers TRUE and makes nothing,
// so under Wine a Unix "ln -s" makes it; the link then lists as a folder with the
// reparse-point attribute. False when neither works.
inline bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
    auto exists = [&] { return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; };
    if (!WineUnixName())
        return CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
               exists();
    return RunUnix("/bin/ln -s \"" + UnixPath(target) + "\" \"" + UnixPath(link) + "\"", exists);
}

// Removes a folder link itself, never what it leads to.
inline void RemoveFolderLink(const std::wstring& link) {
    auto gone = [&] { return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; };
    if (RemoveDirectoryW(link.c_str()) || DeleteFileW(link.c_str()) || !WineUnixName()) return;
    RunUnix("/bin/rm \"" + UnixPath(link) + "\"", gone);
}

// Many empty files at once: under Wine each CreateFile in a large folder searches the
// folder for other spellings of the name, so 50,000 of them one by one take minutes.
inline bool MakeManyFiles(const std::wstring& folder, int count) {
    if (!WineUnixName()) {
        for (int i = 0; i < count; ++i)
            WriteFileBytes(folder + L"\\IMG_" + std::to_wstring(i) +
                               (i % 10 == 0   ? L".avi"
                                : i % 10 == 1 ? L".txt"
                                              : L".jpg"),
                           "");
        return true;
    }
    const std::wstring last = folder + L"\\IMG_" + std::to_wstring(count - 1) +
                              ((count - 1) % 10 == 0   ? L".avi"
                               : (count - 1) % 10 == 1 ? L".txt"
                                                       : L".jpg");
    // The command line is split by the Windows rules: the script is one quoted argument.
    const std::string script = "cd \\\"" + UnixPath(folder) + "\\\" && i=0; while [ $i -lt " +
                               std::to_string(count) +
                               " ]; do case $i in *0) e=avi;; *1) e=txt;; *) e=jpg;; esac; : > "
                               "IMG_$i.$e; i=$((i+1)); done";
    return RunUnix("/bin/sh -c \"" + script + "\"",
                   [&] { return GetFileAttributesW(last.c_str()) != INVALID_FILE_ATTRIBUTES; });
}
