#pragma once
// The saver's one window: black, borderless and topmost over the whole screen; it watches
// the keyboard and the mouse, runs the slideshow from its timer and the idle turns, and
// closes after the Windows password check.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/FitImage.h"
#include "toolkit/MediaPlayer.h"
#include "toolkit/Panel.h"

#include "saver/Catalogue.h"
#include "saver/ExitRules.h"
#include "saver/Geometry.h"
#include "saver/ScreenNotice.h"
#include "saver/Strip.h"
#include "toolkit/Dib.h"
#include "toolkit/Handles.h"
#include "toolkit/Timer.h"
#include "toolkit/Window.h"

constexpr UINT WM_STEP = WM_USER + 1;        // 1025: one movement step
constexpr UINT WM_EXITREQUEST = WM_USER + 2; // 1026: another program asks the saver to end

// The phase of the alternating transitions (0..3; 0 and 1 forward, 2 and 3 backward).
extern int AltPhase;

class TScrn : public tk::Window {
  public:
    TScrn();
    ~TScrn() override;

    // Creates the window (hidden); showing it activates it, which starts the saver.
    bool CreateForm();
    bool Closed() const { return closed_; }

    // Form events.
    void FormCreate();
    void FormActivate();
    void FormKeyDown(WPARAM key);
    void FormMouseDown();
    void FormMouseMove(int x, int y);
    void FormClose();
    void QuitterClick();

    void Init();
    void Timer1Timer();
    // Init's parts after the settings are loaded, in their order; the tests call them with
    // settings and files of their own.
    void BuildSlideshow(); // lists, tiles, transition, start places, banner
    void FirstRefills();   // every tile of a moving strip, tile 0 of a central transition

    // The catalogue (Catalogue.h), which the window serves with its progress texts, its
    // warning boxes and its input while it fills.
    TCatalogue& Catalogue() { return catalogue_; }
    const TCatalogue& Catalogue() const { return catalogue_; }
    void GetAllPhotos() { catalogue_.GetAllPhotos(); }
    bool ReadMemFiles() { return catalogue_.ReadMemFiles(); }
    bool WriteMemFiles() { return catalogue_.WriteMemFiles(); }
    void PickNextFile() { catalogue_.PickNextFile(); }
    void ForgetFile(const std::wstring& path) { catalogue_.ForgetFile(path); }
    void RefillCatalogue() { catalogue_.RefillCatalogue(); }
    void FillCatalogue() { catalogue_.FillCatalogue(); } // Init's step: memory or scan
    // An exit was allowed while the catalogue was being filled: the scan stops at its next
    // check, nothing more starts, and the window closes once the scan has returned.
    bool ExitPending() const { return exitPending_; }
    // A warning box (caption "Avertissement") that stays visible and answerable over the
    // saver; the show waits while it is open.
    int WarningBox(const std::wstring& text);
    // A folder away is said on the screen, not in a box (ScreenNotice.h).
    void ShowNotice(const std::wstring& text);
    const std::vector<std::wstring>& NoticeLines() const { return notice_.Lines(); }

    // The tiles (Strip.h).
    TStrip& Strip() { return strip_; }
    const TStrip& Strip() const { return strip_; }
    RECT FitArea = {}; // what pictures are fitted into: a tile at full size for this transition

    // The slideshow cycle: the refill of tile CurTile, and the four steps of the transition
    // that it runs on that tile.
    void TimerTimer();
    void InitPosAndSize(tk::Panel& panel);
    void LeaveTile();
    void PlaceTile();
    void SizeTile(int w, int h);
    void EnterTile();
    void DrawCaption();
    bool IsCentral() const;

    // The clips in tiles.
    bool StartClip(int tile);
    SIZE FitClipDisplay(int tile); // the size the tile's clip is drawn at
    void CheckClipLoop(int tile);
    void PlayWhenVisible(int tile);
    void RestartClip(int tile);
    bool ClipStillRunning(int tile);

