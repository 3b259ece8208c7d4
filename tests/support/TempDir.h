#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes.
#include <windows.h>

#include <string>
#include <thread>

#include "toolkit/Handles.h"
#include "toolkit/NonCopyable.h"

class TempDir : private tk::NonCopyable {
  public:
    TempDir();
    ~TempDir();

    // The folder with its trailing backslash, as installDir holds it.
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }

  private:
    std::wstring path_;
};

// A file of that name in the system's temporary folder (for the files a test shares with the
// programs it starts).
inline std::wstring TempFile(const wchar_t* name) {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    return std::wstring(base) + name;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
void RemoveTree(const std::wstring& folder); // folder without trailing backslash

// The file held open without sharing, as another program may hold it: nothing else can open it
// until Release or the end of the object. Given releaseAfterMs, a thread lets it go after
// that time.
class HeldFile : private tk::NonCopyable {
  public:
    explicit HeldFile(const std::wstring& path, DWORD releaseAfterMs = INFINITE)
        : file_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
        if (releaseAfterMs != INFINITE)
            releaser_ = std::thread([this, releaseAfterMs] {
                Sleep(releaseAfterMs);
                file_.Reset();
            });
    }
    ~HeldFile() { Release(); }
    // Whether the file could be opened (asked before a releaser may have let it go).
    bool Held() const { return bool(file_); }
    void Release() {
        if (releaser_.joinable()) releaser_.join();
        file_.Reset();
    }

  private:
    tk::FileHandle file_;
    std::thread releaser_;
};
