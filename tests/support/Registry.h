#pragma once
// A registry value that a test sets for its own run and gives back as it found it: the old
// data is restored, or the value removed, and the keys the test had to create are deleted.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "toolkit/NonCopyable.h"

class ScopedRegValue : private tk::NonCopyable {
  public:
    ScopedRegValue(HKEY root, std::wstring subkey, std::wstring name);
    ~ScopedRegValue();

    bool SetString(const std::wstring& value);
    bool SetDword(DWORD value);
    void Remove(); // the value only; the key stays while the guard lives

  private:
    bool Write(DWORD type, const void* data, DWORD bytes);

    HKEY root_;
    std::wstring subkey_, name_;
    bool hadValue_ = false;
    DWORD oldType_ = 0;
    std::vector<BYTE> oldData_;
    std::vector<std::wstring> createdKeys_; // deepest last
};

bool RegKeyExists(HKEY root, const std::wstring& subkey);
// A value's data, or nothing when the value is missing or of another type.
std::optional<std::wstring> ReadRegString(HKEY root, const std::wstring& subkey,
                                          const std::wstring& name);
std::optional<DWORD> ReadRegDword(HKEY root, const std::wstring& subkey, const std::wstring& name);

// The install folder the program reads from HKLM.
constexpr const wchar_t* kTestInstallKey = L"SOFTWARE\\Korvane\\VistamurSs";
