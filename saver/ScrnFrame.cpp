// TScrn's frames: moving tiles reaches the screen as one copy.
//
// Moving a child window is two changes to the window's picture: its content is copied to
// the new place, then the strip it uncovered is painted black. Wine hands the picture to the
// display at moments of its own choosing, and often between those two: the tile then shows
// a stale strip of defspeed pixels behind it, a doubled caption letter, or a gap of the wrong
// width. So the picture tiles are moved without any drawing, and what the moves changed is
// composed off the screen (black, the window's texts, the tiles' pictures) and copied in one
// operation: any frame the display takes is whole. Tiles that show a clip are moved and
// painted as usual, since only the player can draw them.
#include "saver/Ssave.h"

namespace {
RECT ToRect(const TBox& b) { return RECT{b.left, b.top, b.left + b.width, b.top + b.height}; }
} // namespace

bool TScrn::ShowsClip(int tile) const {
    bool pictureShown = (GetWindowLongW(Images[tile]->Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
    return !pictureShown && Players[tile]->IsOpen();
}

void TScrn::ApplyMoves(const std::vector<Move>& moves) {
    if (moves.empty()) return;
    const RECT client = ClientRect();
    RECT dirty = {};
    HDWP batch = BeginDeferWindowPos(int(moves.size()));
    for (const Move& m : moves) {
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
        if (m.from.width == m.to.width && m.from.height == m.to.height) flags |= SWP_NOSIZE;
        if (!ShowsClip(m.tile)) {
            flags |= SWP_NOREDRAW | SWP_NOCOPYBITS;
            for (const TBox& b : {m.from, m.to}) {
                RECT r = ToRect(b), seen;
                if (IntersectRect(&seen, &r, &client)) UnionRect(&dirty, &dirty, &seen);
            }
        }
        if (batch)
            batch = DeferWindowPos(batch, Panels[m.tile]->Handle(), nullptr, m.to.left, m.to.top,
                                   m.to.width, m.to.height, flags);
        else // the batch failed (out of memory): one by one
            SetWindowPos(Panels[m.tile]->Handle(), nullptr, m.to.left, m.to.top, m.to.width,
                         m.to.height, flags);
    }
    if (batch) EndDeferWindowPos(batch);
    PaintArea(dirty);
    RepaintNow(); // what the clips' moves left to paint
}

void TScrn::SetTileShown(int tile, bool shown) {
    if (ShowsClip(tile)) {
        shown ? Panels[tile]->Show(SW_SHOWNA) : Panels[tile]->Hide();
        return;
    }
    SetWindowPos(Panels[tile]->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER |
                     SWP_NOREDRAW | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    PaintArea(ToRect(TileBox(tile)));
}

void TScrn::PaintArea(const RECT& wanted) {
    RECT client = ClientRect(), area;
    if (!IntersectRect(&area, &wanted, &client) || !IsWindowVisible(Handle())) return;
    if (frame_.Width() != client.right || frame_.Height() != client.bottom)
        if (!frame_.Create(client.right, client.bottom)) {
            // No memory for the frame: let the windows paint themselves.
            InvalidateRect(Handle(), &area, FALSE);
            RedrawWindow(Handle(), &area, nullptr,
                         RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            return;
        }
    HDC frame = frame_.Dc();
    const int saved = SaveDC(frame);
    IntersectClipRect(frame, area.left, area.top, area.right, area.bottom);
    Paint(frame, area); // black and the texts

    // The tiles from the bottom of the window's stack to the top, as they show.
    HDC screen = GetDCEx(Handle(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS); // over the tiles
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    for (HWND child = GetWindow(Handle(), GW_CHILD) ? GetWindow(GetWindow(Handle(), GW_CHILD), GW_HWNDLAST)
                                                     : nullptr;
         child; child = GetWindow(child, GW_HWNDPREV)) {
        int tile = -1;
        for (int i = 0; i < TileCount && tile < 0; ++i)
            if (Panels[i]->Handle() == child) tile = i;
        if (tile < 0 || !TileShown(tile)) continue;
        const TBox box = TileBox(tile);
        RECT r = ToRect(box), seen;
        if (!IntersectRect(&seen, &r, &area)) continue;
        if (ShowsClip(tile)) {
            if (screen) ExcludeClipRect(screen, r.left, r.top, r.right, r.bottom);
            continue;
        }
        FillRect(frame, &r, black);
        const tk::Dib& picture = Images[tile]->Picture();
        bool pictureShown = (GetWindowLongW(Images[tile]->Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
        if (pictureShown && !picture.Empty())
            BitBlt(frame, box.left, box.top, std::min(box.width, picture.Width()),
                   std::min(box.height, picture.Height()), picture.Dc(), 0, 0, SRCCOPY);
    }
    RestoreDC(frame, saved);
    if (screen) {
        BitBlt(screen, area.left, area.top, area.right - area.left, area.bottom - area.top,
               frame, area.left, area.top, SRCCOPY);
        ReleaseDC(Handle(), screen);
    }
}
