#include "settings/SafeSettings.h"

#include <algorithm>

#include <windows.h>

#include "settings/ConfigName.h"
#include "settings/SettingRows.h"
#include "toolkit/Log.h"

void ClampForSaver(SettingsRecord& s) {
    for (const SettingRow& row : SettingRows())
        if (auto* number = std::get_if<int SettingsRecord::*>(&row.field))
            s.** number = std::clamp(s.**number, row.lowest, row.highest);
    // The memory file is installDir + memoryName + ".tmp": a name that is no file name of
    // the install folder (a path, a device, nothing) would be read and written elsewhere.
    if (s.rememberSeen && !IsUsableConfigName(s.memoryName)) {
        tk::Log(L"unusable memory name \"" + s.memoryName + L"\"; no memory for this run");
        s.rememberSeen = false;
    }
}
