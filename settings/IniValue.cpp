#include "settings/IniValue.h"

#include <windows.h>

#include <cwctype>

#include "toolkit/FileContent.h"
#include "toolkit/Log.h"
#include "toolkit/Text.h"

WriteRefused::WriteRefused(const std::wstring& path)
    : std::runtime_error(tk::ToUtf8(tk::FormatMessageText(L"Impossible d'écrire dans %s", path))),
      message_(tk::FormatMessageText(L"Impossible d'écrire dans %s", path)) {}

std::optional<int> ParseIniInt(const std::wstring& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    bool hex =
        text.size() > i + 2 && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X');
    if (hex) i += 2;
    if (i >= text.size()) return std::nullopt;
    unsigned long long value = 0;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        int digit;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (hex && c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else if (hex && c >= L'A' && c <= L'F')
            digit = c - L'A' + 10;
        else
            return std::nullopt;
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    if (hex) { // eight hex digits wrap to a negative 32-bit value, as they are stored
        uint32_t bits = uint32_t(value);
        return int32_t(negative ? 0u - bits : bits); // unsigned: -0x80000000 is defined
    }
    long long signedValue = negative ? -(long long)value : (long long)value;
    if (signedValue < INT32_MIN || signedValue > INT32_MAX) return std::nullopt;
    return (int)signedValue;
}

std::wstring ReadIniString(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                           const std::wstring& fallback) {
    // A value that does not fit comes back cut, its length one less than the buffer's size;
    // a value of exactly that length looks the same. Either way the buffer is doubled and the
    // value read again, until it comes back shorter. Most values fit the first buffer.
    constexpr DWORD kFirstBufferChars = 2048;
    constexpr DWORD kLargestBufferChars = 1u << 24; // far beyond any line of an INI file
    std::wstring buffer(kFirstBufferChars, L'\0');
    for (;;) {
        const DWORD n = GetPrivateProfileStringW(section, key, fallback.c_str(), buffer.data(),
                                                 DWORD(buffer.size()), file.c_str());
        if (n + 1 < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        if (buffer.size() >= kLargestBufferChars) {
            tk::Log(L"value cut at " + tk::IntToStr(n) + L" characters: " + key + L" in " + file);
            buffer.resize(n);
            return buffer;
        }
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

void ReadIniInt(const std::wstring& file, const wchar_t* section, const wchar_t* key, int& field) {
    // The marker cannot be a value: keys hold no control characters.
    static const std::wstring missing = L"\x01";
    std::wstring text = ReadIniString(file, section, key, missing);
    if (text == missing) return;
    if (auto value = ParseIniInt(text)) field = *value;
}

void ReadIniBool(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                 bool& field) {
    int value = field ? 1 : 0;
    ReadIniInt(file, section, key, value);
    field = value != 0;
}

namespace {

// The private-profile functions keep a file that starts with the UTF-16 LE byte-order mark
// in UTF-16, and write anything else in the ANSI code page, where a character it lacks
// becomes "?". Before such a value is written the file changes form, its content unchanged.
bool MakeUnicodeFile(const std::wstring& file) {
    std::string bytes;
    if (tk::ReadWholeFile(file, bytes) == tk::FileRead::Unreadable) return false;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return true;
    const std::wstring text = L"\xFEFF" + tk::Widen(bytes);
    return tk::ReplaceFileContent(
        file, std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
}

} // namespace

void WriteIniString(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                    const std::wstring& value) {
    if (!tk::FitsAnsi(value) && !MakeUnicodeFile(file)) throw WriteRefused(file);
    // The reading drops blanks around a value, and a pair of quotes around it: a value with
    // blanks at an end is written between quotes so that it reads back as it was.
    const bool blankEnd = !value.empty() && (iswspace(value.front()) || iswspace(value.back()));
    const std::wstring stored = blankEnd ? L"\"" + value + L"\"" : value;
    if (!WritePrivateProfileStringW(section, key, stored.c_str(), file.c_str()))
        throw WriteRefused(file);
}

void WriteIniInt(const std::wstring& file, const wchar_t* section, const wchar_t* key, int value) {
    WriteIniString(file, section, key, tk::IntToStr(value));
}

void WriteIniBool(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                  bool value) {
    WriteIniString(file, section, key, value ? L"1" : L"0");
}
