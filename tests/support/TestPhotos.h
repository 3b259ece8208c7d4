#pragma once
// The HEIC and WebP photos that scripts/make-test-photos makes with Debian's encoders.
#include <string>

#include "tests/support/SaverProcess.h"

// build/test-photos\<name>: the test programs live in build/.
inline std::wstring TestPhoto(const std::wstring& name) {
    return BuildFolder() + L"test-photos\\" + name;
}
