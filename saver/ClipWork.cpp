// A clip taken ahead, on the show's worker: its turn is read from its header, and when Media
// Foundation is to play it (a clip to be turned, or one MCI refuses) it is opened here and
// waits, stopped on its first frame, for its tile. MCI's own open stays for the tile's turn,
// on the window's thread: its devices belong to the thread that opens them.
#include "saver/PictureWork.h"
#include "toolkit/FramePlayer.h"
#include "toolkit/Log.h"
#include "toolkit/MediaPlayer.h"

namespace {
// On the worker an open may take longer than the window's thread could ever wait (a share
// that answers slowly, a machine that is busy), but it ends before the job's deadline.
constexpr DWORD kOpenAheadWaitMs = 15000;
} // namespace

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
    bool tooSlow = false;
    out.frames = tk::OpenFrames(request.path, turn, why, stopped, kOpenAheadWaitMs, &tooSlow);
    if (out.frames) {
        out.clipReady = true;
        return;
    }
    // A clip whose open is that slow would hold the window's thread as long in MCI's open: it
    // is dropped for this pass, and tried again in the next.
    if (framesOnly || tooSlow) {
        out.failure = L"cannot be opened (Media Foundation: " + why + L")";
        return;
    }
    // MCI may yet show it: a clip to be turned, on its side.
    tk::Log(L"clip " + request.path + L": Media Foundation cannot play it: " + why);
    out.framesTried = true;
    out.clipReady = true;
}
