#pragma once
// Points the registry's install folder at a folder of the test's for its lifetime, and puts
// the value back afterwards.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "Globals/Globals.h"

class InstallFolder {
  public:
    explicit InstallFolder(const std::wstring& folder) {
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kInstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr);
        wchar_t old[MAX_PATH] = {};
        DWORD bytes = sizeof old, type = 0;
        hadOld_ = RegQueryValueExW(key_, L"InstallDir", nullptr, &type,
                                   reinterpret_cast<BYTE*>(old), &bytes) == ERROR_SUCCESS;
        old_ = old;
        Set(folder);
    }
    ~InstallFolder() {
        if (hadOld_)
            Set(old_);
        else
            RegDeleteValueW(key_, L"InstallDir");
        RegCloseKey(key_);
    }
    InstallFolder(const InstallFolder&) = delete;
    InstallFolder& operator=(const InstallFolder&) = delete;

  private:
    void Set(const std::wstring& value) {
        RegSetValueExW(key_, L"InstallDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD((value.size() + 1) * sizeof(wchar_t)));
    }
    HKEY key_ = nullptr;
    bool hadOld_ = false;
    std::wstring old_;
};

// "config.ini" naming "config 1", and "config 1.cfg" with the given options.
inline void WriteConfiguration(const std::wstring& folder,
                               const std::vector<std::pair<std::wstring, std::wstring>>& options) {
    const std::wstring ini = folder + L"config.ini", cfg = folder + L"config 1.cfg";
    WritePrivateProfileStringW(L"Config", L"cfgname", L"config 1", ini.c_str());
    for (const auto& [key, value] : options)
        WritePrivateProfileStringW(L"Options", key.c_str(), value.c_str(), cfg.c_str());
}
