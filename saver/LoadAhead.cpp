#include "saver/LoadAhead.h"

#include <atomic>
#include <mutex>

#include "toolkit/Handles.h"

namespace {
std::atomic<long> threadsRunning{0};
} // namespace

struct LoadAhead::Job {
    PictureRequest request;
    Work work;
    HWND window;
    UINT message;
    std::mutex lock;
    bool wanted = true; // cleared by the owner that no longer waits for it
    bool done = false;
    PreparedPicture result;
    // The thread's own reference, which keeps the job alive until the thread ends.
    std::shared_ptr<Job> self;
};

LoadAhead::LoadAhead(HWND window, UINT message, Work work, bool onCallerThread)
    : window_(window), message_(message), work_(std::move(work)), inline_(onCallerThread) {}

LoadAhead::~LoadAhead() {
    Abandon();
}

long LoadAhead::ThreadsRunning() {
    return threadsRunning.load();
}

bool LoadAhead::Start(PictureRequest request) {
    if (job_) return false;
    auto job = std::make_shared<Job>();
    job->request = std::move(request);
    job->work = work_;
    job->window = window_;
    job->message = message_;
    startedAt_ = GetTickCount();
    if (inline_) {
        job->done = true;
        try {
            job->result = job->work(job->request, nullptr);
        } catch (...) {
            job->result = PreparedPicture{};
            job->result.failure = L"threw while it was prepared";
        }
        job_ = std::move(job);
        return true;
    }
    job->self = job;
    ++threadsRunning;
    tk::KernelHandle thread(CreateThread(nullptr, 0, Run, job.get(), 0, nullptr));
    if (!thread) { // no thread (out of memory): the photo fails like one that cannot be read
        --threadsRunning;
        job->self.reset();
        job->done = true;
        job->result.failure = L"found no thread to be prepared on";
        if (window_) PostMessageW(window_, message_, 0, 0);
    }
    job_ = std::move(job);
    return true;
}

DWORD WINAPI LoadAhead::Run(void* raw) {
    std::shared_ptr<Job> job = std::move(static_cast<Job*>(raw)->self);
    const auto stopped = [&job] {
        const std::lock_guard<std::mutex> hold(job->lock);
        return !job->wanted;
    };
    // No exception leaves the thread: whatever the work throws fails the one file.
    PreparedPicture result;
    try {
        result = job->work(job->request, stopped);
    } catch (...) {
        result = PreparedPicture{};
        result.failure = L"threw while it was prepared";
    }
    {
        const std::lock_guard<std::mutex> hold(job->lock);
        if (job->wanted) {
            job->result = std::move(result);
            job->done = true;
            if (job->window) PostMessageW(job->window, job->message, 0, 0);
        }
    }
    job.reset(); // the picture of an unwanted job goes here, on its own thread
    --threadsRunning;
    return 0;
}

std::optional<LoadAhead::Result> LoadAhead::TakeResult() {
    if (!job_) return std::nullopt;
    std::shared_ptr<Job> job = job_; // outlives the lock below
    const std::lock_guard<std::mutex> hold(job->lock);
    if (!job->done) return std::nullopt;
    Result result{job->request.path, std::move(job->result)};
    job_.reset();
    return result;
}

void LoadAhead::Abandon() {
    if (!job_) return;
    {
        const std::lock_guard<std::mutex> hold(job_->lock);
        job_->wanted = false;
    }
    job_.reset();
}
