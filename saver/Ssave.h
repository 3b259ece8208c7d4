#pragma once
// The saver's one window: black, borderless and topmost over the whole screen; it watches
// the keyboard and the mouse, runs the slideshow from its timer and the idle turns, and
// closes after the Windows password check.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/FitImage.h"
#include "toolkit/MediaPlayer.h"
#include "toolkit/Panel.h"

#include "saver/ExitRules.h"
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

    // The catalogue: folders scanned into ToSeeFiles, files taken at random into SeenFiles,
    // the seen-file memory across runs.
    void GetAllPhotos();
    bool ReadMemFiles();
    void WriteMemFiles();
    void PickNextFile(); // sets CurFile
    void ForgetFile(const std::wstring& path);
    void RefillCatalogue();
    std::wstring CurFile;
    // Init's step that fills the catalogue: the memory first when it is kept, else a scan.
    void FillCatalogue();

    // The tiles: tile i is Panels[i] holding Images[i], served by Players[i], at TilePos[i].
    std::vector<std::unique_ptr<tk::Panel>> Panels;
    std::vector<std::unique_ptr<TFitImage>> Images;
    std::vector<std::unique_ptr<tk::MediaPlayer>> Players;
    std::vector<int> TilePos;

    // The clips in tiles.
    bool StartClip(int tile);
    SIZE FitClipDisplay(int tile); // the size the tile's clip is drawn at
    void CheckClipLoop(int tile);
    void PlayWhenVisible(int tile);
    void RestartClip(int tile);
    bool ClipStillRunning(int tile);
    // The transitions' sizing of the current tile to its content; StartClip calls it.
    void SizeTile(int w, int h);

    // Writes a line of text onto the window (white on black, opaque) and keeps it, so that
    // a repaint shows it again. A text at the same place replaces the one before.
    void DrawCanvasText(const std::wstring& text, int x, int y);
    SIZE TextSize(const std::wstring& text);
    int Width() const;
    int Height() const;
    void MoveStep();
    void RequestExit();

    // State the tests look at.
    bool FirstActivate = true;
    bool StepDue = false;
    int CurTile = 0;
    int TileCount = 0;
    std::vector<std::wstring> ToSeeFiles;
    std::vector<std::wstring> SeenFiles;
    tk::Timer Timer1{1, 10000};
    const TMouseWatch& MouseWatch() const { return mouse_; }
    std::wstring BannerText() const { return banner_; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void AppIdle(bool& done);
    void Paint(HDC dc, const RECT& area);

    struct CanvasText {
        std::wstring text;
        int x, y;
    };
    std::vector<CanvasText> canvasTexts_;
    tk::Font font_;
    TMouseWatch mouse_;
    std::wstring banner_;
    bool closed_ = false;
};
