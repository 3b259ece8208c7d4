#include "saver/MemoryFile.h"

#include <windows.h>

#include "toolkit/Text.h"

namespace {
const std::string kUtf8Mark = "\xEF\xBB\xBF";
}

std::wstring MemoryFilePath(const std::wstring& installDir, const std::wstring& memfilesname) {
    return installDir + memfilesname + L".tmp";
}

std::wstring MemoryCountText(size_t seen, size_t toSee) {
    return L"=> " + tk::IntToStr((long long)seen) + L" vus / " + tk::IntToStr((long long)toSee) +
           L" à voir";
}

std::string FormatMemoryFile(const std::vector<std::wstring>& toSee,
                             const std::vector<std::wstring>& seen) {
    size_t length = 0;
    for (const auto* list : {&toSee, &seen})
        for (const std::wstring& path : *list)
            length += path.size() + 3;
    std::wstring text;
    text.reserve(length);
    for (const std::wstring& path : toSee)
        text.append(L"0").append(path).append(L"\r\n");
    for (const std::wstring& path : seen)
        text.append(L"1").append(path).append(L"\r\n");
    if (tk::FitsAnsi(text)) return tk::Narrow(text);
    // A name beyond the code page would come back as "?" and name no file: the whole memory
    // is then kept as UTF-8, marked so by its byte-order mark.
    return kUtf8Mark + tk::ToUtf8(text);
}

void ParseMemoryFile(const std::string& text,
                     const std::function<void(bool toSee, std::wstring path)>& entry) {
    const bool utf8 = text.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0;
    size_t end = text.find('\0');
    if (end == std::string::npos) end = text.size();
    size_t start = utf8 ? kUtf8Mark.size() : 0;
    while (start < end) {
        size_t stop = start;
        while (stop < end && text[stop] != '\r' && text[stop] != '\n')
            ++stop;
        const std::string bytes = text.substr(start, stop - start);
        const std::wstring line = utf8 ? tk::FromUtf8(bytes) : tk::Widen(bytes);
        bool blank = true;
        for (wchar_t c : line)
            if (c > L' ') {
                blank = false;
                break;
            }
        if (!blank) entry(line[0] == L'0', line.substr(1));
        start = stop + (stop + 1 < end && text[stop] == '\r' && text[stop + 1] == '\n' ? 2 : 1);
    }
}
