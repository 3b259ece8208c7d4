#pragma once
// A show's worker: it prepares the show's next photo (PictureWork.h) on a thread of its own
// while the tiles travel, one photo at a time, and says it is done by posting a message to the
// saver window, which hands the result to the show. Each show has its own, so that a photo
// on a slow share, or a read that never returns, holds up only the monitor that asked for it.
//
// A job runs on a worker (toolkit/Worker.h) that shares only the job with its owner, whose
// result waits in it under a lock: the message is only a wake-up, and the window's next step
// looks at the job all the same. Going (the saver closes, the monitor goes), the owner stops
// the job and does not wait: a worker still in a read ends when the read does, its result
// dropped. Such abandoned workers are capped per show: on a share whose reads never return,
// a show waits for one of them to end rather than leave a thread behind every deadline.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "saver/PictureWork.h"
#include "toolkit/NonCopyable.h"
#include "toolkit/Worker.h"

class LoadAhead : private tk::NonCopyable {
  public:
    using Work =
        std::function<PreparedPicture(const PictureRequest&, const std::function<bool()>& stopped)>;
    // Results are announced by posting message to window. Inline, for the tests that count a
    // step's refills, the work is done at once by Start, on the caller's thread.
    LoadAhead(HWND window, UINT message, Work work = PreparePicture, bool onCallerThread = false);
    ~LoadAhead(); // the job in hand is dropped, never waited for

    // Whether a job may start: none in hand, and fewer abandoned workers than the cap.
    bool CanStart();
    // Starts preparing a photo; false when CanStart is not.
    bool Start(PictureRequest request);
    bool Busy() const { return job_ != nullptr; }
    bool Done() const; // the job in hand is finished: TakeResult has it
    // The job in hand, once its thread has finished it: the path and what came of it.
    struct Result {
        std::wstring path;
        PreparedPicture prepared;
    };
    std::optional<Result> TakeResult();
    // How long the job in hand has run.
    DWORD RunningMs(DWORD now) const { return job_ ? now - startedAt_ : 0; }
    // Drops the job in hand (a read that never returned): its worker is left to end.
    void Abandon();
    // Abandoned workers still in their reads; at most kMaxAbandoned.
    size_t AbandonedRunning();
    static constexpr size_t kMaxAbandoned = 2;

  private:
    struct Job;
    HWND window_;
    UINT message_;
    Work work_;
    bool inline_;
    std::shared_ptr<Job> job_;
    std::unique_ptr<tk::Worker> worker_;
    std::vector<std::unique_ptr<tk::Worker>> abandoned_;
    bool saidFull_ = false; // the cap was met, said once until a worker ends
    DWORD startedAt_ = 0;
};

// How a saver's shows have their pictures prepared: as the saver does, unless a test or a
// benchmark says otherwise.
struct AheadJobs {
    LoadAhead::Work work = PreparePicture;
    // A job that runs this long is a read that will not return (a share that went away): its
    // file is dropped and the show goes on. A 16 MB photo at 5 MB/s takes about 3 s.
    DWORD deadlineMs = 20000;
    // For the tests that count a step's refills: a picture is prepared when a refill asks
    // for it, on the window's thread, so that each step does what it did without a worker.
    bool onWindowThread = false;
};
