#pragma once
// The folder scan on a thread of its own, so that the window's thread goes on moving the show
// and hearing input while a large library or a slow share is walked. The worker has a copy of
// its request and nothing of the window's; each batch goes to deliver, on the worker, which
// posts it to the window.
//
// Stopping it (its destructor does) tells the walk to stop at its next check and, from that
// moment, delivers nothing more. The walk checks often, but a listing can hang for long inside
// the system on a share that went away: the close waits a moment for the thread, and then
// leaves it to end on its own when the listing returns. Such a thread holds only its request
// and the shared state it owns with this object, and never delivers again; the process's end
// takes it with it.
#include <memory>
#include <thread>

#include "library/ScanBatches.h"
#include "toolkit/NonCopyable.h"

// How long a stop waits for the worker before leaving it behind.
constexpr unsigned kScanStopWaitMs = 100;

class ScanWorker : private tk::NonCopyable {
  public:
    // Called on the worker with each batch, never after Stop has begun. It takes the batch.
    using Deliver = std::function<void(std::unique_ptr<ScanBatch> batch)>;

    ScanWorker(ScanRequest request, Deliver deliver);
    ~ScanWorker() { Stop(); }

    // True when the thread ended within the wait (it was joined), false when it was left.
    bool Stop();

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};
