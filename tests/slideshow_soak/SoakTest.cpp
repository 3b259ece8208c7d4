// The short soak: 300 refills of the fastest strip with one file in ten corrupt. Nothing
// the program creates may pile up (bench/soak runs the long one).
#include <gtest/gtest.h>

#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"
#include "toolkit/MsgBox.h"

TEST(Soak, FastestStripWithCorruptFilesLeaksNothing) {
    tk::SetBoxHook([](const tk::BoxRequest&) { return IDOK; });
    TempDir dir;
    const tk::ResourceCounts before = tk::Counts();
    rig::SoakResult r = rig::Soak(dir.Path(), 300);
    EXPECT_FALSE(r.closed);
    EXPECT_GE(r.refills, 300);
    EXPECT_EQ(r.loads, r.refills); // every refill found a good file after the bad ones
    EXPECT_EQ(r.late.gdiObjects, r.early.gdiObjects);
    EXPECT_EQ(r.late.windows, r.early.windows);
    // Memory is noisier than the counts: a few megabytes of allocator slack are fine, a
    // picture per refill (tens of megabytes) is not.
    EXPECT_LT(r.late.privateMb - r.early.privateMb, 8.0);
    PumpMessages();
    EXPECT_EQ(tk::Counts().windows, before.windows);
    EXPECT_EQ(tk::Counts().gdiObjects, before.gdiObjects);
    tk::SetBoxHook(nullptr);
}
