#pragma once
// The scan that fills the catalogue: every folder of folders is walked, depth first, a
// folder's own media files before those of its sub-folders, and each media file found is
// appended as the folder's path, "\" and the file's name.
//
// The list is the one that listing each folder once per media extension gives ("*.JPG",
// then "*.JPEG", ... in the table's order), duplicates included: the system matches such a
// pattern against a file's short 8.3 name as well, so "*.MPE" also finds clip.mpeg, which
// is then listed under ".MPEG" and again under ".MPE". But each folder is listed only once:
// the patterns are matched in memory against both names of every entry. Listing a folder
// costs a trip to the file system each time; one per extension made the scan of a large
// library ten times slower than reading it.
//
// A short name keeps only three letters of an extension, so "*.MP4" finds x.mp4a and
// "*.3GP" finds x.3gpp through their short names; such a file is still no clip (its own
// extension decides), as x.jpgz found by "*.JPG" is no photo. The photos that Windows'
// imaging component reads (.PNG to .AVIF) are found by their own names only.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "library/MediaKind.h"

// Which "*" + extension patterns of MediaExtensions an entry matches through its long name
// or its short name (empty when it has none): bit i for MediaExtensions[i]. Only the
// extensions this PC can show (usable, as UsableMediaMask gives it) are patterns.
uint32_t MediaPatternMask(std::wstring_view name, std::wstring_view shortName,
                          uint32_t usable = UsableMediaMask());

// An entry of a folder's listing that one of the patterns finds.
struct MediaCandidate {
    std::wstring name;
    uint32_t patterns; // as MediaPatternMask gives them
    bool directory;
    bool media; // a file whose own extension is a media one
};

// The candidate a listed entry makes; false when no pattern finds it.
bool AsMediaCandidate(const WIN32_FIND_DATAW& entry, MediaCandidate& candidate,
                      uint32_t usable = UsableMediaMask());

// The probe of a folder: whether, in the patterns' order, the first pattern that finds an
// entry finds a file first rather than a folder. Only then is the folder's listing taken.
bool ProbeFindsFile(const std::vector<MediaCandidate>& candidates);

// Which candidates of one folder's listing the catalogue takes, as indices, in the order it
// appends them: pattern by pattern, each in listing order, so a file that two patterns find
// comes twice. None when the probe finds no file.
std::vector<size_t> CataloguedEntries(const std::vector<MediaCandidate>& candidates);

// The folder part of an entry: up to and including its last "\" or ":"; empty without.
std::wstring FolderPart(const std::wstring& entry);

// "=> N fichiers trouvés", the running count drawn while the folders are scanned.
std::wstring ScanCountText(size_t found);

// The folders entries that the scan cannot reach, in folders's order, each named as its
// notice names it: a folder that is not there by itself, or by its folder part (as FolderPart
// gives it) when that is away too or the entry names files.
std::vector<std::wstring> UnreachableFolders(const std::wstring& folders);

// The full path of a folder, ending with "\"; empty for an empty text.
std::wstring FullFolderPath(const std::wstring& folder);

// How many listed entries at most pass between two asks of KeepGoing.
constexpr size_t kEntriesPerCheck = 256;

struct ScanEvents {
    // A folder's files were added; the running total of files found since the scan began.
    std::function<void(size_t total)> FolderScanned;
    // A folders entry could not be reached, named as UnreachableFolders names it.
    std::function<void(const std::wstring& folder)> Inaccessible;
    // Asked before each folder is listed and after every kEntriesPerCheck entries listed, so
    // that the caller can handle input while a large library is scanned: false stops the scan
    // at once. The files of a folder whose listing was stopped are not added.
    std::function<bool()> KeepGoing;
};

// The walk touches nothing of the process's own (its current directory, the formats asked of
// the system once): it runs on a worker beside the window's thread.
class FolderScan {
  public:
    // usable: the media extensions this PC shows, as UsableMediaMask gives them, asked on the
    // thread that makes the scan.
    FolderScan(std::vector<std::wstring>& files, ScanEvents events,
               uint32_t usable = UsableMediaMask());

    // Scans every entry of folders in order. An entry that names a folder is walked; one that
    // names a file or a pattern walks its folder part (the file's folder); a folder that is not
    // there is reported as inaccessible, never replaced by its parent. False when KeepGoing
    // stopped it.
    //
    // Each folder is walked once per scan, whichever way it is reached: a folder that the list
    // names twice, a folder inside another listed one (before or after it in the list), one
    // that a symbolic link or a junction leads to again. Otherwise its files would come twice
    // in every pass. The first way the walk reaches it names its files.
    bool ScanFolders(const std::wstring& folders);

    // Walks the tree under a folder, given as a full path without its trailing "\" (but at a
    // drive's root), as the current directory would report it, but for
    // the folders this scan walked already. False when KeepGoing stopped it.
    bool WalkFolder(const std::wstring& folder);

    // Entries listed so far, "." and ".." included.
    size_t Listed() const { return listed_; }

  private:
    struct FileId {
        DWORD volume = 0, high = 0, low = 0;
        bool known = false;
        bool operator==(const FileId& o) const {
            return volume == o.volume && high == o.high && low == o.low;
        }
    };
    struct Frame {
        std::wstring folder; // as the current directory reports it
        std::wstring key;    // where it leads (SameFolder.h), through the links on the way
        FileId id;           // looked up only when a folder link needs it
        bool idTried = false;
    };
    struct Subfolder {
        std::wstring name;
        bool link; // a symbolic link or junction
    };
    void Walk(const std::wstring& folder, std::wstring key);
    bool ScanFolderAndShowCount(const std::wstring& folder, std::vector<Subfolder>& subfolders);
    bool LeadsBackUp(const std::wstring& link);
    static FileId IdOf(const std::wstring& folder);
    bool KeepGoing(); // false from the first time the caller said stop

    std::vector<std::wstring>& files_;
    ScanEvents events_;
    uint32_t usable_;
    std::vector<Frame> stack_;                // the folders being walked, outermost first
    std::unordered_set<std::wstring> walked_; // the keys of the folders walked in this scan
    size_t listed_ = 0;
    bool stopped_ = false;
};
