#include "resources/Artwork.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "toolkit/Handles.h"
#include "toolkit/SpeedButton.h"

namespace art {

using layout::kBandHeight;
using layout::kPageHeight;
using layout::kPageWidth;

namespace {
constexpr COLORREF kSlate = RGB(62, 68, 74);
constexpr COLORREF kTab = RGB(92, 100, 108);
constexpr COLORREF kSwitchColour = RGB(75, 75, 75);

uint32_t Pixel(int r, int g, int b) {
    auto c = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return (c(r) << 16) | (c(g) << 8) | c(b);
}

uint32_t Pixel(COLORREF c, int add) {
    return Pixel(GetRValue(c) + add, GetGValue(c) + add, GetBValue(c) + add);
}

// A repeatable grain: the same picture at every opening.
int Grain(int x, int y) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return int((h ^ (h >> 16)) & 15) - 8;
}

tk::Dib Canvas(int width, int height) {
    tk::Dib dib;
    dib.Create(width, height);
    return dib;
}

// Slate: a soft light from the top left, a faint grain and fine diagonal strokes.
void Slate(tk::Dib& dib, int x0, int y0, int x1, int y1, COLORREF base) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            int shade = 10 - (x + 2 * y) * 22 / (dib.Width() + 2 * dib.Height());
            int stroke = ((x + y * 3) % 7 == 0) ? 3 : 0;
            dib.Bits()[size_t(y) * dib.Width() + x] = Pixel(base, shade + Grain(x, y) / 3 + stroke);
        }
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour) {
    tk::Pen pen(CreatePen(PS_SOLID, 1, colour));
    tk::Selection use(dc, pen.Get());
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// The lighter tab behind the other page's link, with a slanted inner side.
void Tab(tk::Dib& page, int left, int right, bool slantOnLeft) {
    const int height = 25, slant = 14;
    for (int y = 0; y < height; ++y) {
        int inset = slant * y / height;
        int x0 = slantOnLeft ? left + inset : left, x1 = slantOnLeft ? right : right - inset;
        for (int x = std::max(x0, 0); x < std::min(x1, page.Width()); ++x)
            page.Bits()[size_t(y) * page.Width() + x] = Pixel(kTab, 8 - y / 3 + Grain(x, y) / 4);
    }
    HDC dc = page.Dc();
    const int edge = slantOnLeft ? left : right;
    const int inner = slantOnLeft ? left + slant : right - slant;
    Line(dc, edge, 0, inner, height, RGB(130, 140, 148));
    Line(dc, std::min(left, right) + (slantOnLeft ? slant : 0), height,
         slantOnLeft ? right : right - slant, height, RGB(40, 44, 48));
}

tk::Dib Page(int tabLeft, int tabRight, bool slantOnLeft) {
    tk::Dib page = Canvas(kPageWidth, kPageHeight);
    Slate(page, 0, 0, kPageWidth, kPageHeight, kSlate);
    Tab(page, tabLeft, tabRight, slantOnLeft);
    return page;
}

// Blends a colour into a pixel by the part of it that is covered (0..1).
void Blend(tk::Dib& dib, int x, int y, COLORREF c, double cover) {
    if (x < 0 || y < 0 || x >= dib.Width() || y >= dib.Height() || cover <= 0) return;
    uint32_t& p = dib.Bits()[size_t(y) * dib.Width() + x];
    auto mix = [&](int shift, int over) {
        const int under = int((p >> shift) & 0xFF);
        return under + int((over - under) * std::min(cover, 1.0));
    };
    p = Pixel(mix(16, GetRValue(c)), mix(8, GetGValue(c)), mix(0, GetBValue(c)));
}

// A track cut into the slate, widening to the right; its edges are smoothed, so that the
// slope shows no steps.
// It starts one pixel left of the knob's lowest place and ends under the knob at its highest.
void Wedge(tk::Dib& page, const layout::KnobTrack& track) {
    const int x0 = track.lowest - 1, x1 = track.highest + layout::kKnobWidth;
    const double mid = track.top + 5.5;
    for (int x = x0; x <= x1; ++x) {
        const double half = 1.5 + 4.0 * (x - x0) / (x1 - x0);
        const double top = mid - half, bottom = mid + half;
        for (int y = int(top) - 1; y <= int(bottom) + 1; ++y) {
            const double cover = std::min(y + 1.0, bottom) - std::max(double(y), top);
            Blend(page, x, y, RGB(30, 33, 37), cover);
        }
        // Shade along the upper edge, light along the lower: the cut catches the light.
        Blend(page, x, int(top), RGB(16, 18, 20), 0.6 * (1 - (top - int(top))));
        Blend(page, x, int(bottom) + 1, RGB(130, 138, 146), 0.7 * (bottom - int(bottom)) + 0.2);
    }
}

// A thin engraved frame; the header that names the group interrupts its top line.
void Frame(HDC dc, const RECT& r, const RECT& gap) {
    ExcludeClipRect(dc, gap.left, gap.top, gap.right, gap.bottom);
    tk::Pen dark(CreatePen(PS_SOLID, 1, RGB(36, 40, 44)));
    tk::Pen light(CreatePen(PS_SOLID, 1, RGB(112, 120, 128)));
    tk::Selection noFill(dc, GetStockObject(NULL_BRUSH));
    {
        tk::Selection use(dc, dark.Get());
        RoundRect(dc, r.left, r.top, r.right, r.bottom, 8, 8);
    }
    tk::Selection use(dc, light.Get());
    RoundRect(dc, r.left + 1, r.top + 1, r.right + 1, r.bottom + 1, 8, 8);
    SelectClipRgn(dc, nullptr);
}

tk::Font MakeFont(const wchar_t* face, int height, int weight, bool italic) {
    return tk::Font(CreateFontW(height, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                DEFAULT_PITCH, face));
}

// Text drawn as a coverage mask (white on black) and blended into the picture in a
// colour that may change from top to bottom.
template <class Colour>
void BlendText(tk::Dib& dib, const wchar_t* text, HFONT font, int x, int y, Colour colourAt) {
    tk::Dib mask = Canvas(dib.Width(), dib.Height());
    std::memset(mask.Bits(), 0, size_t(dib.Width()) * dib.Height() * 4);
    {
        tk::Selection use(mask.Dc(), font);
        SetBkMode(mask.Dc(), TRANSPARENT);
        SetTextColor(mask.Dc(), RGB(255, 255, 255));
        TextOutW(mask.Dc(), x, y, text, int(wcslen(text)));
    }
    for (int py = 0; py < dib.Height(); ++py)
        for (int px = 0; px < dib.Width(); ++px) {
            size_t i = size_t(py) * dib.Width() + px;
            int a = int(mask.Bits()[i] & 0xFF);
            if (!a) continue;
            COLORREF c = colourAt(py);
            uint32_t under = dib.Bits()[i];
            auto mix = [&](int over, int shift) {
                int u = int((under >> shift) & 0xFF);
                return u + (over - u) * a / 255;
            };
            dib.Bits()[i] =
                Pixel(mix(GetRValue(c), 16), mix(GetGValue(c), 8), mix(GetBValue(c), 0));
        }
}
} // namespace

