#pragma once
// The dialog stores only sensible values, but a configuration file can be edited by hand.
// Before the saver uses the settings it brings every number into a range it can run with,
// and turns the memory off when its name is no file name of the install folder.
#include "settings/Settings.h"

struct SaverBounds {
    static constexpr int kMinStepPixels = 1, kMaxStepPixels = 10000; // pixels per step
    static constexpr int kMinStepsPerTenSeconds = 1,
                         kMaxStepsPerTenSeconds = 1000; // 1000: as fast as possible
    static constexpr int kMinDisplaySeconds = 1,
                         kMaxDisplaySeconds = 86400;    // seconds; x1000 fits 32 bits
    static constexpr int kMinTiles = 1, kMaxTiles = 20; // the dialog offers 3 to 20
    static constexpr int kMinGrow = 1, kMaxGrow = 9;    // clip enlargement factor
};

void ClampForSaver(SettingsRecord& settings);
