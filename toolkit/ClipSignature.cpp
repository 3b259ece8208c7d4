#include "toolkit/ClipSignature.h"

#include <windows.h>

#include <cstring>

#include "toolkit/Handles.h"

namespace tk {

namespace {

bool Starts(const uint8_t* head, size_t size, size_t at, const char* bytes, size_t n) {
    return size >= at + n && std::memcmp(head + at, bytes, n) == 0;
}

} // namespace

bool LooksLikeVideoContainer(const uint8_t* head, size_t size) {
    // ISO base media files (MP4, M4V, 3GP) and QuickTime: a box's size, then its type.
    for (const char* box : {"ftyp", "moov", "mdat", "free", "skip", "wide", "pnot", "uuid"})
        if (Starts(head, size, 4, box, 4)) return true;
    if (Starts(head, size, 0, "\x00\x00\x01\xBA", 4)) return true; // MPEG program stream
    if (Starts(head, size, 0, "\x00\x00\x01\xB3", 4)) return true; // MPEG video alone
    if (Starts(head, size, 0, "\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8)) return true; // ASF
    if (Starts(head, size, 0, "RIFF", 4) && Starts(head, size, 8, "AVI ", 4)) return true;
    if (Starts(head, size, 0, "DKIF", 4)) return true;             // IVF
    if (Starts(head, size, 0, "\x1A\x45\xDF\xA3", 4)) return true; // Matroska, WebM
    return size >= 189 && head[0] == 0x47 && head[188] == 0x47;    // MPEG transport stream
}

bool FileLooksLikeVideoContainer(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    uint8_t head[192] = {};
    DWORD read = 0;
    if (!ReadFile(file.Get(), head, sizeof head, &read, nullptr)) return false;
    return LooksLikeVideoContainer(head, read);
}

} // namespace tk
