// A show's clips in tiles: a clip opens in its tile's player and is drawn in the tile's
// panel, which then takes the clip's size; moving tiles may hold their clip on its first
// frame until they are fully on the screen; clips may loop; a central tile may wait for its
// clip to end.
#include "settings/Settings.h"
#include "settings/Random.h"
#include "saver/ClipRules.h"
#include "saver/MonitorShow.h"
#include "toolkit/Log.h"
#include "toolkit/Text.h"

tk::MediaPlayer& MonitorShow::ClipPlayer(int tile) {
    strip_.pictures[tile]->Hide();
    tk::MediaPlayer& player = *strip_.players[tile];
    player.Display = strip_.panels[tile]->Handle();
    player.FileName = catalogue_.currentFile;
    return player;
}

bool MonitorShow::StartClip(int tile) {
    if (!ClipPlayer(tile).Open()) return DropClip(tile, L"cannot be opened");
    return PlayOpenedClip(tile);
}

bool MonitorShow::PlayOpenedClip(int tile) {
    tk::MediaPlayer& player = *strip_.players[tile];
    // A file that has only sound (an .mpa, say) would leave a black tile, or none at all:
    // it is dropped like a file that cannot be read, and the next one is taken.
    if (!player.HasPicture()) return DropClip(tile, L"has no picture");
    SIZE size = FitClipDisplay(tile);
    if (size.cx <= 0 || size.cy <= 0) return DropClip(tile, L"has no size");
    SizeTile(size.cx, size.cy);

    // Whatever fails from here closes the clip and drops the file.
    const bool central = IsCentral();
    bool ok = player.SetTimeFormatMilliseconds();
    if (ok && settings_.clipRandomStart) {
        auto length = player.Length();
        ok = length.has_value();
        if (ok) player.SetStartPosition(*length > 0 ? Random(int(*length)) : 0);
    }
    ok = ok && player.Play() && player.SetTimeFormatMilliseconds();
    if (ok && central) {
        auto length = player.Length();
        auto position = player.Position();
        ok = length && position;
        if (ok)
            SetDisplayTime(UINT(ClipDisplayTime(long(stepTimer.Interval()), *length - *position,
                                                settings_.clipLoops, settings_.clipPlaysWhole)));
    } else if (ok && settings_.clipPlaysWhenVisible) {
        // The clip stands on its first frame (or that of its random start) until its tile is
        // fully on the screen. A random start in its last frames may have reached the end
        // already: it then stands on its end, which is no reason to drop it.
        player.Pause();
    }
    if (!ok) return DropClip(tile, L"cannot be played");
    return true;
}

bool MonitorShow::DropClip(int tile, const wchar_t* why) {
    // The user sees another file instead; the device's own error is kept for developers.
    tk::MediaPlayer& player = *strip_.players[tile];
    tk::Log(L"clip " + catalogue_.currentFile + L" dropped: " + why + L", MCI error " +
            tk::IntToStr(int(player.LastError())));
    player.Close();
    return false;
}

SIZE MonitorShow::FitClipDisplay(int tile) {
    tk::MediaPlayer& player = *strip_.players[tile];
    // Nothing has changed the rectangle since the open: it is the natural size.
    RECT natural;
    player.DisplayRect(natural);
    const int w = natural.right - natural.left, h = natural.bottom - natural.top;
    player.SetDisplaySize(0, 0);
    // The panel covers the whole window at this moment.
    RECT area = strip_.panels[tile]->ClientRect();
    SIZE size = FitClipSize(w, h, area.right, area.bottom, settings_.clipMaxGrowth);
    if (size.cx > 0 && (size.cx != w || size.cy != h)) player.SetDisplaySize(size.cx, size.cy);
    return size;
}

void MonitorShow::CheckClipLoop(int tile) {
    if (!settings_.clipLoops) return;
    tk::MediaPlayer& player = *strip_.players[tile];
    if (!player.IsOpen() || player.Mode() != tk::MediaMode::Stopped) return;
    if (IsCentral()) {
        RestartClip(tile);
        return;
    }
    const int t = transition_;
    // A clip that ends while its tile is still entering waits on its last frame until the
    // tile is fully in; one that ends while the tile leaves loops while part of it shows.
    RECT panel = strip_.panels[tile]->Bounds();
    if (ClipTileFullyEntered(t, alternationPhase, panel, Width(), Height()) &&
        ClipTileNotYetGone(t, alternationPhase, strip_.tilePos[tile], panel.right - panel.left,
                           panel.bottom - panel.top, Width(), Height()))
        RestartClip(tile);
}

void MonitorShow::PlayWhenVisible(int tile) {
    if (!settings_.clipPlaysWhenVisible || IsCentral()) return;
    const int t = transition_;
    tk::MediaPlayer& player = *strip_.players[tile];
    if (!player.IsOpen()) return;
    if (!ClipTileFullyEntered(t, alternationPhase, strip_.panels[tile]->Bounds(), Width(),
                              Height()))
        return;
    if (player.Mode() == tk::MediaMode::Paused) player.Play();
}

void MonitorShow::RestartClip(int tile) {
    // Always from the start, also when the first play began at a random place.
    tk::MediaPlayer& player = *strip_.players[tile];
    player.Seek(0);
    player.Play();
}

bool MonitorShow::ClipStillRunning(int tile) {
    if (!settings_.clipPlaysWhole) return false;
    const tk::MediaPlayer& player = *strip_.players[tile];
    return ClipKeepsTile(true, !PictureShown(tile), player.IsOpen(), player.Mode());
}
