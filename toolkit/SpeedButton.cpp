#include "toolkit/SpeedButton.h"

#include <windowsx.h>

namespace tk {

bool SpeedButton::CreateButton(const ControlArgs& args) {
    return CreateCustom(L"VistamurSpeedButton", args, true);
}

void SpeedButton::SetGlyphs(Dib strip, int count) {
    glyphs_ = std::move(strip);
    glyphCount_ = glyphs_.Empty() ? 0 : std::max(1, count);
    Repaint();
}

void SpeedButton::SetFocusable(bool focusable) {
    focusable_ = focusable;
    LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    style = focusable ? style | WS_TABSTOP : style & ~WS_TABSTOP;
    SetWindowLongW(Handle(), GWL_STYLE, style);
}

void SpeedButton::SetExclusive(bool exclusive) {
    exclusive_ = exclusive;
    Repaint();
}

GlyphState SpeedButton::State() const {
    if (Handle() && !IsWindowEnabled(Handle())) return GlyphState::Disabled;
    if (down_) return GlyphState::Pressed;
    if (exclusive_) return GlyphState::Exclusive;
    return GlyphState::Up;
}

void SpeedButton::Paint(HDC dc) {
    if (!glyphCount_) return;
    const int width = glyphs_.Width() / glyphCount_, height = glyphs_.Height();
    int index = int(State());
    if (index >= glyphCount_) index = 0; // a strip without that glyph shows the first
    RECT client = ClientRect();
    const int x = (client.right - width) / 2, y = (client.bottom - height) / 2;
    GdiTransparentBlt(dc, x, y, width, height, glyphs_.Dc(), index * width, 0, width, height,
                      kTransparentKey);
    // The dotted frame inverts what lies under it, so it shows on any background.
    if (focusable_ && GetFocus() == Handle()) DrawFocusRect(dc, &client);
}

LRESULT SpeedButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETDLGCODE:
        if (focusable_) return DLGC_WANTARROWS;
        break;
    case WM_KEYDOWN:
        if (focusable_ && onKeyDown) {
            onKeyDown(UINT(wp));
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (focusable_) Repaint();
        break;
    case WM_RBUTTONDOWN:
        if (focusable_) SetFocus(Handle());
        break;
    case WM_LBUTTONDOWN:
        if (focusable_) SetFocus(Handle());
        held_ = down_ = true;
        Repaint();
        break;
    case WM_MOUSEMOVE:
        if (held_) {
            RECT client = ClientRect();
            const bool over = PtInRect(&client, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            if (over != down_) {
                down_ = over;
                Repaint();
            }
        }
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (held_) {
            held_ = down_ = false;
            Repaint();
        }
        break;
    }
    return Control::HandleMessage(msg, wp, lp);
}

} // namespace tk
