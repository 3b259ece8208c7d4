#pragma once
// An invisible media player over MCI: one device at a time, shown inside a display window.
// It owns its device: the clip is closed when the player goes.
//
// The two devices that play clips here do not behave alike; the player hides what differs,
// so that its callers see one behaviour:
// - a file type the platform maps to no device (.mov, .qt, .ivf, and under Wine the phone
//   clips .mp4, .m4v, .3gp), or an AVI whose codec the AVI device cannot load, is opened
//   again with the DirectShow device "mpegvideo";
// - that device hangs in closing a clip with sound that was sent a play while paused or
//   playing: the player stops it before each play;
// - neither device turns a picture by the rotation its container names (a phone held
//   upright): such a clip goes to the FramePlayer below, which turns it, and its natural
//   size is the upright one;
// - the AVI device draws nothing of an uncompressed AVI stored bottom-up (it reports its
//   height negative): such a file is opened with "mpegvideo" too;
// - a paused AVI reads as stopped after a moment and does not resume: the player knows
//   itself that it paused, reads Paused, and resumes from the position where it paused;
// - "mpegvideo" refuses seeks to a position: the player seeks to the start for 0 and, for
//   other positions, stops the clip and starts the next Play there;
// - the two devices read the corners of a display rectangle differently; only a rectangle
//   at the display window's origin means the same to both, so that is the only kind set;
// - a clip paused while its window lies off the screen shows nothing once the window comes
//   in (a tile that enters with its clip paused would stay black): the player has the
//   frame drawn again when the window is painted, on request (AVI) or by giving it to the
//   device once more when the window first shows (DirectShow).
//
// A clip that MCI cannot open at all (on a stock Windows, whose DirectShow has no MP4
// splitter, every phone clip) is played by a FramePlayer through Media Foundation instead,
// picture only; the callers see the same player either way.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "toolkit/ClipTurn.h"
#include "toolkit/Handles.h"
#include "toolkit/NonCopyable.h"
#include "toolkit/WindowWatch.h"

namespace tk {

enum class MediaMode { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };

class FramePlayer;
class FramePump;

// Which players a clip may go to: MCI first and Media Foundation when MCI fails (always,
// but for benchmarks and tests that measure the second alone).
enum class ClipRoute { MciFirst, MediaFoundationOnly };
void SetClipRoute(ClipRoute route);
ClipRoute CurrentClipRoute();
// The turn a clip's header names (ClipTurn.h), a header that names no quarter turn said in the
// log: whoever opens a clip reads it so.
ClipTurn ClipTurnToPlay(const std::wstring& path);

// An open MCI device, closed when its owner goes; counted in Counts().mciDevices.
struct MciDeviceTraits {
    static UINT Invalid() { return 0; }
    static void Close(UINT id);
    static void Opened() { ++Counts().mciDevices; }
    static void Closed() { --Counts().mciDevices; }
};
using MciDevice = UniqueHandle<UINT, MciDeviceTraits>;

class MediaPlayer : private NonCopyable {
  public:
    MediaPlayer();
    ~MediaPlayer();

    HWND Display = nullptr;
    std::wstring FileName;

    // Opens FileName with Display as its window, times in milliseconds. False when the clip
    // cannot be opened; a clip with a picture also needs a display window, since the device
    // would otherwise draw into a window of its own.
    bool Open();
    // The two halves of Open for a clip whose way was settled ahead, on a worker (its turn
    // read, Media Foundation's open made there when it plays it): the MCI devices alone, or
    // the frames Media Foundation opened (FramePlayer.h's OpenFrames). Neither waits for
    // Media Foundation.
    bool OpenWithMci();
    bool ShowFrames(std::unique_ptr<FramePump> opened);
    // Closes the clip and has the display window repainted, so that its last frame goes.
    void Close();
    bool IsOpen() const { return device_.Valid() || frames_ != nullptr; }
    // The clip has a picture and the size it reports is known (audio-only files have none).
    bool HasPicture() const { return natural_.cx > 0 && natural_.cy > 0; }
    SIZE NaturalSize() const { return natural_; }
    // The device type was named at the open (the platform alone could not open the file).
    bool OpenedAsMpegVideo() const { return asMpegVideo_; }
    // The clip plays through Media Foundation, drawn by the program (MCI could not open it).
    bool DrawsFrames() const { return frames_ != nullptr; }
    DWORD LastError() const { return error_; }

    // The rectangle the clip is drawn in, relative to the display window; false without one.
    bool DisplayRect(RECT& rect) const;
    // Draws the clip scaled to width x height at the display window's origin; 0 x 0 means
    // the natural size.
    bool SetDisplaySize(int width, int height);

    bool SetTimeFormatMilliseconds();
    std::optional<long> Length() const;
    std::optional<long> Position() const;
    MediaMode Mode() const;         // NotReady without a clip: never paused or stopped then
    void SetStartPosition(long ms); // the next Play starts there
    // Starts the clip, or resumes it where it was paused; returns at once.
    bool Play();
    bool Pause(); // only a playing clip pauses
    bool Seek(long ms);

  private:
    void WatchDisplay();
    void NoteWhereShown();
    void RedrawStillFrame();
    DWORD Send(UINT command, DWORD flags, void* params) const;
    DWORD OpenDevice(const wchar_t* deviceType);
    bool OpenDevices(); // MCI's part of Open
    bool OpenThroughMediaFoundation(const ClipTurn& turn);
    bool IsAviDevice() const;
    void StopDirectShow();
    void ReadPicture(bool& bottomUp); // the natural size, none for a clip without picture
    std::optional<long> Status(DWORD item) const;

    MciDevice device_;
    std::unique_ptr<FramePlayer> frames_; // instead of the device
    SIZE natural_ = {0, 0};
    bool asMpegVideo_ = false;
    WindowWatch watched_;    // the display window, whose painting redraws a still frame
    bool aviDevice_ = false; // MCI_UPDATE draws its current frame; its pause must settle
    bool wasShown_ = false;  // some of the display window showed at its last move
    bool cueDue_ = false;    // the paused frame is to be given to the device again
    bool paused_ = false;
    long pausedAt_ = 0;
    long startPosition_ = -1;
    long pendingSeek_ = -1; // a seek the device refused, done by the next Play
    mutable DWORD error_ = 0;
};

// A player holds a clip when its mode is stopped, playing, paused or open.
bool HoldsClip(MediaMode mode);

} // namespace tk
