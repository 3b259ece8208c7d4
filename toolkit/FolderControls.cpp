#include "toolkit/FolderControls.h"

#include <algorithm>
#include <cwctype>
#include <iterator>

#include "toolkit/Handles.h"
#include "toolkit/NonCopyable.h"
#include "toolkit/Text.h"

namespace tk {

namespace {
std::wstring WithBackslash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L'\\';
}

// The names of a folder's files that are not hidden.
std::vector<std::wstring> ShownFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((WithBackslash(folder) + L"*").c_str(), &data));
    if (!find) return names;
    do {
        if (!(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)))
            names.push_back(data.cFileName);
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

namespace {
// While it lives, the system tells a failure to read a drive rather than asking the user
// to insert a disk.
class QuietDriveErrors : private NonCopyable {
  public:
    QuietDriveErrors() : old_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~QuietDriveErrors() { SetErrorMode(old_); }

  private:
    UINT old_;
};

const wchar_t* KindName(UINT type) {
    switch (type) {
    case DRIVE_FIXED:
    case DRIVE_RAMDISK:
        return L"Disque local";
    case DRIVE_REMOVABLE:
        return L"Disque amovible";
    case DRIVE_CDROM:
        return L"Lecteur de CD";
    case DRIVE_REMOTE:
        return L"Lecteur réseau";
    default:
        return L"Lecteur";
    }
}

std::wstring VolumeLabel(const std::wstring& root) {
    QuietDriveErrors quiet;
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                               nullptr, 0))
        return {};
    return label;
}
} // namespace

std::wstring DriveText(const DriveName& drive) {
    const std::wstring name = drive.label.empty() ? KindName(drive.type) : drive.label;
    return name + L" (" + wchar_t(std::towupper(drive.letter)) + L":)";
}

bool DriveReady(wchar_t letter) {
    QuietDriveErrors quiet;
    const std::wstring root{letter, L':', L'\\'};
    const DWORD attributes = GetFileAttributesW(root.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {
constexpr UINT kReadLabels = WM_APP + 0x40;
}

bool DriveComboBox::CreateDrives(const ControlArgs& args) {
    if (!CreateCombo(args, ComboKind::DropDownList, 10)) return false;
    wchar_t drives[256] = {};
    GetLogicalDriveStringsW(DWORD(std::size(drives)), drives);
    for (const wchar_t* d = drives; *d; d += wcslen(d) + 1) {
        letters_.push_back(wchar_t(std::towlower(d[0])));
        types_.push_back(GetDriveTypeW(d));
        Add(DriveText({d[0], types_.back(), {}}));
    }
    PostMessageW(Handle(), kReadLabels, 0, 0);
    return true;
}

void DriveComboBox::ReadLabels() {
    if (labelsRead_) return;
    labelsRead_ = true;
    const int chosen = ItemIndex();
    for (size_t i = 0; i < letters_.size(); ++i) {
        if (types_[i] != DRIVE_FIXED && types_[i] != DRIVE_RAMDISK) continue;
        const std::wstring label = VolumeLabel(std::wstring{letters_[i], L':', L'\\'});
        if (label.empty()) continue;
        const std::wstring text = DriveText({letters_[i], types_[i], label});
        SendMessageW(Handle(), CB_DELETESTRING, i, 0);
        SendMessageW(Handle(), CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SetItemIndex(chosen);
}

LRESULT DriveComboBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kReadLabels) {
        ReadLabels();
        return 0;
    }
    return ComboBox::HandleMessage(msg, wp, lp);
}

wchar_t DriveComboBox::Drive() const {
    const int index = ItemIndex();
    return index < 0 || index >= int(letters_.size()) ? 0 : letters_[size_t(index)];
}

void DriveComboBox::SetDrive(wchar_t letter) {
    for (size_t i = 0; i < letters_.size(); ++i)
        if (letters_[i] == wchar_t(std::towlower(letter))) SetItemIndex(int(i));
}

// ---- FileListBox -------------------------------------------------------------------------

bool FileListBox::CreateFiles(const ControlArgs& args) {
    return CreateList(args, false);
}

void FileListBox::SetMask(const std::wstring& mask) {
    mask_ = mask;
    Refill();
}

void FileListBox::SetLister(Lister lister) {
    lister_ = std::move(lister);
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

std::vector<std::wstring> FileListBox::MaskMatches() const {
    // One pass over the folder, each name tried against the patterns here: a search of
    // the folder per pattern costs a scan of the folder each under Wine.
    std::vector<std::wstring> patterns, names;
    for (size_t start = 0; start <= mask_.size();) {
        size_t end = std::min(mask_.find(L';', start), mask_.size());
        if (end > start) patterns.push_back(mask_.substr(start, end - start));
        start = end + 1;
    }
    for (const std::wstring& name : ShownFiles(directory_))
        for (const std::wstring& pattern : patterns)
            if (WildcardMatch(pattern.c_str(), name.c_str())) {
                names.push_back(name);
                break;
            }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

void FileListBox::Refill() {
    if (!Handle()) return;
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    Clear();
    if (!directory_.empty()) {
        const std::vector<std::wstring> names = lister_ ? lister_(directory_) : MaskMatches();
        for (const std::wstring& name : names)
            Add(name);
    }
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

} // namespace tk
