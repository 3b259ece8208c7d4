#include "controls/FitImage.h"

#include <algorithm>

RECT FitRect(int aw, int ah, int pw, int ph) {
    int width = aw, height = ah;
    if (ah < ph && aw < pw) {
        height = (int)((long double)aw / pw * ph);
        if (ah < height) {
            width = (int)((long double)ah / height * aw);
            height = ah;
        }
    } else if (ah < ph) {
        width = (int)((long double)ah / ph * pw);
    } else if (aw < pw) {
        height = (int)((long double)aw / pw * ph);
    } else {
        width = pw;
        height = ph;
    }
    return RECT{0, 0, width, height};
}

bool PictureFitsArea(int w, int h, int aw, int ah) {
    return w > 0 && h > 0 && w <= aw && h <= ah;
}

bool ImageControl::CreateControl(HWND parent, int x, int y, int width, int height) {
    return Create(tk::ChildArgs(L"VistamurImage", parent, x, y, width, height, WS_CLIPSIBLINGS));
}

void ImageControl::Redraw() {
    if (Handle()) {
        InvalidateRect(Handle(), nullptr, FALSE);
        UpdateWindow(Handle());
    }
}

void ImageControl::Paint(HDC dc) {
    const RECT client = ClientRect();
    PaintInto(dc, client, client);
}

void ImageControl::PaintInto(HDC dc, const RECT& at, const RECT& clip) const {
    auto fill = [&](const RECT& r) {
        RECT part;
        if (IntersectRect(&part, &r, &clip))
            FillRect(dc, &part, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    };
    int x = at.left, y = at.top;
    if (Center && !picture_.Empty()) {
        x += (at.right - at.left - picture_.Width()) / 2;
        y += (at.bottom - at.top - picture_.Height()) / 2;
    }
    // The part of the control that the picture covers (empty without one).
    const int left = at.left, top = at.top, right = at.right, bottom = at.bottom;
    const RECT inner = {std::max(x, left), std::max(y, top),
                        std::max(std::min(x + picture_.Width(), right), left),
                        std::max(std::min(y + picture_.Height(), bottom), top)};
    RECT part;
    if (!picture_.Empty() && IntersectRect(&part, &inner, &clip))
        BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top,
               picture_.Dc(), part.left - x, part.top - y, SRCCOPY);
    // Around the picture: black, the colour of the panels it sits on.
    fill({at.left, at.top, at.right, inner.top});
    fill({at.left, inner.bottom, at.right, at.bottom});
    fill({at.left, inner.top, inner.left, inner.bottom});
    fill({inner.right, inner.top, at.right, inner.bottom});
}

LRESULT ImageControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        Paint(dc);
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_NCHITTEST:
        return HTTRANSPARENT; // the saver's form gets the mouse
    }
    return Default(msg, wp, lp);
}

bool FitImage::LoadFromFile(const std::wstring& path, int fitWidth, int fitHeight) {
    const bool fit = fitWidth > 0 && fitHeight > 0;
    auto target = [&](int width, int height) {
        if (!fit) return SIZE{width, height};
        RECT r = FitRect(fitWidth, fitHeight, width, height);
        return SIZE{r.right, r.bottom};
    };
    tk::Dib loaded;
    if (!loader_.Load(path, target, loaded)) return false;
    picture_ = std::move(loaded);
    sourceWidth_ = loader_.SourceWidth();
    sourceHeight_ = loader_.SourceHeight();
    path_ = path;
    return true;
}

void FitImage::TakePicture(tk::Dib picture, const std::wstring& path, int sourceWidth,
                           int sourceHeight) {
    picture_ = std::move(picture);
    path_ = path;
    sourceWidth_ = sourceWidth;
    sourceHeight_ = sourceHeight;
    Redraw();
}

bool FitImage::FitPicture(const RECT& area) {
    if (picture_.Empty()) return false;
    const RECT fit =
        FitRect(area.right - area.left, area.bottom - area.top, sourceWidth_, sourceHeight_);
    const int width = fit.right, height = fit.bottom;
    if (width <= 0 || height <= 0) return false;
    if (width != picture_.Width() || height != picture_.Height()) {
        tk::Dib fitted;
        if (width <= picture_.Width() && height <= picture_.Height()) {
            if (!loader_.Reduce(picture_, width, height, fitted)) return false;
        } else {
            // The loaded bitmap was made for a smaller area: go back to the file.
            auto target = [&](int, int) { return SIZE{width, height}; };
            if (path_.empty() || !loader_.Load(path_, target, fitted) ||
                loader_.SourceWidth() != sourceWidth_ || loader_.SourceHeight() != sourceHeight_)
                return false;
        }
        picture_ = std::move(fitted);
    }
    Redraw();
    return true;
}
