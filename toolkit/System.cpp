#include "toolkit/System.h"

#include <windows.h>

namespace tk {

std::wstring SystemDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
    std::wstring dir(buffer, n < MAX_PATH ? n : 0);
    if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
    return dir;
}

bool FileExists(const std::wstring& path) {
    DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
    DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FullPathName(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    size = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (size == 0 || size >= full.size()) return path;
    full.resize(size);
    return full;
}

} // namespace tk
