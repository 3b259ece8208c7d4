// The built program file itself: a 32-bit saver that may use up to 4 GB on 64-bit Windows
// (two 4K monitors full of tiles hold over a gigabyte of pictures).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/SaverProcess.h"
#include "tests/support/TempDir.h"

namespace {

TEST(ProgramFile, IsA32BitProgramThatIsLargeAddressAware) {
    const std::string bytes = ReadFileBytes(BuildFolder() + L"Vistamur.scr");
    ASSERT_GE(bytes.size(), sizeof(IMAGE_DOS_HEADER));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    ASSERT_LT(size_t(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32), bytes.size());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(bytes.data() + dos->e_lfanew);
    EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);
}

} // namespace
