#include "library/FolderScan.h"

#include "settings/FolderList.h"
#include "settings/Settings.h"
#include "library/MediaKind.h"
#include "library/SameFolder.h"
#include "toolkit/Handles.h"
#include "toolkit/System.h"
#include "toolkit/Text.h"

namespace {

// Names are matched as the file system matches patterns: ASCII letters without regard to
// case, every other character only by itself.
wchar_t UpperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c;
}

// "*" + ext matches a name that ends with ext.
bool EndsWith(std::wstring_view name, const wchar_t* ext) {
    const size_t n = wcslen(ext);
    if (name.size() < n) return false;
    const wchar_t* tail = name.data() + name.size() - n;
    for (size_t i = 0; i < n; ++i)
        if (UpperAscii(tail[i]) != ext[i]) return false;
    return true;
}

std::wstring WithBackslash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L'\\';
}

// What the current directory would report after being set to path: the full path the system
// makes of it, without its trailing backslash except at a drive's root.
std::wstring ReportedFolder(const std::wstring& path) {
    std::wstring full = tk::FullPathName(path);
    if (full.size() > 1 && full.back() == L'\\' && full[full.size() - 2] != L':') full.pop_back();
    return full;
}

std::wstring ChildFolder(const std::wstring& folder, const std::wstring& name) {
    return ReportedFolder(WithBackslash(folder) + name);
}

