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

#include "toolkit/ClipReader.h"
#include "toolkit/ClipTimeline.h"
#include "toolkit/NonCopyable.h"
#include "toolkit/Worker.h"

namespace tk {

struct PumpState;

class FramePump : private NonCopyable {
  public:
    FramePump() = default;
    // Stops the worker and never waits for it: the worker closes the reader itself, on its
    // own thread, once its read or decoding in hand returns (at once, or when a share that
    // stalled answers). It holds what it uses meanwhile.
    ~FramePump() { Stop(); }

    // The longest wait for an open (the first in a process starts the decoders; later ones
    // take under 100 ms here).
    static constexpr DWORD kOpenWaitMs = 5000;

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

    // Stops the worker without waiting (see the destructor). Nothing may be asked of the
    // pump after.
    void Stop();

  private:
    // What the worker and the window's thread share, held by both.
    std::shared_ptr<PumpState> state_;
    std::unique_ptr<Worker> worker_;
};

} // namespace tk