tk::Dib ImagesPage() {
    return Page(233, kPageWidth, true);
}

tk::Dib SettingsPage(std::span<const layout::KnobTrack> tracks, const RECT& videoFrame,
                     const RECT& frameGap) {
    tk::Dib page = Page(0, 237, false);
    for (const layout::KnobTrack& track : tracks)
        Wedge(page, track);
    Frame(page.Dc(), videoFrame, frameGap);
    return page;
}

tk::Dib Band() {
    tk::Dib band = Canvas(kPageWidth, kBandHeight);
    Slate(band, 0, 0, kPageWidth, kBandHeight, kSlate);
    Line(band.Dc(), 0, 0, kPageWidth, 0, RGB(110, 118, 126));
    tk::Font logo = MakeFont(L"Tahoma", -40, FW_BOLD, true);
    BlendText(band, L"Vistamur", logo.Get(), 14, 4, [](int) { return RGB(0, 0, 0); });
    BlendText(band, L"Vistamur", logo.Get(), 10, 0, [](int y) {
        // Bright green at the top fading to the grey-green of the labels.
        int t = std::clamp((y - 6) * 255 / 40, 0, 255);
        return RGB(0 + 166 * t / 255, 255 - 63 * t / 255, 128 + 37 * t / 255);
    });
    return band;
}

