#pragma once
// The folder scan on a worker of its own (toolkit/Worker.h), so that the window's thread goes
// on moving the show and hearing input while a large library or a slow share is walked. The
// worker has a copy of its request and nothing of the window's. What it finds waits here under
// a lock until the window takes it; wake is then called (a message posted to the window), only
// to say that something is there: a wake-up that fails loses nothing, and the window's next
// turn takes the batches all the same. A walk that breaks down ends with a last batch that
// says so, so that the catalogue always learns that its scan is over.
//
// Stopping it (its destructor does) tells the walk to stop at its next check and, from that
// moment, hands over nothing more; it never waits. A listing can hang for long inside the
// system on a share that went away: the worker then ends on its own when the listing returns.
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "library/ScanBatches.h"
#include "toolkit/NonCopyable.h"
#include "toolkit/Worker.h"

class ScanWorker : private tk::NonCopyable {
  public:
    ScanWorker(ScanRequest request, std::function<void()> wake = nullptr);
    ~ScanWorker() { Stop(); }

    void Stop();
    // What the walk found since the last call, in its order; the last batch says it ended.
    std::vector<ScanBatch> TakeBatches();
    // The walk has returned (after its last batch, or after a stop).
    bool Ended() const { return worker_->Finished(); }

  private:
    struct Found {
        std::mutex mutex;
        std::vector<ScanBatch> batches;
        bool stopped = false;
    };
    std::shared_ptr<Found> found_;
    std::unique_ptr<tk::Worker> worker_;
};
