#include "saver/SafeSettings.h"

#include <algorithm>

#include <windows.h>

#include "Globals/ConfigName.h"
#include "Globals/IniValue.h"
#include "Globals/Transitions.h"
#include "toolkit/Log.h"

void ClampForSaver(TSettings& s) {
    using B = TSaverBounds;
    s.defspeed = std::clamp(s.defspeed, B::kMinSpeed, B::kMaxSpeed);
    s.defdelay = std::clamp(s.defdelay, B::kMinDelay, B::kMaxDelay);
    s.defpause = std::clamp(s.defpause, B::kMinPause, B::kMaxPause);
    s.opnbimgmax = std::clamp(s.opnbimgmax, B::kMinTiles, B::kMaxTiles);
    s.opagrfilm = std::clamp(s.opagrfilm, B::kMinGrow, B::kMaxGrow);
    // The memory file is InstallDir + memfilesname + ".tmp": a name that is no file name of
    // the install folder (a path, a device, nothing) would be read and written elsewhere.
    if (s.opmemfiles && !IsUsableConfigName(s.memfilesname)) {
        tk::Log(L"unusable memory name \"" + s.memfilesname + L"\"; no memory for this run");
        s.opmemfiles = false;
    }
}

std::vector<int> UsableTransitions(const std::wstring& optransition) {
    std::vector<int> usable;
    for (const std::wstring& piece : SplitString(L";", optransition)) {
        auto number = ParseIniInt(piece);
        if (number && IsKnownTransition(*number)) usable.push_back(*number);
    }
    if (usable.empty())
        for (const TransitionInfo& t : kTransitions) usable.push_back(t.number);
    return usable;
}
