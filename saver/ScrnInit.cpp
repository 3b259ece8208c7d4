// TScrn's start: settings, the tiles, the transition of this run, the start banner, the
// catalogue and the first refills.
#include "Globals/Globals.h"
#include "Globals/Random.h"
#include "saver/SafeSettings.h"
#include "saver/ClipWarmUp.h"
#include "saver/Ssave.h"
#include "saver/StartBanner.h"

int AltPhase = 0;

void TScrn::Init() {
    CurTile = 0;
    Randomize();
    ShowLoadProblems(GetActiveWindow(), LoadSettings(LoadScope::SaverStart));
    ClampForSaver(Settings);
    BuildSlideshow();
    FillCatalogue();
    if (exitPending_) return; // the window closes: nothing more to start
    // The first open of the DirectShow device in a process is slow: it happens here, under
    // the banner, rather than as a pause of the show.
    WarmUpClipDevices(catalogue_.ToSeeFiles,
                      strip_.Panels.empty() ? Handle() : strip_.Panels[0]->Handle());
    FirstRefills();
}

void TScrn::BuildSlideshow() {
    catalogue_.Clear();
    CurTile = 0;
    refills_ = 0;
    loads_ = 0;
    strip_.Build(Handle(), Settings.opnbimgmax);

    // Numbers that are no transition are left out; a list with none of them counts as
    // all thirteen enabled, the default.
    std::vector<int> transitions = UsableTransitions(Settings.optransition);
    Settings.ActiveTransition = transitions[Random(int(transitions.size()))];

    for (auto& panel : strip_.Panels)
        InitPosAndSize(*panel);
    FitArea =
        strip_.Panels.empty() ? RECT{0, 0, Width(), Height()} : strip_.Panels[0]->ClientRect();
    StepDue = false;
    ShowStartBanner();
}

void TScrn::ShowStartBanner() {
    banner_ = StartBannerText(Settings.cfgname, Settings.ActiveTransition);
    SIZE size = TextSize(banner_);
    POINT at = StartBannerPos(Width(), Height(), size.cx, size.cy);
    DrawCanvasText(banner_, at.x, at.y);
}

void TScrn::FirstRefills() {
    int fills = IsCentral() ? 1 : strip_.TileCount;
    for (int i = 0; i < fills; ++i) {
        TimerTimer();
        AltPhase = 0; // the strip is laid out forward, and the run starts in phase 0
    }
    // The banner announces the start; once a file is on its way it would only show through
    // the gaps of the strip. With nothing to show it stays.
    if (loads_ > 0) ClearCanvasTexts();
}

void TScrn::InitPosAndSize(tk::Panel& panel) {
    TBox box = InitialBox(Settings.ActiveTransition, ScreenBox());
    SetWindowPos(panel.Handle(), nullptr, box.left, box.top, box.width, box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
