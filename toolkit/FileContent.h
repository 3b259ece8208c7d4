#pragma once
// Whole files read and replaced safely: the memory of seen files and the configuration files
// that change form go through here.
#include <functional>
#include <string>

namespace tk {

enum class FileRead { Absent, Unreadable, Read, Stopped };

// The whole content of a file. A folder of that name counts as absent. keepGoing, when
// given, is asked before each megabyte is read: false stops the reading (Stopped).
FileRead ReadWholeFile(const std::wstring& path, std::string& bytes,
                       const std::function<bool()>& keepGoing = {});

// Whether the file can be opened for reading now: Absent, Read (it can) or Unreadable (it
// is there, but another program holds it without sharing, or access is refused). An
// unreadable file is tried again every 100 ms for up to waitMs: a backup or a virus scanner
// holds a file only for a moment. keepGoing, when given, is asked between two tries: false
// ends the wait (Stopped).
FileRead WaitReadable(const std::wstring& path, unsigned waitMs,
                      const std::function<bool()>& keepGoing = {});

// Replaces the file's content so that it is never lost or half-written: the bytes go to a
// temporary file beside it ("name.new"), which then takes the file's place in one step.
// On any failure the previous file stays as it was and false comes back.
bool ReplaceFileContent(const std::wstring& path, const std::string& bytes);

} // namespace tk
