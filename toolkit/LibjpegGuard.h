#pragma once
// libjpeg reports errors through a callback that must not return. Every libjpeg object of the
// program runs inside WithLibjpeg, whose callback jumps back to the one frame that holds the
// setjmp: no error ends the process or escapes as an exception through C frames.
#include <windows.h>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace tk {

struct LibjpegErrors {
    jpeg_error_mgr base;
    jmp_buf jump;
};

inline void JumpBackOnLibjpegError(j_common_ptr info) {
    longjmp(reinterpret_cast<LibjpegErrors*>(info->err)->jump, 1);
}
inline void KeepLibjpegQuiet(j_common_ptr) {}

inline void CreateLibjpeg(jpeg_compress_struct& info) {
    jpeg_create_compress(&info);
}
inline void CreateLibjpeg(jpeg_decompress_struct& info) {
    jpeg_create_decompress(&info);
}

// Runs body on a fresh compressor or decompressor (Info) and destroys it after; libjpeg's
// messages are not printed. An error jumps back here and the answer is false. A jump skips
// the body's own frame, so the body holds nothing with a destructor: what it fills lives in
// its caller's frame, and is left in a defined state.
template <class Info, class Body> bool WithLibjpeg(Body&& body) {
    Info info;
    LibjpegErrors errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBackOnLibjpegError;
    errors.base.output_message = KeepLibjpegQuiet;
    if (setjmp(errors.jump)) {
        jpeg_destroy(reinterpret_cast<j_common_ptr>(&info));
        return false;
    }
    CreateLibjpeg(info);
    const bool done = body(info);
    jpeg_destroy(reinterpret_cast<j_common_ptr>(&info));
    return done;
}

} // namespace tk
