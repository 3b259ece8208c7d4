#include "dialog/FolderPicking.h"

#include <shlobj.h>

#include <algorithm>
#include <cwctype>

#include "controls/FitImage.h"
#include "library/FolderScan.h"
#include "library/SameFolder.h"
#include "toolkit/Handles.h"
#include "toolkit/System.h"
#include "toolkit/Text.h"

namespace {

std::wstring CurrentFolder() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), folder.data()));
    return folder;
}

} // namespace

const wchar_t* const kPhotoFailureMessage = L"Impossible d'afficher cette image";
const wchar_t* const kClipFailureMessage = L"Impossible de lire cette vidéo";

std::wstring DriveNotReadyMessage(wchar_t letter) {
    return std::wstring(L"Le lecteur ") + wchar_t(std::towupper(letter)) + L": n'est pas prêt";
}

std::wstring TreeStartFolder(const std::vector<std::wstring>& chosen) {
    if (!chosen.empty() && !chosen.back().empty() && tk::DirectoryExists(chosen.back()))
        return chosen.back();
    wchar_t pictures[MAX_PATH] = {};
    if (SUCCEEDED(
            SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures)) &&
        tk::DirectoryExists(pictures))
        return pictures;
    return CurrentFolder();
}

bool MayAddFolder(const std::vector<std::wstring>& chosen, const std::wstring& folder) {
    if (folder.empty() || !SetCurrentDirectoryW(folder.c_str())) return false;
    return std::none_of(chosen.begin(), chosen.end(),
                        [&](const std::wstring& line) { return SameFolder(line, folder); });
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
    std::vector<MediaCandidate> candidates;
    std::wstring pattern = folder;
    if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data;
    tk::FindHandle find(FindFirstFileW(pattern.c_str(), &data));
    if (!find) return {};
    do {
        MediaCandidate candidate;
        if (AsMediaCandidate(data, candidate)) candidates.push_back(std::move(candidate));
    } while (FindNextFileW(find.Get(), &data));
    find.Reset();
    // The catalogue's own choice of the listing, each file once (it takes a file again for
    // every other pattern that finds it through its short name), in listing order.
    std::vector<bool> taken(candidates.size(), false);
    for (size_t k : CataloguedEntries(candidates))
        taken[k] = true;
    std::vector<std::wstring> names;
    for (size_t k = 0; k < candidates.size(); ++k)
        if (taken[k]) names.push_back(std::move(candidates[k].name));
    // The system lists a folder in that order already, most often: checked, not redone.
    if (!std::is_sorted(names.begin(), names.end(), tk::LessIgnoringCase))
        std::sort(names.begin(), names.end(), tk::LessIgnoringCase);
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
