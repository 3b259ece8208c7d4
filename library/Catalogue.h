#pragma once
// The saver's catalogue of media files: the folders of folders scanned into filesToSee, files
// taken at random into seenFiles, new passes, and the memory of what was seen across runs.
// It has no window: what it shows (a running count, a warning) and when it must stop go
// through the events its owner gives it, so the tests drive it with plain functions.
#include <functional>
#include <string>
#include <vector>

#include "library/PassFailures.h"
#include "settings/Settings.h"
#include "library/ProgressPacer.h"
#include "library/ScanBatches.h"
#include "toolkit/FileContent.h"

struct CatalogueEvents {
    std::function<void(const std::wstring& text)> Progress; // a count while it fills
    std::function<void(const std::wstring& text)> Warning;  // a folder away, nothing found
    // A folder away, said without waiting for an answer; without it, Warning says it.
    std::function<void(const std::wstring& text)> Notice;
    // Asked often while a scan or the memory read runs: false stops it at once.
    std::function<bool()> KeepGoing;
    // An exit is pending: no scan starts and a refill's tries end.
    std::function<bool()> Stopping;
    // A memory read, a refill's tries or a scan on the caller's thread begin (true) or have
    // ended (false): the owner's message loop does not run meanwhile, and KeepGoing is asked
    // instead.
    std::function<void(bool begins)> Filling;
    // A scan begins: the owner runs it (on a worker) and hands what it finds to TakeFound
    // while the show goes on. Without it, ScanFolders scans before it returns.
    std::function<void(ScanRequest request)> StartScan;
};

class FileCatalogue {
  public:
    // settings: the run's, which its owner keeps for as long as the catalogue lives; it reads
    // the folders, the memory option and the memory file's place.
    explicit FileCatalogue(const SettingsRecord& settings, CatalogueEvents events = {})
        : settings_(settings), events_(std::move(events)) {}

    std::vector<std::wstring> filesToSee;
    std::vector<std::wstring> seenFiles;
    std::wstring currentFile; // the file PickNextFile took last

    // Start-up: the memory first when it is kept, else a scan.
    void FillCatalogue();
    // A new pass from a scan of the folders. Until the scan ends, the files found so far are
    // the pass's files to see, and those found later join them; the pass does not end before
    // the scan.
    void ScanFolders();
    // Files and folders away that the running scan found; its last batch ends it.
    void TakeFound(ScanBatch&& batch);
    bool ScanRunning() const { return scanning_; }
    size_t Found() const { return found_; } // files the latest scan found so far
    bool ReadMemory();                      // true when the memory held files still to see
    bool WriteMemory(); // false, with the previous file intact, when it could not be written
    // Files that may not be taken now (on another monitor's tile); none when it is empty.
    using Excluded = std::function<bool(const std::wstring& path)>;
    void PickNextFile(const Excluded& excluded = {}); // HasFileFor must hold
    bool HasFileFor(const Excluded& excluded) const;  // some file to see may be taken
    void ForgetFile(const std::wstring& path);
    // The next pass: a new scan with the memory on, else the seen files. While a scan runs
    // (a share that stopped answering holds it), the seen files of the pass so far.
    void RefillCatalogue();
    // The next pass when every file of this one was taken: a library no larger than the
    // tiles is all on the screen or ahead, and no refill would otherwise start the next.
    void NewPassWhenDry();
    // The refill's tries: picks files until loadCurrentFile takes one, forgetting those that fail,
    // starting the next pass when the catalogue runs dry, and giving up after a whole pass
    // without a success, or at once when KeepGoing says stop. A file that failed in this pass
    // is not tried again. False when nothing loaded.
    bool TakeNextFile(const std::function<bool()>& loadCurrentFile) {
        return TakeNextFile({}, loadCurrentFile);
    }
    bool TakeNextFile(const Excluded& excluded, const std::function<bool()>& loadCurrentFile);
    // Files of tiles that are gone (a monitor was unplugged) count as not yet seen again; so
    // do files taken ahead that never reached the screen.
    void GiveBack(const std::vector<std::wstring>& paths);

    // Files taken ahead for the shows' workers, which prepare them while the tiles travel:
    // out of the files to see, yet not seen until they are on the screen. The close gives
    // back those that never got there.
    std::vector<std::wstring> aheadFiles;
    // The next file to prepare (HasFileFor must hold; empty when every one left failed in this
    // pass, which are dropped on the way). Taking the last file starts the next pass, which
    // leaves out the files still ahead.
    std::wstring TakeAhead(const Excluded& excluded = {});
    void AheadShown(const std::wstring& path);  // it reached the screen: seen
    void AheadFailed(const std::wstring& path); // dropped, and not tried again in this pass
    // The close: the memory is written when it is kept and this run filled the catalogue (or
    // knows the files of the pass before the scan that runs); then both lists are emptied.
    void Close();
    // Both lists, for a new start (the files ahead stay with their shows); a scan that runs is
    // given up.
    void Clear();

    // Set once the catalogue has been filled in this run: only then does the close write the
    // memory, so that a saver closed before its start-up ended cannot wipe it. A scan cut short
    // by an exit clears it again: it holds only part of the folders.
    bool Filled() const { return filled_; }
    // Whether this run keeps the memory: it is asked for, and its file, when there is one,
    // could be read. A file that another program held past the wait is left as it was, and the
    // run goes on as with the memory off.
    bool KeepsMemory() const;

  private:
    bool Stopping() const { return events_.Stopping && events_.Stopping(); }
    bool KeepGoing() const { return !events_.KeepGoing || events_.KeepGoing(); }
    void Progress(const std::wstring& text) const;
    void DrawScanCount() const;
    void EndScan(bool whole, bool failed);
    void EndScanAtClose();
    void Warning(const std::wstring& text) const;

    class FillingScope; // tells the owner that a scan or a read runs, while it lives
    bool SetAsideFoldersAway();
    // A folder of folders that cannot be reached is said once per run: a drive that stays
    // away would otherwise be said again at every new pass.
    void SayFolderAway(const std::wstring& folder);
    tk::FileRead ReadMemoryWhenFree(std::string& text, const std::function<bool()>& keepGoing);

    const SettingsRecord& settings_;
    PassFailures failures_;
    CatalogueEvents events_;
    bool filled_ = false;
    bool memoryUnreadable_ = false; // its file was there but could not be read this run
    // The memory file as it was read at the start, and the folders of folders that the latest
    // scan could not reach: the close writes their entries back as they were read.
    std::string memoryRead_;
    std::vector<std::wstring> unreached_;
    std::vector<std::wstring> warned_; // folders warned about in this run, once each
    bool scanning_ = false;
    size_t found_ = 0;
    ProgressPacer scanPacer_;
    // The files of the pass before the running scan, for a close that comes before its end.
    std::vector<std::wstring> previousPass_;
};
