#include "toolkit/PicturePanel.h"

namespace tk {

bool PicturePanel::CreatePanel(const ControlArgs& args, COLORREF color, bool border) {
    color_ = color;
    ControlArgs a = args;
    // WS_EX_CONTROLPARENT: Tab walks on into the panel's own controls.
    a.style |= WS_CLIPCHILDREN | (border ? WS_BORDER : 0);
    a.exStyle |= WS_EX_CONTROLPARENT;
    return CreateCustom(L"TPicturePanel", a, false);
}

void PicturePanel::SetPicture(Dib picture) {
    picture_ = std::move(picture);
    Repaint();
}

void PicturePanel::MoveAndPaint(int left, int top) {
    SetWindowPos(Handle(), nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOREDRAW);
    RedrawWindow(Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_NOERASE);
}

void PicturePanel::Paint(HDC dc) {
    RECT client = ClientRect();
    if (!picture_.Empty()) {
        BitBlt(dc, 0, 0, picture_.Width(), picture_.Height(), picture_.Dc(), 0, 0, SRCCOPY);
        ExcludeClipRect(dc, 0, 0, picture_.Width(), picture_.Height());
    }
    SetDCBrushColor(dc, color_);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SelectClipRgn(dc, nullptr);
}

} // namespace tk
