#include "toolkit/FramePump.h"

#include <mmsystem.h>

#include <algorithm>
#include <chrono>
#include <system_error>
#include <utility>

#include "toolkit/MediaFoundation.h"

namespace tk {

namespace {

ClipTimeline::Ms DurationMs(const BgraFrame& frame) { return frame.duration / 10000; }

// Waits on the platform's timers are as coarse as its tick (15.6 ms on Windows) unless a
// finer one is asked for: frames 40 ms apart would then show at uneven times.
class FineTimer {
  public:
    FineTimer() { timeBeginPeriod(1); }
    ~FineTimer() { timeEndPeriod(1); }
    FineTimer(const FineTimer&) = delete;
    FineTimer& operator=(const FineTimer&) = delete;
};

} // namespace

ClipTimeline::Ms FramePump::Now() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

FramePump::~FramePump() {
    {
        Lock lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

bool FramePump::Start(const std::wstring& path, HWND window, UINT message, std::wstring& why) {
    window_ = window;
    message_ = message;
    try {
        worker_ = std::thread(&FramePump::Run, this, path);
    } catch (const std::system_error&) {
        why = L"no thread could be started to play it";
        return false;
    }
    Lock lock(mutex_);
    changed_.wait(lock, [&] { return openDone_; });
    if (opened_) return true;
    why = why_;
    lock.unlock();
    worker_.join();
    return false;
}

void FramePump::Run(std::wstring path) {
    MediaFoundationThread mf;
    FineTimer timer;
    std::wstring why = mf.Ok() || !MediaFoundation() ? L"" : L"Media Foundation does not start";
    const bool ok = why.empty() && OpenAndReadFirst(path);
    Lock lock(mutex_);
    if (ok) {
        clock_.SetOrigin(ready_.stamp);
        clock_.SetLength(reader_.Duration() / 10000);
        lastEnd_ = DurationMs(ready_);
        std::swap(shown_, ready_);
        shownSerial_ = 1;
    } else {
        why_ = why.empty() ? reader_.Failure() : why;
        if (why_.empty()) why_ = L"Media Foundation cannot read it";
    }
    opened_ = ok;
    openDone_ = true;
    changed_.notify_all();
    if (ok) Loop(lock);
    lock.unlock();
    reader_.Close(); // before Media Foundation stops on this thread
}

bool FramePump::OpenAndReadFirst(const std::wstring& path) {
    std::wstring why;
    if (!reader_.Open(path, why)) {
        reader_.NoteFailure(why);
        return false;
    }
    // A clip counts as playable once a frame of it has been decoded: a picture stream that
    // cannot be decoded fails here, not in the tile.
    switch (reader_.Next(ready_)) {
    case ClipReader::Result::Frame:
        size_ = {ready_.width, ready_.height};
        return true;
    case ClipReader::Result::End:
        reader_.NoteFailure(L"no frame of it could be decoded");
        return false;
    default:
        return false;
    }
}

void FramePump::Loop(Lock& lock) {
    while (!quit_) {
        if (seekTo_ >= 0) {
            const long long target = seekTo_, stamp = clock_.StampAt(target);
            seekTo_ = -1;
            lock.unlock();
            const bool sought = reader_.Seek(stamp);
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
            lock.lock();
            if (seekTo_ >= 0 || quit_) continue; // what was read is no longer wanted
            if (read != ClipReader::Result::Frame) {
                readerDone_ = true;
                if (read == ClipReader::Result::Failed) failure_ = reader_.Failure();
                continue;
            }
            const auto frameMs = clock_.ClipMs(ready_.stamp);
            const auto endMs = frameMs + std::max<ClipTimeline::Ms>(DurationMs(ready_), 1);
            // A seek lands on the key frame before its target: the frames up to it are
            // decoded, not shown.
            if (skipBefore_ >= 0 && endMs <= skipBefore_) continue;
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

void FramePump::Publish(Lock&) {
    std::swap(shown_, ready_);
    haveReady_ = false;
    ++shownSerial_;
    if (!posted_) posted_ = PostMessageW(window_, message_, 0, 0) != 0;
}

void FramePump::Wake() {
    changed_.notify_all();
}

long FramePump::LengthMs() const {
    Lock lock(mutex_);
    return long(clock_.Length());
}

long FramePump::PositionMs() const {
    Lock lock(mutex_);
    return long(clock_.Position(Now()));
}

ClipTimeline::State FramePump::State() const {
    Lock lock(mutex_);
    return clock_.Now();
}

bool FramePump::AtEnd() const {
    Lock lock(mutex_);
    return clock_.AtEnd();
}

void FramePump::Play() {
    {
        Lock lock(mutex_);
        clock_.Play(Now());
    }
    Wake();
}

void FramePump::Pause() {
    {
        Lock lock(mutex_);
        clock_.Pause(Now());
    }
    Wake();
}

void FramePump::SeekTo(long ms) {
    {
        Lock lock(mutex_);
        clock_.SeekTo(ms);
        seekTo_ = clock_.Position(Now());
    }
    Wake();
}

bool FramePump::DrawShown(const std::function<void(const BgraFrame&)>& draw) {
    Lock lock(mutex_);
    posted_ = false;
    if (shown_.pixels.empty()) return false;
    draw(shown_);
    const bool fresh = drawnSerial_ != shownSerial_;
    drawnSerial_ = shownSerial_;
    return fresh;
}

std::wstring FramePump::TakeFailure() {
    Lock lock(mutex_);
    return std::exchange(failure_, std::wstring());
}

} // namespace tk
