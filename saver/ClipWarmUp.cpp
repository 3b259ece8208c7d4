#include "saver/ClipWarmUp.h"

#include "library/MediaKind.h"
#include "toolkit/MediaPlayer.h"

namespace {

bool IsAvi(const std::wstring& path) {
    return path.size() >= 4 &&
           CompareStringOrdinal(path.c_str() + path.size() - 4, 4, L".avi", 4, TRUE) == CSTR_EQUAL;
}

} // namespace

bool WarmUpClipDevices(const std::vector<std::wstring>& files, HWND display) {
    for (const std::wstring& path : files) {
        if (!IsMediaFile(path, mkClip) || IsAvi(path)) continue;
        // Even a file that fails to open has loaded the device by then.
        tk::MediaPlayer player;
        player.Display = display;
        player.FileName = path;
        player.Open();
        return true;
    }
    return false;
}
