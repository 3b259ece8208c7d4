#include "settings/FolderList.h"

std::vector<std::wstring> FolderEntries(const std::wstring& folders) {
    std::vector<std::wstring> entries;
    size_t start = 0;
    while (start < folders.size()) {
        size_t end = folders.find(L';', start);
        if (end == std::wstring::npos) end = folders.size();
        entries.push_back(folders.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}
