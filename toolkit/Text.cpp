#include "toolkit/Text.h"

#include <windows.h>

namespace tk {

namespace {
std::wstring ToWide(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), (int)text.size(), out.data(), n);
    return out;
}
std::string FromWide(UINT codePage, const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), (int)text.size(), nullptr, 0, nullptr,
                                nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), (int)text.size(), out.data(), n, nullptr,
                        nullptr);
    return out;
}
} // namespace

std::wstring Widen(const std::string& ansi) {
    return ToWide(CP_ACP, ansi);
}
std::string Narrow(const std::wstring& wide) {
    return FromWide(CP_ACP, wide);
}
// Without best-fit mapping a character the code page lacks becomes the default one instead
// of a look-alike ("e" for "ě"), and the call says so.
bool FitsAnsi(const std::wstring& text) {
    if (text.empty()) return true;
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), (int)text.size(), nullptr, 0,
                        nullptr, &usedDefault);
    return !usedDefault;
}
std::wstring FromUtf8(const std::string& utf8) {
    return ToWide(CP_UTF8, utf8);
}
std::string ToUtf8(const std::wstring& wide) {
    return FromWide(CP_UTF8, wide);
}

std::wstring UpperAscii(std::wstring text) {
    for (auto& c : text)
        if (c >= L'a' && c <= L'z') c = wchar_t(c - L'a' + L'A');
    return text;
}

std::wstring IntToStr(long long value) {
    return std::to_wstring(value);
}

std::wstring HexCode(unsigned long code) {
    wchar_t text[16];
    wsprintfW(text, L"0x%08lX", code);
    return text;
}

std::wstring FormatMessageText(const std::wstring& pattern, const std::wstring& arg) {
    std::wstring out = pattern;
    auto at = out.find(L"%s");
    if (at != std::wstring::npos) out.replace(at, 2, arg);
    return out;
}

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), int(a.size()), b.c_str(),
                          int(b.size())) == CSTR_LESS_THAN;
}

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), int(a.size()), b.c_str(),
                          int(b.size())) == CSTR_EQUAL;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    // The ordinal case mapping keeps the length: names of two lengths never match.
    return a.size() == b.size() && CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(),
                                                        int(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace tk
