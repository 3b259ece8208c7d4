#include "toolkit/ClipReader.h"

#include <propvarutil.h>
#include <wrl/client.h>

#include <cstdlib>
#include <cstring>

#include "toolkit/MediaFoundation.h"
#include "toolkit/NonCopyable.h"
#include "toolkit/Text.h"
#include "toolkit/TurnPixels.h"

using Microsoft::WRL::ComPtr;

namespace tk {

namespace {

// Asks the reader to convert to RGB32 itself (the video processor of Windows); named here
// rather than taken from the import library, which lacks it.
const GUID kEnableVideoProcessing = {
    0xfb394f3d, 0xccf1, 0x42ee, {0xbb, 0xb3, 0xf9, 0xb8, 0x45, 0xd5, 0x68, 0x1d}};

// The turn of the picture, which Media Foundation reports from Windows 8 on; named here, as
// the headers keep it from a program built for Windows 7.
const GUID kVideoRotation = {
    0xc380465d, 0x2271, 0x428c, {0x9b, 0x83, 0xec, 0xea, 0x3b, 0x4a, 0x85, 0xc1}};

constexpr DWORD kVideo = DWORD(MF_SOURCE_READER_FIRST_VIDEO_STREAM);
// Reads that bring no sample (a gap in the stream) before the reader counts as stuck.
constexpr int kEmptyReads = 64;

// The clockwise turn that shows the picture upright: the container's word when it has one;
// else Media Foundation's, which gives the angle the stored picture lies turned
// counter-clockwise from upright (the same number).
int TurnOf(const ClipTurn& container, IMFMediaType* native) {
    if (container.known) return container.degrees;
    const UINT32 rotation = MFGetAttributeUINT32(native, kVideoRotation, 0);
    return rotation == 90 || rotation == 180 || rotation == 270 ? int(rotation) : 0;
}

// A buffer locked for reading, unlocked when it goes: through IMF2DBuffer when the buffer has
// one (its own row pitch), else as one block.
class LockedBuffer : private NonCopyable {
  public:
    explicit LockedBuffer(IMFMediaBuffer* buffer) : buffer_(buffer) {
        DWORD current = 0;
        buffer_->GetCurrentLength(&current);
        if (SUCCEEDED(buffer_->QueryInterface(IID_PPV_ARGS(&twoD_))) &&
            SUCCEEDED(twoD_->Lock2D(&data_, &pitch_))) {
            bytes_ = current;
            return;
        }
        twoD_.Reset();
        DWORD max = 0;
        if (FAILED(buffer_->Lock(&data_, &max, &current))) data_ = nullptr;
        bytes_ = current;
        pitch_ = 0;
    }
    ~LockedBuffer() {
        if (!data_) return;
        twoD_ ? twoD_->Unlock2D() : buffer_->Unlock();
    }

    BYTE* Data() const { return data_; }
    size_t Bytes() const { return bytes_; }
    LONG Pitch() const { return pitch_; } // 0: the buffer names none

