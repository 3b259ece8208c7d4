// TScrn's clips in tiles. First version: no clip ever opens, so the refill drops video
// files and takes the next file.
#include "saver/Ssave.h"

bool TScrn::StartClip(int) { return false; }
void TScrn::CheckClipLoop(int) {}
void TScrn::PlayWhenVisible(int) {}
void TScrn::RestartClip(int) {}
bool TScrn::ClipStillRunning(int) { return false; }
