#include "toolkit/FolderControls.h"

#include <algorithm>
#include <cwctype>
#include <iterator>


namespace tk {

namespace {
std::wstring WithBackslash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L'\\';
}

// The names of the entries of a folder that match the pattern, folders or files.
std::vector<std::wstring> Entries(const std::wstring& folder, const std::wstring& pattern,
                                  bool folders) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((WithBackslash(folder) + pattern).c_str(), &data));
    if (!find) return names;
    do {
        const bool isFolder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        const std::wstring name = data.cFileName;
        if (isFolder != folders || name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) continue;
        names.push_back(name);
    } while (FindNextFileW(find.Get(), &data));
    return names;
}
} // namespace

bool WildcardMatch(const wchar_t* pattern, const wchar_t* name) {
    for (; *pattern; ++pattern, ++name) {
        if (*pattern == L'*') {
            for (const wchar_t* rest = name;; ++rest) {
                if (WildcardMatch(pattern + 1, rest)) return true;
                if (!*rest) return false;
            }
        }
        if (!*name) return false;
        if (*pattern != L'?' && std::towupper(*pattern) != std::towupper(*name)) return false;
    }
    return !*name;
}

// ---- DriveComboBox -----------------------------------------------------------------------

bool DriveComboBox::CreateDrives(const ControlArgs& args) {
    if (!CreateCombo(args, ComboKind::DropDownList, 10)) return false;
    wchar_t drives[256] = {};
    GetLogicalDriveStringsW(DWORD(std::size(drives)), drives);
    // Letters only: asking a volume its label can wait on an empty disc drive or a network.
    for (const wchar_t* d = drives; *d; d += wcslen(d) + 1)
        Add(std::wstring{wchar_t(std::towlower(d[0])), L':'});
    return true;
}

wchar_t DriveComboBox::Drive() const {
    const int index = ItemIndex();
    return index < 0 ? 0 : Item(index)[0];
}

void DriveComboBox::SetDrive(wchar_t letter) {
    for (int i = 0, n = Count(); i < n; ++i)
        if (Item(i)[0] == wchar_t(std::towlower(letter))) SetItemIndex(i);
}

// ---- DirectoryListBox --------------------------------------------------------------------

bool DirectoryListBox::CreateDirectories(const ControlArgs& args) {
    return CreateList(args, false);
}

void DirectoryListBox::SetDrive(wchar_t letter) {
    SetDirectory(std::wstring{letter, L':', L'\\'});
}

void DirectoryListBox::SetDirectory(const std::wstring& directory) {
    directory_ = directory;
    while (directory_.size() > 3 && directory_.back() == L'\\') directory_.pop_back();
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    Clear();
    // The levels of the path, each one step further in; the current one is selected.
    std::wstring indent;
    size_t start = 0;
    int current = -1;
    while (start < directory_.size()) {
        size_t end = directory_.find(L'\\', start);
        if (end == std::wstring::npos) end = directory_.size();
        std::wstring level = directory_.substr(start, end - start);
        if (start == 0) level += L'\\';
        current = Add(indent + level);
        indent += L"  ";
        start = end + 1;
    }
    for (const std::wstring& name : Entries(directory_, L"*", true)) Add(indent + name);
    SetSelected(current, true);
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

// ---- FileListBox -------------------------------------------------------------------------

bool FileListBox::CreateFiles(const ControlArgs& args) {
    ControlArgs a = args;
    a.style |= LBS_SORT;
    return CreateList(a, false);
}

void FileListBox::SetMask(const std::wstring& mask) {
    mask_ = mask;
    Refill();
}

void FileListBox::SetDirectory(const std::wstring& directory) {
    directory_ = directory;
    Refill();
}

std::wstring FileListBox::FileName() const {
    const int index = int(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
    return index < 0 ? std::wstring() : WithBackslash(directory_) + Item(index);
}

void FileListBox::Refill() {
    if (!Handle()) return;
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    Clear();
    if (!directory_.empty()) {
        // One pass over the folder, each name tried against the patterns here: a search of
        // the folder per pattern costs a scan of the folder each under Wine.
        std::vector<std::wstring> patterns;
        for (size_t start = 0; start <= mask_.size();) {
            size_t end = std::min(mask_.find(L';', start), mask_.size());
            if (end > start) patterns.push_back(mask_.substr(start, end - start));
            start = end + 1;
        }
        for (const std::wstring& name : Entries(directory_, L"*", false))
            for (const std::wstring& pattern : patterns)
                if (WildcardMatch(pattern.c_str(), name.c_str())) {
                    Add(name);
                    break;
                }
    }
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

} // namespace tk