  private:
    IMFMediaBuffer* buffer_;
    ComPtr<IMF2DBuffer> twoD_;
    BYTE* data_ = nullptr;
    size_t bytes_ = 0;
    LONG pitch_ = 0;
};

} // namespace

YuvMatrix ClipYuvMatrix(UINT32 named, int height) {
    if (named == MFVideoTransferMatrix_BT709) return YuvMatrix::Bt709;
    if (named == MFVideoTransferMatrix_BT601) return YuvMatrix::Bt601;
    // Without a word from the decoder, the usual rule: high definition (720 lines and more)
    // is BT.709.
    return height >= 720 ? YuvMatrix::Bt709 : YuvMatrix::Bt601;
}

ClipReader::ClipReader() = default;
ClipReader::~ClipReader() = default;

void ClipReader::Close() {
    reader_.Reset();
}

bool ClipReader::Open(const std::wstring& path, const ClipTurn& container, std::wstring& why) {
    const MediaFoundationApi* mf = MediaFoundation();
    if (!mf) {
        why = L"this Windows has no Media Foundation";
        return false;
    }
    ComPtr<IMFAttributes> attributes;
    HRESULT hr = mf->CreateAttributes(&attributes, 1);
    if (SUCCEEDED(hr)) attributes->SetUINT32(kEnableVideoProcessing, TRUE);
    if (SUCCEEDED(hr)) hr = mf->CreateSourceReaderFromURL(path.c_str(), attributes.Get(), &reader_);
    if (FAILED(hr)) {
        why = L"Media Foundation cannot read it (" + HexCode(hr) + L")";
        return false;
    }
    // The picture alone: sound would only be decoded to be thrown away.
    reader_->SetStreamSelection(DWORD(MF_SOURCE_READER_ALL_STREAMS), FALSE);
    ComPtr<IMFMediaType> native;
    if (FAILED(reader_->SetStreamSelection(kVideo, TRUE)) ||
        FAILED(reader_->GetNativeMediaType(kVideo, 0, &native))) {
        why = L"it has no picture";
        return false;
    }
    UINT32 w = 0, h = 0;
    MFGetAttributeSize(native.Get(), MF_MT_FRAME_SIZE, &w, &h);
    if (!ClipFitsBudget(int(w), int(h))) {
        why = L"its picture of " + std::to_wstring(w) + L" x " + std::to_wstring(h) +
              L" is beyond the budget of " + std::to_wstring(kMaxClipPixels) + L" pixels";
        return false;
    }
    turn_ = TurnOf(container, native.Get());
    if (!ChooseOutput()) {
        why = L"no decoder gives its picture in a form we draw";
        return false;
    }
    if (!ReadOutputType()) {
        why = L"its decoded picture has no usable size";
        return false;
    }
    PROPVARIANT duration;
    PropVariantInit(&duration);
    if (SUCCEEDED(reader_->GetPresentationAttribute(DWORD(MF_SOURCE_READER_MEDIASOURCE),
                                                    MF_PD_DURATION, &duration)) &&
        duration.vt == VT_UI8)
        duration_ = (long long)duration.uhVal.QuadPart;
    PropVariantClear(&duration);
    return true;
}

bool ClipReader::ChooseOutput() {
    // RGB32 first: Windows' video processor converts. Where it cannot (under Wine the reader
    // finds no such converter), the decoder's own forms, converted here.
    struct Choice {
        const GUID* subtype;
        Output output;
    };
    const Choice choices[] = {{&MFVideoFormat_RGB32, Output::Rgb32},
                              {&MFVideoFormat_NV12, Output::Nv12},
                              {&MFVideoFormat_I420, Output::I420},
                              {&MFVideoFormat_IYUV, Output::I420},
                              {&MFVideoFormat_YUY2, Output::Yuy2}};
    for (const Choice& c : choices) {
        ComPtr<IMFMediaType> type;
        if (FAILED(MediaFoundation()->CreateMediaType(&type))) return false;
        type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
        type->SetGUID(MF_MT_SUBTYPE, *c.subtype);
        if (SUCCEEDED(reader_->SetCurrentMediaType(kVideo, nullptr, type.Get()))) {
            output_ = c.output;
            return true;
        }
    }
    return false;
}

bool ClipReader::ReadOutputType() {
    ComPtr<IMFMediaType> type;
    if (FAILED(reader_->GetCurrentMediaType(kVideo, &type))) return false;
    UINT32 w = 0, h = 0;
    MFGetAttributeSize(type.Get(), MF_MT_FRAME_SIZE, &w, &h);
    rows_ = int(h);
    width_ = int(w);
    height_ = int(h);
    // A decoder that pads its frames (1080 lines stored as 1088) names the picture inside.
    MFVideoArea area = {};
    if (SUCCEEDED(type->GetBlob(MF_MT_MINIMUM_DISPLAY_APERTURE, reinterpret_cast<UINT8*>(&area),
                                sizeof area, nullptr)) &&
        area.Area.cx > 0 && area.Area.cy > 0 && area.Area.cx <= LONG(w) &&
        area.Area.cy <= LONG(h)) {
        width_ = int(area.Area.cx);
        height_ = int(area.Area.cy);
    }
    stride_ = int(INT32(MFGetAttributeUINT32(type.Get(), MF_MT_DEFAULT_STRIDE, 0)));
    matrix_ = ClipYuvMatrix(MFGetAttributeUINT32(type.Get(), MF_MT_YUV_MATRIX, 0), height_);
    range_ = MFGetAttributeUINT32(type.Get(), MF_MT_VIDEO_NOMINAL_RANGE, 0) == MFNominalRange_0_255
                 ? YuvRange::Full
                 : YuvRange::Studio;
    return ClipFitsBudget(width_, height_);
}

ClipReader::Result ClipReader::Next(BgraFrame& into) {
    if (!reader_) return Result::Failed;
    for (int tries = 0; tries < kEmptyReads; ++tries) {
        DWORD stream = 0, flags = 0;
        LONGLONG stamp = 0;
        ComPtr<IMFSample> sample;
        HRESULT hr = reader_->ReadSample(kVideo, 0, &stream, &flags, &stamp, &sample);
        if (FAILED(hr) || (flags & MF_SOURCE_READERF_ERROR)) {
            failure_ = L"the reader failed (" + HexCode(hr) + L")";
            return Result::Failed;
        }
        if (flags & MF_SOURCE_READERF_ENDOFSTREAM) return Result::End;
        if ((flags & MF_SOURCE_READERF_CURRENTMEDIATYPECHANGED) && !ReadOutputType()) {
            failure_ = L"the picture changed to a size we cannot draw";
            return Result::Failed;
        }
        if (!sample) continue;
        into.stamp = stamp;
        LONGLONG duration = 0;
        into.duration = SUCCEEDED(sample->GetSampleDuration(&duration)) ? duration : 0;
        if (!Convert(sample.Get(), into)) {
            failure_ = L"a frame did not hold the picture its type names";
            return Result::Failed;
        }
        return Result::Frame;
    }
    failure_ = L"the reader gives no frames";
    return Result::Failed;
}

bool ClipReader::Convert(IMFSample* sample, BgraFrame& into) {
    const size_t pixels = size_t(width_) * size_t(height_);
    // A turned frame is converted aside, then turned as it is copied into place.
    std::vector<uint32_t>& stored = turn_ ? stored_ : into.pixels;
    stored.resize(pixels);
    if (!ConvertStored(sample, reinterpret_cast<uint8_t*>(stored.data()))) return false;
    const bool swap = TurnSwapsSides(turn_);
    into.width = swap ? height_ : width_;
    into.height = swap ? width_ : height_;
    if (turn_) {
        into.pixels.resize(pixels);
        TurnPixels(stored_.data(), width_, height_, turn_, into.pixels.data());
    }
    return true;
}

bool ClipReader::ConvertStored(IMFSample* sample, uint8_t* out) {
    ComPtr<IMFMediaBuffer> buffer;
    if (FAILED(sample->ConvertToContiguousBuffer(&buffer))) return false;
    LockedBuffer locked(buffer.Get());
    if (!locked.Data()) return false;
    const int outPitch = width_ * 4;
    if (output_ == Output::Rgb32) {
        // Rows may run bottom-up: a negative pitch. A 2-D buffer's pitch steps from the top
        // row wherever it lies; a plain block starts with the bottom row then.
        const LONG pitch = locked.Pitch() ? locked.Pitch() : stride_ ? stride_ : outPitch;
        const long long span = (long long)std::abs(pitch) * (height_ - 1) + outPitch;
        if (std::abs(pitch) < outPitch || (!locked.Pitch() && span > (long long)locked.Bytes()))
            return false;
        const BYTE* top = locked.Data();
        if (!locked.Pitch() && pitch < 0) top += size_t(-pitch) * size_t(height_ - 1);
        for (int row = 0; row < height_; ++row)
            std::memcpy(out + size_t(row) * outPitch, top + (long long)row * pitch, outPitch);
        return true;
    }
    YuvFrame frame;
    frame.layout = output_ == Output::Nv12   ? YuvLayout::Nv12
                   : output_ == Output::I420 ? YuvLayout::I420
                                             : YuvLayout::Yuy2;
    frame.data = locked.Data();
    frame.bytes = locked.Bytes();
    frame.width = width_;
    frame.height = height_;
    frame.pitch = locked.Pitch() > 0 ? locked.Pitch() : stride_ > 0 ? stride_ : 0;
    if (frame.pitch == 0)
        frame.pitch = frame.layout == YuvLayout::Yuy2 ? 4 * ((width_ + 1) / 2) : width_;
    frame.paddedHeight = rows_;
    // The buffer itself tells how many rows come before the chroma, when it holds exactly
    // some whole number of them (a decoder that pads to 16 lines, with or without saying so).
    if (frame.layout != YuvLayout::Yuy2) {
        const size_t planes = size_t(frame.pitch) * 3;
        if ((frame.bytes * 2) % planes == 0 && int(frame.bytes * 2 / planes) >= height_)
            frame.paddedHeight = int(frame.bytes * 2 / planes);
    }
    frame.matrix = matrix_;
    frame.range = range_;
    return YuvToBgra(frame, out, outPitch);
}

bool ClipReader::Seek(long long stamp) {
    if (!reader_) return false;
    PROPVARIANT at;
    PropVariantInit(&at);
    at.vt = VT_I8;
    at.hVal.QuadPart = stamp;
    return SUCCEEDED(reader_->SetCurrentPosition(GUID_NULL, at));
}

} // namespace tk
