#include "controls/FramedSpeedButton.h"

#include "toolkit/Handles.h"

void FramedSpeedButton::SetRectColor(COLORREF color) {
    rectColor_ = color;
    Repaint();
}

void FramedSpeedButton::Paint(HDC dc) {
    tk::SpeedButton::Paint(dc);
    RECT client = ClientRect();
    tk::Pen pen(CreatePen(PS_SOLID, 1, rectColor_));
    tk::Selection usePen(dc, pen.Get());
    tk::Selection noFill(dc, GetStockObject(NULL_BRUSH));
    // Rectangle leaves out the right and bottom edges it is given: this outlines the
    // button's outermost pixels.
    Rectangle(dc, 0, 0, client.right, client.bottom);
}
