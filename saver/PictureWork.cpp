#include "saver/PictureWork.h"

#include "controls/FitImage.h"
#include "saver/Caption.h"
#include "toolkit/Handles.h"
#include "toolkit/Picture.h"

namespace {
constexpr COLORREF kBandGrey = RGB(128, 128, 128);
constexpr COLORREF kCaptionWhite = RGB(255, 255, 255);
constexpr int kCaptionPoints = 7;

SIZE TextExtent(HDC dc, const std::wstring& text) {
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    return size;
}

void Prepare(const PictureRequest& r, const std::function<bool()>& stopped, PreparedPicture& out) {
    tk::PictureLoader loader;
    auto target = [&](int width, int height) {
        const RECT fit = FitRect(r.areaWidth, r.areaHeight, width, height);
        return SIZE{fit.right, fit.bottom};
    };
    tk::Dib picture;
    if (!loader.Load(r.path, target, picture, stopped)) {
        out.failure = L"cannot be read";
        return;
    }
    // A picture that could not be brought to at least one pixel within the screen (a
    // panorama of 65,000 x 1, say) cannot be shown.
    if (!PictureFitsArea(picture.Width(), picture.Height(), r.areaWidth, r.areaHeight)) {
        out.failure = L"has no size on the screen";
        return;
    }
    if (stopped && stopped()) return;
    if (r.captionName || r.captionDate) {
        tk::Font font(NewCaptionFont());
        BurnCaption(picture, r.path, r.captionName, r.captionDate, font.Get());
    }
    out.picture = std::move(picture);
    out.sourceWidth = loader.SourceWidth();
    out.sourceHeight = loader.SourceHeight();
}
} // namespace

PreparedPicture PreparePicture(const PictureRequest& request,
                               const std::function<bool()>& stopped) {
    PreparedPicture out;
    try {
        request.clip ? PrepareClip(request, stopped, out) : Prepare(request, stopped, out);
    } catch (...) {
        out = PreparedPicture{};
        out.failure = L"threw while it was prepared";
    }
    return out;
}

HFONT NewCaptionFont() {
    tk::WindowDc screen(nullptr);
    const int height = -MulDiv(kCaptionPoints, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
}

void BurnCaption(tk::Dib& picture, const std::wstring& path, bool name, bool date, HFONT font) {
    if (picture.Empty()) return;
    Caption caption = CaptionParts(path, date ? FileDateText(path) : L"", name, date);
    if (caption.Text().empty()) return;

    HDC dc = picture.Dc();
    tk::Selection selected(dc, font);
    tk::Selection pen(dc, GetStockObject(DC_PEN));
    tk::Selection brush(dc, GetStockObject(DC_BRUSH));
    SetDCPenColor(dc, kBandGrey);
    SetDCBrushColor(dc, kBandGrey);

    const int pw = picture.Width(), ph = picture.Height();
    const SIZE text = TextExtent(dc, caption.Text());
    Rectangle(dc, 0, ph - text.cy, CaptionBandWidth(text.cx, pw), ph);

    if (!caption.name.empty()) {
        auto width = [dc](const std::wstring& s) { return int(TextExtent(dc, s).cx); };
        const int limit = CaptionNameLimit(pw, width(caption.date));
        caption.name = ShortenPath(caption.name, limit, width);
    }
    SetTextColor(dc, kCaptionWhite);
    SetBkColor(dc, kBandGrey);
    SetBkMode(dc, OPAQUE);
    const std::wstring shown = caption.Text();
    TextOutW(dc, 1, ph - text.cy, shown.c_str(), int(shown.size()));
    GdiFlush(); // the bitmap's bits are read directly when it is copied to the screen
}
