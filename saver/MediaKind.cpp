#include "saver/MediaKind.h"

#include <algorithm>
#include <iterator>

#include "Globals/Globals.h"
#include "toolkit/Text.h"

namespace {
// The photos among the media extensions; every other one is a clip.
constexpr const wchar_t* kPhotoExtensions[] = {L".JPG", L".JPEG"};

bool IsPhotoExtension(const std::wstring& ext) {
    return std::find(std::begin(kPhotoExtensions), std::end(kPhotoExtensions), ext) !=
           std::end(kPhotoExtensions);
}
} // namespace

bool IsMediaFile(const std::wstring& fileName, int kinds) {
    size_t dot = fileName.find_last_of(L'.');
    if (dot == std::wstring::npos || fileName.find_first_of(L"\\:", dot) != std::wstring::npos)
        return false;
    const std::wstring ext = tk::UpperAscii(fileName.substr(dot));
    if (std::find(MediaExtensions.begin(), MediaExtensions.end(), ext) == MediaExtensions.end())
        return false;
    return kinds & (IsPhotoExtension(ext) ? mkImage : mkVideo);
}
