#include "library/SameFolder.h"

#include <windows.h>

#include "toolkit/Handles.h"
#include "toolkit/System.h"

namespace {

// A folder that is away keeps the names it was given.
std::wstring LongPath(const std::wstring& path) {
    DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    size = GetLongPathNameW(path.c_str(), full.data(), size);
    if (size == 0 || size >= full.size()) return path;
    full.resize(size);
    return full;
}

std::wstring Upper(std::wstring text) {
    // The file system compares names without regard to case, by the upper case of each
    // character; the same mapping serves here.
    if (!text.empty()) CharUpperBuffW(text.data(), DWORD(text.size()));
    return text;
}

// The path the system gives for an open folder, in the form a folder is named by: "\\?\C:\x"
// becomes "C:\x", "\\?\UNC\server\share" becomes "\\server\share". Empty when it cannot.
std::wstring FinalPath(HANDLE folder) {
    constexpr DWORD kFlags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    DWORD size = GetFinalPathNameByHandleW(folder, nullptr, 0, kFlags);
    if (size == 0) return {};
    std::wstring path(size, L'\0');
    size = GetFinalPathNameByHandleW(folder, path.data(), DWORD(path.size()), kFlags);
    if (size == 0 || size >= path.size()) return {};
    path.resize(size);
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + path.substr(7);
    if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
    return path;
}

} // namespace

std::wstring FolderKey(const std::wstring& folder) {
    if (folder.empty()) return folder;
    std::wstring key = LongPath(tk::FullPathName(folder));
    while (key.size() > 1 && key.back() == L'\\' && key[key.size() - 2] != L':')
        key.pop_back();
    return Upper(std::move(key));
}

std::wstring FinalFolderKey(const std::wstring& folder) {
    tk::FileHandle handle(CreateFileW(folder.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const std::wstring final = handle ? FinalPath(handle.Get()) : std::wstring();
    return FolderKey(final.empty() ? folder : final);
}

std::wstring SubfolderKey(const std::wstring& folderKey, const std::wstring& name) {
    const bool root = !folderKey.empty() && folderKey.back() == L'\\';
    return folderKey + (root ? L"" : L"\\") + Upper(name);
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    return FolderKey(a) == FolderKey(b);
}
