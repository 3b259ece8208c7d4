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

// The key of the folder that a name finally leads to, through the symbolic links and
// junctions on its way: two links to one folder, or a link and the folder itself, give one
// key. FolderKey's when the folder cannot be opened.
std::wstring FinalFolderKey(const std::wstring& folder);

// The key of a folder's sub-folder that is no link, from the folder's key and its name as
// listed: it leads where its parent leads, without a trip to the file system.
std::wstring SubfolderKey(const std::wstring& folderKey, const std::wstring& name);
