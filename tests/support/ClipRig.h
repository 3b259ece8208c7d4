#pragma once
// What the video tests share: the clips the build made with ffmpeg, a saver window with
// tiles built as the slideshow builds them, waiting while the messages flow, and pixels read
// from the screen.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "settings/Pacing.h"
#include "settings/Transitions.h"
#include "saver/SaverWindow.h"
#include "tests/support/Rig.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/SlideshowRig.h"
#include "toolkit/MediaPlayer.h"
#include "toolkit/Panel.h"

namespace cliprig {

// build/test-media\<name>: the test programs live in build/.
inline std::wstring Media(const std::wstring& name) {
    return BuildFolder() + L"test-media\\" + name;
}

// Pixels brighter than near-black, in a fraction of the rectangle.
inline double LitShare(const std::vector<uint32_t>& pixels) {
    size_t lit = 0;
    for (uint32_t p : pixels)
        if ((p & 0xFF) > 24 || ((p >> 8) & 0xFF) > 24 || ((p >> 16) & 0xFF) > 24) ++lit;
    return pixels.empty() ? 0 : double(lit) / pixels.size();
}

// The settings of a show with this transition, the clip options named turned on and the
// others off (no waiting, no loop, no random start, not played whole, natural size).
inline SettingsRecord ClipSettings(int transition,
                                   std::initializer_list<bool SettingsRecord::*> on = {}) {
    SettingsRecord s;
    s.transitionList = L";" + std::to_wstring(transition) + L";";
    for (bool SettingsRecord::*option :
         {&SettingsRecord::clipPlaysWhenVisible, &SettingsRecord::clipLoops,
          &SettingsRecord::clipRandomStart, &SettingsRecord::clipPlaysWhole})
        s.*option = false;
    for (bool SettingsRecord::*option : on)
        s.*option = true;
    return s;
}

// A saver window over the screen with its show's tiles made as the saver makes them: black
// panels, each with a hidden picture control and a player that shows in it.
class ClipScreen {
  public:
    explicit ClipScreen(const SettingsRecord& settings, int tiles = 1, bool shown = false) {
        SettingsRecord run = settings;
        run.maxTiles = tiles;
        saver_ = rig::NewSaverWindow(shown);
        saver_->UseSettings(run);
        saver_->UseTransition(UsableTransitions(run.transitionList).front());
        saver_->BuildShows();
        MonitorShow& s = saver_->PrimaryShow();
        for (auto& panel : s.Strip().panels)
            SetWindowPos(panel->Handle(), nullptr, 0, 0, s.Width(), s.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
    }
    ~ClipScreen() {
        saver_.reset();
        PumpMessages();
    }

    // A clip option of the run turned on or off under the running show.
    void SetOption(bool SettingsRecord::*option, bool on) {
        SettingsRecord run = saver_->Settings();
        run.*option = on;
        saver_->UseSettings(run);
    }
    MonitorShow& operator*() { return saver_->PrimaryShow(); }
    MonitorShow* operator->() { return &saver_->PrimaryShow(); }

    // What the refill does before it loads a file: the tile is the current one, its panel
    // full-size at its entry place (as PlaceTile leaves it), and the display time of the
    // central transitions set. SizeTile then decides where the panel goes along the strip;
    // the tests that care move it there themselves.
    bool Start(int tile, const std::wstring& file, int left = 0, int top = 0) {
        MonitorShow& s = saver_->PrimaryShow();
        s.currentTile = tile;
        saver_->Catalogue().currentFile = file;
        SetWindowPos(s.Strip().panels[tile]->Handle(), nullptr, left, top, s.Width(), s.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        s.Strip().tilePos[tile] = saver_->Transition() >= 11 ? top : left;
        s.stepTimer.SetInterval(CentralDisplayMs(saver_->Settings().displaySeconds));
        bool ok = s.StartClip(tile);
        PumpMessages();
        return ok;
    }

    // Moves tile i along the strip, as a movement step does.
    void MoveTo(int tile, int pos) {
        MonitorShow& s = saver_->PrimaryShow();
        s.Strip().tilePos[tile] = pos;
        RECT b = s.Strip().panels[tile]->Bounds();
        int left = saver_->Transition() >= 11 ? b.left : pos;
        int top = saver_->Transition() >= 11 ? pos : b.top;
        SetWindowPos(s.Strip().panels[tile]->Handle(), nullptr, left, top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    tk::MediaPlayer& Player(int tile) { return *saver_->PrimaryShow().Strip().players[tile]; }
    RECT Box(int tile) { return saver_->PrimaryShow().Strip().panels[tile]->Bounds(); }

  private:
    std::unique_ptr<SaverWindow> saver_;
};

// A black 640 x 480 panel on a plain window, the way a tile shows a clip, and a player that
// shows in it.
struct PlayerOnPanel {
    PlayerOnPanel(const wchar_t* hostClass, bool showHost) {
        tk::WindowArgs args;
        args.className = hostClass;
        args.style = WS_POPUP | WS_CLIPCHILDREN;
        args.x = 0;
        args.y = 0;
        args.width = 640;
        args.height = 480;
        host.Create(args);
        if (showHost) host.Show(SW_SHOWNA);
        panel.CreatePanel(host.Handle(), 0, 0, 640, 480, RGB(0, 0, 0));
        panel.Show(SW_SHOWNA);
        player.Display = panel.Handle();
    }
    bool Open(const std::wstring& path) {
        player.FileName = path;
        return player.Open();
    }
    long Pos() { return player.Position().value_or(-1); }

    tk::Window host;
    tk::Panel panel;
    tk::MediaPlayer player;
};

} // namespace cliprig
