#pragma once
// A borderless child panel filled with one colour: the tiles' containers.
#include "toolkit/Window.h"

namespace tk {

class Panel : public Window {
  public:
    bool CreatePanel(HWND parent, int x, int y, int width, int height, COLORREF color = 0);
    COLORREF Color() const { return color_; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    COLORREF color_ = 0;
};

} // namespace tk
