#include "controls/FitImage.h"

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

bool TImage::CreateControl(HWND parent, int x, int y, int width, int height) {
    tk::WindowArgs args;
    args.className = L"TImage";
    args.style = WS_CHILD | WS_CLIPSIBLINGS;
    args.x = x;
    args.y = y;
    args.width = width;
    args.height = height;
    args.parent = parent;
    return Create(args);
}

void TImage::Redraw() {
    if (Handle()) {
        InvalidateRect(Handle(), nullptr, FALSE);
        UpdateWindow(Handle());
    }
}

void TImage::Paint(HDC dc) {
    RECT client = ClientRect();
    int x = 0, y = 0;
    if (Center && !picture_.Empty()) {
        x = (client.right - picture_.Width()) / 2;
        y = (client.bottom - picture_.Height()) / 2;
    }
    if (!picture_.Empty())
        BitBlt(dc, x, y, picture_.Width(), picture_.Height(), picture_.Dc(), 0, 0, SRCCOPY);
    // Around the picture: black, the colour of the panels it sits on.
    ExcludeClipRect(dc, x, y, x + picture_.Width(), y + picture_.Height());
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

LRESULT TImage::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
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

bool TFitImage::LoadFromFile(const std::wstring& path, int fitWidth, int fitHeight) {
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

bool TFitImage::FitPicture(const RECT& area) {
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
