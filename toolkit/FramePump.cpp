#include "toolkit/FramePump.h"

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>

#include "toolkit/MediaFoundation.h"
#include "toolkit/NonCopyable.h"

namespace tk {

namespace {

ClipTimeline::Ms DurationMs(const BgraFrame& frame) {
    return frame.duration / 10000;
}

// Waits on the platform's timers are as coarse as its tick (15.6 ms on Windows) unless a
// finer one is asked for: frames 40 ms apart would then show at uneven times.
class FineTimer : private NonCopyable {
  public:
    FineTimer() { timeBeginPeriod(1); }
    ~FineTimer() { timeEndPeriod(1); }
};

ClipTimeline::Ms Now() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Pumps told to stop whose workers have not ended yet, which the window's thread no longer
// waits for. Wine's source reader has been seen to hang every later open in the process when
// one opened while another was still being released: a new open waits, on its own worker,
// for the pumps that are stopping, as the window's thread once waited for each.
std::atomic<int> pumpsStopping{0};
constexpr int kStopWaitSlices = 400; // of 5 ms: 2 s at most

void WaitForStoppingPumps() {
    for (int i = 0; i < kStopWaitSlices && pumpsStopping.load() > 0; ++i)
        Sleep(5);
}

} // namespace

struct PumpState {
    using Lock = std::unique_lock<std::mutex>;

    void Run(const std::wstring& path, const MediaFoundationThread& mf);
    void Fail(const std::wstring& why); // what Run threw: the reader closed, the failure said
    bool OpenAndReadFirst(const std::wstring& path, std::wstring& why);
    void Loop(Lock& lock);
    void Publish(Lock& lock);

    ClipTurn turn_; // set before the worker starts, then read only

    std::mutex mutex_;
    std::condition_variable changed_;
    // Under the lock:
    HWND window_ = nullptr; // none yet while a clip opened ahead waits for its tile
    UINT message_ = 0;
    bool opened_ = false, openDone_ = false, quit_ = false, finished_ = false;
    bool countedStopping_ = false; // in pumpsStopping until the worker ends
    std::wstring why_;
    SIZE size_ = {0, 0};
    ClipTimeline clock_;
    long long seekTo_ = -1; // a position (ms) the reader must go to
    BgraFrame shown_;
    unsigned long shownSerial_ = 0, drawnSerial_ = 0;
    bool posted_ = false;
    std::wstring failure_;

    // The worker's own:
    ClipReader reader_;
    BgraFrame ready_; // decoded, waiting for its time
    bool haveReady_ = false, readerDone_ = false, showNext_ = false;
    bool sought_ = false;       // the reader was sent to a place, and has not read since
    long long skipBefore_ = -1; // after a seek: frames ending before this are not shown
    ClipTimeline::Ms lastEnd_ = 0;
};

void FramePump::Stop() {
    if (!state_) return;
    {
        PumpState::Lock lock(state_->mutex_);
        state_->quit_ = true;
        if (!state_->finished_ && !state_->countedStopping_) {
            state_->countedStopping_ = true;
            ++pumpsStopping;
        }
        state_->changed_.notify_all();
    }
    worker_.reset(); // asks it to stop; never waits
    state_.reset();
}

bool FramePump::Begin(const std::wstring& path, const ClipTurn& turn, std::wstring& why) {
    state_ = std::make_shared<PumpState>();
    state_->turn_ = turn;
    worker_ = std::make_unique<Worker>(L"clip " + path, [state = state_, path](const StopToken&) {
        MediaFoundationThread mf;
        FineTimer timer;
        try {
            state->Run(path, mf);
        } catch (...) {
            // No room for a 4K frame in a crowded 32-bit process, say: the clip fails, the
            // saver goes on.
            state->Fail(L"ran out of memory while it played");
        }
    });
    if (!worker_->Started()) {
        worker_.reset();
        state_.reset();
        why = L"no thread could be started to play it";
        return false;
    }
    return true;
}

FramePump::Opening FramePump::WaitOpen(DWORD ms, std::wstring& why) {
    if (!state_) return Opening::Failed;
    PumpState& s = *state_;
    PumpState::Lock lock(s.mutex_);
    if (!s.changed_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return s.openDone_; }))
        return Opening::Going;
    if (s.opened_) return Opening::Opened;
    why = s.why_;
    return Opening::Failed;
}

void FramePump::DrawIn(HWND window, UINT message) {
    PumpState::Lock lock(state_->mutex_);
    state_->window_ = window;
    state_->message_ = message;
}

void PumpState::Fail(const std::wstring& why) {
    reader_.Close(); // before Media Foundation stops on this thread
    Lock lock(mutex_);
    if (!openDone_) {
        why_ = why;
        opened_ = false;
    }
    failure_ = why;
    openDone_ = finished_ = true;
    if (countedStopping_) --pumpsStopping;
    countedStopping_ = false;
    changed_.notify_all();
}

void PumpState::Run(const std::wstring& path, const MediaFoundationThread& mf) {
    std::wstring why = mf.Ok() || !MediaFoundation() ? L"" : L"Media Foundation does not start";
    const bool ok = why.empty() && OpenAndReadFirst(path, why);
    Lock lock(mutex_);
    if (ok && !quit_) {
        clock_.SetOrigin(ready_.stamp);
        clock_.SetLength(reader_.Duration() / 10000);
        lastEnd_ = DurationMs(ready_);
        size_ = {ready_.width, ready_.height};
        std::swap(shown_, ready_);
        shownSerial_ = 1;
    } else {
        why_ = why.empty() ? L"Media Foundation cannot read it" : why;
    }
    opened_ = ok && !quit_;
    openDone_ = true;
    changed_.notify_all();
    if (opened_) Loop(lock);
    lock.unlock();
    // Wine's reader may crash when it is released while a seek still runs inside it: a read
    // waits for the seek to end (one frame's decoding).
    if (sought_) reader_.Next(ready_);
    reader_.Close(); // before Media Foundation stops on this thread
    lock.lock();
    finished_ = true;
    if (countedStopping_) --pumpsStopping;
    countedStopping_ = false;
    changed_.notify_all();
}

