#include "saver/LoadAhead.h"

#include <algorithm>
#include <mutex>

#include "toolkit/Log.h"
#include "toolkit/Text.h"

struct LoadAhead::Job {
    PictureRequest request;
    std::mutex lock;
    bool done = false;
    PreparedPicture result;
};

LoadAhead::LoadAhead(HWND window, UINT message, Work work, bool onCallerThread)
    : window_(window), message_(message), work_(std::move(work)), inline_(onCallerThread) {}

LoadAhead::~LoadAhead() {
    Abandon();
}

size_t LoadAhead::AbandonedRunning() {
    abandoned_.erase(std::remove_if(abandoned_.begin(), abandoned_.end(),
                                    [](const auto& worker) { return worker->Finished(); }),
                     abandoned_.end());
    return abandoned_.size();
}

bool LoadAhead::CanStart() {
    if (job_) return false;
    if (AbandonedRunning() < kMaxAbandoned) {
        saidFull_ = false;
        return true;
    }
    if (!saidFull_)
        tk::Log(tk::IntToStr(static_cast<long long>(kMaxAbandoned)) +
                L" reads that never returned hold this show's workers; the next photo waits "
                L"for one of them to end");
    saidFull_ = true;
    return false;
}

bool LoadAhead::Start(PictureRequest request) {
    if (!CanStart()) return false;
    auto job = std::make_shared<Job>();
    job->request = std::move(request);
    startedAt_ = GetTickCount();
    job_ = job;
    if (inline_) {
        job->done = true;
        try {
            job->result = work_(job->request, nullptr);
        } catch (...) {
            job->result = PreparedPicture{};
            job->result.failure = L"threw while it was prepared";
        }
        return true;
    }
    const HWND window = window_;
    const UINT message = message_;
    worker_ = std::make_unique<tk::Worker>(
        L"prepare " + job->request.path,
        [job, work = work_, window, message](const tk::StopToken& stop) {
            PreparedPicture result;
            try {
                result = work(job->request, stop.AsFunction());
            } catch (...) {
                result = PreparedPicture{};
                result.failure = L"threw while it was prepared";
            }
            if (stop.Stopped()) return; // its picture goes here, on its own thread
            {
                const std::lock_guard<std::mutex> hold(job->lock);
                job->result = std::move(result);
                job->done = true;
            }
            if (window) PostMessageW(window, message, 0, 0);
        });
    if (!worker_->Started()) { // no thread (out of memory): it fails like a file unread
        worker_.reset();
        job->result.failure = L"found no thread to be prepared on";
        job->done = true; // nothing else holds the job: no lock, and the step takes it
    }
    return true;
}

bool LoadAhead::Done() const {
    if (!job_) return false;
    const std::lock_guard<std::mutex> hold(job_->lock);
    return job_->done;
}

std::optional<LoadAhead::Result> LoadAhead::TakeResult() {
    if (!job_) return std::nullopt;
    std::shared_ptr<Job> job = job_; // outlives the lock below
    const std::lock_guard<std::mutex> hold(job->lock);
    if (!job->done) return std::nullopt;
    Result result{job->request.path, std::move(job->result)};
    job_.reset();
    worker_.reset(); // it has finished, or is about to return
    return result;
}

void LoadAhead::Abandon() {
    job_.reset();
    if (!worker_) return;
    worker_->Stop();
    if (!worker_->Finished()) {
        tk::Log(L"worker \"" + worker_->Name() + L"\" abandoned in its read");
        abandoned_.push_back(std::move(worker_));
    }
    worker_.reset();
}
