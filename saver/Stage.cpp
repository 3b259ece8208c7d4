#include "saver/Stage.h"

bool Stage::CreateStage(HWND saver, const RECT& place, Painter painter) {
    painter_ = std::move(painter);
    tk::WindowArgs args;
    args.className = L"VistamurStage";
    args.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    args.x = place.left;
    args.y = place.top;
    args.width = place.right - place.left;
    args.height = place.bottom - place.top;
    args.parent = saver;
    return Create(args);
}

LRESULT Stage::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: {
        // Painted at once, as the saver window does, so that a tile that moved the usual way
        // (a clip's) leaves no trace.
        if (painter_) painter_(reinterpret_cast<HDC>(wp), ClientRect());
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        if (painter_) painter_(dc, ClientRect());
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_NCHITTEST:
        return HTTRANSPARENT; // the saver window gets the mouse
    }
    return Default(msg, wp, lp);
}