bool PumpState::OpenAndReadFirst(const std::wstring& path, std::wstring& why) {
    WaitForStoppingPumps();
    if (!reader_.Open(path, turn_, why)) return false;
    // A clip counts as playable once a frame of it has been decoded: a picture stream that
    // cannot be decoded fails here, not in the tile.
    switch (reader_.Next(ready_)) {
    case ClipReader::Result::Frame:
        return true;
    case ClipReader::Result::End:
        why = L"no frame of it could be decoded";
        return false;
    default:
        why = reader_.Failure();
        return false;
    }
}

void PumpState::Loop(Lock& lock) {
    while (!quit_) {
        if (seekTo_ >= 0) {
            const long long target = seekTo_, stamp = clock_.StampAt(target);
            seekTo_ = -1;
            lock.unlock();
            const bool sought = reader_.Seek(stamp);
            sought_ = sought;
            lock.lock();
            haveReady_ = false;
            readerDone_ = !sought;
            skipBefore_ = target;
            showNext_ = true; // a paused or stopped clip shows the frame it was sent to
            continue;
        }
        if (!haveReady_ && !readerDone_) {
            lock.unlock();
            const ClipReader::Result read = reader_.Next(ready_);
            sought_ = false;
            lock.lock();
            if (seekTo_ >= 0 || quit_) continue; // what was read is no longer wanted
            if (read != ClipReader::Result::Frame) {
                readerDone_ = true;
                if (read == ClipReader::Result::Failed) failure_ = reader_.Failure();
                continue;
            }
            const auto frameMs = clock_.ClipMs(ready_.stamp);
            if (skipBefore_ >= 0 && ClipTimeline::EndsBy(frameMs, DurationMs(ready_), skipBefore_))
                continue;
            skipBefore_ = -1;
            haveReady_ = true;
            lastEnd_ = std::max(lastEnd_, frameMs + DurationMs(ready_));
            continue;
        }
        if (haveReady_ && showNext_) {
            showNext_ = false;
            Publish(lock);
            continue;
        }
        ClipTimeline::Ms wait = -1;
        if (haveReady_) {
            const auto verdict = clock_.Judge(clock_.ClipMs(ready_.stamp), Now(), wait);
            if (verdict == ClipTimeline::Verdict::Show) Publish(lock);
            if (verdict == ClipTimeline::Verdict::Skip) haveReady_ = false;
            if (verdict != ClipTimeline::Verdict::Wait) continue;
        } else if (readerDone_) {
            // The last frame stays until its own time is over; then the clip has ended.
            showNext_ = false;
            if (clock_.Judge(lastEnd_, Now(), wait) != ClipTimeline::Verdict::Wait) {
                clock_.End(lastEnd_);
                continue;
            }
        }
        if (wait < 0)
            changed_.wait(lock);
        else
            changed_.wait_for(lock, std::chrono::milliseconds(wait));
    }
}

void PumpState::Publish(Lock&) {
    std::swap(shown_, ready_);
    haveReady_ = false;
    ++shownSerial_;
    clock_.Drawn(Now());
    if (!posted_ && window_) posted_ = PostMessageW(window_, message_, 0, 0) != 0;
}

SIZE FramePump::Size() const {
    PumpState::Lock lock(state_->mutex_);
    return state_->size_;
}

long FramePump::LengthMs() const {
    PumpState::Lock lock(state_->mutex_);
    return long(state_->clock_.Length());
}

long FramePump::PositionMs() const {
    PumpState::Lock lock(state_->mutex_);
    return long(state_->clock_.Position(Now()));
}

ClipTimeline::State FramePump::State() const {
    PumpState::Lock lock(state_->mutex_);
    return state_->clock_.Now();
}

bool FramePump::AtEnd() const {
    PumpState::Lock lock(state_->mutex_);
    return state_->clock_.AtEnd();
}

void FramePump::Play() {
    PumpState::Lock lock(state_->mutex_);
    state_->clock_.Play(Now());
    state_->changed_.notify_all();
}

void FramePump::Pause() {
    PumpState::Lock lock(state_->mutex_);
    state_->clock_.Pause(Now());
    state_->changed_.notify_all();
}

void FramePump::SeekTo(long ms) {
    PumpState::Lock lock(state_->mutex_);
    state_->clock_.SeekTo(ms);
    state_->seekTo_ = state_->clock_.Position(Now());
    state_->changed_.notify_all();
}

bool FramePump::DrawShown(const std::function<void(const BgraFrame&)>& draw) {
    PumpState& s = *state_;
    PumpState::Lock lock(s.mutex_);
    s.posted_ = false;
    if (s.shown_.pixels.empty()) return false;
    draw(s.shown_);
    const bool fresh = s.drawnSerial_ != s.shownSerial_;
    s.drawnSerial_ = s.shownSerial_;
    return fresh;
}

std::wstring FramePump::TakeFailure() {
    PumpState::Lock lock(state_->mutex_);
    return std::exchange(state_->failure_, std::wstring());
}

} // namespace tk
