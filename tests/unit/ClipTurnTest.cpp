// The turn a clip's video track header names, read from files made box by box: one table of
// matrices and box layouts, and every file cut short at every length.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "toolkit/ClipTurn.h"

namespace {

constexpr int k = 0x10000; // 1.0 in the matrix

std::string Be(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
std::string Box(const char* type, const std::string& content) {
    return Be(uint32_t(8 + content.size())) + type + content;
}
// A track header (of version 0 or 1) whose matrix turns by a b c d, with a phone's shift.
std::string Tkhd(int a, int b, int c, int d, char version = 0) {
    std::string content(version ? 52 : 40, '\0');
    content[0] = version;
    for (int v : {a, b, 0, c, d, 0, 180 * k, 0, 0x40000000})
        content += Be(uint32_t(v));
    return Box("tkhd", content + Be(320u * k) + Be(180u * k));
}
std::string Trak(const char* handler, const std::string& tkhd) {
    const std::string hdlr = Box("hdlr", std::string(8, '\0') + handler + std::string(13, '\0'));
    return Box("trak", tkhd + Box("mdia", Box("mdhd", std::string(24, '\0')) + hdlr));
}
const std::string kHead = Box("ftyp", "isom" + Be(0) + "isom") + Box("mdat", "data");
std::string Movie(const std::string& traks) {
    return kHead + Box("moov", Box("mvhd", std::string(100, '\0')) + traks);
}
const std::string kUpright = Trak("vide", Tkhd(0, k, -k, 0));

// reads: how many reads the walk made.
tk::ClipTurn Read(const std::string& file, int* reads = nullptr) {
    return tk::ReadClipTurn(file.size(), [&](uint64_t at, uint8_t* into, size_t n) -> size_t {
        if (reads) ++*reads;
        if (at >= file.size()) return 0;
        n = std::min<size_t>(n, file.size() - at);
        std::memcpy(into, file.data() + at, n);
        return n;
    });
}

TEST(ClipTurn, ReadFromTheVideoTrackHeader) {
    std::string moov64 = Movie(kUpright).substr(kHead.size()); // the movie box, 64-bit sized
    moov64 = Be(1) + "moov" + Be(0) + Be(uint32_t(moov64.size() + 8)) + moov64.substr(8);
    // A hostile file: more tiny boxes before the movie than the walk looks through.
    std::string crowded = kHead;
    for (int i = 0; i < 5000; ++i)
        crowded += Box("free", "");
    crowded += Movie(kUpright).substr(kHead.size());
    std::string tooLong = Movie(kUpright);
    tooLong[tooLong.find("mdia") - 1] += 8; // past the end of its track
    struct Case {
        const char* what;
        std::string file;
        bool known;
        int degrees;
        bool problem;
    } cases[] = {
        {"a phone held upright", Movie(kUpright), true, 90, false},
        {"upside down", Movie(Trak("vide", Tkhd(-k, 0, 0, -k))), true, 180, false},
        {"held the other way", Movie(Trak("vide", Tkhd(0, -k, k, 0))), true, 270, false},
        {"no turn", Movie(Trak("vide", Tkhd(k, 0, 0, k))), true, 0, false},
        {"version 1 header", Movie(Trak("vide", Tkhd(0, k, -k, 0, 1))), true, 90, false},
        {"sound track first", Movie(Trak("soun", Tkhd(k, 0, 0, k)) + kUpright), true, 90, false},
        {"two video tracks: the first one's", Movie(kUpright + Trak("vide", Tkhd(-k, 0, 0, -k))),
         true, 90, false},
        {"slanted", Movie(Trak("vide", Tkhd(k / 2, k / 2, -k / 2, k / 2))), true, 0, true},
        {"mirrored", Movie(Trak("vide", Tkhd(-k, 0, 0, k))), true, 0, true},
        {"64-bit box size", kHead + moov64, true, 90, false},
        {"size 0: to the end", kHead + Be(0) + Movie(kUpright).substr(kHead.size() + 4), true, 90,
         false},
        {"sound alone", Movie(Trak("soun", Tkhd(0, k, -k, 0))), false, 0, false},
        {"a header too short for its matrix", Movie(Trak("vide", Box("tkhd", std::string(60, 0)))),
         false, 0, false},
        {"a box larger than its parent", tooLong, false, 0, false},
        {"a size smaller than a header", kHead + Be(4) + "moov" + kUpright, false, 0, false},
        {"an AVI file", "RIFF" + Be(0) + "AVI LIST" + kUpright, false, 0, false},
        {"5000 boxes before the movie", crowded, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int reads = 0;
        const tk::ClipTurn turn = Read(c.file, &reads);
        EXPECT_LT(reads, 4200) << "a walk of bounded length";
        EXPECT_EQ(turn.known, c.known);
        EXPECT_EQ(turn.degrees, c.degrees);
        EXPECT_EQ(!turn.problem.empty(), c.problem);
    }
    const std::string whole = Movie(kUpright);
    for (size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_FALSE(Read(whole.substr(0, cut)).known) << "cut at " << cut;
}

} // namespace
