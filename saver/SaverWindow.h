#pragma once
// The saver's one window: black, borderless and topmost over the whole virtual screen, every
// monitor included; it watches the keyboard and the mouse, drives one slideshow per monitor
// (MonitorShow.h) from its timer and the idle turns, fills their shared catalogue, and closes
// after the Windows password check.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/Catalogue.h"
#include "saver/ExitRules.h"
#include "saver/MonitorLayout.h"
#include "saver/MonitorShow.h"
#include "saver/ScanWorker.h"
#include "saver/ScreenNotice.h"
#include "saver/SaverMessages.h"
#include "saver/Stage.h"
#include "toolkit/Handles.h"
#include "toolkit/Timer.h"
#include "toolkit/Window.h"

class SaverWindow : public tk::Window {
  public:
    SaverWindow();
    ~SaverWindow() override;

    // Creates the window (hidden); showing it activates it, which starts the saver.
    bool CreateHidden();
    bool Closed() const { return closed_; }

    // Window events.
    void OnCreate();
    void OnActivate();
    void OnKeyDown(WPARAM key);
    void OnMouseDown();
    void OnMouseMove(int x, int y);
    void OnClose();
    void EndSlideshow();

    void Init();
    void OnStepTick();
    // The run's settings, brought into their bounds once: Init gives the loaded ones, the
    // tests their own. The shows and the catalogue read them here; nothing writes them after.
    void UseSettings(const SettingsRecord& settings);
    const SettingsRecord& Settings() const { return settings_; }
    // The run's transition, drawn by BuildSlideshow from the settings' list; the shows move by
    // it. Tests that build the shows themselves give it.
    int Transition() const { return transition_; }
    void UseTransition(int transition) { transition_ = transition; }
    // Init's parts after the settings are loaded, in their order; the tests call them with
    // settings and files of their own.
    void BuildSlideshow(); // lists, tiles, transition, start places, banner
    void FirstRefills();   // every tile of a moving strip, tile 0 of a central transition
    // The show begins as soon as the catalogue holds files for the first tiles, or when the
    // scan ends with fewer: the scan goes on behind it.
    bool ShowStarted() const { return showStarted_; }

    // The catalogue (Catalogue.h), which the window serves with its progress texts, its
    // warning boxes and its input while it fills.
    FileCatalogue& Catalogue() { return catalogue_; }
    const FileCatalogue& Catalogue() const { return catalogue_; }
    // For the tests and the benchmarks: a scan on the worker, the window's messages handled
    // until it has ended (or the window closed).
    void ScanFoldersToTheEnd();
    // Init's step: the memory, or a scan begun on the worker.
    void FillCatalogue() { catalogue_.FillCatalogue(); }
    // An exit was allowed while the memory was read or a refill tried files: the work stops at
    // its next check, nothing more starts, and the window closes once it has returned.
    bool ExitPending() const { return exitPending_; }
    // What the saver has to say is said on the screen, never in a box that would wait for
    // somebody who is not there (ScreenNotice.h).
    void ShowNotice(const std::wstring& text,
                    ScreenNotice::Kind kind = ScreenNotice::Kind::Passing);
    const std::vector<std::wstring>& NoticeLines() const { return notice_.Lines(); }

    // The shows, one per monitor, the primary monitor's first. None before BuildSlideshow.
    const std::vector<std::unique_ptr<MonitorShow>>& Shows() const { return shows_; }
    MonitorShow& PrimaryShow() { return *shows_.front(); }
    const MonitorShow& PrimaryShow() const { return *shows_.front(); }
    // The shows for the monitors as the system reports them now, their tiles at their start
    // places; the previous ones are dropped. Part of BuildSlideshow.
    void BuildShows();
    // Where the monitors are: the system's, or a list of a test's own.
    std::function<std::vector<Monitor>()> readMonitors;

    void MoveOneStep();
    // A show's worker prepared its next picture: every show takes what is ready, and a
    // central tile that waited for its picture changes at once.
    void OnPictureReady();
    bool Animating() const; // some show's central tile is changing
    void RequestExit();

