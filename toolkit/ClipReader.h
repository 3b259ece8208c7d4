#pragma once
// A clip's pictures read through Media Foundation's source reader, as BGRA frames: the way a
// clip plays when MCI cannot open it (a stock Windows' DirectShow has no MP4 splitter, while
// Media Foundation, part of Windows since 7, reads MP4, M4V, 3GP and MOV). Picture only: the
// sound is not read.
//
// The reader is made, used and released on one thread (the frame pump's), which has joined
// the multithreaded COM apartment and started Media Foundation; its reads block, so that
// thread is never the window's.
#include <windows.h>

#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/ClipTurn.h"
#include "toolkit/NonCopyable.h"
#include "toolkit/YuvToBgra.h"

struct IMFSourceReader;
struct IMFSample;

namespace tk {

// The biggest picture a clip may have: 4096 x 2304 pixels (a 4K clip and its upright form
// fit; an 8K clip does not). Each frame is held three times as BGRA (36 MB each at this size),
// four times when it is turned, besides what the decoder holds; a bigger clip would risk the
// memory of a 32-bit process.
constexpr long long kMaxClipPixels = 4096LL * 2304;
constexpr int kMaxClipSide = 4096;
inline bool ClipFitsBudget(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxClipSide && height <= kMaxClipSide &&
           (long long)width * height <= kMaxClipPixels;
}

// A frame as it is to be seen: turned upright when the clip names a turn.
struct BgraFrame {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // rows from the top, width pixels each
    long long stamp = 0;          // the reader's time, in 100 ns
    long long duration = 0;       // 0 when the reader does not tell
};

// The matrix a clip's colours were made with: the one its decoder names (Media Foundation's
// MF_MT_YUV_MATRIX, 0 when it names none), else the one usual for its picture's height.
YuvMatrix ClipYuvMatrix(UINT32 named, int height);

class ClipReader : private NonCopyable {
  public:
    enum class Result { Frame, End, Failed };

    ClipReader();
    ~ClipReader();

    // Opens the file's first picture stream alone, its frames to be turned as the container
    // says (when it says nothing, as Media Foundation says). False, with why filled for the
    // log, for a file Media Foundation cannot read, a file without a picture, a picture it
    // cannot decode, or one over the budget.
    bool Open(const std::wstring& path, const ClipTurn& container, std::wstring& why);
    long long Duration() const { return duration_; } // 100 ns, 0 when unknown

    // The next frame; blocks while it decodes.
    Result Next(BgraFrame& into);
    // The next Next reads from the key frame at or before stamp.
    bool Seek(long long stamp);
    // What the last failure was, for the log.
    const std::wstring& Failure() const { return failure_; }
    // Releases the reader (on the thread that made it).
    void Close();

  private:
    enum class Output { Rgb32, Nv12, I420, Yuy2 };
    bool ChooseOutput();
    bool ReadOutputType();
    bool Convert(IMFSample* sample, BgraFrame& into);
    bool ConvertStored(IMFSample* sample, uint8_t* out); // width_ x height_, as decoded

    Microsoft::WRL::ComPtr<IMFSourceReader> reader_;
    Output output_ = Output::Rgb32;
    int width_ = 0, height_ = 0; // the picture
    int rows_ = 0;               // the rows the decoder stores before its chroma
    int stride_ = 0;             // the type's default row pitch, for buffers that lack one
    YuvMatrix matrix_ = YuvMatrix::Bt601;
    YuvRange range_ = YuvRange::Studio;
    long long duration_ = 0;
    int turn_ = 0;                 // clockwise degrees
    std::vector<uint32_t> stored_; // a frame before its turn
    std::wstring failure_;
};

} // namespace tk
