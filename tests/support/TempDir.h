#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes.
#include <windows.h>

#include <string>

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
