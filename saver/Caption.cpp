#include "saver/Caption.h"

#include <windows.h>

#include <algorithm>

Caption CaptionParts(const std::wstring& path, const std::wstring& dateText, bool captionName,
                     bool captionDate) {
    Caption caption;
    if (captionName) caption.name = path;
    if (captionDate) caption.date = captionName ? L" - " + dateText : dateText;
    return caption;
}

namespace {

const std::wstring kEllipsis = L"...";

// The folder part with its first folder name replaced by "..."; a leading "..." takes the
// name after it along, so that each call drops one more folder.
std::wstring DropFirstFolder(const std::wstring& folder) {
    std::wstring lead = !folder.empty() && folder[0] == L'\\' ? L"\\" : L"";
    std::wstring body = folder.substr(lead.size());
    size_t first = body.find(L'\\');
    if (first == std::wstring::npos) return L""; // no complete name left
    size_t from = first + 1;
    if (body.compare(0, first, kEllipsis) == 0) {
        size_t second = body.find(L'\\', from);
        if (second == std::wstring::npos) return L"";
        from = second + 1;
    }
    return lead + kEllipsis + L"\\" + body.substr(from);
}

} // namespace

std::wstring ShortenPath(const std::wstring& path, int limit, const TextWidth& width) {
    std::wstring drive, folder, name;
    size_t start = 0;
    if (path.size() >= 2 && path[1] == L':') {
        drive = path.substr(0, 2);
        start = 2;
    }
    size_t lastSlash = path.rfind(L'\\');
    if (lastSlash != std::wstring::npos && lastSlash >= start) {
        folder = path.substr(start, lastSlash + 1 - start);
        name = path.substr(lastSlash + 1);
    } else {
        name = path.substr(start);
    }
    while ((!drive.empty() || !folder.empty()) && width(drive + folder + name) > limit) {
        if (folder == L"\\...\\") {
            drive.clear();
            folder = L"...\\";
        } else if (folder == L"...\\") {
            folder.clear();
        } else if (!folder.empty()) {
            folder = DropFirstFolder(folder);
        } else {
            drive.clear();
        }
    }
    return drive + folder + name;
}

int CaptionNameLimit(int pictureWidth, int dateWidth) {
    return pictureWidth - 2 - dateWidth;
}

int CaptionBandWidth(int textWidth, int pictureWidth) {
    return std::min(pictureWidth, textWidth);
}

std::wstring FileDateText(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return L"";
    return FileDateText(data);
}

std::wstring FileDateText(const WIN32_FILE_ATTRIBUTE_DATA& data) {
    FILETIME local;
    SYSTEMTIME when;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
        !FileTimeToSystemTime(&local, &when))
        return L"";
    wchar_t text[128];
    int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, text, 128);
    return n > 1 ? std::wstring(text, n - 1) : L"";
}
