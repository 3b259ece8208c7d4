#include "saver/MediaKind.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "Globals/Globals.h"
#include "toolkit/Log.h"
#include "toolkit/Text.h"
#include "toolkit/Wic.h"

namespace {
// The photos among the media extensions; every other one is a clip. JPEG is decoded by
// libjpeg, which the program carries; the others by Windows' imaging component.
constexpr const wchar_t* kJpegExtensions[] = {L".JPG", L".JPEG"};
constexpr const wchar_t* kWicPhotoExtensions[] = {L".PNG",  L".GIF",  L".BMP",  L".TIF", L".TIFF",
                                                  L".HEIC", L".HEIF", L".WEBP", L".AVIF"};

template <class Table> bool InTable(const Table& table, const std::wstring& ext) {
    return std::find(std::begin(table), std::end(table), ext) != std::end(table);
}

bool IsPhotoExtension(const std::wstring& ext) {
    return InTable(kJpegExtensions, ext) || InTable(kWicPhotoExtensions, ext);
}

// The extensions of one decoder's list, upper-cased.
std::vector<std::wstring> ExtensionsOf(const std::wstring& list) {
    std::vector<std::wstring> extensions;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find_first_of(L",;", start);
        if (end == std::wstring::npos) end = list.size();
        std::wstring ext = list.substr(start, end - start);
        ext.erase(0, ext.find_first_not_of(L' '));
        ext.erase(ext.find_last_not_of(L' ') + 1);
        if (!ext.empty()) extensions.push_back(tk::UpperAscii(ext));
        start = end + 1;
    }
    return extensions;
}

std::optional<uint32_t>& MaskInForce() {
    static std::optional<uint32_t> mask;
    return mask;
}

uint32_t AskWic() {
    const uint32_t mask = MediaMaskForDecoders(tk::WicDecoderExtensions());
    std::wstring missing;
    for (size_t i = 0; i < MediaExtensions.size(); ++i)
        if (!(mask & (1u << i))) missing += std::wstring(L" ") + MediaExtensions[i];
    if (!missing.empty())
        tk::Log(L"no decoder on this PC for" + missing + L": such photos are not shown");
    return mask;
}
} // namespace

uint32_t MediaMaskForDecoders(const std::vector<std::wstring>& decoderExtensions) {
    std::vector<std::wstring> decodable;
    for (const std::wstring& list : decoderExtensions)
        for (std::wstring& ext : ExtensionsOf(list))
            decodable.push_back(std::move(ext));
    uint32_t mask = 0;
    for (size_t i = 0; i < MediaExtensions.size(); ++i) {
        const std::wstring ext = MediaExtensions[i];
        if (!InTable(kWicPhotoExtensions, ext) || InTable(decodable, ext)) mask |= 1u << i;
    }
    return mask;
}

uint32_t WicPhotoMask() {
    uint32_t mask = 0;
    for (size_t i = 0; i < MediaExtensions.size(); ++i)
        if (InTable(kWicPhotoExtensions, std::wstring(MediaExtensions[i]))) mask |= 1u << i;
    return mask;
}

uint32_t UsableMediaMask() {
    std::optional<uint32_t>& mask = MaskInForce();
    if (!mask) mask = AskWic();
    return *mask;
}

uint32_t SetUsableMediaMask(uint32_t mask) {
    const uint32_t previous = UsableMediaMask();
    MaskInForce() = mask;
    return previous;
}

bool IsMediaFile(const std::wstring& fileName, int kinds) {
    size_t dot = fileName.find_last_of(L'.');
    if (dot == std::wstring::npos || fileName.find_first_of(L"\\:", dot) != std::wstring::npos)
        return false;
    const std::wstring ext = tk::UpperAscii(fileName.substr(dot));
    const auto at = std::find(MediaExtensions.begin(), MediaExtensions.end(), ext);
    if (at == MediaExtensions.end() ||
        !(UsableMediaMask() & (1u << (at - MediaExtensions.begin()))))
        return false;
    return kinds & (IsPhotoExtension(ext) ? mkImage : mkVideo);
}
