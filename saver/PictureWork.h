#pragma once
// What a worker does to have a show's next photo ready: read, decode, turn, fit to the tile's
// area and caption it; or, for a clip, to settle how it will play: its turn read from its
// header, and Media Foundation's open made there when Media Foundation plays it, so that the
// window's thread never waits for that open. It works only on its own copy of what it needs,
// never on the settings record or a window, so that it can run on any thread.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "toolkit/Dib.h"
#include "toolkit/FramePump.h"

struct PictureRequest {
    std::wstring path;
    int areaWidth = 0, areaHeight = 0; // the tile at full size, which the picture is fitted to
    bool captionName = false, captionDate = false;
    // A clip (ClipWork.cpp). MCI opens a clip at its tile's turn, on the window's thread; Media
    // Foundation plays what MCI cannot and every clip to be turned.
    bool clip = false;
    // MCI refused a clip of this kind in this show: Media Foundation first.
    bool framesFirst = false;
    // MCI refused this very clip: Media Foundation alone.
    bool mciRefused = false;
};

struct PreparedPicture {
    tk::Dib picture; // fitted and captioned; empty when the file failed
    int sourceWidth = 0, sourceHeight = 0;
    std::wstring failure; // why the file was dropped, for the log
    // A clip that may be played: by the frames opened here, or else by MCI at its tile's turn.
    bool clipReady = false;
    std::unique_ptr<tk::FramePump> frames;
    bool framesTried = false; // Media Foundation could not play it: MCI is its last chance
    bool Ready() const { return !picture.Empty() || clipReady; }
};

// Never throws: whatever goes wrong with one file (memory for a huge picture, say) is a
// failure of that file. Stopped asks whether the result is still wanted; it is asked between
// the stages, so that a close does not wait for the rest of the work.
PreparedPicture PreparePicture(const PictureRequest& request,
                               const std::function<bool()>& stopped = nullptr);
// PreparePicture's part for a clip.
void PrepareClip(const PictureRequest& request, const std::function<bool()>& stopped,
                 PreparedPicture& out);

// The caption burnt into a fitted picture: the file's path and/or its date, white on a grey
// band at the bottom-left corner, in the given font.
void BurnCaption(tk::Dib& picture, const std::wstring& path, bool name, bool date, HFONT font);
// The font of the captions, 7 points high for the screen; the caller owns it.
HFONT NewCaptionFont();
