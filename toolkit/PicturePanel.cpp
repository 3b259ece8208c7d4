#include "toolkit/PicturePanel.h"

#include <vector>

namespace tk {

namespace {
// The panel's visible children, bottom of the z-order first, so that upper ones draw last.
std::vector<HWND> ChildrenBottomUp(HWND panel) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(panel, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE) children.insert(children.begin(), c);
    return children;
}

Control* DrawnOver(HWND child) {
    auto* control = dynamic_cast<Control*>(Window::FromHandle(child));
    return control && control->DrawnOverParent() ? control : nullptr;
}
} // namespace

bool PicturePanel::CreatePanel(const ControlArgs& args, COLORREF color, bool border) {
    color_ = color;
    ControlArgs a = args;
    // Not WS_CLIPCHILDREN: the panel draws its transparent children itself. WS_EX_CONTROLPARENT:
    // Tab walks on into the panel's own controls. The border is the sunken one of a box
    // (2 pixels), as a bordered panel looks in this dialog's style.
    a.exStyle |= WS_EX_CONTROLPARENT | (border ? WS_EX_CLIENTEDGE : 0);
    return CreateCustom(L"VistamurPicturePanel", a, false);
}

void PicturePanel::SetPicture(Dib picture) {
    picture_ = std::move(picture);
    Repaint();
}

void PicturePanel::MoveAndPaint(int left, int top) {
    SetWindowPos(Handle(), nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOREDRAW);
    // Whatever the move left to paint is painted here and now, in one copy.
    RedrawWindow(Handle(), nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
    std::vector<HWND> unprinted;
    {
        WindowDc dc(Handle());
        unprinted = PaintComposed(dc.Get(), true);
    }
    for (HWND child : unprinted)
        RedrawWindow(child, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void PicturePanel::RepaintChildren() {
    for (HWND child : ChildrenBottomUp(Handle()))
        if (!DrawnOver(child))
            RedrawWindow(child, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void PicturePanel::Paint(HDC dc) {
    // Only the part the DC can show is copied: a small child asking for the background
    // behind it gets its few pixels.
    RECT client = ClientRect(), box = client;
    if (GetClipBox(dc, &box) == ERROR || !IntersectRect(&box, &box, &client)) return;
    RECT picture = {0, 0, picture_.Width(), picture_.Height()}, shown = {};
    if (IntersectRect(&shown, &box, &picture))
        BitBlt(dc, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top,
               picture_.Dc(), shown.left, shown.top, SRCCOPY);
    if (EqualRect(&shown, &box)) return;
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
    SetDCBrushColor(dc, color_);
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    RestoreDC(dc, saved);
}

std::vector<HWND> PicturePanel::PaintComposed(HDC target, bool printOthers) {
    std::vector<HWND> unprinted;
    RECT client = ClientRect();
    if (!composed_.Create(client.right, client.bottom)) return unprinted;
    HDC dc = composed_.Dc();
    Paint(dc);
    const int saved = SaveDC(target);
    for (HWND child : ChildrenBottomUp(Handle())) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, Handle(), reinterpret_cast<POINT*>(&r), 2);
        Control* control = DrawnOver(child);
        // A window with a scroll bar paints itself: the system prints no scroll bars.
        const bool printable =
            printOthers && !(GetWindowLongW(child, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
        if (!control && !printable) {
            ExcludeClipRect(target, r.left, r.top, r.right, r.bottom); // it paints itself
            unprinted.push_back(child);
            continue;
        }
        const int inner = SaveDC(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        SetViewportOrgEx(dc, r.left, r.top, nullptr);
        if (control)
            control->Paint(dc);
        else if (auto* other = dynamic_cast<Control*>(Window::FromHandle(child)))
            other->Print(dc);
        else
            SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                         PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
        RestoreDC(dc, inner);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    RestoreDC(target, saved);
    return unprinted;
}

LRESULT PicturePanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PaintDc paint(Handle());
        PaintComposed(paint.Get(), false);
        return 0;
    }
    return Control::HandleMessage(msg, wp, lp);
}

} // namespace tk
