#include "toolkit/ShadowLabel.h"

#include <map>
#include <string>

namespace tk {

namespace {
// Labels of one look share one font, made the first time it is asked for: a form holds
// dozens of labels in four or five looks, and making a font is not cheap.
HFONT SharedFont(const LOGFONTW& lf) {
    static std::map<std::wstring, Font> fonts;
    std::wstring key = std::wstring(lf.lfFaceName) + L"|" + std::to_wstring(lf.lfHeight) + L"|" +
                       std::to_wstring(lf.lfWeight) + L"|" + std::to_wstring(lf.lfUnderline) +
                       L"|" + std::to_wstring(lf.lfItalic);
    Font& font = fonts[key];
    if (!font) font.Reset(CreateFontIndirectW(&lf));
    return font.Get();
}
} // namespace

bool ShadowLabel::CreateLabel(const ControlArgs& args, const LabelStyle& style) {
    style_ = style;
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof base_, &base_);
    return CreateCustom(L"VistamurShadowLabel", args, true);
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
    font_ = nullptr; // made again when next drawn
}

HFONT ShadowLabel::LabelFont() {
    if (!font_) {
        LOGFONTW lf = base_;
        if (style_.height) lf.lfHeight = style_.height;
        lf.lfWeight = style_.bold ? FW_BOLD : FW_NORMAL;
        lf.lfUnderline = style_.underline;
        font_ = SharedFont(lf);
    }
    return font_;
}

void ShadowLabel::Paint(HDC dc) {
    RECT client = ClientRect();
    wchar_t caption[256] = {};
    GetWindowTextW(Handle(), caption, int(std::size(caption)));
    Selection font(dc, LabelFont());
    SetBkMode(dc, TRANSPARENT);
    const UINT format =
        DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP | (style_.rightAligned ? DT_RIGHT : DT_LEFT);
    // The text takes the whole width: a right-aligned caption set in a width that just holds
    // it keeps its first letter, and only its shadow's last pixels may fall outside.
    RECT text = client;
    RECT shadow = text;
    OffsetRect(&shadow, style_.shadow, style_.shadow);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, caption, -1, &shadow, format);
    SetTextColor(dc, style_.color);
    DrawTextW(dc, caption, -1, &text, format);
}

LRESULT ShadowLabel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETFONT:
        MakeFont(reinterpret_cast<HFONT>(wp));
        if (LOWORD(lp)) Repaint();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(LabelFont());
    }
    return Control::HandleMessage(msg, wp, lp);
}

} // namespace tk
