#include "toolkit/FileContent.h"

#include <windows.h>

#include <algorithm>

#include "toolkit/Handles.h"

namespace tk {

namespace {

std::wstring FolderOf(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring(L".") : path.substr(0, cut + 1);
}

bool FolderExists(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// What the file's attributes tell: Absent, Unreadable, or present (Read) and then to be opened.
FileRead StateByAttributes(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
            error == ERROR_INVALID_NAME)
            return FileRead::Absent;
        // A folder that is not there holds no file, whatever the system calls its absence (a
        // share or a drive that is gone answers with codes of its own): only a file whose
        // folder is there can be held by another program.
        return FolderExists(FolderOf(path)) ? FileRead::Unreadable : FileRead::Absent;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileRead::Absent;
    return FileRead::Read;
}

FileRead ProbeReadable(const std::wstring& path) {
    const FileRead state = StateByAttributes(path);
    if (state != FileRead::Read) return state;
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    return file ? FileRead::Read : FileRead::Unreadable;
}

} // namespace

FileRead RetryWhileUnreadable(const std::function<FileRead()>& attempt,
                              const std::function<bool()>& keepGoing) {
    const ULONGLONG start = GetTickCount64();
    FileRead state = attempt();
    while (state == FileRead::Unreadable && GetTickCount64() - start < kLockedFileWaitMs) {
        if (keepGoing && !keepGoing()) return FileRead::Stopped;
        Sleep(kLockedFileRetryMs);
        state = attempt();
    }
    return state;
}

FileRead WaitReadable(const std::wstring& path, const std::function<bool()>& keepGoing) {
    return RetryWhileUnreadable([&] { return ProbeReadable(path); }, keepGoing);
}

FileRead ReadWholeFile(const std::wstring& path, std::string& bytes,
                       const std::function<bool()>& keepGoing) {
    const FileRead state = StateByAttributes(path);
    if (state != FileRead::Read) return state;
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x40000000)
        return FileRead::Unreadable;
    try {
        bytes.resize(size_t(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return FileRead::Unreadable;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        if (keepGoing && !keepGoing()) return FileRead::Stopped;
        DWORD got = 0;
        const DWORD ask = DWORD(std::min<size_t>(bytes.size() - done, 1 << 20));
        if (!ReadFile(file.Get(), bytes.data() + done, ask, &got, nullptr))
            return FileRead::Unreadable;
        if (got == 0) break; // it became shorter meanwhile
        done += got;
    }
    bytes.resize(done);
    return FileRead::Read;
}

bool ReplaceFileContent(const std::wstring& path, const std::string& bytes) {
    const std::wstring temporary = path + L".new";
    bool written = false;
    {
        FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
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

} // namespace tk
