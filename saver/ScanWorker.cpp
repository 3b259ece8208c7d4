#include "saver/ScanWorker.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

struct ScanWorker::Shared {
    std::mutex mutex;
    std::condition_variable ended;
    std::atomic<bool> stop{false}; // set under the mutex, read by the walk without it
    bool done = false;
    Deliver deliver;
};

ScanWorker::ScanWorker(ScanRequest request, Deliver deliver) : shared_(std::make_shared<Shared>()) {
    shared_->deliver = std::move(deliver);
    thread_ = std::thread([shared = shared_, request = std::move(request)] {
        try {
            ScanInBatches(
                request, [&] { return !shared->stop.load(); },
                [&](ScanBatch&& batch) {
                    auto owned = std::make_unique<ScanBatch>(std::move(batch));
                    // Under the mutex: once Stop has set the flag, nothing more goes out.
                    std::lock_guard<std::mutex> lock(shared->mutex);
                    if (!shared->stop) shared->deliver(std::move(owned));
                });
        } catch (...) {
            // No exception may end the process from here; without its last batch the
            // scan stays running for the window, which shows what came.
        }
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->done = true;
        shared->ended.notify_all();
    });
}

bool ScanWorker::Stop() {
    if (!thread_.joinable()) return true;
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->stop = true;
    const bool ended = shared_->ended.wait_for(lock, std::chrono::milliseconds(kScanStopWaitMs),
                                               [&] { return shared_->done; });
    lock.unlock();
    if (ended)
        thread_.join();
    else
        thread_.detach(); // stuck in a listing: it ends on its own and delivers nothing
    return ended;
}
