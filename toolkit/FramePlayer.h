#pragma once
// A clip that the program plays and draws itself, picture only, through Media Foundation:
// what MediaPlayer falls back to when MCI cannot open a clip. It behaves as the MCI devices
// do for MediaPlayer's callers (open stopped on the first frame, play, pause, seek, stopped
// at the end), and draws each frame, when its time is due, with StretchDIBits into the
// display window that MCI would have been given, at the display window's origin. The window
// keeps painting its own background; the frame goes over it.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/AreaReduce.h"
#include "toolkit/ClipTurn.h"
#include "toolkit/FramePump.h"
#include "toolkit/MediaPlayer.h"
#include "toolkit/NonCopyable.h"
#include "toolkit/WindowWatch.h"

namespace tk {

// Opens path through Media Foundation and waits, on the calling thread, until its first frame
// is decoded, up to waitMs; a clip opened ahead is opened so on a worker. Stopped, when given,
// is asked every 50 ms: the wait ends when it says so. Null, with why for the log, when the
// clip cannot be played (or the wait was stopped); tooSlow then says whether the open was
// still going when the wait ended, as on a share that answers slowly.
std::unique_ptr<FramePump> OpenFrames(const std::wstring& path, const ClipTurn& turn,
                                      std::wstring& why,
                                      const std::function<bool()>& stopped = nullptr,
                                      DWORD waitMs = FramePump::kOpenWaitMs,
                                      bool* tooSlow = nullptr);

class FramePlayer : private NonCopyable {
  public:
    FramePlayer();
    ~FramePlayer();

    // Opens path to be drawn in display, stopped on its first frame, turned upright as its
    // container says (turn). False, with why for the log, when it cannot be played.
    bool Open(const std::wstring& path, const ClipTurn& turn, HWND display, std::wstring& why);
    // Shows a clip that OpenFrames opened, in display, stopped on its first frame.
    bool Show(std::unique_ptr<FramePump> opened, HWND display, std::wstring& why);
    SIZE NaturalSize() const { return natural_; } // upright
    RECT DisplayRect() const { return {0, 0, shown_.cx, shown_.cy}; }
    bool SetDisplaySize(int width, int height); // 0 x 0: the natural size

    long Length() const;
    long Position() const;
    MediaMode Mode() const;
    bool Play(long from = -1); // from a place in ms, else where it was (an ended clip: its start)
    bool Pause();
    bool Seek(long ms);

  private:
    void DrawNow();

    std::unique_ptr<FramePump> pump_;
    WindowWatch display_; // watched while this plays in it
    SIZE natural_ = {0, 0};
    SIZE shown_ = {0, 0};
    AreaReducer reducer_;
    std::vector<uint32_t> reduced_;
};

} // namespace tk
