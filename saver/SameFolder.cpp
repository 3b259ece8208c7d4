#include "saver/SameFolder.h"

#include <windows.h>

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

} // namespace

std::wstring FolderKey(const std::wstring& folder) {
    if (folder.empty()) return folder;
    std::wstring key = LongPath(tk::FullPathName(folder));
    while (key.size() > 1 && key.back() == L'\\' && key[key.size() - 2] != L':')
        key.pop_back();
    // The file system compares names without regard to case, by the upper case of each
    // character; the same mapping serves here.
    if (!key.empty()) CharUpperBuffW(key.data(), DWORD(key.size()));
    return key;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    return FolderKey(a) == FolderKey(b);
}
