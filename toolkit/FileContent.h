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

// A backup or a virus scanner holds a file only for a moment: a file that is Unreadable is
// tried again every kLockedFileRetryMs for up to kLockedFileWaitMs.
constexpr unsigned kLockedFileWaitMs = 3000;
constexpr unsigned kLockedFileRetryMs = 20;

// Runs attempt, and again while it gives Unreadable, as long as the wait lasts; what the last
// attempt gave. keepGoing, when given, is asked between two attempts: false ends the wait
// (Stopped).
FileRead RetryWhileUnreadable(const std::function<FileRead()>& attempt,
                              const std::function<bool()>& keepGoing = {});

// Whether the file can be opened for reading: Absent, Read (it can) or Unreadable (it is
// there, but another program holds it without sharing, or access is refused), waiting as
// above for one that is held.
FileRead WaitReadable(const std::wstring& path, const std::function<bool()>& keepGoing = {});

// Replaces the file's content so that it is never lost or half-written: the bytes go to a
// temporary file beside it ("name.new"), which then takes the file's place in one step.
// On any failure the previous file stays as it was and false comes back.
bool ReplaceFileContent(const std::wstring& path, const std::string& bytes);

} // namespace tk
