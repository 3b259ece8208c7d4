#pragma once
// The picture control of the tiles and of the dialog's preview: it shows one picture at its
// own size, at its top-left corner or centred, and can replace it by a copy scaled down to
// fit an area with its proportions kept.
#include <windows.h>

#include <string>

#include "toolkit/Dib.h"
#include "toolkit/Picture.h"
#include "toolkit/Window.h"

// The fitted size of a pw x ph picture in an aw x ah area: (0, 0, width, height). Never
// enlarges; the quotients are taken in extended precision and the products cut.
RECT FitRect(int aw, int ah, int pw, int ph);
// A w x h picture can be shown in an aw x ah area: it has pixels and lies wholly inside.
bool PictureFitsArea(int w, int h, int aw, int ah);

// The toolkit's picture control: a child window that paints its picture.
class ImageControl : public tk::Window {
  public:
    bool CreateControl(HWND parent, int x, int y, int width, int height);
    bool Center = false; // centred in the control, else at its top-left corner

    const tk::Dib& Picture() const { return picture_; }
    tk::Dib& Picture() { return picture_; }
    void Redraw();
    // Paints the control as it shows when it covers the rectangle at of dc (its picture at
    // the corner or centred, black around it), only inside clip: the saver composes its
    // frames from its tiles' controls this way.
    void PaintInto(HDC dc, const RECT& at, const RECT& clip) const;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    virtual void Paint(HDC dc);
    tk::Dib picture_;
};

class FitImage : public ImageControl {
  public:
    // Loads a photo, of any format the saver shows (JPEG, or one that Windows' imaging
    // component reads), as what it holds whatever its name says. With the area it will be fitted
    // to, the picture is decoded and scaled straight to FitRect's size for that area (a later
    // FitPicture of the same area has nothing left to do); without it, it is kept at its own size,
    // which for a large photo is much slower and bigger. False, with the previous picture kept, for
    // anything that cannot be read.
    bool LoadFromFile(const std::wstring& path, int fitWidth = 0, int fitHeight = 0);

    // Takes a picture prepared elsewhere (decoded and fitted on a worker) from a photo of the
    // given size, as if it had been loaded and fitted here.
    void TakePicture(tk::Dib picture, const std::wstring& path, int sourceWidth, int sourceHeight);

    // The loaded picture's own size (before any fit).
    int SourceWidth() const { return sourceWidth_; }
    int SourceHeight() const { return sourceHeight_; }

    // Replaces the picture by a bitmap of FitRect's size for the area, averaged down from
    // what was loaded, and redraws. False, with the picture kept, when that fails.
    bool FitPicture(const RECT& area);

  private:
    tk::PictureLoader loader_;
    std::wstring path_; // decoded again when a fit asks for more than the loaded bitmap holds
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
};
