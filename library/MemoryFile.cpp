#include "library/MemoryFile.h"

#include <windows.h>

#include <algorithm>
#include <unordered_set>

#include "toolkit/Text.h"

namespace {
const std::string kUtf8Mark = "\xEF\xBB\xBF";
}

std::wstring MemoryCountText(size_t seen, size_t toSee) {
    return L"=> " + tk::IntToStr((long long)seen) + L" vus / " + tk::IntToStr((long long)toSee) +
           L" à voir";
}

std::string FormatMemoryFile(const std::vector<std::wstring>& toSee,
                             const std::vector<std::wstring>& seen, const MemoryEntries& kept) {
    const struct {
        const wchar_t* status;
        const std::vector<std::wstring>& paths;
    } parts[] = {{L"0", toSee}, {L"0", kept.toSee}, {L"1", seen}, {L"1", kept.seen}};
    size_t length = 0;
    for (const auto& part : parts)
        for (const std::wstring& path : part.paths)
            length += path.size() + 3;
    std::wstring text;
    text.reserve(length);
    for (const auto& part : parts)
        for (const std::wstring& path : part.paths)
            text.append(part.status).append(path).append(L"\r\n");
    if (tk::FitsAnsi(text)) return tk::Narrow(text);
    // A name beyond the code page would come back as "?" and name no file: the whole memory
    // is then kept as UTF-8, marked so by its byte-order mark.
    return kUtf8Mark + tk::ToUtf8(text);
}

bool InOneOfFolders(const std::wstring& path, const std::vector<std::wstring>& folders) {
    for (const std::wstring& folder : folders)
        if (!folder.empty() && path.size() > folder.size() &&
            CompareStringOrdinal(path.c_str(), int(folder.size()), folder.c_str(),
                                 int(folder.size()), TRUE) == CSTR_EQUAL)
            return true;
    return false;
}

MemoryEntries EntriesInFolders(const std::string& text, const std::vector<std::wstring>& folders,
                               const std::vector<std::wstring>& toSee,
                               const std::vector<std::wstring>& seen) {
    MemoryEntries found;
    if (folders.empty() || text.empty()) return found;
    ParseMemoryFile(text, [&](bool isToSee, std::wstring path) {
        if (InOneOfFolders(path, folders))
            (isToSee ? found.toSee : found.seen).push_back(std::move(path));
    });
    if (found.Empty()) return found;
    // Those the lists still hold are written from the lists, with this run's status.
    const std::unordered_set<std::wstring> listed = [&] {
        std::unordered_set<std::wstring> set(toSee.begin(), toSee.end());
        set.insert(seen.begin(), seen.end());
        return set;
    }();
    for (auto* list : {&found.toSee, &found.seen})
        std::erase_if(*list, [&](const std::wstring& path) { return listed.count(path) > 0; });
    return found;
}

bool ParseMemoryFile(const std::string& text,
                     const std::function<void(bool toSee, std::wstring path)>& entry,
                     const std::function<bool()>& keepGoing) {
    const bool utf8 = text.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0;
    size_t end = text.find('\0');
    if (end == std::string::npos) end = text.size();
    size_t start = utf8 ? kUtf8Mark.size() : 0;
    while (start < end) {
        if (keepGoing && !keepGoing()) return false;
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
    return true;
}
