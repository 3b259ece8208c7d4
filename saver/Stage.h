#pragma once
// A stage: a black child window of the saver window over one monitor, when there are
// several. It holds that monitor's tiles, so that a tile waiting beyond its monitor's edge, or
// half across it, never shows on the next monitor; what it paints (the black and the texts)
// is the saver window's.
#include <functional>

#include "toolkit/Window.h"

class Stage : public tk::Window {
  public:
    using Painter = std::function<void(HDC dc, const RECT& area)>;
    bool CreateStage(HWND saver, const RECT& place, Painter painter);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    Painter painter_;
};
