#pragma once
// The small animation in the display-settings window: the program's icon crossing a white
// picture from right to left, one pixel per frame, vertically centred.
#include <windows.h>

constexpr int kPreviewIconSize = 32;

// The icon's next left edge: it runs W, W - 1, ..., -33, then again from W - 1.
int NextPreviewX(int x, int width);
// The icon's fixed top edge for a host H pixels high (the window's height plus one).
int PreviewIconY(int height);

// Draws one frame (white background and icon at x, y) into a DC of at least width x height.
void DrawPreviewFrame(HDC target, int width, int height, int x, int y, HICON icon);

// Animates inside the host until it is hidden or destroyed. A host that is not a window,
// or that never becomes visible within a few seconds, ends the preview at once.
void RunPreview(HWND host);
