#include "saver/MemoryFile.h"

#include <windows.h>

#include <algorithm>
#include <unordered_set>

#include "toolkit/Handles.h"
#include "toolkit/Text.h"

std::wstring MemoryFilePath(const std::wstring& installDir, const std::wstring& memfilesname) {
    return installDir + memfilesname + L".tmp";
}

std::wstring MemoryCountText(size_t seen, size_t toSee) {
    return L"=> " + tk::IntToStr((long long)seen) + L" vus / " + tk::IntToStr((long long)toSee) +
           L" à voir";
}

std::string FormatMemoryFile(const std::vector<std::wstring>& toSee,
                             const std::vector<std::wstring>& seen, const TMemoryEntries& kept) {
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
    return tk::Narrow(text);
}

TMemoryEntries EntriesInFolders(const std::string& text, const std::vector<std::wstring>& folders,
                                const std::vector<std::wstring>& toSee,
                                const std::vector<std::wstring>& seen) {
    TMemoryEntries found;
    if (folders.empty() || text.empty()) return found;
    auto inFolder = [&](const std::wstring& path) {
        for (const std::wstring& folder : folders)
            if (!folder.empty() && path.size() > folder.size() &&
                CompareStringOrdinal(path.c_str(), int(folder.size()), folder.c_str(),
                                     int(folder.size()), TRUE) == CSTR_EQUAL)
                return true;
        return false;
    };
    ParseMemoryFile(text, [&](bool isToSee, std::wstring path) {
        if (inFolder(path)) (isToSee ? found.toSee : found.seen).push_back(std::move(path));
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
    size_t end = text.find('\0');
    if (end == std::string::npos) end = text.size();
    size_t start = 0;
    while (start < end) {
        if (keepGoing && !keepGoing()) return false;
        size_t stop = start;
        while (stop < end && text[stop] != '\r' && text[stop] != '\n')
            ++stop;
        const std::wstring line = tk::Widen(text.substr(start, stop - start));
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

TFileRead ReadWholeFile(const std::wstring& path, std::string& bytes,
                        const std::function<bool()>& keepGoing) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                       error == ERROR_INVALID_NAME
                   ? TFileRead::Absent
                   : TFileRead::Unreadable;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return TFileRead::Absent;
    tk::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x40000000)
        return TFileRead::Unreadable;
    try {
        bytes.resize(size_t(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return TFileRead::Unreadable;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        if (keepGoing && !keepGoing()) return TFileRead::Stopped;
        DWORD got = 0;
        const DWORD ask = DWORD(std::min<size_t>(bytes.size() - done, 1 << 20));
        if (!ReadFile(file.Get(), bytes.data() + done, ask, &got, nullptr))
            return TFileRead::Unreadable;
        if (got == 0) break; // it became shorter meanwhile
        done += got;
    }
    bytes.resize(done);
    return TFileRead::Read;
}

bool ReplaceFileContent(const std::wstring& path, const std::string& bytes) {
    const std::wstring temporary = path + L".new";
    bool written = false;
    {
        tk::FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        size_t done = 0;
        written = true;
        while (done < bytes.size() && written) {
            DWORD put = 0;
            const DWORD ask = DWORD(std::min<size_t>(bytes.size() - done, 1 << 20));
            written = WriteFile(file.Get(), bytes.data() + done, ask, &put, nullptr) && put == ask;
            done += put;
        }
        // On the disk before it replaces the old file: a power cut then leaves one or the
        // other, whole.
        written = written && FlushFileBuffers(file.Get());
    }
    if (written && MoveFileExW(temporary.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}
