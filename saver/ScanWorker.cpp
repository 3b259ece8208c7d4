#include "saver/ScanWorker.h"

#include <utility>

namespace {
ScanBatch BrokenDown() {
    ScanBatch last;
    last.last = true;
    last.whole = false;
    last.failed = true;
    return last;
}
} // namespace

ScanWorker::ScanWorker(ScanRequest request, std::function<void()> wake)
    : found_(std::make_shared<Found>()) {
    auto hand = [found = found_, wake](ScanBatch&& batch) {
        {
            // Under the lock: once Stop has set the flag, nothing more goes out.
            const std::lock_guard<std::mutex> lock(found->mutex);
            if (found->stopped) return;
            found->batches.push_back(std::move(batch));
        }
        if (wake) wake();
    };
    worker_ = std::make_unique<tk::Worker>(
        L"scan " + request.folders,
        [hand, request = std::move(request)](const tk::StopToken& stop) {
            try {
                ScanInBatches(
                    request, [&] { return !stop.Stopped(); },
                    [&](ScanBatch&& batch) { hand(std::move(batch)); });
            } catch (...) {
                // Its memory ran out, say: the show goes on with what came, and the scan ends.
                hand(BrokenDown());
            }
        });
    if (!worker_->Started()) hand(BrokenDown());
}

void ScanWorker::Stop() {
    {
        const std::lock_guard<std::mutex> lock(found_->mutex);
        found_->stopped = true;
        found_->batches.clear();
    }
    worker_->Stop();
}

std::vector<ScanBatch> ScanWorker::TakeBatches() {
    const std::lock_guard<std::mutex> lock(found_->mutex);
    return std::exchange(found_->batches, {});
}
