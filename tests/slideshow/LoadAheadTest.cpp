// The worker that prepares a show's next photo, without windows: what it makes of a file,
// and that its owner never waits for it.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "saver/LoadAhead.h"
#include "tests/support/Photos.h"
#include "tests/support/Rig.h"
#include "tests/support/TempDir.h"
#include "toolkit/Handles.h"
#include "toolkit/Text.h"

namespace {

std::optional<LoadAhead::Result> WaitForResult(LoadAhead& loader) {
    std::optional<LoadAhead::Result> result;
    WaitUntil([&] { return (result = loader.TakeResult()).has_value(); }, 20000);
    return result;
}

} // namespace

// A photo fitted to the tile's area; a file that fails or throws comes back as a failure.
TEST(LoadAhead, PreparesAPhotoAndReportsAFailureOfAnyKind) {
    TempDir dir;
    ASSERT_TRUE(MakeSolidJpeg(dir / L"wide.jpg", 800, 200, 0x0000FF));
    MakeCorruptFile(dir / L"broken.jpg");
    const struct {
        std::wstring path;
        bool throws;
        int width, height; // 0: a failure
    } cases[] = {
        {dir / L"wide.jpg", false, 400, 100},
        {dir / L"broken.jpg", false, 0, 0},
        {dir / L"vanished.jpg", false, 0, 0},
        {dir / L"wide.jpg", true, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << tk::Narrow(c.path) << (c.throws ? " throws" : ""));
        LoadAhead loader(nullptr, 0, [&](const PictureRequest& r, const auto& stopped) {
            if (c.throws) throw std::runtime_error("no memory");
            return PreparePicture(r, stopped);
        });
        ASSERT_TRUE(loader.Start({c.path, 400, 300, true, false}));
        EXPECT_FALSE(loader.Start({c.path, 400, 300})) << "one job at a time";
        const auto result = WaitForResult(loader);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->path, c.path);
        EXPECT_EQ(result->prepared.Ready(), c.width > 0);
        EXPECT_EQ(result->prepared.picture.Width(), c.width);
        EXPECT_EQ(result->prepared.picture.Height(), c.height);
        EXPECT_EQ(result->prepared.failure.empty(), c.width > 0);
        EXPECT_FALSE(loader.Busy());
    }
}

// Reads that never return (a share gone): the owner goes on without waiting, each abandoned
// job is told its result is not wanted, and no more than the cap of them are left running:
// the next job waits until one of them ends.
TEST(LoadAhead, AbandonedReadsAreCappedAndTheirResultsDropped) {
    tk::KernelHandle readsReturn(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<int> toldStopped{0};
    const long before = tk::Worker::Running();
    {
        LoadAhead loader(nullptr, 0, [&](const PictureRequest&, const auto& stopped) {
            WaitForSingleObject(readsReturn.Get(), INFINITE);
            toldStopped += stopped() ? 1 : 0;
            return PreparedPicture{};
        });
        for (size_t i = 0; i < LoadAhead::kMaxAbandoned; ++i) {
            ASSERT_TRUE(loader.Start({L"X:\\gone\\photo" + std::to_wstring(i) + L".jpg", 400, 300}))
                << "a new job at once";
            loader.Abandon();
            EXPECT_FALSE(loader.TakeResult());
        }
        EXPECT_FALSE(loader.CanStart()) << "more hung reads than the cap";
        SetEvent(readsReturn.Get());
        EXPECT_TRUE(WaitUntil([&] { return loader.CanStart(); }, 20000));
    }
    EXPECT_TRUE(WaitUntil([&] { return tk::Worker::Running() == before; }, 20000));
    EXPECT_EQ(toldStopped, int(LoadAhead::kMaxAbandoned));
}
