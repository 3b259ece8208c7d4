// TEMPORARY: a stand-in for the transitions' SizeTile and AltPhase, so that the clips can be
// built and tested before the slideshow's tiles are merged. Delete this file at the merge;
// the slideshow defines both.
#include "saver/SafeSettings.h"
#include "saver/Ssave.h"

int AltPhase = 0;

void TScrn::SizeTile(int w, int h) {
    // The panel takes the content's size and is centred across the direction of travel
    // (both ways for the central transitions).
    tk::Panel& panel = *Panels[CurTile];
    RECT box = panel.Bounds();
    const int t = Settings.ActiveTransition;
    const bool horizontal = t <= 3, vertical = t >= 11, central = IsCentralTransition(t);
    int left = box.left, top = box.top;
    if ((horizontal || central) && h < Height()) top = (Height() - h) / 2;
    if ((vertical || central) && w < Width()) left = (Width() - w) / 2;
    SetWindowPos(panel.Handle(), nullptr, left, top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    if (central) TilePos[CurTile] = left;
}
