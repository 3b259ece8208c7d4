// The built program file itself: a 32-bit saver that may use up to 4 GB on 64-bit Windows
// (two 4K monitors full of tiles hold over a gigabyte of pictures).
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "tests/support/SaverProcess.h"
#include "toolkit/Handles.h"

namespace {

TEST(ProgramFile, IsA32BitProgramThatIsLargeAddressAware) {
    tk::FileHandle file(CreateFileW((BuildFolder() + L"Vistamur.scr").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    std::vector<BYTE> head(4096);
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(file.Get(), head.data(), DWORD(head.size()), &read, nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(head.data());
    ASSERT_LT(size_t(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32), size_t(read));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(head.data() + dos->e_lfanew);
    EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);
}

} // namespace
