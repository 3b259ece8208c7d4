#include "saver/MediaKind.h"

#include "Globals/Globals.h"
#include "toolkit/Text.h"

bool IsMediaFile(const std::wstring& fileName, int kinds) {
    size_t dot = fileName.find_last_of(L'.');
    if (dot == std::wstring::npos || fileName.find_first_of(L"\\:", dot) != std::wstring::npos)
        return false;
    const std::wstring ext = tk::UpperAscii(fileName.substr(dot));
    for (size_t i = 0; i < MediaExtensions.size(); ++i) {
        const bool image = i < 2;
        if (ext == MediaExtensions[i] && (kinds & (image ? mkImage : mkVideo))) return true;
    }
    return false;
}
