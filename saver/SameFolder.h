#pragma once
// Whether two names of folders lead to the same place. The folder lists are written by hand
// as well as by the dialog: "D:\Media\", "d:\media", "D:\Photos\..\Media" and the short
// "D:\MEDIA~1" all name one folder, which must be listed, and so scanned, once.
#include <string>

// The name a folder is compared by: its full path with "." and ".." resolved, in long names
// where the folder exists, without a trailing backslash (a drive's root keeps its own), in
// upper case. Empty for an empty text.
std::wstring FolderKey(const std::wstring& folder);

bool SameFolder(const std::wstring& a, const std::wstring& b);
