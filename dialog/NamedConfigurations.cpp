#include "dialog/NamedConfigurations.h"

#include <windows.h>

#include "settings/ConfigName.h"
#include "toolkit/Text.h"
#include "toolkit/Log.h"

bool ConfigurationFileExists(const std::wstring& installDir, const std::wstring& name) {
    const DWORD attributes = GetFileAttributesW(ConfigFilePath(installDir, name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteConfigurationFiles(const std::wstring& installDir, const std::wstring& name,
                              const std::wstring& memoryName, std::wstring& failedPath) {
    const std::wstring file = ConfigFilePath(installDir, name);
    if (!DeleteFileW(file.c_str())) {
        tk::Log(L"cannot delete " + file + L", error " + tk::IntToStr(GetLastError()));
        failedPath = file;
        return false;
    }
    // A memory name that is no plain file name was never used for a file: nothing outside the
    // install folder is deleted for it.
    if (IsUsableConfigName(memoryName)) {
        const std::wstring memory = MemoryFilePath(installDir, memoryName);
        if (!DeleteFileW(memory.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
            tk::Log(L"cannot delete " + memory);
    }
    return true;
}
