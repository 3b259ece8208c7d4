#pragma once
// The caption burnt into a tile's picture: the file's path and/or its date, white on a grey
// band at the picture's bottom-left corner. The text and the shortening of a path too wide
// for the picture are computed here, with the text width measured by the caller.
#include <windows.h>

#include <functional>
#include <string>

struct Caption {
    std::wstring name; // the full path, or empty
    std::wstring date; // the date, with " - " before it when the name is shown too
    std::wstring Text() const { return name + date; }
};

// The caption for the options: the name alone, the date alone, or "name - date".
Caption CaptionParts(const std::wstring& path, const std::wstring& dateText, bool captionName,
                     bool captionDate);

using TextWidth = std::function<int(const std::wstring&)>;

// Shortens a path from the left, folder by folder, until it is no wider than limit:
// C:\a\b\name.jpg, C:\...\b\name.jpg, C:\...\name.jpg, ...\name.jpg, name.jpg. The bare
// file name is the end, even when it is still too wide.
std::wstring ShortenPath(const std::wstring& path, int limit, const TextWidth& width);

// Room for the name on a picture pw pixels wide beside a date part dateWidth pixels wide.
int CaptionNameLimit(int pictureWidth, int dateWidth);
// The grey band under the text: as wide as the whole unshortened caption, at most the
// picture.
int CaptionBandWidth(int textWidth, int pictureWidth);

// The file's last-modification date, local, in the system's short date format; empty when
// the file cannot be read.
std::wstring FileDateText(const std::wstring& path);
// The same from the file's attributes: its last-write time, never its creation time (a
// copied photo is created on the day of the copy).
std::wstring FileDateText(const WIN32_FILE_ATTRIBUTE_DATA& data);
