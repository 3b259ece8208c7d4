#include "library/Catalogue.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <unordered_set>

#include "settings/ConfigName.h"
#include "settings/Settings.h"
#include "settings/Random.h"
#include "library/FolderScan.h"
#include "library/MemoryFile.h"
#include "library/RefillTries.h"
#include "toolkit/Log.h"
#include "toolkit/Text.h"
#include "toolkit/NonCopyable.h"

class FileCatalogue::FillingScope : private tk::NonCopyable {
  public:
    explicit FillingScope(const CatalogueEvents& events) : events_(events) {
        if (events_.Filling) events_.Filling(true);
    }
    ~FillingScope() {
        if (events_.Filling) events_.Filling(false);
    }

  private:
    const CatalogueEvents& events_;
};

void FileCatalogue::Progress(const std::wstring& text) const {
    if (events_.Progress) events_.Progress(text);
}

void FileCatalogue::Warning(const std::wstring& text) const {
    if (events_.Warning) events_.Warning(text);
}

void FileCatalogue::Clear() {
    filesToSee.clear();
    seenFiles.clear();
    failures_.NewPass();
    scanning_ = false; // its batches, should more come, are dropped
    std::vector<std::wstring>().swap(previousPass_);
}

void FileCatalogue::ScanFolders() {
    // The lists of the pass that ends wait aside until the new scan has ended: a close before
    // that writes the memory with them (EndScanAtClose).
    std::vector<std::wstring> previous = std::move(scanning_ ? previousPass_ : seenFiles);
    if (!scanning_)
        previous.insert(previous.end(), std::make_move_iterator(filesToSee.begin()),
                        std::make_move_iterator(filesToSee.end()));
    Clear();
    previousPass_ = std::move(previous);
    unreached_.clear();
    found_ = 0;
    scanPacer_ = ProgressPacer();
    scanning_ = true;
    ScanRequest request{settings_.folders, UsableMediaMask()};
    if (events_.StartScan) {
        events_.StartScan(std::move(request));
        return;
    }
    FillingScope filling(events_);
    ScanInBatches(
        request, [this] { return KeepGoing(); },
        [this](ScanBatch&& batch) { TakeFound(std::move(batch)); });
}

void FileCatalogue::DrawScanCount() const {
    Progress(ScanCountText(found_));
}

void FileCatalogue::TakeFound(ScanBatch&& batch) {
    if (!scanning_) return; // of a scan given up
    found_ += batch.files.size();
    // A file taken ahead when the pass began is shown once in it, though the scan finds it.
    for (std::wstring& path : batch.files)
        if (aheadFiles.empty() ||
            std::none_of(aheadFiles.begin(), aheadFiles.end(),
                         [&](const std::wstring& ahead) { return tk::SamePath(ahead, path); }))
            filesToSee.push_back(std::move(path));
    if (!batch.files.empty() && scanPacer_.Due(GetTickCount64())) DrawScanCount();
    for (const std::wstring& folder : batch.away) {
        unreached_.push_back(folder);
        if (scanPacer_.TakePending()) DrawScanCount(); // the notice comes over the true count
        SayFolderAway(folder);
    }
    if (batch.last) EndScan(batch.whole, batch.failed);
}

void FileCatalogue::EndScan(bool whole, bool failed) {
    scanning_ = false;
    std::vector<std::wstring>().swap(previousPass_);
    if (scanPacer_.TakePending()) DrawScanCount();
    if (failed) tk::Log(L"the folder scan broke down; the show goes on with what it found");
    filled_ = whole;
    if (!whole) {
        if (!failed) tk::Log(L"folder scan stopped by an exit; the memory stays as it was");
        return;
    }
    if (found_ == 0) Warning(L"Erreur : Aucune photos ou vidéos trouvées !");
}

// A close before the scan's end: the lists hold what the new pass found so far. When the pass
// before it is known (a rescan at the end of a pass, or a scan after a memory whose files
// were all seen), the files it held that the scan has not found yet are still to see in the
// new pass, and the memory is written whole. Without it (the first scan of a library) the
// lists hold part of the folders only, and the memory stays as it was.
void FileCatalogue::EndScanAtClose() {
    scanning_ = false;
    filled_ = !previousPass_.empty();
    if (!filled_) {
        tk::Log(L"folder scan stopped by an exit; the memory stays as it was");
        return;
    }
    std::unordered_set<std::wstring> found(filesToSee.begin(), filesToSee.end());
    found.insert(seenFiles.begin(), seenFiles.end());
    for (std::wstring& path : previousPass_)
        if (!found.count(path)) filesToSee.push_back(std::move(path));
    std::vector<std::wstring>().swap(previousPass_);
}

void FileCatalogue::SayFolderAway(const std::wstring& folder) {
    if (std::find(warned_.begin(), warned_.end(), folder) != warned_.end()) return;
    warned_.push_back(folder);
    const std::wstring text = L"Répertoire \"" + folder + L"\" inaccessible";
    if (events_.Notice)
        events_.Notice(text);
    else
        Warning(text);
}

