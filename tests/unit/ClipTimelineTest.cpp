// The clock of a clip drawn by the program: the first frame's stamp as the clip's zero, the
// position while it plays and pauses, when a frame is due, and the end and the loop.
#include <gtest/gtest.h>

#include "toolkit/ClipReader.h"
#include "toolkit/ClipSignature.h"
#include "toolkit/ClipTimeline.h"

using tk::ClipTimeline;
using State = ClipTimeline::State;
using Verdict = ClipTimeline::Verdict;

namespace {

TEST(ClipTimeline, TheFirstStampIsTheClipsZero) {
    struct Case {
        long long origin, stamp, ms;
    } cases[] = {
        {800000, 800000, 0},    // an MP4 whose first frame comes at 80 ms
        {800000, 1200000, 40},  // its second frame
        {5400000, 5800000, 40}, // an MPEG-1 file starting at 540 ms
        {800000, 0, 0},         // a stamp before the first: never before the start
        {0, 20000000, 2000},
    };
    for (const Case& c : cases) {
        ClipTimeline t;
        t.SetOrigin(c.origin);
        EXPECT_EQ(t.ClipMs(c.stamp), c.ms) << c.origin << " " << c.stamp;
        EXPECT_EQ(t.StampAt(c.ms), std::max(c.stamp, c.origin)) << "seeks go back to stamps";
    }
}

// After a seek, the frames that end by its target are passed over: at a frame's very start,
// that frame shows, not the one ending there (a duration not told counts as 1 ms).
TEST(ClipTimeline, ASeekShowsTheFrameThatStartsAtItsTarget) {
    EXPECT_TRUE(ClipTimeline::EndsBy(160, 40, 200));  // ends where the next starts
    EXPECT_FALSE(ClipTimeline::EndsBy(200, 40, 200)); // starts there
    EXPECT_FALSE(ClipTimeline::EndsBy(160, 41, 200)); // still under way
    EXPECT_TRUE(ClipTimeline::EndsBy(199, 0, 200));
    EXPECT_FALSE(ClipTimeline::EndsBy(200, 0, 200));
}

TEST(ClipTimeline, PlaysPausesAndResumesOnTheWallClock) {
    ClipTimeline t;
    t.SetLength(2000);
    EXPECT_EQ(t.Now(), State::Stopped);
    EXPECT_EQ(t.Position(5000), 0);
    t.Pause(5000);
    EXPECT_EQ(t.Now(), State::Stopped) << "only a playing clip pauses";
    t.Play(1000);
    EXPECT_EQ(t.Position(1500), 500);
    t.Play(1400); // already playing: goes on as it was
    EXPECT_EQ(t.Position(1500), 500);
    t.Pause(1500);
    EXPECT_EQ(t.Now(), State::Paused);
    EXPECT_EQ(t.Position(9000), 500);
    t.Play(9000);
    EXPECT_EQ(t.Position(9100), 600);
    EXPECT_EQ(t.Position(20000), 2000) << "held at the length";
    t.SeekTo(5000);
    EXPECT_EQ(t.Position(0), 2000) << "a seek stays within the clip";
    EXPECT_EQ(t.Now(), State::Stopped);
}

TEST(ClipTimeline, FramesWaitForTheirTimeAndLateOnesAreSkipped) {
    constexpr long long L = ClipTimeline::kLateMs;
    struct Case {
        long long frame, now, drawn; // drawn -1: no frame drawn yet
        Verdict verdict;
        long long wait;
    } cases[] = {
        {440, 1000, 1000, Verdict::Wait, 40},
        {440, 1040, 1000, Verdict::Show, 0},
        {440, 1040 + L, 1039 + L, Verdict::Show, 0},
        {440, 1041 + L, 1040 + L, Verdict::Skip, 0},
        {200, 1000, 990, Verdict::Skip, 0}, // well before where the play began
        // Nothing drawn for kLateMs (a decoder slower than the clip): drawn however late.
        {440, 1041 + L, 1041, Verdict::Show, 0},
        {200, 1000, -1, Verdict::Show, 0},
    };
    for (const Case& c : cases) {
        ClipTimeline t;
        t.SetLength(2000);
        t.SeekTo(400);
        long long wait = 0;
        EXPECT_EQ(t.Judge(440, 1000, wait), Verdict::Wait) << "not playing";
        EXPECT_EQ(wait, -1) << "waits for a play";
        t.Play(1000); // from 400
        if (c.drawn >= 0) t.Drawn(c.drawn);
        EXPECT_EQ(t.Judge(c.frame, c.now, wait), c.verdict) << c.frame << " at " << c.now;
        EXPECT_EQ(wait, c.wait) << c.frame << " at " << c.now;
    }
}

TEST(ClipTimeline, EndsOnItsLastFrameAndLoopsFromTheStart) {
    struct Case {
        long long told, lastFrameEnd, length;
    } cases[] = {
        {2000, 2000, 2000},
        {1840, 2000, 2000}, // a file that tells less than its frames run
        {0, 1500, 1500},    // one that tells nothing
    };
    for (const Case& c : cases) {
        ClipTimeline t;
        t.SetLength(c.told);
        t.Play(0);
        EXPECT_FALSE(t.AtEnd());
        t.End(c.lastFrameEnd);
        EXPECT_EQ(t.Now(), State::Stopped);
        EXPECT_TRUE(t.AtEnd());
        EXPECT_EQ(t.Length(), c.length);
        EXPECT_EQ(t.Position(99999), c.length) << "stopped on its end";
        t.SeekTo(0);
        EXPECT_FALSE(t.AtEnd());
        t.Play(100000);
        EXPECT_EQ(t.Position(100040), 40) << "played again from the start";
    }
}

TEST(ClipBudget, PicturesUpTo4096x2304AreAccepted) {
    struct Case {
        int w, h;
        bool fits;
    } cases[] = {{320, 240, true},    {3840, 2160, true},  {2160, 3840, true}, {4096, 2304, true},
                 {2304, 4096, true},  {4096, 2305, false}, {4097, 100, false}, {100, 4097, false},
                 {8192, 8192, false}, {0, 240, false},     {320, -1, false}};
    for (const Case& c : cases)
        EXPECT_EQ(tk::ClipFitsBudget(c.w, c.h), c.fits) << c.w << "x" << c.h;
}

TEST(ClipSignature, OnlyVideoContainersGoToMediaFoundation) {
    std::string ts(189, '\0');
    ts[0] = ts[188] = 0x47;
    std::string halfTs = ts;
    halfTs[188] = 0;
    const struct Case {
        std::string head;
        bool video;
    } cases[] = {
        {std::string("\0\0\0\x20"
                     "ftypisom",
                     12),
         true}, // MP4, M4V
        {std::string("\0\0\0\x14"
                     "ftyp3gp4",
                     12),
         true}, // 3GP
        {std::string("\0\0\0\x08"
                     "wide",
                     8),
         true}, // QuickTime
        {std::string("\0\0\0\x6C"
                     "moov",
                     8),
         true},
        {std::string("\0\0\x01\xBA\x44", 5), true},                     // MPEG-1 program stream
        {std::string("\0\0\x01\xB3\x14", 5), true},                     // MPEG video
        {std::string("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6", 9), true}, // ASF, WMV
        {std::string("RIFF\0\0\0\0AVI LIST", 16), true},
        {std::string("DKIF\0\0", 6), true},
        {std::string("\x1A\x45\xDF\xA3", 4), true},
        {ts, true},
        {halfTs, false},
        {std::string("RIFF\0\0\0\0WAVEfmt ", 16), false},
        {"\xFF\xD8\xFF\xE0 this is not the rest of a JPEG file", false},
        {"ID3\x03", false}, // sound
        {"", false},
        {std::string("\0\0\0\x20"
                     "ftyp",
                     7),
         false}, // cut short
    };
    for (const Case& c : cases)
        EXPECT_EQ(tk::LooksLikeVideoContainer(reinterpret_cast<const uint8_t*>(c.head.data()),
                                              c.head.size()),
                  c.video)
            << testing::PrintToString(c.head);
}

} // namespace
