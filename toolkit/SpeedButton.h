#pragma once
// A flat button drawn from a strip of up to four glyphs (up, disabled, pressed, exclusive)
// over its parent's background. It keeps the mouse while pressed, carries an integer tag
// for its owner, and can be moved and repainted at once: the dialog's knobs and buttons.
#include <functional>

#include "toolkit/Control.h"
#include "toolkit/Dib.h"

namespace tk {

enum class GlyphState { Up = 0, Disabled = 1, Pressed = 2, Exclusive = 3 };

class SpeedButton : public Control {
  public:
    // Glyph pixels of this colour are not drawn: the background shows through.
    static constexpr COLORREF kTransparentKey = RGB(255, 0, 255);

    bool CreateButton(const ControlArgs& args);
    // The strip: `count` glyphs of equal width side by side. The button takes it over.
    void SetGlyphs(Dib strip, int count);
    int GlyphCount() const { return glyphCount_; }

    // Where a drag took hold of the button, in its own x; 0 while no drag is on.
    int dragGrabX = 0;

    // A button that Tab reaches: it takes the focus when pressed, shows it with a dotted
    // frame, keeps the arrow keys from the dialog's own navigation and hands every key
    // pressed on it to onKeyDown.
    void SetFocusable(bool focusable);
    std::function<void(UINT key)> onKeyDown;

    bool Down() const { return down_; }
    bool Exclusive() const { return exclusive_; }
    void SetExclusive(bool exclusive);
    GlyphState State() const;

    void Paint(HDC dc) override;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    Dib glyphs_;
    int glyphCount_ = 0;
    bool down_ = false; // pressed and the pointer over it
    bool held_ = false; // pressed, wherever the pointer is
    bool exclusive_ = false;
    bool focusable_ = false;
};

} // namespace tk
