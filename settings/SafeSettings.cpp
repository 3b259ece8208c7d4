#include "settings/SafeSettings.h"

#include <algorithm>

#include <windows.h>

#include "settings/ConfigName.h"
#include "toolkit/Log.h"

void ClampForSaver(SettingsRecord& s) {
    using B = SaverBounds;
    s.stepPixels = std::clamp(s.stepPixels, B::kMinStepPixels, B::kMaxStepPixels);
    s.stepsPerTenSeconds =
        std::clamp(s.stepsPerTenSeconds, B::kMinStepsPerTenSeconds, B::kMaxStepsPerTenSeconds);
    s.displaySeconds = std::clamp(s.displaySeconds, B::kMinDisplaySeconds, B::kMaxDisplaySeconds);
    s.maxTiles = std::clamp(s.maxTiles, B::kMinTiles, B::kMaxTiles);
    s.clipMaxGrowth = std::clamp(s.clipMaxGrowth, B::kMinGrow, B::kMaxGrow);
    // The memory file is installDir + memoryName + ".tmp": a name that is no file name of
    // the install folder (a path, a device, nothing) would be read and written elsewhere.
    if (s.rememberSeen && !IsUsableConfigName(s.memoryName)) {
        tk::Log(L"unusable memory name \"" + s.memoryName + L"\"; no memory for this run");
        s.rememberSeen = false;
    }
}
