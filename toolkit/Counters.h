#pragma once
// Counts of the system objects the program itself creates and frees. The platform's own
// counters (GetGuiResources) are not available everywhere, so the RAII wrappers keep these
// and the leak checks compare them before and after.
namespace tk {

struct ResourceCounts {
    long gdiObjects = 0;   // bitmaps, fonts, brushes, pens and memory DCs
    long windows = 0;      // windows created through tk::Window
    long mciDevices = 0;   // open MCI devices
    long comObjects = 0;   // COM interface references held through ComPtr
    long framePlayers = 0; // clips the program plays itself (when MCI cannot)
    // A tally rather than a resource: the frames those clips have drawn.
    long clipFramesDrawn = 0;
};

ResourceCounts& Counts();

} // namespace tk
