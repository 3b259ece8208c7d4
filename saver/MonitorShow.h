#pragma once
// One monitor's slideshow: its strip of tiles (Strip.h), the refill that puts the next file
// of the shared catalogue into its current tile, the movement, the phase of the alternating
// transitions, the clips in its tiles, and the painting of its rectangle. It has no window of
// its own: its tiles live in the canvas the saver window gives it (the saver window itself
// on a PC with one monitor, else a stage over the monitor), and the saver window drives it
// with its steps. Coordinates are the canvas's: the show's rectangle is (0, 0, width, height).
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/Catalogue.h"
#include "saver/Geometry.h"
#include "saver/LoadAhead.h"
#include "saver/Strip.h"
#include "saver/SaverMessages.h"
#include "toolkit/Dib.h"
#include "toolkit/Handles.h"
#include "toolkit/NonCopyable.h"
#include "toolkit/Timer.h"

class MonitorShow;

// What a show asks of the saver window that drives it; the window answers every call.
struct ShowHost {
    // The window's black and its texts, under the tiles, over part of a canvas whose top-left
    // corner lies at origin in the window.
    std::function<void(HDC dc, const RECT& area, POINT origin)> PaintUnder;
    // What the window writes over the tiles (a notice), on the same canvas.
    std::function<void(HDC dc, POINT origin)> PaintOver;
    // Whether a drawing may go straight to the screen: nothing was drawn since the message
    // loop last handed the window's picture to the display, a few milliseconds ago. Noted as
    // drawn from here on.
    std::function<bool()> TakeScreen;
    // The files a refill of the asking show may not take (SharedFiles.h).
    std::function<FileCatalogue::Excluded(const MonitorShow* asking)> ExcludedFor;
    // An exit was allowed: no refill starts.
    std::function<bool()> Stopping;
    // The window that hears the workers: they post WM_PICTUREREADY to it.
    std::function<HWND()> Window;
    // How the pictures are prepared (LoadAhead.h).
    std::function<const AheadJobs&()> Jobs;
};

class MonitorShow : private tk::NonCopyable {
  public:
    // The step timer is the window's: a refill stops it while it works, and a central tile
    // sets its display time. The settings and the transition are the run's, which the window
    // keeps: the show only reads them.
    MonitorShow(const ShowHost& host, FileCatalogue& catalogue, tk::Timer& timer,
                const SettingsRecord& settings, const int& transition);
    ~MonitorShow();

    // count tiles in the canvas, waiting at their start places for the run's transition, on
    // a show of the given size whose canvas lies at origin in the saver window.
    void Build(HWND canvas, POINT origin, int width, int height, int count);
    void Free(); // pictures, then players, then panels
    HWND Canvas() const { return canvas_; }
    POINT Origin() const { return origin_; }
    void MoveCanvas(POINT origin) { origin_ = origin; } // the stage moved in the window
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Its tiles and the window's black and texts in an area of its canvas, drawn again.
    void Repaint(const RECT& area) { PaintArea(area); }

    // The tiles (Strip.h), and the files they hold.
    TileStrip& Strip() { return strip_; }
    const TileStrip& Strip() const { return strip_; }
    bool Holds(const std::wstring& path) const;
    // The files on its tiles, for the catalogue when the show goes.
    std::vector<std::wstring> HeldFiles() const;
    RECT fitArea = {}; // what pictures are fitted into: a tile at full size for this transition

    // How many refills fill it at the start: every tile of a moving strip, tile 0 of a
    // central transition.
    int FirstFills() const { return IsCentral() ? 1 : strip_.tileCount; }
    // The slideshow cycle: the refill of tile currentTile, and the four steps of the transition
    // that it runs on that tile.
    void RefillTile();
    // A refill of the first tiles, under the start banner, with its file loaded at once on the
    // window's thread: for the tests that count a step's refills (AheadJobs::onWindowThread).
    void FirstRefill();
    // The saver's way: the first tiles are filled as their pictures come from the worker, so
    // that input is heard from the first moment and the first picture shows as soon as it is
    // ready, not when every first tile's is. The steps and the worker's wake-ups go on with it.
    void BeginFirstFills();
    void FillFirstTiles();
    void InitPosAndSize(tk::Panel& panel);
    // Leaving and entering return true when they began an animation: the refill goes on
    // after its last frame.
    bool LeaveTile();
    void PlaceTile();
    void SizeTile(int w, int h);
    bool EnterTile();
    bool IsCentral() const;
    // The movement step after the clip checks: the strip moves, a central tile's display
    // time ends, or the next frame of its animation is drawn.
    void Step();
    // A central tile's change is animating: the steps draw its frames.
    bool Animating() const { return change_ != Change::None; }
    // A central tile's display time: its own, though the timer is the window's. With several
    // shows on the one timer, a tick ends only the display times that are over, and the
    // timer waits for the next of them.
    void SetDisplayTime(unsigned ms); // also the timer's interval
    bool DisplayOver(DWORD now) const;
    // A whole display time again once it is over; the wait's check while its refill waits.
    unsigned DisplayLeft(DWORD now) const;

    // The clips in tiles.
    bool StartClip(int tile);
    SIZE FitClipDisplay(int tile); // the size the tile's clip is drawn at
    void CheckClipLoop(int tile);
    void CheckClips();
    void PlayWhenVisible(int tile);
    void RestartClip(int tile);
    bool ClipStillRunning(int tile);
    bool ClipOpen() const; // some tile holds an open clip

