#include "toolkit/Panel.h"

#include "toolkit/Handles.h"

namespace tk {

bool Panel::CreatePanel(HWND parent, int x, int y, int width, int height, COLORREF color) {
    color_ = color;
    // Children are clipped, so that the panel's own fill never paints over its picture.
    return Create(ChildArgs(L"VistamurPanel", parent, x, y, width, height,
                            WS_CLIPCHILDREN | WS_CLIPSIBLINGS));
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT fills; erasing first would flash
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        Brush brush(CreateSolidBrush(color_));
        FillRect(dc, &ps.rcPaint, brush.Get());
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_NCHITTEST:
        return HTTRANSPARENT; // the saver's form gets the mouse
    }
    return Default(msg, wp, lp);
}

} // namespace tk
