#pragma once
#include "app/CommandLine.h"

// The whole life of the process for one command line; always returns exit code 0.
int RunProgram(const CommandLine& line);

// Hands the password change to the system's "MPR.DLL", when it has one.
void RunPasswordChange(const std::wstring& parentArg);
