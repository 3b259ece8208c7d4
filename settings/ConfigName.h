#pragma once
// Configuration names stand in file names of the install folder: "name.cfg" for the
// configuration, "name.tmp" for its memory of the photos seen. A name that is read from a
// file (config.ini, a .cfg) could have been edited by hand or planted: one holding a path
// separator would lead outside the install folder, one that is a device name would open the
// device. Such a name is never used as a path.
#include <string>

// False when the name is empty or blank, holds any of \ / : * ? " < > |, or is a reserved
// device name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-9, LPT0-9, also with an extension or
// trailing spaces, in any case).
bool IsUsableConfigName(const std::wstring& name);

// A configuration's file, installDir + name + ".cfg", and the memory of the photos seen that
// a configuration names, installDir + memoryName + ".tmp".
std::wstring ConfigFilePath(const std::wstring& installDir, const std::wstring& configName);
std::wstring MemoryFilePath(const std::wstring& installDir, const std::wstring& memoryName);
