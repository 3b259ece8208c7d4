#include "settings/ConfigName.h"

#include <array>

namespace {

wchar_t UpperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c;
}

// The system takes a name as a device when the part before its first dot, less trailing
// spaces, is one of these: "nul.txt" and "Con .cfg" open devices too. The superscript digits
// count as digits there.
bool IsDeviceName(const std::wstring& name) {
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ')
        base.pop_back();
    for (wchar_t& c : base)
        c = UpperAscii(c);
    // CONIN$ and CONOUT$ name the console's input and output.
    static const std::array<const wchar_t*, 6> plain = {L"CON", L"PRN",    L"AUX",
                                                        L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : plain)
        if (base == device) return true;
    if (base.size() != 4 || (base.compare(0, 3, L"COM") != 0 && base.compare(0, 3, L"LPT") != 0))
        return false;
    const wchar_t digit = base[3];
    return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' ||
           digit == L'\u00B3';
}

// A name of blanks only would show as an empty line in the list, and the system drops
// trailing blanks from a file name: it counts as empty.
bool IsBlankName(const std::wstring& name) {
    return name.find_first_not_of(L" \t") == std::wstring::npos;
}

} // namespace

bool IsUsableConfigName(const std::wstring& name) {
    return !IsBlankName(name) && name.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos &&
           !IsDeviceName(name);
}

std::wstring ConfigFilePath(const std::wstring& installDir, const std::wstring& configName) {
    return installDir + configName + L".cfg";
}

std::wstring MemoryFilePath(const std::wstring& installDir, const std::wstring& memoryName) {
    return installDir + memoryName + L".tmp";
}
