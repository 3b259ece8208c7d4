#include "dialog/PageSlide.h"

#include "resources/SettingsDialogLayout.h"

namespace {
using layout::kPageWidth;
constexpr int kStride = 30;
} // namespace

std::vector<SlideStep> SlideSteps(bool toSettings) {
    std::vector<SlideStep> steps;
    // Every multiple of 30 on the way, the final place (0) included: 16 steps.
    if (toSettings) {
        for (int v = kPageWidth; v >= 0; --v)
            if (v % kStride == 0) steps.push_back({v - kPageWidth, v});
    } else {
        for (int v = -kPageWidth; v <= 0; ++v)
            if (v % kStride == 0) steps.push_back({v, kPageWidth + v});
    }
    return steps;
}
