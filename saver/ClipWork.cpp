// A clip taken ahead, on the show's worker: its turn is read from its header, and when Media
// Foundation is to play it (a clip to be turned, or one MCI refuses) it is opened here and
// waits, stopped on its first frame, for its tile. MCI's own open stays for the tile's turn,
// on the window's thread: its devices belong to the thread that opens them.
#include "saver/PictureWork.h"
#include "toolkit/FramePlayer.h"
#include "toolkit/Log.h"
#include "toolkit/MediaPlayer.h"

void PrepareClip(const PictureRequest& request, const std::function<bool()>& stopped,
                 PreparedPicture& out) {
    const tk::ClipTurn turn = tk::ClipTurnToPlay(request.path);
    const bool framesOnly =
        request.mciRefused || tk::CurrentClipRoute() == tk::ClipRoute::MediaFoundationOnly;
    if (!framesOnly && turn.degrees == 0 && !request.framesFirst) {
        out.clipReady = true; // MCI first, at the tile's turn
        return;
    }
    std::wstring why;
    out.frames = tk::OpenFrames(request.path, turn, why, stopped);
    if (out.frames) {
        out.clipReady = true;
        return;
    }
    if (framesOnly) {
        out.failure = L"cannot be opened (Media Foundation: " + why + L")";
        return;
    }
    // MCI may yet show it: a clip to be turned, on its side.
    tk::Log(L"clip " + request.path + L": Media Foundation cannot play it: " + why);
    out.framesTried = true;
    out.clipReady = true;
}
