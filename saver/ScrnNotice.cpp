// TScrn's notices: the catalogue's warnings about folders away, written on the screen for a
// few seconds while the show goes on (ScreenNotice.h).
#include "saver/Ssave.h"
#include "toolkit/Log.h"

void TScrn::ShowNotice(const std::wstring& text) {
    tk::Log(L"on the screen: " + text);
    notice_.Add(text);
    noticeTimer_.SetEnabled(true); // the lines stay until the last has been there long enough
    tk::WindowDc dc(Handle());
    Paint(dc.Get(), ClientRect());
}

void TScrn::EndNotice() {
    noticeTimer_.SetEnabled(false);
    if (notice_.Empty()) return;
    notice_.Clear();
    InvalidateRect(Handle(), nullptr, FALSE);
}

void TScrn::PaintNotice(HDC dc) {
    const int lineH = TextSize(L"Ag").cy;
    for (size_t i = 0; i < notice_.Lines().size(); ++i) {
        const POINT at = NoticeLinePos(Width(), Height(), lineH, i);
        const std::wstring& line = notice_.Lines()[i];
        TextOutW(dc, at.x, at.y, line.c_str(), int(line.size()));
    }
}
