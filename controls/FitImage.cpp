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

bool TFitImage::LoadFromFile(const std::wstring& path, int, int) {
    tk::PixelBuffer decoded;
    if (!tk::DecodeJpeg(path, decoded, 1)) return false;
    sourceWidth_ = decoded.width;
    sourceHeight_ = decoded.height;
    decoded_ = std::move(decoded);
    if (!picture_.Create(decoded_.width, decoded_.height)) return false;
    std::copy(decoded_.pixels.begin(), decoded_.pixels.end(), picture_.Bits());
    return true;
}

void TFitImage::FitPicture(const RECT& area) {
    if (decoded_.width <= 0) return;
    RECT fit = FitRect(area.right - area.left, area.bottom - area.top, sourceWidth_, sourceHeight_);
    tk::Dib fitted;
    if (!fitted.Create(fit.right, fit.bottom)) return;
    // Plain first version: nearest sampling; a better filter replaces it.
    for (int y = 0; y < fit.bottom; ++y)
        for (int x = 0; x < fit.right; ++x)
            fitted.Bits()[size_t(y) * fit.right + x] =
                decoded_.pixels[size_t(y) * decoded_.height / fit.bottom * decoded_.width +
                                size_t(x) * decoded_.width / fit.right];
    picture_ = std::move(fitted);
    Redraw();
}