// Whether path names a folder that can be entered, and its name as ReportedFolder gives it.
// The walk asks the file system itself rather than setting the process's current directory,
// which every thread shares.
bool EnterFolder(const std::wstring& path, std::wstring& reported) {
    if (path.empty()) return false;
    std::wstring full = ReportedFolder(path);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // Entering needs the right to pass through the folder, not only to see it in its parent.
    tk::FileHandle folder(CreateFileW(full.c_str(), FILE_TRAVERSE | SYNCHRONIZE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return false;
    reported = std::move(full);
    return true;
}

// Whether an entry names files rather than a folder: a file that is there, a pattern ("*"
// or "?" in its last part), or a photo or clip by its extension that has gone since. Such an
// entry stands for the folder it lies in. A folder that is not there stands for nothing more:
// walking its parent instead would show a whole tree that the user never chose.
bool NamesFiles(const std::wstring& entry) {
    const std::wstring name = entry.substr(FolderPart(entry).size());
    if (name.find_first_of(L"*?") != std::wstring::npos) return true;
    const DWORD attributes = GetFileAttributesW(entry.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    return IsMediaFile(name, mkPhoto | mkClip);
}

// The folder the scan walks for a folders entry: the entry itself, else, for an entry that
// names files, its folder part. False when that cannot be entered.
bool ReachEntry(const std::wstring& entry, std::wstring& folder) {
    return EnterFolder(entry, folder) ||
           (NamesFiles(entry) && EnterFolder(FolderPart(entry), folder));
}

// What the notice of an entry that cannot be reached names: its folder part, as ever, when
// that is away too (a disk that is not there); else the entry itself, the one folder away,
// whose parent is there and is not what is missing.
std::wstring AwayFolder(const std::wstring& entry) {
    std::wstring reached;
    const std::wstring part = FolderPart(entry);
    if (NamesFiles(entry) || !EnterFolder(part, reached)) return part;
    return entry;
}

constexpr DWORD kVolumeLabel = 0x8;
constexpr DWORD kNotWalked = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | kVolumeLabel;

} // namespace

std::wstring ScanCountText(size_t found) {
    return L"=> " + tk::IntToStr((long long)found) + L" fichiers trouvés";
}

uint32_t MediaPatternMask(std::wstring_view name, std::wstring_view shortName, uint32_t usable) {
    static_assert(MediaExtensions.size() <= 32, "one bit of the mask per extension");
    // The patterns of the formats this PC cannot show are not asked at all.
    uint32_t mask = 0;
    for (size_t i = 0; i < MediaExtensions.size(); ++i)
        if ((usable & (1u << i)) &&
            (EndsWith(name, MediaExtensions[i]) ||
             (!shortName.empty() && EndsWith(shortName, MediaExtensions[i]))))
            mask |= 1u << i;
    return mask;
}

bool AsMediaCandidate(const WIN32_FIND_DATAW& entry, MediaCandidate& candidate, uint32_t usable) {
    const uint32_t byName = MediaPatternMask(entry.cFileName, {}, usable);
    // A photo of the later formats (PNG to AVIF) is found by its own name only: the three
    // letters its short name keeps would list it twice (.TIF of a.tiff, .HEI of a.heic) or
    // under a clip's pattern (.AVI of a.avif).
    static const uint32_t laterPhotos = LaterPhotoMask();
    const uint32_t patterns = (byName & laterPhotos)
                                  ? byName
                                  : byName | MediaPatternMask({}, entry.cAlternateFileName, usable);
    if (!patterns) return false;
    const bool directory = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    // A name that a pattern finds through itself ends with that pattern's extension, which
    // is then its own (the extensions hold no other dot): IsMediaFile's answer for both
    // kinds, without the strings it makes, which count in a folder of many thousand files.
    candidate = {entry.cFileName, patterns, directory, !directory && byName != 0};
    return true;
}

bool ProbeFindsFile(const std::vector<MediaCandidate>& candidates) {
    for (size_t i = 0; i < MediaExtensions.size(); ++i)
        for (const MediaCandidate& c : candidates)
            if (c.patterns & (1u << i)) {
                if (!c.directory) return true;
                break; // only the first entry a pattern finds counts
            }
    return false;
}

std::vector<size_t> CataloguedEntries(const std::vector<MediaCandidate>& candidates) {
    std::vector<size_t> taken;
    if (!ProbeFindsFile(candidates)) return taken;
    for (size_t i = 0; i < MediaExtensions.size(); ++i)
        for (size_t k = 0; k < candidates.size(); ++k)
            if ((candidates[k].patterns & (1u << i)) && candidates[k].media) taken.push_back(k);
    return taken;
}

std::wstring FolderPart(const std::wstring& entry) {
    const size_t at = entry.find_last_of(L"\\:");
    return at == std::wstring::npos ? std::wstring() : entry.substr(0, at + 1);
}

std::vector<std::wstring> UnreachableFolders(const std::wstring& folders) {
    std::vector<std::wstring> unreachable;
    std::wstring folder;
    for (const std::wstring& entry : FolderEntries(folders))
        if (!ReachEntry(entry, folder)) unreachable.push_back(AwayFolder(entry));
    return unreachable;
}

std::wstring FullFolderPath(const std::wstring& folder) {
    if (folder.empty()) return folder;
    return WithBackslash(tk::FullPathName(folder));
}

FolderScan::FolderScan(std::vector<std::wstring>& files, ScanEvents events, uint32_t usable)
    : files_(files), events_(std::move(events)), usable_(usable) {}

bool FolderScan::KeepGoing() {
    if (!stopped_ && events_.KeepGoing && !events_.KeepGoing()) stopped_ = true;
    return !stopped_;
}

bool FolderScan::ScanFolders(const std::wstring& folders) {
    for (const std::wstring& entry : FolderEntries(folders)) {
        if (!KeepGoing()) return false;
        std::wstring folder;
        if (ReachEntry(entry, folder)) {
            if (!WalkFolder(folder)) return false;
        } else if (events_.Inaccessible) {
            events_.Inaccessible(AwayFolder(entry));
        }
    }
    return true;
}

bool FolderScan::WalkFolder(const std::wstring& folder) {
    stack_.clear();
    Walk(folder, FinalFolderKey(folder));
    return !stopped_;
}

// Depth first, in pre-order: the folder's own files, then each sub-folder in listing order.
// Hidden and system folders are not walked; a folder that cannot be listed is skipped. Only
// the listed folders and the links are asked where they lead: a sub-folder that is no link
// leads inside its parent, and a tree without links costs no trip more.
void FolderScan::Walk(const std::wstring& folder, std::wstring key) {
    if (!KeepGoing() || !walked_.insert(key).second) return;
    std::vector<Subfolder> subfolders;
    stack_.push_back(Frame{folder, key, {}, false});
    if (ScanFolderAndShowCount(folder, subfolders))
        for (const Subfolder& sub : subfolders) {
            const std::wstring child = ChildFolder(folder, sub.name);
            if (!sub.link)
                Walk(child, SubfolderKey(key, sub.name));
            else if (!LeadsBackUp(child))
                Walk(child, FinalFolderKey(child));
            if (stopped_) break;
        }
    stack_.pop_back();
}

// Lists the folder once. Its files are catalogued when the first entry that one of the
// patterns finds (in the patterns' order) is a file; they are added pattern by pattern, in
// listing order, each file once for every pattern that finds it, provided its own extension
// is a media one. The sub-folders to walk come back in listing order.
bool FolderScan::ScanFolderAndShowCount(const std::wstring& folder,
                                        std::vector<Subfolder>& subfolders) {
    WIN32_FIND_DATAW data;
    tk::FindHandle find(FindFirstFileW((WithBackslash(folder) + L"*").c_str(), &data));
    if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND; // an empty drive root
    std::vector<MediaCandidate> candidates;
    do {
        if (++listed_ % kEntriesPerCheck == 0 && !KeepGoing()) return false;
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        MediaCandidate candidate;
        if (AsMediaCandidate(data, candidate, usable_)) candidates.push_back(std::move(candidate));
        const DWORD attributes = data.dwFileAttributes;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & kNotWalked))
            subfolders.push_back({name, bool(attributes & FILE_ATTRIBUTE_REPARSE_POINT)});
    } while (FindNextFileW(find.Get(), &data));
    find.Reset();

    if (!ProbeFindsFile(candidates)) return true;
    for (size_t k : CataloguedEntries(candidates))
        files_.push_back(folder + L"\\" + candidates[k].name);
    if (events_.FolderScanned) events_.FolderScanned(files_.size());
    return true;
}

FolderScan::FileId FolderScan::IdOf(const std::wstring& folder) {
    FileId id;
    tk::FileHandle handle(CreateFileW(folder.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (handle && GetFileInformationByHandle(handle.Get(), &info)) {
        id.volume = info.dwVolumeSerialNumber;
        id.high = info.nFileIndexHigh;
        id.low = info.nFileIndexLow;
        id.known = true;
    }
    return id;
}

// A folder link is followed like any folder, unless it leads to a folder that is being
// walked already (itself or one of the folders above it): that would be a loop, walked
// again and again until the path grows too long. Only links are looked at, so a tree
// without links costs nothing more.
bool FolderScan::LeadsBackUp(const std::wstring& link) {
    const FileId target = IdOf(link);
    if (!target.known) return true; // it cannot be entered either
    for (Frame& frame : stack_) {
        if (!frame.idTried) {
            frame.id = IdOf(frame.folder);
            frame.idTried = true;
        }
        if (frame.id.known && frame.id == target) return true;
    }
    return false;
}
