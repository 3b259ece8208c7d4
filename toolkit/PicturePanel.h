#pragma once
// A child panel that shows a picture (or one colour) behind its children and lends that
// background to its transparent children. It composes itself and those children off the
// screen and copies the result once, so that it can be moved and repainted in one go
// without a window painting after another (under Wine each window's paint costs server
// round trips, and a page holds some thirty labels).
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/Dib.h"

namespace tk {

class PicturePanel : public Control {
  public:
    bool CreatePanel(const ControlArgs& args, COLORREF color, bool border = false);
    void SetPicture(Dib picture); // drawn at the top-left corner, the colour around it
    const Dib& Picture() const { return picture_; }
    COLORREF Color() const { return color_; }
    // Moves the panel without letting the system copy or erase anything, then paints it
    // with all its children (the system's controls as they print themselves) in one copy.
    void MoveAndPaint(int left, int top);
    // The system's controls paint themselves again, as they do outside a move.
    void RepaintChildren();

    // The background alone: also what a transparent child gets behind it.
    void Paint(HDC dc) override;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    // The background with the transparent children drawn over it, copied to `target`;
    // the other children print themselves into it too, or are left out to paint themselves
    // (those are returned).
    std::vector<HWND> PaintComposed(HDC target, bool printOthers);
    Dib picture_;
    Dib composed_;
    COLORREF color_ = 0;
};

} // namespace tk
