#pragma once
// The screen-saver command line: which of the four run modes a start asks for.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The run's mode: what the start asks for, read once from the command line.
enum RunModeKind : uint8_t { rmPasswordChange = 0, rmPreview = 1, rmConfigure = 2, rmSaver = 3 };

struct CommandLine {
    std::wstring arg1; // upper-cased (ASCII letters only)
    std::wstring arg2;
};

// Arguments 1 and 2 of the program's command line, absent ones empty, both upper-cased.
CommandLine ReadCommandLine(const std::vector<std::wstring>& args);
CommandLine ReadProcessCommandLine();

// A, P and C (with "/" or "-" or alone) select password change, preview and configure;
// no argument configures; anything else runs the saver.
RunModeKind ClassifyRunMode(const std::wstring& upperArg1);

// The decimal text of a window handle; nothing for text that is not a number.
std::optional<HWND> ParseWindowHandle(const std::wstring& text);