    // Loading ahead (ShowAhead.cpp): the show's next picture is prepared on a worker while the
    // tiles travel, one job at a time, and at most one picture waits ready beyond the tiles on
    // the screen. Takes a finished job's result and starts the next job; a job past its
    // deadline is abandoned and its file dropped.
    void CollectAhead();
    // Its worker has finished a job that CollectAhead has not taken yet.
    bool AheadDone() const { return loader_ && loader_->Done(); }
    // A refill's turn came before its picture: the refill is made once the picture is ready.
    bool RefillWaits() const { return refillWaits_; }
    // A central tile waiting for its picture is stepped this often, so that a job past its
    // deadline is given up soon after it (a wake-up four times a second, only while it waits).
    static constexpr unsigned kWaitCheckMs = 250;
    // Files taken ahead and not on the screen (ready, or in a job), for the catalogue when the
    // show goes.
    std::vector<std::wstring> FilesAhead() const;

    // State the tests look at.
    int currentTile = 0;
    int alternationPhase = 0; // 0 and 1 forward, 2 and 3 backward (the alternating transitions)
    long Refills() const { return refills_; } // refills that took files since Build
    long Loads() const { return loads_; }     // of those, the ones where a file loaded
    tk::Timer& stepTimer;

  private:
    const ShowHost& host_;
    FileCatalogue& catalogue_;
    const SettingsRecord& settings_;
    const int& transition_;
    TileStrip strip_;
    HWND canvas_ = nullptr;
    POINT origin_ = {0, 0};
    int width_ = 0, height_ = 0;
    std::vector<std::wstring> held_; // the file of each tile, empty while it has none
    long refills_ = 0;
    long loads_ = 0;
    unsigned displayMs_ = 0;
    DWORD displayFrom_ = 0;

    Box ScreenBox() const { return {0, 0, width_, height_}; }
    bool DropClip(int tile, const wchar_t* why); // closes it, says why in the log: false
    bool PrepareHere(int tile);      // a first fill's photo, prepared on the window's thread
    bool PutReadyFile(int tile);     // the picture or clip prepared ahead
    void KeepOldContent(int tile);   // a tile whose every try failed
    void FitTileToPicture(int tile); // the picture control and the tile take its size
    bool TurnWaitingTile();          // true when the refill's tile only changed sides
    void PutNextFile();              // the refill once the old content has left
    void EndRefill();                // ... and once the new one has entered

    struct Ahead {
        std::wstring path;
        PreparedPicture prepared; // for a clip, how it plays (PictureWork.h)
        bool clip = false;
    };
    // A clip taken ahead into its tile's player; its file is then seen, dropped, or given back
    // to the worker for Media Foundation (MCI refused it, and Media Foundation was not tried).
    enum class ClipPut { Shown, Dropped, Retried };
    ClipPut StartClipAhead(int tile, Ahead& next);
    bool PlayOpenedClip(int tile);         // the clip's size, start and waiting, once it is open
    tk::MediaPlayer& ClipPlayer(int tile); // the tile's player, set to the current file
    std::wstring retry_; // the clip given back: its next job opens it through Media Foundation
    // The kinds (extensions) of the clips MCI refused here: later clips of a kind go to Media
    // Foundation first, so that only the first of them shows its tile's last picture again.
    std::vector<std::wstring> mciRefusedKinds_;
    bool MciRefusedKind(const std::wstring& path) const;
    std::vector<std::wstring> mciRefusedFiles_; // never given to MCI again in this run
    bool MciRefusedFile(const std::wstring& path) const;
    std::unique_ptr<LoadAhead> loader_;
    std::optional<Ahead> ready_;
    std::wstring jobPath_;     // the file of the job in hand
    bool loadHere_ = false;    // a first fill
    bool refillWaits_ = false; // see RefillWaits
    int firstFillsLeft_ = 0;   // first tiles still waiting for their pictures
    bool late_ = false;        // the refill under way waited for its picture: it enters late
    // A run of files that failed ahead: after a whole pass of them the waiting refill gives up,
    // and the tile shows its last picture again, as when every file failed on the spot.
    size_t failedRun_ = 0;
    size_t failedRunLimit_ = 0;
    bool gaveUp_ = false;
    void CollectAhead(bool needed); // needed: a refill waits (the inline tests prepare only then)
    bool StartAhead();              // false when no file may be taken
    void TakeAheadResult(LoadAhead::Result result);
    void AheadFailed(const std::wstring& path, const std::wstring& why);
    PictureRequest RequestFor(const std::wstring& path) const; // a job's copy of what it needs
    void ShowPicture(int tile, PreparedPicture prepared, const std::wstring& path);

    // The animation of a central tile's change: 101 frames on the step clock (Geometry.h).
    enum class Change { None, Leaving, Entering };
    Change change_ = Change::None;
    int changeTransition_ = 0; // the animation drawn (transition 10 draws one anew each time)
    Box changeBase_;           // the tile's box that the frames are computed from
    DWORD changeFrom_ = 0;     // when its first frame was drawn
    int lastFrame_ = -1;
    void Animate(int transition, bool entering); // draws the first frame
    void DrawDueFrame();                         // the next one, once due; the end goes on
    void RepaintNow();
    void MoveStrip();

    // The frames (ShowFrame.cpp).
    struct Move {
        int tile;
        Box from, to;
    };
    void ApplyMoves(const std::vector<Move>& moves); // one batch, painted at once
    void PaintArea(const RECT& area);
    HDC ScreenDc(); // the canvas's DC, over the tiles
    std::unique_ptr<tk::WindowDc> screenDc_;
    void SetTileShown(int tile, bool shown); // shown or hidden in one change of the screen
    bool ShowsClip(int tile) const;
    bool PictureShown(int tile) const; // the tile's picture control, by its own visibility
    std::vector<Move> moves_;
    tk::Dib frame_; // the show's picture, when it is composed before it goes to the screen
};
