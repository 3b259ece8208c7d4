// Files that are not what their name says, or that lie: each fails (or decodes) without a
// crash, a hang or a leak, and the control keeps the picture it had.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>

#include "controls/FitImage.h"
#include "tests/support/Photos.h"
#include "tests/support/Pictures.h"
#include "tests/support/ProcessMemory.h"
#include "tests/support/TempDir.h"
#include "toolkit/Counters.h"
#include "toolkit/Log.h"

namespace {

class BadFiles : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(MakeSolidJpeg(dir_ / L"good.jpg", 640, 480, 0x00FF00));
        good_ = ReadFileBytes(dir_ / L"good.jpg");
        ASSERT_TRUE(image_.LoadFromFile(dir_ / L"good.jpg", 189, 141));
        gdiBefore_ = tk::Counts().gdiObjects;
    }

    // Loads a file that must fail; the previous picture stays, nothing leaks.
    void ExpectRefused(const std::string& bytes, const char* what) {
        const std::wstring path = dir_ / L"bad.jpg";
        WriteFileBytes(path, bytes);
        EXPECT_FALSE(image_.LoadFromFile(path, 1920, 1080)) << what;
        EXPECT_FALSE(image_.LoadFromFile(path)) << what;
        EXPECT_EQ(image_.Picture().Width(), 189) << what;
        EXPECT_EQ(image_.SourceWidth(), 640) << what;
        EXPECT_EQ(tk::Counts().gdiObjects, gdiBefore_) << what;
    }

    TempDir dir_;
    FitImage image_;
    std::string good_;
    long gdiBefore_ = 0;
};

SIZE_T PeakCommit() {
    return ProcessMemory().PeakPagefileUsage;
}

} // namespace

TEST_F(BadFiles, ZeroBytes) {
    ExpectRefused("", "zero bytes");
}

TEST_F(BadFiles, Truncated) {
    ExpectRefused(good_.substr(0, good_.size() / 2), "half a file");
    ExpectRefused(good_.substr(0, 200), "the header only");
}

TEST_F(BadFiles, RandomBytes) {
    std::mt19937 rng(3);
    std::string bytes(20000, '\0');
    for (char& c : bytes)
        c = char(rng());
    ExpectRefused(bytes, "random bytes");
    ExpectRefused("\xFF\xD8" + bytes, "random bytes after a JPEG start");
}

TEST_F(BadFiles, PngRenamedToJpg) {
    ExpectRefused(
        std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\x02\x80\0\0\x01\xE0\x08\x02\0\0\0", 29) +
            std::string(200, '\0'),
        "PNG");
}

TEST_F(BadFiles, MissingFile) {
    EXPECT_FALSE(image_.LoadFromFile(dir_ / L"absent.jpg", 100, 100));
    EXPECT_EQ(image_.Picture().Width(), 189);
}

// A header that claims 65,000 x 65,000 pixels is refused before anything is allocated; one
// that claims 16,000 x 16,000 is decoded scaled and fails at the end of its data.
TEST_F(BadFiles, HugeClaimedSize) {
    const SIZE_T peak = PeakCommit();
    const DWORD start = GetTickCount();
    ExpectRefused(WithClaimedSize(good_, 65000, 65000), "65000 x 65000");
    ExpectRefused(WithClaimedSize(good_, 16000, 16000), "16000 x 16000");
    EXPECT_LT(PeakCommit() - peak, SIZE_T(64) << 20);
    EXPECT_LT(GetTickCount() - start, 20000u); // no hang (a generous bound: the machine is shared)
}

TEST_F(BadFiles, NothingLeaksOverManyFailures) {
    const std::string bad = good_.substr(0, good_.size() / 2);
    WriteFileBytes(dir_ / L"bad.jpg", bad);
    for (int i = 0; i < 5; ++i)
        image_.LoadFromFile(dir_ / L"bad.jpg", 1920, 1080);
    const PROCESS_MEMORY_COUNTERS_EX before = ProcessMemory();
    for (int i = 0; i < 200; ++i) {
        image_.LoadFromFile(dir_ / L"bad.jpg", 1920, 1080);
        image_.LoadFromFile(dir_ / L"good.jpg", 1920, 1080);
    }
    const PROCESS_MEMORY_COUNTERS_EX after = ProcessMemory();
    EXPECT_LT(after.PrivateUsage, before.PrivateUsage + (SIZE_T(8) << 20));
    EXPECT_EQ(tk::Counts().gdiObjects, gdiBefore_);
}

// The other formats' bad files, one table: each is shown correctly (a decoder may forgive a
// bad checksum over intact data, as Wine's does) or refused with a line in the log and the
// previous picture kept; quickly, and with no COM object, GDI object or memory left behind.
// A header claiming 30,000 x 30,000 pixels is refused before any decoder sees it (Wine's PNG
// decoder would decode it all at once).
TEST_F(BadFiles, OtherFormatsAreShownOrFailWithAWord) {
    const std::string png = PngBytes(64, 48, 0, 8, std::string(64 * 48, '\x80'), 64);
    std::string badChecksum = png;
    badChecksum[badChecksum.size() - 13] ^= 0x55; // the last byte of IDAT's checksum
    const TiffPage bombPage{30000, 30000, 3, 2, std::string(64, '\0')};
    struct Case {
        const char* what;
        const wchar_t* name;
        std::string bytes;
        bool mayShow;
        const wchar_t* why = L""; // what the log says of it
    } cases[] = {
        {"a truncated PNG", L"bad.png", png.substr(0, png.size() / 2), false},
        {"a PNG with a bad checksum", L"bad.png", badChecksum, true},
        {"a PNG of 0 bytes", L"bad.png", "", false},
        {"a GIF with no frame", L"bad.gif", std::string("GIF89a\x40\0\x30\0\0\0\0;", 14), false},
        // What no signature names goes to libjpeg, which refuses it.
        {"text named .png", L"bad.png", "These are the notes of the holiday, not a picture.", false,
         L"no picture this program reads"},
        {"a PNG claiming 30000 x 30000", L"bad.png", WithPngSize(png, 30000, 30000), false,
         L"header claims 30000 x 30000 pixels"},
        {"a TIFF claiming 30000 x 30000", L"bad.tif", TiffBytes({bombPage}), false,
         L"header claims 30000 x 30000 pixels"},
    };
    const long comBefore = tk::Counts().comObjects;
    const SIZE_T peak = PeakCommit();
    for (const Case& c : cases) {
        tk::LogCapture log;
        const std::wstring path = dir_ / c.name;
        WriteFileBytes(path, c.bytes);
        ASSERT_TRUE(image_.LoadFromFile(dir_ / L"good.jpg", 189, 141));
        if (image_.LoadFromFile(path, 1920, 1080)) {
            EXPECT_TRUE(c.mayShow) << c.what;
            EXPECT_EQ(image_.Picture().Width(), 64) << c.what;
            EXPECT_EQ(image_.Picture().Bits()[0], 0x808080u) << c.what;
        } else {
            EXPECT_EQ(image_.Picture().Width(), 189) << c.what;
            EXPECT_TRUE(log.Holds(L"cannot show " + path)) << c.what;
            EXPECT_TRUE(log.Holds(c.why)) << c.what;
        }
        EXPECT_EQ(tk::Counts().comObjects, comBefore) << c.what;
        EXPECT_EQ(tk::Counts().gdiObjects, gdiBefore_) << c.what;
        DeleteFileW(path.c_str());
    }
    EXPECT_LT(PeakCommit() - peak, SIZE_T(64) << 20);
}
