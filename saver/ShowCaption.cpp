// A show's caption: the file's path and/or date, burnt into the fitted picture so that it
// travels with it.
#include "settings/Settings.h"
#include "saver/Caption.h"
#include "saver/MonitorShow.h"

namespace {
constexpr COLORREF kBandGrey = RGB(128, 128, 128);
constexpr COLORREF kCaptionWhite = RGB(255, 255, 255);
constexpr int kCaptionPoints = 7;

SIZE TextExtent(HDC dc, const std::wstring& text) {
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    return size;
}
} // namespace

HFONT MonitorShow::CaptionFont() {
    if (!captionFont_) {
        tk::WindowDc screen(nullptr);
        int height = -MulDiv(kCaptionPoints, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
        captionFont_.Reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                       0, 0, L"Arial"));
    }
    return captionFont_.Get();
}

void MonitorShow::DrawCaption() {
    tk::Dib& picture = strip_.pictures[currentTile]->Picture();
    if (picture.Empty()) return;
    const std::wstring date = settings_.captionDate ? FileDateText(catalogue_.currentFile) : L"";
    Caption caption =
        CaptionParts(catalogue_.currentFile, date, settings_.captionName, settings_.captionDate);
    if (caption.Text().empty()) return;

    HDC dc = picture.Dc();
    tk::Selection font(dc, CaptionFont());
    tk::Selection pen(dc, GetStockObject(DC_PEN));
    tk::Selection brush(dc, GetStockObject(DC_BRUSH));
    SetDCPenColor(dc, kBandGrey);
    SetDCBrushColor(dc, kBandGrey);

    const int pw = picture.Width(), ph = picture.Height();
    const SIZE text = TextExtent(dc, caption.Text());
    Rectangle(dc, 0, ph - text.cy, CaptionBandWidth(text.cx, pw), ph);

    if (!caption.name.empty()) {
        auto width = [dc](const std::wstring& s) { return int(TextExtent(dc, s).cx); };
        int limit = CaptionNameLimit(pw, width(caption.date));
        caption.name = ShortenPath(caption.name, limit, width);
    }
    SetTextColor(dc, kCaptionWhite);
    SetBkColor(dc, kBandGrey);
    SetBkMode(dc, OPAQUE);
    const std::wstring shown = caption.Text();
    TextOutW(dc, 1, ph - text.cy, shown.c_str(), int(shown.size()));
    GdiFlush(); // the bitmap's bits are read directly when it is copied to the screen
}
