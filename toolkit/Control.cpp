#include "toolkit/Control.h"

#include <windowsx.h>

#include "toolkit/ToolTips.h"

namespace tk {

bool Control::CreateCustom(const wchar_t* className, const ControlArgs& args, bool transparent) {
    custom_ = true;
    transparent_ = transparent;
    WindowArgs w = ChildArgs(className, args.parent, args.x, args.y, args.width, args.height,
                             WS_VISIBLE | WS_CLIPSIBLINGS | args.style);
    w.text = args.text;
    w.exStyle = args.exStyle;
    w.id = args.id;
    if (!Create(w)) return false;
    if (args.font) SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
    return true;
}

bool Control::CreateStandard(const wchar_t* className, const ControlArgs& args) {
    HWND hwnd = CreateWindowExW(args.exStyle, className, args.text.c_str(),
                                WS_CHILD | WS_VISIBLE | args.style, args.x, args.y, args.width,
                                args.height, args.parent, reinterpret_cast<HMENU>(INT_PTR(args.id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return false;
    // Before anything is added: a later font would make the control measure and lay
    // itself out again.
    if (args.font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
    if (Adopt(hwnd)) return true;
    DestroyWindow(hwnd);
    return false;
}

void Control::SetLeft(int left) {
    const RECT before = Bounds();
    if (before.left == left) return;
    // The system would copy the old pixels and leave the uncovered strip to a later paint;
    // the old and the new place are painted together here instead, so that the control
    // leaves no trail and never shows twice.
    SetWindowPos(Handle(), nullptr, left, before.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOREDRAW);
    const RECT after = Bounds();
    RECT both;
    UnionRect(&both, &before, &after);
    if (HWND parent = GetParent(Handle()))
        RedrawWindow(parent, &both, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Control::SetBounds(int x, int y, int width, int height) {
    SetWindowPos(Handle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::Repaint() {
    if (Handle())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}

void Control::Print(HDC dc) {
    SendMessageW(Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
}

void Control::SetHint(const std::wstring& hint) {
    hint_ = hint;
    if (!tips_) return;
    if (tipAdded_) {
        tips_->SetText(Handle(), hint_);
    } else if (!hint_.empty()) {
        tips_->Add(Handle(), hint_);
        tipAdded_ = true;
    }
}

void Control::HoldTips(bool held) {
    if (tips_) tips_->Hold(held);
}

void Control::AttachToolTips(ToolTips& tips) {
    tips_ = &tips;
    // A control becomes a tool once it has a hint: most controls never have one.
    SetHint(hint_);
}

void Control::PaintBuffered() {
    PaintDc paint(Handle());
    RECT client = ClientRect();
    // Composed off the screen and copied once: the user never sees the background alone.
    if (!buffer_.Create(client.right, client.bottom)) return;
    if (transparent_) PaintParentBackground(Handle(), buffer_.Dc());
    Paint(buffer_.Dc());
    BitBlt(paint.Get(), 0, 0, client.right, client.bottom, buffer_.Dc(), 0, 0, SRCCOPY);
}

void Control::TrackHover() {
    if (hovered_) return;
    hovered_ = true;
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
    Fire(onMouseEnter);
}

LRESULT Control::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    if (tipAdded_ && msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONUP)
        tips_->Relay(Handle(), msg, wp, lp);
    switch (msg) {
    case WM_SETCURSOR:
        if (handCursor_ && LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        TrackHover();
        if (onMouseMove) onMouseMove(x, y);
        break;
    case WM_MOUSELEAVE:
        hovered_ = false;
        Fire(onMouseLeave);
        break;
    }
    if (!custom_) return Default(msg, wp, lp);

    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT: erasing first would flash
    case WM_PAINT:
        PaintBuffered();
        return 0;
    case WM_PRINTCLIENT:
        if (transparent_) PaintParentBackground(Handle(), reinterpret_cast<HDC>(wp));
        Paint(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        // The control keeps the mouse while a button is held, so a drag goes on outside it.
        SetCapture(Handle());
        pressed_ = msg == WM_LBUTTONDOWN;
        if (onMouseDown) onMouseDown(x, y);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        const bool click = pressed_ && msg == WM_LBUTTONUP;
        pressed_ = false;
        if (GetCapture() == Handle()) ReleaseCapture();
        if (onMouseUp) onMouseUp(x, y);
        RECT client = ClientRect();
        if (click && PtInRect(&client, POINT{x, y})) Clicked();
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return 0;
    case WM_SETTEXT: {
        LRESULT r = Default(msg, wp, lp);
        InvalidateRect(Handle(), nullptr, FALSE);
        return r;
    }
    }
    return Default(msg, wp, lp);
}

void PaintParentBackground(HWND child, HDC dc) {
    HWND parent = GetParent(child);
    if (!parent) return;
    POINT origin = {0, 0};
    MapWindowPoints(child, parent, &origin, 1);
    POINT old;
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

} // namespace tk
