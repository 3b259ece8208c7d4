#pragma once
// A child panel that shows a picture (or one colour) behind its children and lends that
// background to its transparent children. Its children are clipped, so that it can be
// moved and repainted in one go without painting over them.
#include "toolkit/Control.h"
#include "toolkit/Dib.h"

namespace tk {

class PicturePanel : public Control {
  public:
    bool CreatePanel(const ControlArgs& args, COLORREF color, bool border = false);
    void SetPicture(Dib picture); // drawn at the top-left corner, the colour around it
    const Dib& Picture() const { return picture_; }
    COLORREF Color() const { return color_; }
    // Moves the panel without letting the system copy or erase anything, then paints it and
    // its children at once: nothing shows between the move and the paint.
    void MoveAndPaint(int left, int top);

    // Also what a transparent child gets when it asks for the background behind it.
    void Paint(HDC dc) override;

  private:
    Dib picture_;
    COLORREF color_ = 0;
};

} // namespace tk
