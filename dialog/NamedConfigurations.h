#pragma once
// The files behind the named configurations of the bottom band.
#include <string>

// Whether the configuration has its file (a folder of that name is none).
bool ConfigurationFileExists(const std::wstring& installDir, const std::wstring& name);

// Deletes the configuration's file, then its memory of seen photos (when that name is
// set), whose failure is ignored. False, with the
// path that could not be deleted, when the configuration's own file stays; nothing else is
// touched then.
bool DeleteConfigurationFiles(const std::wstring& installDir, const std::wstring& name,
                              const std::wstring& memoryName, std::wstring& failedPath);
