#pragma once
// The folder scan done the slow, literal way: the process's current directory is set to
// every folder, and the folder is listed once per media extension ("*.JPG", "*.JPEG" ...),
// with a probe of one lookup per extension first. It is the reference that the one-listing
// scan must match exactly, and the cost the benchmark compares with.
#include <windows.h>

#include <string>
#include <vector>

#include "settings/FolderList.h"
#include "settings/Settings.h"
#include "library/FolderScan.h"
#include "library/MediaKind.h"
#include "toolkit/Text.h"

struct NaiveScan {
    std::vector<std::wstring> files;
    std::vector<size_t> counts;         // the running count after each scanned folder
    std::vector<std::wstring> warnings; // the folders named as inaccessible

    static std::wstring CurrentDirectory() {
        wchar_t buffer[4096];
        DWORD n = GetCurrentDirectoryW(4096, buffer);
        return std::wstring(buffer, n);
    }

    void ScanFolders(const std::wstring& folders) {
        for (const std::wstring& entry : FolderEntries(folders)) {
            const std::wstring previous = CurrentDirectory();
            if (!entry.empty() && SetCurrentDirectoryW(entry.c_str())) {
                SetCurrentDirectoryW(previous.c_str());
                WalkFolder(entry);
                continue;
            }
            const std::wstring part = FolderPart(entry);
            if (!part.empty() && SetCurrentDirectoryW(part.c_str())) {
                SetCurrentDirectoryW(previous.c_str());
                WalkFolder(part);
            } else {
                warnings.push_back(part);
            }
        }
    }

    void WalkFolder(const std::wstring& path) {
        const std::wstring remembered = CurrentDirectory();
        if (SetCurrentDirectoryW(path.c_str())) {
            ScanFolderAndShowCount();
            WIN32_FIND_DATAW data;
            HANDLE find = FindFirstFileW(L"*.*", &data);
            std::vector<std::wstring> subfolders;
            if (find != INVALID_HANDLE_VALUE) {
                do {
                    const DWORD excluded =
                        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x8 /* volume label */;
                    const std::wstring name = data.cFileName;
                    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                        !(data.dwFileAttributes & excluded) && name != L"." && name != L"..")
                        subfolders.push_back(name);
                } while (FindNextFileW(find, &data));
                FindClose(find);
            }
            for (const std::wstring& name : subfolders)
                WalkFolder(path + L"\\" + name);
        }
        SetCurrentDirectoryW(remembered.c_str());
    }

    // The extensions this PC shows, each listed as a pattern of its own.
    static bool Usable(const wchar_t* ext) {
        return IsMediaFile(std::wstring(L"x") + ext, mkPhoto | mkClip);
    }

    // A photo of the later formats (PNG to AVIF) counts only under its own extension's
    // pattern, not under another that its short name matches.
    static bool FoundByItsOwnName(const std::wstring& name, const wchar_t* ext) {
        const size_t dot = name.find_last_of(L'.');
        if (dot == std::wstring::npos) return true;
        const std::wstring own = tk::UpperAscii(name.substr(dot));
        for (size_t i = 0; i < MediaExtensions.size(); ++i)
            if (own == MediaExtensions[i] && (LaterPhotoMask() & (1u << i))) return own == ext;
        return true;
    }

    void ScanFolderAndShowCount() {
        bool present = false;
        for (const wchar_t* ext : MediaExtensions) {
            if (!Usable(ext)) continue;
            WIN32_FIND_DATAW data;
            HANDLE find = FindFirstFileW((std::wstring(L"*") + ext).c_str(), &data);
            if (find == INVALID_HANDLE_VALUE) continue;
            FindClose(find);
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                present = true;
                break;
            }
        }
        if (!present) return;
        ScanCurrentFolder();
        counts.push_back(files.size());
    }

    void ScanCurrentFolder() {
        const std::wstring dir = CurrentDirectory();
        for (const wchar_t* ext : MediaExtensions) {
            if (!Usable(ext)) continue;
            WIN32_FIND_DATAW data;
            HANDLE find = FindFirstFileW((std::wstring(L"*") + ext).c_str(), &data);
            if (find == INVALID_HANDLE_VALUE) continue;
            do {
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                if (IsMediaFile(data.cFileName, mkClip | mkPhoto) &&
                    FoundByItsOwnName(data.cFileName, ext))
                    files.push_back(dir + L"\\" + data.cFileName);
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
    }
};
