#include "library/ScanBatches.h"

#include <windows.h>

#include "library/FolderScan.h"

bool ScanInBatches(const ScanRequest& request, const std::function<bool()>& keepGoing,
                   const std::function<void(ScanBatch&&)>& deliver) {
    std::vector<std::wstring> files; // the walk appends here; each batch takes them
    ScanBatch pending;
    bool sentFiles = false;
    uint64_t sentAt = 0;
    auto send = [&] {
        pending.files = std::move(files);
        files.clear();
        deliver(std::move(pending));
        pending = ScanBatch{};
    };
    ScanEvents events;
    events.FolderScanned = [&](size_t) {
        const uint64_t now = GetTickCount64();
        if (sentFiles && now - sentAt < kScanBatchMs) return;
        sentFiles = true;
        sentAt = now;
        send();
    };
    events.Inaccessible = [&](const std::wstring& folder) {
        pending.away.push_back(folder);
        send(); // the files found before it go first
    };
    events.KeepGoing = keepGoing;
    bool whole = false;
    try {
        whole = FolderScan(files, std::move(events), request.usable).ScanFolders(request.folders);
    } catch (...) { // no exception leaves a worker: the scan ends with what it found
        pending.failed = true;
    }
    pending.last = true;
    pending.whole = whole;
    send();
    return whole;
}