tk::Dib KnobGlyph(int width, int height) {
    tk::Dib glyph = Canvas(width, height);
    HDC dc = glyph.Dc();
    tk::Brush key(CreateSolidBrush(tk::SpeedButton::kTransparentKey));
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, key.Get());
    tk::Brush body(CreateSolidBrush(RGB(36, 36, 40)));
    tk::Pen rim(CreatePen(PS_SOLID, 1, RGB(14, 14, 16)));
    {
        tk::Selection useBody(dc, body.Get());
        tk::Selection useRim(dc, rim.Get());
        RoundRect(dc, 0, 0, width, height, 4, 4);
    }
    Line(dc, 2, 1, width - 2, 1, RGB(96, 96, 104)); // light on the top edge
    Line(dc, width / 2 - 1, 2, width / 2 - 1, height - 2, RGB(230, 30, 30));
    Line(dc, width / 2, 2, width / 2, height - 2, RGB(160, 16, 16));
    return glyph;
}

tk::Dib ButtonGlyphs(const wchar_t* label, int width, int height) {
    tk::Dib strip = Canvas(width * 4, height);
    HDC dc = strip.Dc();
    const bool symbol = wcslen(label) <= 2 && !iswalpha(label[0]);
    tk::Font font = MakeFont(L"Tahoma", symbol ? -16 : -12, FW_BOLD, false);
    struct Look {
        COLORREF face, text;
        int shift;
    };
    const Look looks[4] = {{RGB(64, 66, 70), RGB(200, 202, 204), 0},
                           {RGB(64, 66, 70), RGB(110, 112, 114), 0},
                           {RGB(44, 46, 50), RGB(0, 255, 128), 1},
                           {RGB(78, 80, 84), RGB(220, 222, 224), 0}};
    for (int i = 0; i < 4; ++i) {
        const int x = i * width;
        for (int y = 0; y < height; ++y) {
            // A face that is lighter at the top, as if lit from above (pressed: from below).
            int add = (looks[i].shift ? y - height / 2 : height / 2 - y) * 18 / height;
            Line(dc, x, y, x + width, y,
                 RGB(GetRValue(looks[i].face) + add, GetGValue(looks[i].face) + add,
                     GetBValue(looks[i].face) + add));
        }
        RECT text = {x + looks[i].shift, looks[i].shift, x + width + looks[i].shift,
                     height + looks[i].shift};
        tk::Selection use(dc, font.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, looks[i].text);
        DrawTextW(dc, label, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    return strip;
}

void DrawSwitch(HDC dc, const RECT& area, bool on) {
    // A small upright toggle: a slot in the switch colour, the lever up (on, with a lit
    // green mark) or down (off).
    const int cx = (area.left + area.right) / 2, top = area.top + 2, bottom = area.bottom - 2;
    tk::Brush body(CreateSolidBrush(kSwitchColour));
    tk::Pen rim(CreatePen(PS_SOLID, 1, RGB(20, 20, 20)));
    {
        tk::Selection useBody(dc, body.Get());
        tk::Selection useRim(dc, rim.Get());
        RoundRect(dc, cx - 7, top, cx + 8, bottom, 6, 6);
    }
    const int leverTop = on ? top + 2 : (top + bottom) / 2;
    const int leverBottom = on ? (top + bottom) / 2 + 1 : bottom - 2;
    tk::Brush lever(CreateSolidBrush(on ? RGB(150, 156, 160) : RGB(112, 116, 120)));
    {
        tk::Selection useLever(dc, lever.Get());
        tk::Selection useRim(dc, rim.Get());
        RoundRect(dc, cx - 5, leverTop, cx + 6, leverBottom, 4, 4);
    }
    Line(dc, cx - 4, leverTop + 1, cx + 5, leverTop + 1, RGB(200, 204, 208));
    const COLORREF mark = on ? RGB(0, 255, 128) : RGB(40, 60, 48);
    const int markY = on ? bottom - 6 : top + 4;
    tk::Brush lit(CreateSolidBrush(mark));
    RECT dot = {cx - 2, markY, cx + 3, markY + 3};
    FillRect(dc, &dot, lit.Get());
}

} // namespace art
