#pragma once
// The folder scan cut into batches for a catalogue that fills while the show goes on: what a
// scan needs is copied into a request, and what it finds comes back batch by batch, so that
// the scan can run on a worker beside the window's thread (ScanWorker.h) or, for the tests,
// on the caller's own thread.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What a scan needs, taken on the window's thread when it begins: the walk reads nothing else
// that another thread could change meanwhile.
struct ScanRequest {
    std::wstring folders; // the folders text, entries cut at ";"
    uint32_t usable = 0;  // the media extensions this PC shows (UsableMediaMask)
};

// Part of what a scan found, in the order of the walk.
struct ScanBatch {
    std::vector<std::wstring> files;
    // Folders entries that could not be reached, named by their folder part, after the files.
    std::vector<std::wstring> away;
    bool last = false;   // the scan has ended with this batch
    bool whole = true;   // of the last batch: the scan went through every folder
    bool failed = false; // of the last batch: the scan broke down (memory ran out)
};

// The first files come at once, so that the show can begin; later ones at most every this
// many milliseconds, so that a library of many small folders costs no flood of messages.
constexpr unsigned kScanBatchMs = 50;

// Scans request.folders, handing what it finds to deliver: the first folder's files at once,
// then a batch at most every kScanBatchMs, a folder away at once, and a last batch at the end
// (empty but for its flags). keepGoing as FolderScan asks it. False when it was stopped.
bool ScanInBatches(const ScanRequest& request, const std::function<bool()>& keepGoing,
                   const std::function<void(ScanBatch&&)>& deliver);
