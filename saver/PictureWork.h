#pragma once
// What a worker does to have a show's next photo ready: read, decode, turn, fit to the tile's
// area and caption it. It works only on its own copy of what it needs, never on the settings
// record or a window, so that it can run on any thread.
#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/Dib.h"

struct PictureRequest {
    std::wstring path;
    int areaWidth = 0, areaHeight = 0; // the tile at full size, which the picture is fitted to
    bool captionName = false, captionDate = false;
};

struct PreparedPicture {
    tk::Dib picture; // fitted and captioned; empty when the file failed
    int sourceWidth = 0, sourceHeight = 0;
    std::wstring failure; // why the file was dropped, for the log
    bool Ready() const { return !picture.Empty(); }
};

// Never throws: whatever goes wrong with one file (memory for a huge picture, say) is a
// failure of that file. Stopped asks whether the result is still wanted; it is asked between
// the stages, so that a close does not wait for the rest of the work.
PreparedPicture PreparePicture(const PictureRequest& request,
                               const std::function<bool()>& stopped = nullptr);

// The caption burnt into a fitted picture: the file's path and/or its date, white on a grey
// band at the bottom-left corner, in the given font.
void BurnCaption(tk::Dib& picture, const std::wstring& path, bool name, bool date, HFONT font);
// The font of the captions, 7 points high for the screen; the caller owns it.
HFONT NewCaptionFont();
