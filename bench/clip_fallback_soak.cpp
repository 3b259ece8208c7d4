// The soak of the clips through the slideshow's own refills, every clip through the player
// that draws them itself through Media Foundation (as where MCI cannot open them): 500
// refills from a library of phone clips and photos, with the files that player refuses
// among them (sound only, noise for a picture, 8192 x 8192, a broken file).
#include "bench/ClipSoak.h"
#include "toolkit/MediaPlayer.h"

int wmain(int argc, wchar_t** argv) {
    tk::SetClipRoute(tk::ClipRoute::MediaFoundationOnly);
    RunClipSoak("clip_fallback_soak",
                {L"silent.mp4", L"silent.mov", L"silent.3gp", L"clip.m4v", L"clip.mp4",
                 L"turn90.mp4", L"soundonly.mp4", L"undecodable.mp4", L"huge.mp4"},
                L"broken.mp4", argc > 1 ? _wtol(argv[1]) : 500);
    return 0;
}
