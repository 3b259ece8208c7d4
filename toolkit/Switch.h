#pragma once
// An on/off switch: two glyphs, a state the program reads and sets, toggled by a click.
#include <functional>

#include "toolkit/Control.h"

namespace tk {

class Switch : public Control {
  public:
    // Draws the switch's face for a state into the rectangle, over what is already there.
    using Glyph = std::function<void(HDC dc, const RECT& area, bool on)>;

    bool CreateSwitch(const ControlArgs& args, Glyph glyph);
    bool On() const { return on_; }
    void SetOn(bool on); // the program's own change: no onChange

    void Paint(HDC dc) override;

  protected:
    void Clicked() override; // toggles, then onChange and onClick

  private:
    Glyph glyph_;
    bool on_ = false;
};

} // namespace tk
