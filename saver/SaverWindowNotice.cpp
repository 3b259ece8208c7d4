// SaverWindow's notices: what the saver has to say while nobody may be there (a folder away, a
// configuration that could not be loaded, nothing to show), written on the primary monitor
// while the show goes on (ScreenNotice.h). They are drawn over the
// tiles, as the shows draw their tiles themselves (ShowFrame.cpp): a photo passing the corner
// would hide them.
#include "saver/SaverWindow.h"
#include "toolkit/Log.h"

void SaverWindow::ShowNotice(const std::wstring& text, ScreenNotice::Kind kind) {
    if (notice_.Empty()) notice_.lineHeight = TextSize(L"Ag").cy;
    if (!notice_.Add(text, kind)) return;
    if (kind != ScreenNotice::Kind::Counting) tk::Log(L"on the screen: " + text);
    // The passing lines stay until the last of them has been there long enough.
    if (kind == ScreenNotice::Kind::Passing) noticeTimer_.SetEnabled(true);
    PaintNoticeEverywhere();
}

void SaverWindow::PaintNoticeEverywhere() {
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
    DropNoticeLines(ScreenNotice::Kind::Passing);
}

void SaverWindow::DropNoticeLines(ScreenNotice::Kind kind) {
    if (!notice_.Has(kind)) return;
    const RECT area = NoticeArea();
    notice_.Clear(kind);
    // The tiles and the black that were under it.
    InvalidateRect(Handle(), &area, FALSE);
    for (const auto& show : shows_) {
        RECT there = area;
        OffsetRect(&there, -show->Origin().x, -show->Origin().y);
        show->Repaint(there);
    }
    PaintNoticeEverywhere(); // the lasting lines, lower down now
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