    int Width() const;
    int Height() const;
    void MoveStep();
    void RequestExit();

    // State the tests look at.
    bool FirstActivate = true;
    bool StepDue = false;
    int CurTile = 0;
    long Refills() const { return refills_; } // refills that took files since Init
    long Loads() const { return loads_; }     // of those, the ones where a file loaded
    tk::Timer Timer1{1, 10000};
    std::wstring BannerText() const { return banner_; }
    bool HasCanvasTexts() const { return !canvasTexts_.empty(); }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    TCatalogueEvents CatalogueEvents();
    TCatalogue catalogue_;
    TStrip strip_;
    void DrawProgress(const std::wstring& text); // at the window's centre
    int boxDepth_ = 0;                           // warning boxes open
    bool exitAfterBox_ = false;                  // an exit was asked for meanwhile

    // While the catalogue is filled (a scan, the memory read) or tries files for a refill, the
    // message loop does not run: the work asks KeepScanning often, which handles the input
    // that came meanwhile. Steps wait until it is over.
    void Scanning(bool begins);
    bool KeepScanning(); // false once an exit is pending
    void HandleWaitingInput();
    int scanDepth_ = 0;
    bool exitPending_ = false;
    uint64_t lastInputCheck_ = 0; // GetTickCount64 of the last look at the input

    long refills_ = 0;
    long loads_ = 0;
    bool DropClip(int tile, const wchar_t* why); // closes it, says why in the log: false
    // Writes a line of text onto the window (white on black, opaque) and keeps it, so that
    // a repaint shows it again. A text at the same place replaces the one before.
    void DrawCanvasText(const std::wstring& text, int x, int y);
    void ClearCanvasTexts(); // the window turns plain black again
    SIZE TextSize(const std::wstring& text);
    TBox ScreenBox() const;
    void AppIdle(bool& done);
    void WatchClips(); // the clip watch runs while a looping clip could end between steps
    // Wakes the loop to look at the clips between steps; its tick marks a check as due.
    tk::Timer clipWatch_;
    bool clipCheckDue_ = false;
    void ShowStartBanner();
    bool LoadCurrentFile(int tile); // one try of the refill's loop
    void ShowPicture(int tile);      // size and caption of a loaded picture
    void KeepOldContent(int tile);   // a tile whose every try failed
    void FitTileToPicture(int tile); // the picture control and the tile take its size
    void Animate(int transition, bool entering);
    void RepaintNow();
    void MoveStrip();
    HFONT CaptionFont();
    struct Move {
        int tile;
        TBox from, to;
    };
    void ApplyMoves(const std::vector<Move>& moves); // one batch, painted at once
    void PaintArea(const RECT& area);
    HDC ScreenDc(); // the window's DC, over the tiles
    std::unique_ptr<tk::WindowDc> screenDc_;
    // Whether the window drew since the message loop last found its queue empty (and so
    // handed the window's picture to the display), and when it last handed over a drawing.
    bool drewSinceIdle_ = true;
    DWORD handedOverAt_ = 0;
    void SetTileShown(int tile, bool shown); // shown or hidden in one change of the screen
    bool ShowsClip(int tile) const;
    bool PictureShown(int tile) const; // the tile's picture control, by its own visibility
    std::vector<Move> moves_;
    tk::Dib frame_; // the window's picture, when it is composed before it goes to the screen
    bool TurnWaitingTile(); // true when the refill's tile only changed sides
    tk::Font captionFont_;
    void Paint(HDC dc, const RECT& area);

    struct CanvasText {
        std::wstring text;
        int x, y;
    };
    std::vector<CanvasText> canvasTexts_;
    tk::Font font_;
    TScreenNotice notice_;
    tk::Timer noticeTimer_{3, kNoticeShownMs};
    void EndNotice();
    void PaintNotice(HDC dc); // over whatever is there, tiles included
    RECT NoticeArea() const;
    TMouseWatch mouse_;
    std::wstring banner_;
    bool closed_ = false;
};
