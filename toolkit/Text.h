#pragma once
// Conversions between the program's UTF-16 text and the 8-bit forms that files keep.
#include <string>

namespace tk {

std::wstring Widen(const std::string& ansi);  // from the ANSI code page
std::string Narrow(const std::wstring& wide); // to the ANSI code page
// Whether the text goes to the ANSI code page and back unchanged.
bool FitsAnsi(const std::wstring& text);
std::wstring FromUtf8(const std::string& utf8);
std::string ToUtf8(const std::wstring& wide);
std::wstring UpperAscii(std::wstring text); // a..z only, as the command line wants
std::wstring IntToStr(long long value);
std::wstring HexCode(unsigned long code); // "0x8007000E", as an HRESULT is written
// Names compared as the user's locale orders them, letter case ignored (as file names are).
bool LessIgnoringCase(const std::wstring& a, const std::wstring& b);
bool SameIgnoringCase(const std::wstring& a, const std::wstring& b);
// Paths compared as the file system compares them: letter case ignored, whatever the locale.
bool SamePath(const std::wstring& a, const std::wstring& b);
std::wstring FormatMessageText(const std::wstring& pattern, const std::wstring& arg); // %s

} // namespace tk
