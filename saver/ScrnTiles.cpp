// TScrn's tiles: the four steps of a transition that the refill runs on the current tile
// (leave, place, size, enter), the central animations, and the tiles' geometry.
#include "Globals/Globals.h"
#include "Globals/Random.h"
#include "saver/Ssave.h"

namespace {
constexpr DWORD kFrameMs = 10;
constexpr UINT kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

// Transition 10 does each leaving and each entering as one of 4 to 9, drawn anew.
int EffectiveTransition(int transition) {
    return transition == 10 ? 4 + Random(6) : transition;
}
} // namespace

bool TScrn::IsCentral() const { return IsCentralTransition(Settings.ActiveTransition); }

TBox TScrn::ScreenBox() const {
    RECT window = Bounds();
    return {window.left, window.top, Width(), Height()};
}

TBox TScrn::TileBox(int tile) const {
    RECT r = Panels[tile]->Bounds();
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool TScrn::TileShown(int tile) const {
    // Whether or not the form is shown yet.
    return Panels[tile]->ShownItself();
}

void TScrn::SetTileBox(int tile, const TBox& b) {
    SetWindowPos(Panels[tile]->Handle(), nullptr, b.left, b.top, b.width, b.height, kPlaceFlags);
}

void TScrn::RepaintNow() {
    // What windows left to paint themselves (a clip's tile, a window shown) is painted
    // before the loop goes on.
    RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TScrn::LeaveTile() {
    const int t = EffectiveTransition(Settings.ActiveTransition);
    // An animation of a tile that is not on the screen would show nothing for a second.
    if (IsAnimated(t) && TileShown(CurTile) && OnScreen(TileBox(CurTile), ScreenBox())) {
        Animate(t, false);
        return;
    }
    SetTileShown(CurTile, false);
}

void TScrn::PlaceTile() {
    const int t = Settings.ActiveTransition;
    const int c = CurTile;
    const int p = PreviousTile(c, TileCount), n = NextTile(c, TileCount);
    SetTileBox(c, EntryBox(t, AltPhase, ScreenBox()));
    // Read after the move: the single tile is its own previous tile, now full-size.
    TBox previous = TileBox(p);
    TilePos[c] = EntryCoordinate(t, AltPhase, TilePos[p], previous.width, previous.height,
                                 TilePos[n]);
    placedBox_ = TileBox(c);
    placedPos_ = TilePos[c];
}

void TScrn::SizeTile(int w, int h) {
    const int c = CurTile;
    TSized sized = SizeTileBox(Settings.ActiveTransition, AltPhase, placedBox_, placedPos_,
                               w, h, ScreenBox());
    SetTileBox(c, sized.box);
    TilePos[c] = sized.pos;
}

void TScrn::EnterTile() {
    const int t = EffectiveTransition(Settings.ActiveTransition);
    if (IsAnimated(t)) {
        Animate(t, true);
        return;
    }
    SetTileShown(CurTile, true);
}

void TScrn::Animate(int transition, bool entering) {
    // 101 frames, 10 ms apart, each painted at once; the message loop waits meanwhile.
    const int c = CurTile;
    const TBox base = TileBox(c);
    const TBox s = ScreenBox();
    for (int i = 0; i <= kAnimationLast; ++i) {
        int k = entering ? i : kAnimationLast - i;
        TBox frame = entering ? EnterFrame(transition, k, base, s)
                              : LeaveFrame(transition, k, base, s);
        ApplyMoves({{c, TileBox(c), frame}});
        if (entering && k == 0) SetTileShown(c, true);
        Sleep(kFrameMs);
    }
    if (!entering) SetTileShown(c, false);
}

void TScrn::FreeTiles() {
    // The pictures live in the panels and the players show in them: panels go last.
    for (auto& image : Images) image.reset();
    Images.clear();
    for (auto& player : Players) player.reset();
    Players.clear();
    for (auto& panel : Panels) panel.reset();
    Panels.clear();
    TilePos.clear();
    stacked_.clear();
    seen_.clear();
    placedTravel_.clear();
    TileCount = 0;
}
