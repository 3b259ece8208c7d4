// A show's frames: moving tiles reaches the screen whole.
//
// Moving a child window is two changes to the window's picture: its content is copied to
// the new place, then the strip it uncovered is painted black. Wine hands the picture to the
// display at moments of its own choosing, and often between those two: the tile then shows
// a stale strip of stepPixels pixels behind it, a doubled caption letter, or a gap of the wrong
// width. So the picture tiles are moved without any drawing, and the window itself draws
// what the moves changed (the tiles' pictures, the black and the texts around them), each
// pixel once. Tiles that show a clip are moved and painted as usual, since only the player
// can draw them.
//
// Wine hands the picture over when the message loop finds its queue empty, and otherwise
// only once drawing has gone on for 50 ms without such a pause; the display then reads it
// from memory shared with the program, a little later. So when nothing has been drawn since
// the loop last found its queue empty, and the display has had a few milliseconds to read
// what was drawn before, the drawing (a strip's step) goes straight into the window: no
// frame can be taken half-drawn (a strip's step, an animation's frame). Any other drawing (a
// refill's show or hide after a step, two monitors' frames in one step, a strip at full
// speed, whose steps follow each other at once, or anything while a clip shows, whose
// player draws into the window from a thread of its own) is composed off the screen and
// copied to it in one operation.
#include <algorithm>

#include "saver/MonitorShow.h"

namespace {
HBRUSH Black() {
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

void FillPart(HDC dc, const RECT& r, const RECT& area) {
    RECT part;
    if (IntersectRect(&part, &r, &area)) FillRect(dc, &part, Black());
}
} // namespace

bool MonitorShow::PictureShown(int tile) const {
    // The panel and the window may be hidden meanwhile.
    return strip_.pictures[tile]->ShownItself();
}

bool MonitorShow::ShowsClip(int tile) const {
    return !PictureShown(tile) && strip_.players[tile]->IsOpen();
}

HDC MonitorShow::ScreenDc() {
    // Held while the window lives: under Wine, giving a window's DC back (or restoring a
    // saved state of it) selects a font again, which reads the X resources, files included,
    // a hundred times a second on a moving strip. Not clipped by the tiles, which it draws.
    if (!screenDc_)
        screenDc_ = std::make_unique<tk::WindowDc>(canvas_, DCX_CACHE | DCX_CLIPSIBLINGS);
    return screenDc_->Get();
}

void MonitorShow::ApplyMoves(const std::vector<Move>& moves) {
    if (moves.empty()) return;
    const RECT client = {0, 0, width_, height_};
    RECT dirty = {};
    bool clipMoved = false;
    HDWP batch = BeginDeferWindowPos(int(moves.size()));
    for (const Move& m : moves) {
        RECT from = ToRect(m.from), to = ToRect(m.to), seen;
        // A panel off the screen before and after the step cannot be seen: it stays where
        // it is, and the first step that brings it on the screen moves it there. (Of the
        // strip's twenty tiles only one or two are on the screen at a time.)
        if (!IntersectRect(&seen, &from, &client) && !IntersectRect(&seen, &to, &client)) continue;
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
        if (m.from.width == m.to.width && m.from.height == m.to.height) flags |= SWP_NOSIZE;
        if (ShowsClip(m.tile)) {
            clipMoved = true;
        } else {
            flags |= SWP_NOREDRAW | SWP_NOCOPYBITS;
            for (const RECT& r : {from, to})
                if (IntersectRect(&seen, &r, &client)) UnionRect(&dirty, &dirty, &seen);
        }
        if (batch)
            batch = DeferWindowPos(batch, strip_.panels[m.tile]->Handle(), nullptr, m.to.left,
                                   m.to.top, m.to.width, m.to.height, flags);
        else // the batch failed (out of memory): one by one
            SetWindowPos(strip_.panels[m.tile]->Handle(), nullptr, m.to.left, m.to.top, m.to.width,
                         m.to.height, flags);
    }
    if (batch) EndDeferWindowPos(batch);
    PaintArea(dirty);
    if (clipMoved) RepaintNow(); // what the clips' moves left to paint
}

void MonitorShow::SetTileShown(int tile, bool shown) {
    if (ShowsClip(tile)) {
        shown ? strip_.panels[tile]->Show(SW_SHOWNA) : strip_.panels[tile]->Hide();
        return;
    }
    SetWindowPos(strip_.panels[tile]->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER |
                     SWP_NOREDRAW | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    PaintArea(ToRect(strip_.TileBox(tile)));
}

void MonitorShow::PaintArea(const RECT& wanted) {
    RECT client = {0, 0, width_, height_}, area;
    if (!IntersectRect(&area, &wanted, &client) || !IsWindowVisible(canvas_)) return;
    HDC screen = ScreenDc();
    if (!screen) return;
    // The clips' tiles are left to their players.
    bool clipShown = false;
    for (int tile = 0; tile < strip_.tileCount; ++tile)
        if (strip_.TileShown(tile) && ShowsClip(tile)) {
            clipShown = true;
            const RECT r = ToRect(strip_.TileBox(tile));
            ExcludeClipRect(screen, r.left, r.top, r.right, r.bottom);
        }
    const bool clean = host_.TakeScreen();
    // Without memory for the frame the drawing goes to the window all the same.
    const bool direct = (clean && !clipShown) || !frame_.Create(client.right, client.bottom);
    HDC target = direct ? screen : frame_.Dc();

    // The tiles from the bottom of the window's stack to the top, as they show; then the
    // window's own black and texts around them.
    tk::Region around(CreateRectRgnIndirect(&area)), covered(CreateRectRgn(0, 0, 0, 0));
    for (int tile : strip_.StackedTiles(canvas_)) {
        if (!strip_.TileShown(tile)) continue;
        const Box box = strip_.TileBox(tile);
        RECT r = ToRect(box), seen;
        if (!IntersectRect(&seen, &r, &area)) continue;
        if (around && covered) {
            SetRectRgn(covered.Get(), r.left, r.top, r.right, r.bottom);
            CombineRgn(around.Get(), around.Get(), covered.Get(), RGN_DIFF);
        }
        if (ShowsClip(tile)) continue;
        if (PictureShown(tile))
            strip_.pictures[tile]->PaintInto(target, r, area);
        else // the panel's own black
            FillPart(target, r, area);
    }
    if (around && covered) { // (without the regions, no black rather than black over all)
        SelectClipRgn(target, around.Get());
        host_.PaintUnder(target, area, origin_);
        SelectClipRgn(target, nullptr);
    }
    host_.PaintOver(target, origin_);
    if (!direct)
        BitBlt(screen, area.left, area.top, area.right - area.left, area.bottom - area.top, target,
               area.left, area.top, SRCCOPY);
    SelectClipRgn(screen, nullptr); // the clips' tiles are no longer left out
}
