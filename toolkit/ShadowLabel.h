#pragma once
// A transparent text label with a black drop shadow to the lower right: the texts of the
// settings dialog. Its font is the form's with the label's own height, weight and underline.
#include "toolkit/Control.h"
#include "toolkit/Handles.h"

namespace tk {

struct LabelStyle {
    COLORREF color = RGB(166, 192, 165);
    int height = 0; // font height in the LOGFONT sense; 0 keeps the form's
    bool bold = false;
    bool underline = false;
    bool rightAligned = false;
    int shadow = 4; // the shadow's offset, right and down, in pixels
};

class ShadowLabel : public Control {
  public:
    bool CreateLabel(const ControlArgs& args, const LabelStyle& style);

    COLORREF Color() const { return style_.color; }
    void SetColor(COLORREF color);
    const LabelStyle& Style() const { return style_; }
    void SetEmphasis(bool bold, bool underline);

    void Paint(HDC dc) override;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void MakeFont(HFONT base);
    HFONT LabelFont();
    LabelStyle style_;
    LOGFONTW base_ = {};
    HFONT font_ = nullptr; // shared with the labels of the same look, for the process
};

} // namespace tk
