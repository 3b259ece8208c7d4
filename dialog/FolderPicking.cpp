#include "dialog/FolderPicking.h"

#include <shlobj.h>

#include <algorithm>

#include "controls/FitImage.h"
#include "saver/FolderScan.h"
#include "toolkit/Handles.h"
#include "toolkit/System.h"

namespace {

bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), int(a.size()),
                          b.c_str(), int(b.size())) == CSTR_EQUAL;
}

std::wstring CurrentFolder() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), folder.data()));
    return folder;
}

} // namespace

std::wstring TreeStartFolder(const std::vector<std::wstring>& chosen) {
    if (!chosen.empty() && !chosen.back().empty() && tk::DirectoryExists(chosen.back()))
        return chosen.back();
    wchar_t pictures[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT,
                                   pictures)) &&
        tk::DirectoryExists(pictures))
        return pictures;
    return CurrentFolder();
}

bool MayAddFolder(const std::vector<std::wstring>& chosen, const std::wstring& folder) {
    if (folder.empty() || !SetCurrentDirectoryW(folder.c_str())) return false;
    return std::none_of(chosen.begin(), chosen.end(),
                        [&](const std::wstring& line) { return SameTextIgnoringCase(line, folder); });
}

std::vector<std::wstring> WithoutSelected(std::vector<std::wstring> lines,
                                          std::vector<bool> selected) {
    selected.resize(lines.size(), false);
    size_t i = 0;
    while (i != lines.size()) {
        if (selected[i]) {
            lines.erase(lines.begin() + i);
            selected.erase(selected.begin() + i);
            i = 0;
        } else {
            ++i;
        }
    }
    return lines;
}

std::vector<std::wstring> MediaFilesOf(const std::wstring& folder) {
    std::vector<std::wstring> names;
    std::wstring pattern = folder;
    if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data;
    tk::FindHandle find(FindFirstFileW(pattern.c_str(), &data));
    if (!find) return names;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // A listing names each entry once, so no name comes twice.
        if (MediaPatternMask(data.cFileName, data.cAlternateFileName) != 0)
            names.push_back(data.cFileName);
    } while (FindNextFileW(find.Get(), &data));
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(),
                              -1) == CSTR_LESS_THAN;
    });
    return names;
}

RECT PreviewBoxForClip(int clipWidth, int clipHeight) {
    const int boxWidth = kPreviewBox.right - kPreviewBox.left;
    const int boxHeight = kPreviewBox.bottom - kPreviewBox.top;
    const int inWidth = boxWidth - 2 * kPreviewBorder, inHeight = boxHeight - 2 * kPreviewBorder;
    const RECT fit = FitRect(inWidth, inHeight, clipWidth, clipHeight);
    const int w = fit.right + 2 * kPreviewBorder, h = fit.bottom + 2 * kPreviewBorder;
    const int left = kPreviewBox.left + (boxWidth - w) / 2;
    const int top = kPreviewBox.top + (boxHeight - h) / 2;
    return RECT{left, top, left + w, top + h};
}
