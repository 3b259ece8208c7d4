// A show's refill: the next file of the catalogue into tile CurTile, which then leaves,
// is placed at the entry side, sized to its content and enters again.
#include "Globals/Globals.h"
#include "saver/MediaKind.h"
#include "saver/Pacing.h"
#include "saver/MonitorShow.h"

void TMonitorShow::TimerTimer() {
    // Files on another monitor wait there: with none free the tile waits as with none at all.
    const auto elsewhere = [this](const std::wstring& path) {
        return host_.ShownElsewhere(this, path);
    };
    if (!catalogue_.HasFileFor(elsewhere) || host_.ExitPending()) return;
    const int t = Settings.ActiveTransition;
    if (IsCentral() && CurTile != 0) {
        // Central transitions use tile 0 only; the calls made for the others only turn
        // CurTile round, so that one timer tick refills tile 0 once.
        CurTile = NextCurTile(CurTile, strip_.TileCount, AltPhase);
        return;
    }
    if (TurnWaitingTile()) return;
    stepTimer.SetEnabled(false);
    AltPhase = NextAltPhase(t, AltPhase);
    const int c = CurTile;
    strip_.TilePos[c] = StartCoordinate(t, AltPhase, ScreenBox());
    LeaveTile();
    PlaceTile();
    if (IsCentral()) SetDisplayTime(CentralDisplayMs(Settings.defpause));
    ++refills_;

    bool video = false;
    const bool loaded = catalogue_.TakeNextFile(elsewhere, [&] {
        strip_.Images[c]->Hide();
        if (tk::HoldsClip(strip_.Players[c]->Mode())) strip_.Players[c]->Close();
        video = IsMediaFile(catalogue_.CurFile, mkVideo);
        return video ? StartClip(c) : LoadCurrentFile(c);
    });

    if (loaded) {
        ++loads_;
        held_[c] = catalogue_.CurFile;
        if (!video) ShowPicture(c);
    } else {
        KeepOldContent(c);
    }
    EnterTile();
    strip_.Seen[c] = false;
    strip_.PlacedTravel[c] = TravelOf(t, AltPhase);
    if (!StepsEveryTurn(t, Settings.defdelay)) stepTimer.SetEnabled(true);
    displayFrom_ = GetTickCount(); // a central display time counts from the tile's entry
    CurTile = NextCurTile(CurTile, strip_.TileCount, AltPhase);
}

bool TMonitorShow::TurnWaitingTile() {
    // When an alternating strip turns, the tiles still waiting beyond what was the entry
    // edge are at once past the new exit edge. Refilled one by one, each would advance the
    // phase: the strip would turn again within a step or two, and again, jittering on the
    // spot with its gaps closing. A tile that has not been on the screen since it was
    // placed, found past the edge it came in by, only changes sides: it goes to the new
    // entry side behind the last tile there, keeps its picture, and the phase stays.
    const int t = Settings.ActiveTransition, c = CurTile;
    if (!IsAlternating(t) || strip_.Seen[c] || strip_.PlacedTravel[c] == TravelOf(t, AltPhase))
        return false;
    const TBox content = strip_.TileBox(c);
    strip_.TilePos[c] = StartCoordinate(t, AltPhase, ScreenBox());
    LeaveTile();
    PlaceTile();
    SizeTile(content.width, content.height);
    EnterTile();
    strip_.PlacedTravel[c] = TravelOf(t, AltPhase);
    CurTile = NextCurTile(CurTile, strip_.TileCount, AltPhase);
    return true;
}

bool TMonitorShow::LoadCurrentFile(int tile) {
    TFitImage& image = *strip_.Images[tile];
    image.Show(SW_SHOWNA);
    const int areaW = FitArea.right - FitArea.left, areaH = FitArea.bottom - FitArea.top;
    try {
        if (!image.LoadFromFile(catalogue_.CurFile, areaW, areaH)) return false;
        image.FitPicture(FitArea);
    } catch (...) {
        // Whatever goes wrong with one file (memory for a huge picture, say) drops it.
        image.Picture().Clear();
        return false;
    }
    // A picture that could not be brought to at least one pixel within the screen (a
    // panorama of 65,000 x 1, say) cannot be shown.
    const tk::Dib& picture = image.Picture();
    if (!PictureFitsArea(picture.Width(), picture.Height(), areaW, areaH)) {
        image.Picture().Clear();
        return false;
    }
    return true;
}

void TMonitorShow::ShowPicture(int tile) {
    FitTileToPicture(tile);
    if (Settings.opnomfic || Settings.opdatefic) DrawCaption();
}

void TMonitorShow::KeepOldContent(int tile) {
    // No file could be loaded: the tile shows its last picture again, at its size, so that
    // the strip keeps its rhythm. A tile that never held one shrinks to nothing and is
    // tried again once it has travelled to the exit edge.
    if (strip_.Images[tile]->Picture().Empty()) {
        held_[tile].clear();
        SizeTile(0, 0);
        return;
    }
    strip_.Images[tile]->Show(SW_SHOWNA);
    FitTileToPicture(tile);
}

void TMonitorShow::FitTileToPicture(int tile) {
    TFitImage& image = *strip_.Images[tile];
    const int w = image.Picture().Width(), h = image.Picture().Height();
    SetWindowPos(image.Handle(), nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    SizeTile(w, h);
}
