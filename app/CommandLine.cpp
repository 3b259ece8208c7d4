#include "app/CommandLine.h"

#include <shellapi.h>

#include "toolkit/Text.h"

CommandLine ReadCommandLine(const std::vector<std::wstring>& args) {
    CommandLine line;
    if (args.size() > 1) line.arg1 = tk::UpperAscii(args[1]);
    if (args.size() > 2) line.arg2 = tk::UpperAscii(args[2]);
    return line;
}

CommandLine ReadProcessCommandLine() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 0; argv && i < count; ++i)
        args.emplace_back(argv[i]);
    if (argv) LocalFree(argv);
    return ReadCommandLine(args);
}

namespace {
bool Selects(const std::wstring& arg, wchar_t letter) {
    if (arg.empty()) return false;
    if (arg[0] == letter) return true;
    return arg.size() >= 2 && (arg[0] == L'/' || arg[0] == L'-') && arg[1] == letter;
}
} // namespace

RunModeKind ClassifyRunMode(const std::wstring& upperArg1) {
    if (Selects(upperArg1, L'A')) return rmPasswordChange;
    if (Selects(upperArg1, L'P')) return rmPreview;
    if (upperArg1.empty() || Selects(upperArg1, L'C')) return rmConfigure;
    return rmSaver;
}

std::optional<HWND> ParseWindowHandle(const std::wstring& text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    unsigned long long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    if (value > 0xFFFFFFFFull) return std::nullopt;
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}
