#include "toolkit/ShadowLabel.h"

namespace tk {

bool ShadowLabel::CreateLabel(const ControlArgs& args, const LabelStyle& style) {
    style_ = style;
    if (!CreateCustom(L"TShadowLabel", args, true)) return false;
    MakeFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    return true;
}

void ShadowLabel::SetColor(COLORREF color) {
    if (style_.color == color) return;
    style_.color = color;
    Repaint();
}

void ShadowLabel::SetEmphasis(bool bold, bool underline) {
    style_.bold = bold;
    style_.underline = underline;
    MakeFont(nullptr);
    Repaint();
}

void ShadowLabel::MakeFont(HFONT base) {
    if (base) GetObjectW(base, sizeof base_, &base_);
    LOGFONTW lf = base_;
    if (style_.height) lf.lfHeight = style_.height;
    lf.lfWeight = style_.bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = style_.underline;
    font_.Reset(CreateFontIndirectW(&lf));
}

void ShadowLabel::Paint(HDC dc) {
    RECT client = ClientRect();
    wchar_t text[256] = {};
    GetWindowTextW(Handle(), text, int(std::size(text)));
    Selection font(dc, font_.Get());
    SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_NOPREFIX | DT_SINGLELINE | (style_.rightAligned ? DT_RIGHT : DT_LEFT);
    // The text keeps the whole width; the shadow, drawn first, may run past the bottom.
    RECT shadow = client;
    OffsetRect(&shadow, style_.shadow, style_.shadow);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, text, -1, &shadow, format);
    SetTextColor(dc, style_.color);
    DrawTextW(dc, text, -1, &client, format);
}

LRESULT ShadowLabel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETFONT:
        MakeFont(reinterpret_cast<HFONT>(wp));
        if (LOWORD(lp)) Repaint();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_.Get());
    }
    return Control::HandleMessage(msg, wp, lp);
}

} // namespace tk
