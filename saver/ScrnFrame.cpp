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
#include <algorithm>

#include "saver/Ssave.h"

namespace {
RECT ToRect(const TBox& b) { return RECT{b.left, b.top, b.left + b.width, b.top + b.height}; }
} // namespace

bool TScrn::PictureShown(int tile) const {
    // The panel and the form may be hidden meanwhile.
    return Images[tile]->ShownItself();
}

bool TScrn::ShowsClip(int tile) const { return !PictureShown(tile) && Players[tile]->IsOpen(); }

void TScrn::ApplyMoves(const std::vector<Move>& moves) {
    if (moves.empty()) return;
    const RECT client = ClientRect();
    RECT dirty = {};
    HDWP batch = BeginDeferWindowPos(int(moves.size()));
    for (const Move& m : moves) {
        RECT from = ToRect(m.from), to = ToRect(m.to), seen;
        // A panel off the screen before and after the step cannot be seen: it stays where
        // it is, and the first step that brings it on the screen moves it there. (Of the
        // strip's twenty tiles only one or two are on the screen at a time.)
        if (!IntersectRect(&seen, &from, &client) && !IntersectRect(&seen, &to, &client))
            continue;
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
        if (m.from.width == m.to.width && m.from.height == m.to.height) flags |= SWP_NOSIZE;
        if (!ShowsClip(m.tile)) {
            flags |= SWP_NOREDRAW | SWP_NOCOPYBITS;
            for (const RECT& r : {from, to})
                if (IntersectRect(&seen, &r, &client)) UnionRect(&dirty, &dirty, &seen);
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

    // The tiles from the bottom of the window's stack to the top, as they show; then the
    // window's own black and texts around them.
    tk::WindowDc screen(Handle(), DCX_CACHE | DCX_CLIPSIBLINGS); // over the tiles
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    std::vector<RECT> covered;
    HWND top = GetWindow(Handle(), GW_CHILD);
    for (HWND child = top ? GetWindow(top, GW_HWNDLAST) : nullptr; child;
         child = GetWindow(child, GW_HWNDPREV)) {
        int tile = -1;
        for (int i = 0; i < TileCount && tile < 0; ++i)
            if (Panels[i]->Handle() == child) tile = i;
        if (tile < 0 || !TileShown(tile)) continue;
        const TBox box = TileBox(tile);
        RECT r = ToRect(box), seen;
        if (!IntersectRect(&seen, &r, &area)) continue;
        if (ShowsClip(tile)) {
            if (screen) ExcludeClipRect(screen.Get(), r.left, r.top, r.right, r.bottom);
            continue;
        }
        covered.push_back(r);
        const tk::Dib& picture = Images[tile]->Picture();
        int w = 0, h = 0;
        if (PictureShown(tile) && !picture.Empty()) {
            w = std::min(box.width, picture.Width());
            h = std::min(box.height, picture.Height());
            BitBlt(frame, box.left, box.top, w, h, picture.Dc(), 0, 0, SRCCOPY);
        }
        if (w < box.width || h < box.height) { // the panel's black beside its picture
            const int inner = SaveDC(frame);
            ExcludeClipRect(frame, box.left, box.top, box.left + w, box.top + h);
            FillRect(frame, &r, black);
            RestoreDC(frame, inner);
        }
    }
    for (const RECT& r : covered) ExcludeClipRect(frame, r.left, r.top, r.right, r.bottom);
    Paint(frame, area);
    RestoreDC(frame, saved);
    if (screen)
        BitBlt(screen.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
               frame, area.left, area.top, SRCCOPY);
}