bool FileCatalogue::KeepsMemory() const {
    return settings_.rememberSeen && !memoryUnreadable_;
}

// A memory file that exists but cannot be read (another program held it past the wait) is
// never replaced: the run scans its folders and goes on as with the memory off, and the file
// keeps what earlier runs saw.
// The entries of folders that are away (a disk unplugged) are set aside: each would only fail
// at its pick, and the close writes them back as they were read. A memory whose files still
// to see are all away leads to a scan, as one with none would.
bool FileCatalogue::ReadMemory() {
    FillingScope filling(events_);
    const auto keepGoing = [this] { return KeepGoing(); };
    std::string text;
    const FileRead read = ReadMemoryWhenFree(text, keepGoing);
    memoryUnreadable_ = read == FileRead::Unreadable;
    if (read != FileRead::Read) return false;
    bool allSeen = true;
    ProgressPacer pacer;
    auto drawCount = [this] { Progress(MemoryCountText(seenFiles.size(), filesToSee.size())); };
    const bool whole = ParseMemoryFile(
        text,
        [&](bool toSee, std::wstring path) {
            if (toSee) {
                filesToSee.push_back(std::move(path));
                allSeen = false;
            } else {
                seenFiles.push_back(std::move(path));
            }
            if (pacer.Due(GetTickCount64())) drawCount();
        },
        keepGoing);
    if (pacer.TakePending()) drawCount();
    if (!whole) return false; // the exit pending, nothing is scanned
    memoryRead_ = std::move(text);
    failures_.NewPass();
    if (!SetAsideFoldersAway()) return false;
    if (allSeen || filesToSee.empty()) return false;
    filled_ = true;
    return true;
}

// A backup or a virus scanner holds a file for a moment: a memory that cannot be read is
// tried again for as long as a configuration file is waited for, input heard meanwhile, before
// the run goes on without it.
FileRead FileCatalogue::ReadMemoryWhenFree(std::string& text,
                                           const std::function<bool()>& keepGoing) {
    const std::wstring path = MemoryFilePath(settings_.installDir, settings_.memoryName);
    const FileRead read =
        tk::RetryWhileUnreadable([&] { return ReadWholeFile(path, text, keepGoing); }, keepGoing);
    if (read == FileRead::Unreadable)
        tk::Log(L"the memory file cannot be read: " + path +
                L"; this run goes on without it and leaves it as it was");
    return read;
}

// One pass over both lists, input looked at as in the scan; false when an exit stopped it.
bool FileCatalogue::SetAsideFoldersAway() {
    std::vector<std::wstring> away = UnreachableFolders(settings_.folders);
    if (away.empty()) return true;
    std::vector<std::wstring> full;
    for (const std::wstring& folder : away)
        full.push_back(FullFolderPath(folder));
    for (std::vector<std::wstring>* list : {&filesToSee, &seenFiles}) {
        size_t kept = 0;
        for (size_t i = 0; i < list->size(); ++i) {
            if (i % kEntriesPerCheck == 0 && !KeepGoing()) return false;
            if (InOneOfFolders((*list)[i], full)) continue;
            if (kept != i) (*list)[kept] = std::move((*list)[i]);
            ++kept;
        }
        list->resize(kept);
    }
    tk::Log(L"memory entries of folders away are kept aside for the close");
    for (const std::wstring& folder : away)
        SayFolderAway(folder);
    unreached_ = std::move(away);
    return true;
}

// Entries of folders that this run could not reach, in its latest scan or now, are written
// back as the memory held them: the run knows nothing new about those files. A folder that
// was reached and no longer holds a file drops it.
bool FileCatalogue::WriteMemory() {
    MemoryEntries kept;
    if (!memoryRead_.empty()) {
        std::vector<std::wstring> folders = unreached_;
        for (std::wstring& folder : UnreachableFolders(settings_.folders))
            folders.push_back(std::move(folder));
        for (std::wstring& folder : folders)
            folder = FullFolderPath(folder);
        kept = EntriesInFolders(memoryRead_, folders, filesToSee, seenFiles);
    }
    return ReplaceFileContent(MemoryFilePath(settings_.installDir, settings_.memoryName),
                              FormatMemoryFile(filesToSee, seenFiles, kept));
}

// The list's last entry takes the place of the one taken: shifting every later entry down
// would make a pass over N files cost N * N moves, minutes for a large folder of broken files.
// The list has no order to keep; the pick stays uniform.
void FileCatalogue::PickNextFile(const Excluded& excluded) {
    size_t i = size_t(Random(int(filesToSee.size())));
    // A file that may not be taken draws again among those that may: each of them is then
    // as likely as the others, and with none excluded the draw is the one above.
    if (excluded && excluded(filesToSee[i])) {
        std::vector<size_t> free;
        for (size_t k = 0; k < filesToSee.size(); ++k)
            if (!excluded(filesToSee[k])) free.push_back(k);
        i = free[size_t(Random(int(free.size())))];
    }
    currentFile = filesToSee[i];
    seenFiles.push_back(currentFile);
    if (i + 1 != filesToSee.size()) filesToSee[i] = std::move(filesToSee.back());
    filesToSee.pop_back();
}

