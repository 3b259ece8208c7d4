#pragma once
// The rules of the clips in tiles, apart from any window: how big a clip is drawn, how long
// it keeps a central tile, and when a moving tile counts as fully on the screen.
#include <windows.h>

#include "toolkit/MediaPlayer.h"

// The size a w x h clip is drawn at in a CW x CH panel: shrunk to fit the panel, first to
// its height and then to its width, or, when it fits, enlarged by the largest factor that
// keeps it inside the panel, but at most by grow (grow 1 or less keeps the natural size).
// Products are taken in extended precision and rounded to the nearest integer, halves to
// even. A clip without a size (w or h 0 or less) gives 0 x 0.
SIZE FitClipSize(int w, int h, int CW, int CH, int grow);

// The smallest display time a clip can give a central tile, in ms.
constexpr long kMinClipDisplayMs = 1;

// The display time of a central tile that shows a clip with remainingMs left after its
// start, when the tile would show a picture for intervalMs. A clip that ends first gives
// way when it ends unless it loops; a longer one keeps the tile to its end when it plays
// whole ("En entier"). A clip with nothing left to play (a single frame, length 0) keeps
// the picture's display time: a display time of 0 would leave no usable timer.
long ClipDisplayTime(long intervalMs, long remainingMs, bool loop, bool whole);

// A central tile is not refilled while this holds: the clip plays whole, the tile shows a
// clip (its picture control is hidden and its player holds an open clip) and the clip has
// not stopped. A tile that holds no clip never keeps its place.
bool ClipKeepsTile(bool whole, bool imageHidden, bool clipOpen, tk::MediaMode mode);

// A moving tile's panel (left, top, width, height in the saver window of W x H) lies wholly
// on the screen on its travel axis: the edge that enters last is inside. The direction is
// that of the transition, the alternating ones (3 and 13) going backward in phases 2 and 3.
// Central transitions have no travel: their tile is always in.
bool ClipTileFullyEntered(int transition, int alternationPhase, const RECT& panel, int W, int H);
// The tile at coordinate pos (its left for horizontal transitions, its top for vertical
// ones) has not yet wholly left the screen at the exit edge.
bool ClipTileNotYetGone(int transition, int alternationPhase, int pos, int width, int height, int W,
                        int H);
