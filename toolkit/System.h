#pragma once
#include <string>

namespace tk {

// The system directory with a trailing backslash: where PASSWORD.CPL and MPR.DLL live.
std::wstring SystemDirectory();

bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);

// The full path the system makes of path (relative to the current directory, "." and ".."
// resolved, "/" read as "\"); path itself when the system makes none.
std::wstring FullPathName(const std::wstring& path);

} // namespace tk
