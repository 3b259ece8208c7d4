#pragma once
// Counts of the system objects the program itself creates and frees. The platform's own
// counters (GetGuiResources) are not available everywhere, so the RAII wrappers keep these
// and the leak checks compare them before and after. The workers that load photos ahead
// create bitmaps too: the counts are atomic.
#include <atomic>

namespace tk {

struct ResourceCounts {
    ResourceCounts() = default;
    ResourceCounts(const ResourceCounts& other) // a snapshot, to compare with later
        : gdiObjects(other.gdiObjects.load()), windows(other.windows.load()),
          mciDevices(other.mciDevices.load()), comObjects(other.comObjects.load()),
          framePlayers(other.framePlayers.load()), clipFramesDrawn(other.clipFramesDrawn.load()) {}
    ResourceCounts& operator=(const ResourceCounts&) = delete;

    std::atomic<long> gdiObjects = 0;   // bitmaps, fonts, brushes, pens and memory DCs
    std::atomic<long> windows = 0;      // windows created through tk::Window
    std::atomic<long> mciDevices = 0;   // open MCI devices
    std::atomic<long> comObjects = 0;   // COM interface references held through ComPtr
    std::atomic<long> framePlayers = 0; // clips the program plays itself (when MCI cannot)
    // A tally rather than a resource: the frames those clips have drawn.
    std::atomic<long> clipFramesDrawn = 0;
};

ResourceCounts& Counts();

} // namespace tk
