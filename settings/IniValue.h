#pragma once
// Reading and writing single INI values through the system's private-profile functions,
// with the rules the configuration files follow.
#include <optional>
#include <stdexcept>
#include <string>

// The system refused a write: the error raised, whose text names the file.
class WriteRefused : public std::runtime_error {
  public:
    explicit WriteRefused(const std::wstring& path);
    const std::wstring& Message() const { return message_; }

  private:
    std::wstring message_;
};

// A value as an integer: decimal with an optional sign, or hexadecimal after "0x"/"0X"
// (longer than the prefix alone). Anything else, and values beyond 32 bits, are no integer.
std::optional<int> ParseIniInt(const std::wstring& text);

// The value whole, whatever its length: a long folder list cut short would drop folders, and
// a path cut in the middle would name its parent folder instead.
std::wstring ReadIniString(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                           const std::wstring& fallback);
// A value that is missing or not an integer leaves the field as it was.
void ReadIniInt(const std::wstring& file, const wchar_t* section, const wchar_t* key, int& field);
void ReadIniBool(const std::wstring& file, const wchar_t* section, const wchar_t* key, bool& field);

// Throws WriteRefused when the system refuses the write.
void WriteIniString(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                    const std::wstring& value);
void WriteIniInt(const std::wstring& file, const wchar_t* section, const wchar_t* key, int value);
void WriteIniBool(const std::wstring& file, const wchar_t* section, const wchar_t* key, bool value);
