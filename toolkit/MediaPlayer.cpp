#include "toolkit/MediaPlayer.h"

// First version: no device is ever opened, so every clip fails to open and the slideshow
// drops it. MCI playback comes next.
namespace tk {

MediaPlayer::~MediaPlayer() { Close(); }
bool MediaPlayer::Open() { return false; }
void MediaPlayer::Close() { deviceId_ = 0; }
bool MediaPlayer::DisplayRect(RECT& rect) const {
    rect = RECT{};
    return false;
}
void MediaPlayer::SetDisplayRect(int, int, int, int) {}
void MediaPlayer::SetTimeFormatMilliseconds() {}
long MediaPlayer::Length() const { return 0; }
long MediaPlayer::Position() const { return 0; }
MediaMode MediaPlayer::Mode() const { return MediaMode::NotReady; }
void MediaPlayer::SetStartPosition(long ms) { startPosition_ = ms; }
void MediaPlayer::Play() {}
void MediaPlayer::Pause() {}
void MediaPlayer::Seek(long) {}

bool HoldsClip(MediaMode mode) {
    return mode == MediaMode::Stopped || mode == MediaMode::Playing ||
           mode == MediaMode::Paused || mode == MediaMode::Open;
}

} // namespace tk
