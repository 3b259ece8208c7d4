// SaverWindow's notices: the catalogue's warnings about folders away, written on the primary
// monitor for a few seconds while the show goes on (ScreenNotice.h). They are drawn over the
// tiles, as the shows draw their tiles themselves (ShowFrame.cpp): a photo passing the corner
// would hide them.
#include "saver/SaverWindow.h"
#include "toolkit/Log.h"

void SaverWindow::ShowNotice(const std::wstring& text) {
    tk::Log(L"on the screen: " + text);
    if (notice_.Empty()) notice_.lineHeight = TextSize(L"Ag").cy;
    notice_.Add(text);
    noticeTimer_.SetEnabled(true); // the lines stay until the last has been there long enough
    // On every canvas, over its tiles: only the one over the primary monitor shows it.
    {
        tk::WindowDc dc(Handle(), DCX_CACHE | DCX_CLIPSIBLINGS);
        PaintNotice(dc.Get(), {0, 0});
    }
    for (const auto& stage : stages_) {
        tk::WindowDc dc(stage->Handle(), DCX_CACHE | DCX_CLIPSIBLINGS);
        const RECT at = stage->Bounds();
        PaintNotice(dc.Get(), {at.left, at.top});
    }
}

void SaverWindow::EndNotice() {
    noticeTimer_.SetEnabled(false);
    if (notice_.Empty()) return;
    const RECT area = NoticeArea();
    notice_.Clear();
    // The tiles and the black that were under it.
    InvalidateRect(Handle(), &area, FALSE);
    for (const auto& show : shows_) {
        RECT there = area;
        OffsetRect(&there, -show->Origin().x, -show->Origin().y);
        show->Repaint(there);
    }
}

RECT SaverWindow::NoticeArea() const {
    const RECT& p = primaryArea_;
    const size_t n = notice_.Lines().size();
    const POINT top = NoticeLinePos(p.bottom - p.top, notice_.lineHeight, 0, n);
    return RECT{p.left, p.top + top.y, p.right, p.top + top.y + int(n) * notice_.lineHeight};
}

void SaverWindow::PaintNotice(HDC dc, POINT origin) {
    if (notice_.Empty()) return;
    tk::Selection font(dc, font_.Get());
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, OPAQUE);
    const size_t n = notice_.Lines().size();
    for (size_t i = 0; i < n; ++i) {
        const RECT& p = primaryArea_;
        const POINT at = NoticeLinePos(p.bottom - p.top, notice_.lineHeight, i, n);
        const std::wstring& line = notice_.Lines()[i];
        TextOutW(dc, p.left + at.x - origin.x, p.top + at.y - origin.y, line.c_str(),
                 int(line.size()));
    }
}
