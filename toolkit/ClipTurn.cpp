#include "toolkit/ClipTurn.h"

#include <windows.h>

#include "toolkit/Handles.h"

namespace tk {

namespace {

// A hostile file of tiny boxes would otherwise keep the walk going for long.
constexpr int kMostBoxes = 4096;
constexpr int32_t kOne = 0x10000; // 1.0 in 16.16 fixed point

constexpr uint32_t Type(const char (&name)[5]) {
    return uint32_t(uint8_t(name[0])) << 24 | uint32_t(uint8_t(name[1])) << 16 |
           uint32_t(uint8_t(name[2])) << 8 | uint32_t(uint8_t(name[3]));
}

// All of the bytes asked for, or false.
bool ReadAll(const ReadAt& read, uint64_t at, uint8_t* into, size_t size) {
    return read(at, into, size) == size;
}

uint32_t Be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

struct Box {
    uint32_t type = 0;
    uint64_t content = 0; // where its content starts, past the header
    uint64_t end = 0;     // where the next box starts
    uint64_t Size() const { return end - content; }
};

// The box at `at`, which must end by `end` (its parent's end). A size of 0 runs to the end
// of the parent; a size of 1 is followed by a 64-bit size.
bool ReadBox(const ReadAt& read, uint64_t at, uint64_t end, Box& box) {
    uint8_t head[16];
    if (at > end || end - at < 8 || !ReadAll(read, at, head, 8)) return false;
    uint64_t size = Be32(head), header = 8;
    if (size == 1) {
        if (end - at < 16 || !ReadAll(read, at + 8, head + 8, 8)) return false;
        size = uint64_t(Be32(head + 8)) << 32 | Be32(head + 12);
        header = 16;
    } else if (size == 0) {
        size = end - at;
    }
    if (size < header || size > end - at) return false;
    box = {Be32(head + 4), at + header, at + size};
    return true;
}

// Calls visit(box) for each box in [begin, end) until it returns false. False when a box
// there is damaged: what follows it cannot be found.
template <class Visit>
bool EachBox(const ReadAt& read, uint64_t begin, uint64_t end, const Visit& visit) {
    uint64_t at = begin;
    for (int count = 0; at < end; ++count) {
        Box box;
        if (count == kMostBoxes || !ReadBox(read, at, end, box)) return false;
        if (!visit(box)) return true;
        at = box.end;
    }
    return true;
}

// The boxes an ISO media or QuickTime file may begin with: anything else is another kind of
// file, whose first bytes only happen to read as a size.
bool BeginsIsoFile(uint32_t type) {
    for (uint32_t t : {Type("ftyp"), Type("moov"), Type("mdat"), Type("free"), Type("skip"),
                       Type("wide"), Type("pnot"), Type("uuid")})
        if (type == t) return true;
    return false;
}

struct Track {
    bool hasMatrix = false;
    int32_t matrix[9] = {};
    uint32_t handler = 0; // "vide" for a picture
};

// The display matrix of a track header: after the version and flags, three times and the
// track's number (64-bit times in version 1), a duration, and 16 bytes of other fields.
bool ReadMatrix(const ReadAt& read, const Box& tkhd, int32_t matrix[9]) {
    uint8_t version = 0;
    if (tkhd.Size() < 4 || !ReadAll(read, tkhd.content, &version, 1)) return false;
    const uint64_t at = 4 + (version == 1 ? 32 : 20) + 16;
    uint8_t bytes[36];
    if (tkhd.Size() < at + sizeof bytes || !ReadAll(read, tkhd.content + at, bytes, sizeof bytes))
        return false;
    for (int i = 0; i < 9; ++i)
        matrix[i] = int32_t(Be32(bytes + 4 * i));
    return true;
}

// The handler's type follows its version, flags and a field of 4 bytes.
uint32_t ReadHandler(const ReadAt& read, const Box& hdlr) {
    uint8_t type[4];
    if (hdlr.Size() < 12 || !ReadAll(read, hdlr.content + 8, type, 4)) return 0;
    return Be32(type);
}

Track ReadTrack(const ReadAt& read, const Box& trak) {
    Track track;
    EachBox(read, trak.content, trak.end, [&](const Box& box) {
        if (box.type == Type("tkhd")) track.hasMatrix = ReadMatrix(read, box, track.matrix);
        if (box.type == Type("mdia"))
            EachBox(read, box.content, box.end, [&](const Box& inner) {
                if (inner.type != Type("hdlr")) return true;
                track.handler = ReadHandler(read, inner);
                return false;
            });
        return true;
    });
    return track;
}

} // namespace

int QuarterTurnOf(const int32_t m[9]) {
    // A point (p, q) of the stored picture shows at (a p + c q + x, b p + d q + y), with q
    // growing downward as on the screen.
    static const struct {
        int32_t a, b, c, d;
        int degrees;
    } kTurns[] = {{kOne, 0, 0, kOne, 0},
                  {0, kOne, -kOne, 0, 90},
                  {-kOne, 0, 0, -kOne, 180},
                  {0, -kOne, kOne, 0, 270}};
    for (const auto& t : kTurns)
        if (m[0] == t.a && m[1] == t.b && m[3] == t.c && m[4] == t.d) return t.degrees;
    return -1;
}

ClipTurn ReadClipTurn(uint64_t size, const ReadAt& read) {
    ClipTurn turn;
    Box first;
    if (!ReadBox(read, 0, size, first) || !BeginsIsoFile(first.type)) return turn;
    EachBox(read, 0, size, [&](const Box& top) {
        if (top.type != Type("moov")) return true;
        EachBox(read, top.content, top.end, [&](const Box& trak) {
            if (trak.type != Type("trak")) return true;
            const Track track = ReadTrack(read, trak);
            if (!track.hasMatrix || track.handler != Type("vide")) return true;
            turn.known = true;
            const int degrees = QuarterTurnOf(track.matrix);
            if (degrees >= 0)
                turn.degrees = degrees;
            else
                turn.problem = L"its track header turns the picture by no quarter turn";
            return false;
        });
        return false;
    });
    return turn;
}

ClipTurn ClipTurnOfFile(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.Get(), &size)) return {};
    return ReadClipTurn(uint64_t(size.QuadPart),
                        [&](uint64_t offset, uint8_t* into, size_t bytes) -> size_t {
                            LARGE_INTEGER at = {};
                            at.QuadPart = LONGLONG(offset);
                            DWORD got = 0;
                            if (!SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) ||
                                !ReadFile(file.Get(), into, DWORD(bytes), &got, nullptr))
                                return 0;
                            return got;
                        });
}

} // namespace tk
