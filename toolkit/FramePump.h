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

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "toolkit/ClipReader.h"
#include "toolkit/ClipTimeline.h"
#include "toolkit/NonCopyable.h"

namespace tk {

struct PumpState;

class FramePump : private NonCopyable {
  public:
    FramePump() = default;
    // Stops the worker and waits for it (at most one frame's decoding). A worker that does
    // not come back (a reader stuck in a file it cannot parse) is left to itself: it holds
    // what it uses, and ends whenever its read returns.
    ~FramePump();

    // The longest wait for an open (the first in a process starts the decoders; later ones
    // take under 100 ms here) or a close. An open holds the window's thread, as MCI's does.
    static constexpr DWORD kOpenWaitMs = 5000;
    static constexpr DWORD kCloseWaitMs = 2000;

    // Starts the worker on path, which opens the clip and decodes its first frame; waits for
    // that, as an MCI open waits. Frames are turned as the container says (turn). message
    // is posted to window when a frame is due to be drawn. False, with why for the log, when
    // the clip cannot be played.
    bool Start(const std::wstring& path, const ClipTurn& turn, HWND window, UINT message,
               std::wstring& why);

    SIZE Size() const; // as shown: upright
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
    void Stop(DWORD waitMs);

    // What the worker and the window's thread share, held by both.
    std::shared_ptr<PumpState> state_;
    std::thread worker_;
};

} // namespace tk
