#pragma once
// The worker thread behind a clip drawn by the program itself: it reads and converts the
// clip's frames through a ClipReader, holds each until its time on the clip's clock is due,
// then hands it over and posts a message to the window that draws it.
//
// Why a worker thread with the reader's blocking reads, rather than the reader's
// asynchronous mode: the asynchronous reader calls back on Media Foundation's own threads
// anyway, so frames would cross threads all the same, and the pacing (sleeping until a frame
// is due, waking at once for a pause, a seek or the close) would be spread over callbacks.
// Here one thread owns the reader from its making to its release, decoding and conversion
// (5 ms a 1280 x 720 frame) never touch the window's thread, and the window's thread only
// draws a finished BGRA frame when told. So input is never held up by a read.
//
// Every method but the constructor and the destructor may be called at any time from the
// window's thread; the state they share with the worker is under one lock.
#include <windows.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "toolkit/ClipReader.h"
#include "toolkit/ClipTimeline.h"

namespace tk {

class FramePump {
  public:
    FramePump() = default;
    ~FramePump(); // stops the worker and waits for it (at most one frame's decoding)
    FramePump(const FramePump&) = delete;
    FramePump& operator=(const FramePump&) = delete;

    // Starts the worker on path, which opens the clip and decodes its first frame; waits for
    // that, as an MCI open waits. message is posted to window when a frame is due to be
    // drawn. False, with why for the log, when the clip cannot be played.
    bool Start(const std::wstring& path, HWND window, UINT message, std::wstring& why);

    SIZE Size() const { return size_; }
    long LengthMs() const;
    long PositionMs() const;
    ClipTimeline::State State() const;
    bool AtEnd() const;

    void Play();
    void Pause();
    void SeekTo(long ms); // stopped there; its frame is shown as soon as it is decoded

    // Calls draw with the newest frame handed over (under the lock: draw quickly); returns
    // whether that frame was not drawn before.
    bool DrawShown(const std::function<void(const BgraFrame&)>& draw);
    // A failure met while playing, once, for the log; empty when none.
    std::wstring TakeFailure();

  private:
    using Lock = std::unique_lock<std::mutex>;
    static ClipTimeline::Ms Now();
    void Run(std::wstring path);
    bool OpenAndReadFirst(const std::wstring& path);
    void Loop(Lock& lock);
    void Publish(Lock& lock);
    void Wake();

    // Set by Start before the worker runs, then read only.
    HWND window_ = nullptr;
    UINT message_ = 0;
    SIZE size_ = {0, 0};

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::thread worker_;
    // Under the lock:
    bool opened_ = false, openDone_ = false, quit_ = false;
    std::wstring why_;
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
    long long skipBefore_ = -1; // after a seek: frames ending before this are not shown
    ClipTimeline::Ms lastEnd_ = 0;
};

} // namespace tk
