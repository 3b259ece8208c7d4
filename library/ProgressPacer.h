#pragma once
// Paces a progress text that could change thousands of times a second (one memory-file
// line, one scanned folder): redrawing the whole saver window each time would cost more than
// the work it reports. The first figure is drawn at once, later ones at most once per
// interval; the caller draws the last one when the work ends, so the final figure is exact.
#include <cstdint>

constexpr unsigned kProgressIntervalMs = 50;

class ProgressPacer {
  public:
    explicit ProgressPacer(unsigned intervalMs = kProgressIntervalMs) : interval_(intervalMs) {}

    // A new figure at time now (ms): true when it should be drawn now. Otherwise it is kept
    // as pending.
    bool Due(uint64_t now) {
        if (drawn_ && now - last_ < interval_) {
            pending_ = true;
            return false;
        }
        drawn_ = true;
        pending_ = false;
        last_ = now;
        return true;
    }
    // Whether a figure came that was not drawn; the caller draws it now.
    bool TakePending() {
        const bool pending = pending_;
        pending_ = false;
        return pending;
    }

  private:
    unsigned interval_;
    uint64_t last_ = 0;
    bool drawn_ = false;
    bool pending_ = false;
};
