#include "toolkit/Worker.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include "toolkit/Log.h"
#include "toolkit/Text.h"

namespace tk {

struct StopToken::Flag {
    std::atomic<bool> stop{false};
};

bool StopToken::Stopped() const {
    return flag_ && flag_->stop.load();
}

struct Worker::State {
    std::wstring name;
    mutable std::mutex mutex;
    mutable std::condition_variable ended;
    bool finished = false;
};

namespace {

// Every worker that has not ended, for the end's wait. A worker's state leaves it when its
// work returns.
struct Registry {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::shared_ptr<Worker::State>> running;
};

Registry& Workers() {
    // Never destroyed: a worker abandoned in a read may still end after the static teardown
    // has begun.
    static Registry* registry = new Registry;
    return *registry;
}

std::wstring WhatOf(const std::exception& e) {
    const char* what = e.what();
    return std::wstring(what, what + strlen(what));
}

void RunToTheEnd(const std::shared_ptr<Worker::State>& state, const Worker::Work& work,
                 const StopToken& token) {
    try {
        work(token);
    } catch (const std::exception& e) {
        Log(L"worker \"" + state->name + L"\" stopped on an error: " + WhatOf(e));
    } catch (...) {
        Log(L"worker \"" + state->name + L"\" stopped on an error");
    }
    {
        const std::lock_guard<std::mutex> hold(state->mutex);
        state->finished = true;
        state->ended.notify_all();
    }
    Registry& registry = Workers();
    const std::lock_guard<std::mutex> hold(registry.mutex);
    auto& list = registry.running;
    list.erase(std::remove(list.begin(), list.end(), state), list.end());
    registry.changed.notify_all();
}

} // namespace

Worker::Worker(std::wstring name, Work work) : name_(std::move(name)) {
    token_.flag_ = std::make_shared<StopToken::Flag>();
    state_ = std::make_shared<State>();
    state_->name = name_;
    Registry& registry = Workers();
    {
        const std::lock_guard<std::mutex> hold(registry.mutex);
        registry.running.push_back(state_);
    }
    try {
        std::thread([state = state_, work = std::move(work), token = token_] {
            RunToTheEnd(state, work, token);
        }).detach();
        started_ = true;
    } catch (const std::system_error&) {
        Log(L"worker \"" + name_ + L"\": no thread could be started");
        const std::lock_guard<std::mutex> hold(registry.mutex);
        auto& list = registry.running;
        list.erase(std::remove(list.begin(), list.end(), state_), list.end());
        state_->finished = true;
    }
}

Worker::~Worker() {
    Stop();
}

void Worker::Stop() {
    if (token_.flag_) token_.flag_->stop = true;
}

bool Worker::Finished() const {
    const std::lock_guard<std::mutex> hold(state_->mutex);
    return state_->finished;
}

bool Worker::Wait(DWORD ms) const {
    std::unique_lock<std::mutex> hold(state_->mutex);
    return state_->ended.wait_for(hold, std::chrono::milliseconds(ms),
                                  [this] { return state_->finished; });
}

long Worker::Running() {
    Registry& registry = Workers();
    const std::lock_guard<std::mutex> hold(registry.mutex);
    return long(registry.running.size());
}

std::vector<std::wstring> Worker::WaitForAll(DWORD ms) {
    Registry& registry = Workers();
    std::unique_lock<std::mutex> hold(registry.mutex);
    registry.changed.wait_for(hold, std::chrono::milliseconds(ms),
                              [&] { return registry.running.empty(); });
    std::vector<std::wstring> names;
    for (const auto& state : registry.running)
        names.push_back(state->name);
    return names;
}

} // namespace tk
