#include "library/MediaKind.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "toolkit/Log.h"
#include "toolkit/Text.h"
#include "toolkit/Wic.h"

namespace {
// The photos among the media extensions, by format; every other extension is a clip. JPEG,
// HEIC and WebP are decoded by libraries the program carries, and shown on every PC; the
// others by Windows' imaging component, where it has a decoder for them.
struct PhotoFormat {
    const wchar_t* name; // as the file list's hint names it
    const wchar_t* extensions[3];
    bool own; // decoded by the program itself
};
constexpr PhotoFormat kJpeg = {L"JPEG", {L".JPG", L".JPEG"}, true};
// ".HIF" is the name cameras give their HEIF photos.
constexpr PhotoFormat kPhotoFormats[] = {{L"PNG", {L".PNG"}, false},
                                         {L"GIF", {L".GIF"}, false},
                                         {L"BMP", {L".BMP"}, false},
                                         {L"TIFF", {L".TIF", L".TIFF"}, false},
                                         {L"HEIC", {L".HEIC", L".HEIF", L".HIF"}, true},
                                         {L"WebP", {L".WEBP"}, true},
                                         {L"AVIF", {L".AVIF"}, false}};

// The clips: the seventeen that came with the first photos, then those of phones and cameras
// (.MP4, .M4V, .3GP), so that everything ordered by the extensions (the catalogue's listing,
// the dialog's file mask) keeps the order it had before them.
constexpr const wchar_t* kClipExtensions[] = {
    L".MPG", L".MPEG", L".AVI", L".MOV",  L".QT",   L".ASF", L".ASX", L".WM",  L".WMV", L".WVX",
    L".MPE", L".M1V",  L".MP2", L".MP2V", L".MPV2", L".MPA", L".IVF", L".MP4", L".M4V", L".3GP"};

constexpr std::array<const wchar_t*, kMediaExtensionCount> MediaExtensionTable() {
    std::array<const wchar_t*, kMediaExtensionCount> all{};
    size_t n = 0;
    auto add = [&](const wchar_t* ext) {
        if (ext && n < all.size()) all[n++] = ext;
    };
    for (const wchar_t* ext : kJpeg.extensions)
        add(ext);
    for (const wchar_t* ext : kClipExtensions)
        add(ext);
    for (const PhotoFormat& format : kPhotoFormats)
        for (const wchar_t* ext : format.extensions)
            add(ext);
    return all;
}

constexpr bool EveryExtensionHasItsPlace() {
    size_t count = std::size(kClipExtensions);
    for (const wchar_t* ext : kJpeg.extensions)
        count += ext != nullptr;
    for (const PhotoFormat& format : kPhotoFormats)
        for (const wchar_t* ext : format.extensions)
            count += ext != nullptr;
    return count == kMediaExtensionCount;
}
static_assert(EveryExtensionHasItsPlace());

bool OfFormat(const PhotoFormat& format, const std::wstring& ext) {
    for (const wchar_t* own : format.extensions)
        if (own && ext == own) return true;
    return false;
}

// One of the photo extensions after the clips (".PNG" to ".AVIF"); with `own`, one that the
// program decodes itself.
bool IsLaterPhotoExtension(const std::wstring& ext, bool ownOnly = false) {
    return std::any_of(std::begin(kPhotoFormats), std::end(kPhotoFormats),
                       [&](const PhotoFormat& format) {
                           return (format.own || !ownOnly) && OfFormat(format, ext);
                       });
}

bool IsPhotoExtension(const std::wstring& ext) {
    return OfFormat(kJpeg, ext) || IsLaterPhotoExtension(ext);
}

// A photo extension that only Windows' imaging component decodes.
bool IsWicOnlyExtension(const std::wstring& ext) {
    return IsLaterPhotoExtension(ext) && !IsLaterPhotoExtension(ext, true);
}

// Some extension of the format is usable.
bool Usable(const PhotoFormat& format, uint32_t usableMask) {
    for (size_t i = 0; i < MediaExtensions.size(); ++i)
        if ((usableMask & (1u << i)) && OfFormat(format, MediaExtensions[i])) return true;
    return false;
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

const std::array<const wchar_t*, kMediaExtensionCount> MediaExtensions = MediaExtensionTable();

uint32_t MediaMaskForDecoders(const std::vector<std::wstring>& decoderExtensions) {
    std::vector<std::wstring> decodable;
    for (const std::wstring& list : decoderExtensions)
        for (std::wstring& ext : ExtensionsOf(list))
            decodable.push_back(std::move(ext));
    uint32_t mask = 0;
    for (size_t i = 0; i < MediaExtensions.size(); ++i) {
        const std::wstring ext = MediaExtensions[i];
        if (!IsWicOnlyExtension(ext) ||
            std::find(decodable.begin(), decodable.end(), ext) != decodable.end())
            mask |= 1u << i;
    }
    return mask;
}

uint32_t LaterPhotoMask() {
    uint32_t mask = 0;
    for (size_t i = 0; i < MediaExtensions.size(); ++i)
        if (IsLaterPhotoExtension(MediaExtensions[i])) mask |= 1u << i;
    return mask;
}

uint32_t UsableMediaMask() {
    std::optional<uint32_t>& mask = MaskInForce();
    if (!mask) mask = AskWic();
    return *mask;
}

std::vector<std::wstring> PhotoFormatNames(uint32_t usableMask) {
    std::vector<std::wstring> names;
    if (Usable(kJpeg, usableMask)) names.push_back(kJpeg.name);
    for (const PhotoFormat& format : kPhotoFormats)
        if (Usable(format, usableMask)) names.push_back(format.name);
    return names;
}

uint32_t SetUsableMediaMask(uint32_t mask) {
    const uint32_t previous = UsableMediaMask();
    MaskInForce() = mask;
    return previous;
}

std::wstring MediaExtensionOf(const std::wstring& fileName) {
    const size_t dot = fileName.find_last_of(L'.');
    if (dot == std::wstring::npos || fileName.find_first_of(L"\\:", dot) != std::wstring::npos)
        return L"";
    return tk::UpperAscii(fileName.substr(dot));
}

bool IsMediaFile(const std::wstring& fileName, int kinds) {
    const std::wstring ext = MediaExtensionOf(fileName);
    if (ext.empty()) return false;
    const auto at = std::find(MediaExtensions.begin(), MediaExtensions.end(), ext);
    if (at == MediaExtensions.end() ||
        !(UsableMediaMask() & (1u << (at - MediaExtensions.begin()))))
        return false;
    return kinds & (IsPhotoExtension(ext) ? mkPhoto : mkClip);
}
