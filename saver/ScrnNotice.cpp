// TScrn's notices: the catalogue's warnings about folders away, written on the screen for a
// few seconds while the show goes on (ScreenNotice.h). They are drawn over the tiles, as the
// window draws the tiles itself (ScrnFrame.cpp): a photo passing the corner would hide them.
#include "saver/Ssave.h"
#include "toolkit/Log.h"

void TScrn::ShowNotice(const std::wstring& text) {
    tk::Log(L"on the screen: " + text);
    if (notice_.Empty()) notice_.lineHeight = TextSize(L"Ag").cy;
    notice_.Add(text);
    noticeTimer_.SetEnabled(true); // the lines stay until the last has been there long enough
    if (HDC screen = ScreenDc()) PaintNotice(screen);
}

void TScrn::EndNotice() {
    noticeTimer_.SetEnabled(false);
    if (notice_.Empty()) return;
    const RECT area = NoticeArea();
    notice_.Clear();
    PaintArea(area); // the tiles and the black that were under it
}

RECT TScrn::NoticeArea() const {
    const size_t n = notice_.Lines().size();
    const POINT top = NoticeLinePos(Height(), notice_.lineHeight, 0, n);
    return RECT{0, top.y, Width(), top.y + int(n) * notice_.lineHeight};
}

void TScrn::PaintNotice(HDC dc) {
    if (notice_.Empty()) return;
    tk::Selection font(dc, font_.Get());
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, OPAQUE);
    const size_t n = notice_.Lines().size();
    for (size_t i = 0; i < n; ++i) {
        const POINT at = NoticeLinePos(Height(), notice_.lineHeight, i, n);
        const std::wstring& line = notice_.Lines()[i];
        TextOutW(dc, at.x, at.y, line.c_str(), int(line.size()));
    }
}
