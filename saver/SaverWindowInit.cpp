// SaverWindow's start: settings, the shows, the transition of this run, the start banner, the
// catalogue and the first refills.
#include <algorithm>

#include "settings/Settings.h"
#include "settings/Random.h"
#include "settings/Transitions.h"
#include "settings/SafeSettings.h"
#include "saver/SaverWindow.h"
#include "saver/StartBanner.h"

void SaverWindow::Init() {
    Randomize();
    // A configuration file that another program holds is waited for a moment: input is heard
    // meanwhile, as in a scan. What could not be loaded is said on the screen: a box would wait
    // on a black screen for somebody who is not there, deaf to the input that should end it.
    Scanning(true);
    const Loaded loaded =
        LoadSettings(LoadScope::SaverStart, {}, nullptr, [this] { return KeepScanning(); });
    Scanning(false);
    if (exitPending_) return; // the window closes
    for (const LoadProblem& problem : loaded.problems)
        ShowNotice(LoadProblemText(problem), ScreenNotice::Kind::Lasting);
    UseSettings(loaded.settings);
    BuildSlideshow();
    FillCatalogue();
    if (exitPending_) return; // the window closes: nothing more to start
    // The scan goes on, on its worker: the show begins with its first batches (OnScanFound).
    if (!catalogue_.ScanRunning()) StartShow();
}

void SaverWindow::UseSettings(const SettingsRecord& settings) {
    settings_ = settings;
    ClampForSaver(settings_);
}

void SaverWindow::BuildSlideshow() {
    StopScan();
    catalogue_.Clear();
    showStarted_ = false;
    // Numbers that are no transition are left out; a list with none of them counts as
    // all thirteen enabled, the default.
    std::vector<int> transitions = UsableTransitions(settings_.transitionList);
    transition_ = transitions[Random(int(transitions.size()))];
    BuildShows();
    stepDue = false;
    ShowStartBanner();
}

void SaverWindow::ShowStartBanner() {
    banner_ = StartBannerText(settings_.configName, transition_);
    SIZE size = TextSize(banner_);
    const RECT& p = primaryArea_;
    POINT at = StartBannerPos(p.right - p.left, p.bottom - p.top, size.cx, size.cy);
    DrawCanvasText(banner_, p.left + at.x, p.top + at.y);
}

void SaverWindow::FirstRefills() {
    showStarted_ = true;
    std::vector<MonitorShow*> all;
    for (const auto& show : shows_)
        all.push_back(show.get());
    // With several monitors the first pictures come together: the stages wait hidden until
    // every monitor has its first tiles, rather than each showing one decode after the one
    // before. (Not for the animated changes, whose first entries would be lost.)
    const int t = transition_;
    const bool together = !stages_.empty() && !IsAnimated(t) && !DrawsChangeAnew(t);
    if (together)
        for (const auto& stage : stages_)
            SetWindowPos(stage->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW |
                             SWP_HIDEWINDOW);
    FillShows(all);
    if (together)
        for (const auto& stage : stages_) {
            SetWindowPos(stage->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            RedrawWindow(stage->Handle(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
    // The banner announces the start; once a file is on its way it would only show through
    // the gaps of the strip. With nothing to show it stays.
    if (Loads() > 0) ClearCanvasTexts();
}

void SaverWindow::FillShows(const std::vector<MonitorShow*>& shows) {
    if (!aheadJobs.onWindowThread) {
        for (MonitorShow* show : shows)
            show->BeginFirstFills();
        return;
    }
    // Tile by tile over the monitors, so that each monitor's first picture comes as early as
    // the primary one's, and a library of few files spreads over the monitors.
    int most = 0;
    for (const MonitorShow* show : shows)
        most = std::max(most, show->FirstFills());
    for (int i = 0; i < most; ++i)
        for (MonitorShow* show : shows)
            if (i < show->FirstFills()) {
                show->FirstRefill();
                show->alternationPhase =
                    0; // the strip is laid out forward, and the run starts in phase 0
            }
}
