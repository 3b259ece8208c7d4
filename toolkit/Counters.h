#pragma once
// Counts of the system objects the program itself creates and frees. The platform's own
// counters (GetGuiResources) are not available everywhere, so the RAII wrappers keep these
// and the leak checks compare them before and after.
namespace tk {

struct ResourceCounts {
    long gdiObjects = 0; // bitmaps, fonts, brushes, pens and memory DCs
    long windows = 0;    // windows created through tk::Window
    long mciDevices = 0; // open MCI devices
    long comObjects = 0; // COM interface references held through ComPtr
};

ResourceCounts& Counts();

} // namespace tk
