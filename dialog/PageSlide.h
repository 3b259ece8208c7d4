#pragma once
// The two pages of the settings dialog slide sideways: 16 synchronous steps each way.
#include <vector>

struct SlideStep {
    int imagesPageLeft;
    int settingsPageLeft;
};

// The pages' left edges at each step, the last one being where they stay: towards the
// settings page (the images page leaves to the left) or back.
std::vector<SlideStep> SlideSteps(bool toSettings);
