#include "tests/support/Registry.h"

ScopedRegValue::ScopedRegValue(HKEY root, std::wstring subkey, std::wstring name)
    : root_(root), subkey_(std::move(subkey)), name_(std::move(name)) {
    // Remember which keys of the path are missing, so that exactly those go at the end.
    for (size_t at = 0; at != std::wstring::npos;) {
        at = subkey_.find(L'\\', at + 1);
        std::wstring prefix = subkey_.substr(0, at);
        if (!RegKeyExists(root_, prefix)) createdKeys_.push_back(prefix);
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, subkey_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name_.c_str(), nullptr, &oldType_, nullptr, &bytes) ==
        ERROR_SUCCESS) {
        oldData_.resize(bytes);
        hadValue_ = RegQueryValueExW(key, name_.c_str(), nullptr, &oldType_, oldData_.data(),
                                     &bytes) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
}

ScopedRegValue::~ScopedRegValue() {
    if (hadValue_)
        Write(oldType_, oldData_.data(), DWORD(oldData_.size()));
    else
        Remove();
    for (auto it = createdKeys_.rbegin(); it != createdKeys_.rend(); ++it)
        RegDeleteKeyW(root_, it->c_str());
}

bool ScopedRegValue::Write(DWORD type, const void* data, DWORD bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root_, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExW(key, name_.c_str(), 0, type, static_cast<const BYTE*>(data), bytes) ==
              ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool ScopedRegValue::SetString(const std::wstring& value) {
    return Write(REG_SZ, value.c_str(), DWORD((value.size() + 1) * sizeof(wchar_t)));
}

bool ScopedRegValue::SetDword(DWORD value) {
    return Write(REG_DWORD, &value, sizeof value);
}

void ScopedRegValue::Remove() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, subkey_.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, name_.c_str());
    RegCloseKey(key);
}

// --- reading ---------------------------------------------------------------------------

std::optional<std::wstring> ReadRegString(HKEY root, const std::wstring& subkey,
                                          const std::wstring& name) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(root, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

std::optional<DWORD> ReadRegDword(HKEY root, const std::wstring& subkey, const std::wstring& name) {
    DWORD value = 0, bytes = sizeof value;
    if (RegGetValueW(root, subkey.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                     &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool RegKeyExists(HKEY root, const std::wstring& subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}