    // State the tests look at.
    bool firstActivation = true;
    bool stepDue = false;
    AheadJobs aheadJobs;  // how the shows' pictures are prepared (LoadAhead.h)
    long Refills() const; // refills that took files since Init, every show's
    long Loads() const;   // of those, the ones where a file loaded
    tk::Timer stepTimer{1, 10000};
    std::wstring BannerText() const { return banner_; }
    bool HasCanvasTexts() const { return !canvasTexts_.empty(); }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    SettingsRecord settings_;
    int transition_ = 1;
    CatalogueEvents MakeCatalogueEvents();
    FileCatalogue catalogue_;
    // The scan behind the show (SaverWindowCatalogue.cpp). WM_SCANFOUND says it found more.
    std::unique_ptr<ScanWorker> scan_;
    void StartScan(ScanRequest request);
    void StopScan();    // the worker stopped, and its batches still queued dropped
    void OnScanFound(); // takes the batches the scan's worker has found
    void StartShow();   // the first refills, once the catalogue has files for them
    size_t FirstTiles() const;
    bool showStarted_ = false;
    std::wstring scanCount_; // the latest count of the running scan
    // What the shows ask of the window (MonitorShow.h); declared before the shows.
    ShowHost MakeShowHost();
    ShowHost showHost_;
    // The stages go after the shows whose tiles they hold.
    std::vector<std::unique_ptr<Stage>> stages_;
    std::vector<std::unique_ptr<MonitorShow>> shows_;
    std::vector<ShowPlace> places_; // where the shows are, one for each
    bool showsBuilt_ = false;       // the start has built them
    bool showsInWindow_ = false;    // one show whose tiles live in the window itself
    RECT primaryArea_ = {};         // the primary monitor: the texts go there
    void PlaceWindow();             // over the virtual screen
    Box WindowBox() const;          // its place on the screen
    void DropShows();
    void FillShows(const std::vector<MonitorShow*>& shows); // their first refills
    std::unique_ptr<MonitorShow> NewShow(const ShowPlace& place);
    void AddShow(const ShowPlace& place, std::unique_ptr<MonitorShow> show);
    // The places of the shows on the monitors as they are now, and whether one show covers
    // the whole window.
    std::vector<ShowPlace> PlacesNow(bool& inWindow) const;
    // A show on each place: the kept one at its index, else a new one; the new ones.
    std::vector<MonitorShow*> InstallShows(const std::vector<ShowPlace>& places, bool inWindow,
                                           std::vector<std::unique_ptr<MonitorShow>> kept);
    // The monitors changed: the window covers the new virtual screen, shows go or come. Done
    // between steps, never under a scan or a box.
    void ApplyDisplayChange();
    bool displayChanged_ = false;

    bool TakeCleanScreen();
    bool ShownElsewhere(const MonitorShow* asking, const std::wstring& path) const;

    // A count: at the primary monitor's centre until the show has begun, then in the notice's
    // counting line.
    void DrawProgress(const std::wstring& text);

    // While the memory is read, a configuration file waited for, or a refill tries files, the
    // message loop does not run: the work asks KeepScanning often, which handles the input
    // that came meanwhile. Steps wait until it is over. (The scan runs on its worker.)
    void Scanning(bool begins);
    bool KeepScanning(); // false once an exit is pending
    void HandleWaitingInput();
    int scanDepth_ = 0;
    bool exitPending_ = false;
    uint64_t lastInputCheck_ = 0; // GetTickCount64 of the last look at the input

    // Writes a line of text onto the window (white on black, opaque) and keeps it, so that
    // a repaint shows it again. A text at the same place replaces the one before.
    void DrawCanvasText(const std::wstring& text, int x, int y);
    void ClearCanvasTexts(); // the window turns plain black again
    void PaintCanvases();    // the window's own black and texts, and the stages'
    SIZE TextSize(const std::wstring& text);
    void OnIdle(bool& done);
    // What the workers made, taken at every idle turn as well as at their wake-up messages: a
    // wake-up that could not be posted loses nothing.
    void TakeWorkersResults();
    void WatchClips(); // the clip watch runs while a looping clip could end between steps
    // Wakes the loop to look at the clips between steps; its tick marks a check as due.
    tk::Timer clipWatch_;
    bool clipCheckDue_ = false;
    void ShowStartBanner();
    // Whether the window drew since the message loop last found its queue empty (and so
    // handed the window's picture to the display), and when it last handed over a drawing.
    bool drewSinceIdle_ = true;
    DWORD handedOverAt_ = 0;
    void Paint(HDC dc, const RECT& area, POINT origin = {0, 0});
    // The black and the texts, without the notice that goes over the tiles.
    void PaintUnderTiles(HDC dc, const RECT& area, POINT origin);

    struct CanvasText {
        std::wstring text;
        int x, y;
    };
    std::vector<CanvasText> canvasTexts_;
    tk::Font font_;
    ScreenNotice notice_;
    tk::Timer noticeTimer_{3, kNoticeShownMs};
    void EndNotice();
    void DropNoticeLines(ScreenNotice::Kind kind);
    void PaintNoticeEverywhere();
    // Over whatever is there, tiles included, on a canvas at origin in the window.
    void PaintNotice(HDC dc, POINT origin);
    RECT NoticeArea() const; // in the window
    MouseWatch mouse_;
    std::wstring banner_;
    bool closed_ = false;
};
