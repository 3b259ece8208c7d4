// The soak of the clips through the slideshow's own refills, through MCI: 500 refills from a
// library of AVI, MPEG and QuickTime clips and photos, with a broken clip and a sound-only
// file among them.
#include "bench/ClipSoak.h"

int wmain(int argc, wchar_t** argv) {
    RunClipSoak("clip_refill_soak",
                {L"short.avi", L"clip.avi", L"short.mpg", L"clip.mov", L"xvid.avi", L"bottomup.avi",
                 L"short.avi", L"sound.mpa"},
                L"broken.avi", argc > 1 ? _wtol(argv[1]) : 500);
    return 0;
}
