#pragma once
// The speed button of the dialog's five buttons: its glyphs carry the labels, and a
// one-pixel frame of its own colour outlines it.
#include "toolkit/SpeedButton.h"

class FramedSpeedButton : public tk::SpeedButton {
  public:
    COLORREF RectColor() const { return rectColor_; }
    void SetRectColor(COLORREF color); // repaints

    void Paint(HDC dc) override;

  private:
    COLORREF rectColor_ = RGB(0, 0, 0);
};
