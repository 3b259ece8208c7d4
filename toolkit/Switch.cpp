#include "toolkit/Switch.h"

namespace tk {

bool Switch::CreateSwitch(const ControlArgs& args, Glyph glyph) {
    glyph_ = std::move(glyph);
    return CreateCustom(L"VistamurSwitch", args, true);
}

void Switch::Clicked() {
    SetOn(!on_);
    Fire(onChange);
    Fire(onClick);
}

void Switch::SetOn(bool on) {
    if (on_ == on) return;
    on_ = on;
    Repaint();
}

void Switch::Paint(HDC dc) {
    if (glyph_) glyph_(dc, ClientRect(), on_);
}

} // namespace tk
