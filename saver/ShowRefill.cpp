// A show's refill: the next file of the catalogue into tile currentTile, which then leaves,
// is placed at the entry side, sized to its content and enters again.
#include "settings/Settings.h"
#include "library/MediaKind.h"
#include "settings/Pacing.h"
#include "saver/MonitorShow.h"
#include "toolkit/Log.h"

void MonitorShow::FirstRefill() {
    loadHere_ = true;
    RefillTile();
    loadHere_ = false;
}

void MonitorShow::BeginFirstFills() {
    firstFillsLeft_ = FirstFills();
    FillFirstTiles();
}

void MonitorShow::FillFirstTiles() {
    // A tile that holds a file already ends the first fills: a tile of the strip that left
    // before the last first tile's picture came has taken that tile's turn with its own
    // refill.
    // Bounded: each turn takes a ready picture, or turns a central show's tile round to 0.
    for (int turn = 0;
         turn <= 2 * strip_.tileCount && firstFillsLeft_ > 0 && !Animating() && !host_.Stopping();
         ++turn) {
        if (!held_[currentTile].empty()) {
            firstFillsLeft_ = 0;
            return;
        }
        CollectAhead();
        if (!ready_) return; // the worker's wake-up or the next step comes back here
        --firstFillsLeft_;
        const long loadsBefore = loads_;
        RefillTile();
        alternationPhase = 0; // the strip is laid out forward, and the run starts in phase 0
        // A file that could not be put (a clip MCI refused at its turn, which comes back from
        // the worker through Media Foundation): the tile is still to fill, not left empty for
        // a whole display time.
        if (loads_ == loadsBefore) ++firstFillsLeft_;
    }
}

void MonitorShow::RefillTile() {
    if (Animating()) return; // the change under way ends first
    if (host_.Stopping()) return;
    if (!loadHere_) CollectAhead();
    // Files on another monitor wait there: with none free the tile waits as with none at all.
    if (!ready_ && !catalogue_.HasFileFor(host_.ExcludedFor(this))) return;
    const int t = transition_;
    if (IsCentral() && currentTile != 0) {
        // Central transitions use tile 0 only; the calls made for the others only turn
        // currentTile round, so that one timer tick refills tile 0 once.
        currentTile = NextCurrentTile(currentTile, strip_.tileCount, alternationPhase);
        return;
    }
    if (TurnWaitingTile()) return;
    if (!loadHere_ && !ready_ && !gaveUp_) {
        CollectAhead(true);
        // Its picture is still on its way: a moving strip goes on and the tile, past the exit
        // edge, enters once it comes; a central tile keeps its picture meanwhile.
        refillWaits_ = !ready_ && !gaveUp_;
        if (refillWaits_) {
            late_ = true;
            if (IsCentral()) stepTimer.SetInterval(kWaitCheckMs);
            return;
        }
    }
    refillWaits_ = false;
    stepTimer.SetEnabled(false);
    alternationPhase = NextAlternationPhase(t, alternationPhase);
    strip_.tilePos[currentTile] = StartCoordinate(t, alternationPhase, ScreenBox());
    if (!LeaveTile()) PutNextFile(); // else once the old picture has left
}

void MonitorShow::PutNextFile() {
    const int c = currentTile;
    PlaceTile();
    if (IsCentral()) SetDisplayTime(CentralDisplayMs(settings_.displaySeconds));
    ++refills_;

    bool video = false, loaded = false;
    if (ready_) {
        video = ready_->clip;
        loaded = PutReadyFile(c);
    } else if (loadHere_) {
        // Asked again: another monitor may have taken a file while this tile left.
        const FileCatalogue::Excluded elsewhere = host_.ExcludedFor(this);
        loaded = catalogue_.HasFileFor(elsewhere) && catalogue_.TakeNextFile(elsewhere, [&] {
            strip_.pictures[c]->Hide();
            if (tk::HoldsClip(strip_.players[c]->Mode())) strip_.players[c]->Close();
            video = IsMediaFile(catalogue_.currentFile, mkClip);
            return video ? StartClip(c) : PrepareHere(c);
        });
    }
    gaveUp_ = false; // the next refill tries a whole pass again

    if (loaded) {
        ++loads_;
        held_[c] = catalogue_.currentFile;
        if (!video) FitTileToPicture(c);
    } else {
        KeepOldContent(c);
    }
    if (!loadHere_) CollectAhead(); // the next picture is prepared while this one shows
    if (!EnterTile()) EndRefill();  // else once the new picture has entered
}

void MonitorShow::EndRefill() {
    const int t = transition_, c = currentTile;
    strip_.seen[c] = false;
    strip_.placedTravel[c] = TravelOf(t, alternationPhase);
    if (IsCentral()) stepTimer.SetInterval(displayMs_); // no longer a frame's time
    if (!StepsEveryTurn(t, settings_.stepsPerTenSeconds)) stepTimer.SetEnabled(true);
    displayFrom_ = GetTickCount(); // a central display time counts from the tile's entry
    late_ = false;
    currentTile = NextCurrentTile(currentTile, strip_.tileCount, alternationPhase);
}

bool MonitorShow::TurnWaitingTile() {
    // When an alternating strip turns, the tiles still waiting beyond what was the entry
    // edge are at once past the new exit edge. Refilled one by one, each would advance the
    // phase: the strip would turn again within a step or two, and again, jittering on the
    // spot with its gaps closing. A tile that has not been on the screen since it was
    // placed, found past the edge it came in by, only changes sides: it goes to the new
    // entry side behind the last tile there, keeps its picture, and the phase stays.
    const int t = transition_, c = currentTile;
    if (!IsAlternating(t) || strip_.seen[c] ||
        strip_.placedTravel[c] == TravelOf(t, alternationPhase))
        return false;
    const Box content = strip_.TileBox(c);
    strip_.tilePos[c] = StartCoordinate(t, alternationPhase, ScreenBox());
    LeaveTile();
    PlaceTile();
    SizeTile(content.width, content.height);
    EnterTile();
    strip_.placedTravel[c] = TravelOf(t, alternationPhase);
    currentTile = NextCurrentTile(currentTile, strip_.tileCount, alternationPhase);
    return true;
}

bool MonitorShow::PrepareHere(int tile) {
    // The same work as a worker's, done at once.
    const std::wstring& path = catalogue_.currentFile;
    PreparedPicture prepared = PreparePicture(RequestFor(path));
    if (!prepared.Ready()) {
        tk::Log(L"photo " + path + L" dropped: " + prepared.failure);
        return false;
    }
    ShowPicture(tile, std::move(prepared), path);
    return true;
}

void MonitorShow::KeepOldContent(int tile) {
    // No file could be loaded: the tile shows its last picture again, at its size, so that
    // the strip keeps its rhythm. A tile that never held one shrinks to nothing and is
    // tried again once it has travelled to the exit edge.
    if (strip_.pictures[tile]->Picture().Empty()) {
        held_[tile].clear();
        SizeTile(0, 0);
        return;
    }
    strip_.pictures[tile]->Show(SW_SHOWNA);
    FitTileToPicture(tile);
}

void MonitorShow::FitTileToPicture(int tile) {
    FitImage& image = *strip_.pictures[tile];
    const int w = image.Picture().Width(), h = image.Picture().Height();
    SetWindowPos(image.Handle(), nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    SizeTile(w, h);
}
