#pragma once
// An invisible media player over MCI: one device at a time, shown inside a display window.
// It owns its device: the clip is closed when the player goes.
#include <windows.h>

#include <string>

namespace tk {

enum class MediaMode { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };

class MediaPlayer {
  public:
    MediaPlayer() = default;
    ~MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    HWND Display = nullptr;
    std::wstring FileName;

    // Opens FileName with Display as its window. False when the clip cannot be opened.
    bool Open();
    void Close();
    bool IsOpen() const { return deviceId_ != 0; }

    // The display rectangle, relative to the display window; empty when unknown.
    bool DisplayRect(RECT& rect) const;
    // Origin plus width and height; width and height 0 mean the natural size.
    void SetDisplayRect(int x, int y, int width, int height);

    void SetTimeFormatMilliseconds();
    long Length() const;
    long Position() const;
    MediaMode Mode() const; // NotReady without a clip: never paused or stopped then
    void SetStartPosition(long ms);
    void Play();
    void Pause();
    void Seek(long ms);

  private:
    unsigned deviceId_ = 0;
    long startPosition_ = -1;
};

// A player holds a clip when its mode is stopped, playing, paused or open.
bool HoldsClip(MediaMode mode);

} // namespace tk
