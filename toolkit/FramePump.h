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
    // take under 100 ms here) or a close.
    static constexpr DWORD kOpenWaitMs = 5000;
    static constexpr DWORD kCloseWaitMs = 2000;

    // Starts the worker on path, which opens the clip and decodes its first frame, and returns
    // at once. Frames are turned as the container says (turn). False, with why, when no thread
    // could be started.
    bool Begin(const std::wstring& path, const ClipTurn& turn, std::wstring& why);
    // Waits up to ms for the open that Begin started: Going while it still runs, Failed with
    // why for the log when the clip cannot be played.
    enum class Opening { Going, Opened, Failed };
    Opening WaitOpen(DWORD ms, std::wstring& why);
    // The window that draws the frames: message is posted to it when one is due to be drawn.
    // A pump opened ahead, before its window is known, holds its frames until then.
    void DrawIn(HWND window, UINT message);

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

    // Stops the worker, waiting up to waitMs for it to end; one that does not come back in
    // time is left to itself (see the destructor). Nothing may be asked of the pump after.
    void Stop(DWORD waitMs);

  private:
    // What the worker and the window's thread share, held by both.
    std::shared_ptr<PumpState> state_;
    std::thread worker_;
};

} // namespace tk