void FileCatalogue::ForgetFile(const std::wstring& path) {
    const auto it = std::find_if(seenFiles.begin(), seenFiles.end(), [&](const std::wstring& seen) {
        return tk::SamePath(seen, path);
    });
    if (it != seenFiles.end()) seenFiles.erase(it);
}

void FileCatalogue::RefillCatalogue() {
    failures_.NewPass();
    // A scan that holds, on a share that stopped answering, would keep the show on its last
    // file: the pass ends on the files found so far, and the files found later join the new
    // one.
    if (!scanning_ && KeepsMemory()) {
        ScanFolders();
        return;
    }
    filesToSee.insert(filesToSee.end(), seenFiles.begin(), seenFiles.end());
    seenFiles.clear();
}

void FileCatalogue::NewPassWhenDry() {
    if (filesToSee.empty() && !seenFiles.empty()) RefillCatalogue();
}

void FileCatalogue::FillCatalogue() {
    if (settings_.rememberSeen && ReadMemory()) return;
    if (!Stopping()) ScanFolders();
}

bool FileCatalogue::HasFileFor(const Excluded& excluded) const {
    if (!excluded) return !filesToSee.empty();
    return std::any_of(filesToSee.begin(), filesToSee.end(),
                       [&](const std::wstring& path) { return !excluded(path); });
}

namespace {
// Takes path out of list; false when it was not there.
bool TakeOut(std::vector<std::wstring>& list, const std::wstring& path) {
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const std::wstring& p) { return tk::SamePath(p, path); });
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}
} // namespace

std::wstring FileCatalogue::TakeAhead(const Excluded& excluded) {
    const std::wstring current = currentFile; // the file of the refill under way, if any
    std::wstring taken;
    while (taken.empty() && HasFileFor(excluded)) {
        PickNextFile(excluded);
        seenFiles.pop_back(); // not seen until it is on the screen
        if (!failures_.Failed(currentFile)) {
            taken = currentFile;
            aheadFiles.push_back(taken);
        }
        // A new scan leaves out the files ahead as it hands them over (TakeFound).
        if (filesToSee.empty()) RefillCatalogue();
        if (Stopping()) break;
    }
    currentFile = current;
    return taken;
}

void FileCatalogue::AheadShown(const std::wstring& path) {
    if (TakeOut(aheadFiles, path)) seenFiles.push_back(path);
}

void FileCatalogue::AheadFailed(const std::wstring& path) {
    TakeOut(aheadFiles, path);
    failures_.Add(path);
}

void FileCatalogue::GiveBack(const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths) {
        if (TakeOut(aheadFiles, path)) {
            filesToSee.push_back(path);
            continue;
        }
        const size_t seen = seenFiles.size();
        ForgetFile(path);
        if (seenFiles.size() != seen) filesToSee.push_back(path);
    }
}

// A folder of many broken files keeps the tries going for long: the owner hears its input
// meanwhile through KeepGoing, as during a scan.
bool FileCatalogue::TakeNextFile(const Excluded& excluded,
                                 const std::function<bool()>& loadCurrentFile) {
    FillingScope filling(events_);
    RefillTries tries(filesToSee.size(), seenFiles.empty());
    for (;;) {
        PickNextFile(excluded);
        const bool loaded = !failures_.Failed(currentFile) && loadCurrentFile();
        if (!loaded) {
            failures_.Add(currentFile);
            // ForgetFile of the file just taken, which is the last seen one: no search.
            seenFiles.pop_back();
        }
        // Also after a success: the refill that takes the last file starts the next pass.
        if (filesToSee.empty()) {
            RefillCatalogue();
            tries.NewPass(filesToSee.size());
        }
        if (loaded || !HasFileFor(excluded) || Stopping() || !KeepGoing() ||
            !tries.FailedMayRetry())
            return loaded;
    }
}

// The memory is replaced only by a whole state of this run's catalogue. One that ended empty
// (its folders away for the run, say) knows nothing worth keeping: the file stays as it was.
// A memory that cannot be written keeps its previous file whole; the close goes on.
void FileCatalogue::Close() {
    GiveBack(std::vector<std::wstring>(aheadFiles)); // prepared, never shown
    if (scanning_) EndScanAtClose();
    if (KeepsMemory() && filled_) {
        if (filesToSee.empty() && seenFiles.empty())
            tk::Log(L"empty catalogue; the memory file stays as it was");
        else if (!WriteMemory())
            tk::Log(L"the memory file could not be written");
    }
    Clear();
}
