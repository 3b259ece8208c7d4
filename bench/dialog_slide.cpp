// One page slide of the settings dialog on the real dialog window, both ways: the time of
// a slide of 16 steps (median) and of the slowest step seen.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/Measure.h"
#include "tests/support/DialogRig.h"

int wmain() {
    rig::DialogInstall install;
    auto dialog = rig::OpenDialog();
    if (!dialog) return 1;
    using Clock = std::chrono::steady_clock;
    std::vector<double> slides;
    double slowestStep = 0;
    Clock::time_point last;
    dialog->onSlideStep = [&](int) {
        const Clock::time_point now = Clock::now();
        slowestStep =
            std::max(slowestStep, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    };
    for (int i = 0; i < 8; ++i) {
        slides.push_back(TimeMs([&] {
            last = Clock::now();
            if (i % 2 == 0)
                dialog->ShowSettingsPage();
            else
                dialog->ShowImagesPage();
        }));
        PumpMessages(dialog->Handle());
    }
    std::printf("slide_ms: %.1f\n", Median(slides));
    std::printf("slide_step_ms_max: %.1f\n", slowestStep);
    return 0;
}
