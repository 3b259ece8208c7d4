#pragma once
// Points the registry's install folder at a folder of the test's for its lifetime, and puts
// the value back afterwards.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/Registry.h"

class InstallFolder {
  public:
    explicit InstallFolder(const std::wstring& folder) { value_.SetString(folder); }

  private:
    ScopedRegValue value_{HKEY_LOCAL_MACHINE, kTestInstallKey, L"InstallDir"};
};

// "config.ini" naming "config 1", and "config 1.cfg" with the given options.
inline void WriteConfiguration(const std::wstring& folder,
                               const std::vector<std::pair<std::wstring, std::wstring>>& options) {
    const std::wstring ini = folder + L"config.ini", cfg = folder + L"config 1.cfg";
    WritePrivateProfileStringW(L"Config", L"cfgname", L"config 1", ini.c_str());
    for (const auto& [key, value] : options)
        WritePrivateProfileStringW(L"Options", key.c_str(), value.c_str(), cfg.c_str());
}
