#pragma once
// The seen-file memory: the state of the catalogue's pass kept across runs, one line per
// file, in the system's ANSI code page (in UTF-8 after a byte-order mark when a path does not
// fit that code page). A line is a status character and the full path
// with nothing between: "0" for a file still to see, "1" for one seen. Each line, the last
// one too, ends with CR LF; the "0" lines come first.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/FileContent.h"

// Entries of a memory file, by status.
struct MemoryEntries {
    std::vector<std::wstring> toSee, seen;
    bool Empty() const { return toSee.empty() && seen.empty(); }
};

// The bytes of a memory file for the two lists, each followed by the entries kept beside
// them: the "0" lines of toSee, then those of kept.toSee, then the "1" lines likewise.
std::string FormatMemoryFile(const std::vector<std::wstring>& toSee,
                             const std::vector<std::wstring>& seen, const MemoryEntries& kept = {});

// Whether the path lies in one of the folders (full paths ending with "\", compared without
// regard to case).
bool InOneOfFolders(const std::wstring& path, const std::vector<std::wstring>& folders);

// The entries of a memory file's text that lie in one of the folders (full paths ending
// with "\", compared without regard to case) and that neither list holds, with the status
// they were read with. A folder that could not be reached in a run keeps them so: the run
// knows nothing new about its files.
MemoryEntries EntriesInFolders(const std::string& text, const std::vector<std::wstring>& folders,
                               const std::vector<std::wstring>& toSee,
                               const std::vector<std::wstring>& seen);

// Reads the text of a memory file (UTF-8 after a byte-order mark, else ANSI) line by line: a line
// ends at CR, LF or CR LF, and a NUL ends the text. A line that is empty or holds only spaces and
// control characters is skipped; a line whose first character is "0" is a file to see, any other a
// seen file, and the path is the rest of the line, unchanged. keepGoing, when given, is asked
// before each line: false stops the reading there, and false comes back.
bool ParseMemoryFile(const std::string& text,
                     const std::function<void(bool toSee, std::wstring path)>& entry,
                     const std::function<bool()>& keepGoing = {});

// "=> N vus / M à voir", drawn while a memory file is read.
std::wstring MemoryCountText(size_t seen, size_t toSee);

// The memory is read whole and replaced whole.
using tk::FileRead;
using tk::ReadWholeFile;
using tk::ReplaceFileContent;
