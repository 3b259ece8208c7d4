#include "toolkit/FramePlayer.h"

#include "toolkit/ClipSignature.h"
#include "toolkit/Counters.h"
#include "toolkit/FramePump.h"
#include "toolkit/Handles.h"
#include "toolkit/Log.h"

namespace tk {

namespace {

// Posted by the pump to the display window when a frame is due; registered, so that it
// means nothing to the window's own procedure.
UINT FrameDueMessage() {
    static const UINT message = RegisterWindowMessageW(L"Vistamur.ClipFrameDue");
    return message;
}

MediaMode ModeOf(ClipTimeline::State state) {
    switch (state) {
    case ClipTimeline::State::Playing:
        return MediaMode::Playing;
    case ClipTimeline::State::Paused:
        return MediaMode::Paused;
    default:
        return MediaMode::Stopped;
    }
}

// A frame shown smaller than it is (a clip in the settings' small preview box) is reduced
// by averaging areas, as the photos are: point sampling makes its edges jagged. Only a frame
// of up to 1280 x 720 is: averaging a larger one at every frame would hold the window's
// thread too long, and such a clip is seldom shown smaller (a tile shows it whole).
bool Averaged(const BgraFrame& frame, SIZE shown, AreaReducer& reducer,
              std::vector<uint32_t>& reduced) {
    constexpr long long kMostAveraged = 1280LL * 720;
    if (shown.cx <= 0 || shown.cy <= 0 || shown.cx > frame.width || shown.cy > frame.height ||
        (shown.cx == frame.width && shown.cy == frame.height) ||
        (long long)frame.width * frame.height > kMostAveraged)
        return false;
    reduced.resize(size_t(shown.cx) * shown.cy);
    if (!reducer.Start(frame.width, frame.height, reduced.data(), shown.cx, shown.cy,
                       size_t(shown.cx)))
        return false;
    for (int y = 0; y < frame.height; ++y)
        reducer.Push(frame.pixels.data() + size_t(y) * frame.width);
    return true;
}

} // namespace

FramePlayer::FramePlayer() {
    ++Counts().framePlayers;
}

FramePlayer::~FramePlayer() {
    // The watch goes before the pump (it is declared after it).
    --Counts().framePlayers;
}

std::unique_ptr<FramePump> OpenFrames(const std::wstring& path, const ClipTurn& turn,
                                      std::wstring& why, const std::function<bool()>& stopped,
                                      DWORD waitMs, bool* tooSlow) {
    if (tooSlow) *tooSlow = false;
    if (!FileLooksLikeVideoContainer(path)) {
        why = L"it does not begin like a video file";
        return nullptr;
    }
    auto pump = std::make_unique<FramePump>();
    if (!pump->Begin(path, turn, why)) return nullptr;
    constexpr DWORD kSliceMs = 50;
    for (DWORD waited = 0; waited < waitMs; waited += kSliceMs) {
        switch (pump->WaitOpen(kSliceMs, why)) {
        case FramePump::Opening::Opened:
            return pump;
        case FramePump::Opening::Failed:
            return nullptr;
        default:
            break;
        }
        if (stopped && stopped()) {
            why = L"no longer wanted while it opened";
            pump->Stop(); // an open that hangs is not waited for
            return nullptr;
        }
    }
    pump->Stop();
    why = L"Media Foundation did not open it in " + std::to_wstring(waitMs / 1000) + L" s";
    if (tooSlow) *tooSlow = true;
    return nullptr;
}

bool FramePlayer::Open(const std::wstring& path, const ClipTurn& turn, HWND display,
                       std::wstring& why) {
    if (!display || !IsWindow(display)) {
        why = L"no window to draw it in";
        return false;
    }
    auto pump = OpenFrames(path, turn, why);
    return pump && Show(std::move(pump), display, why);
}

bool FramePlayer::Show(std::unique_ptr<FramePump> opened, HWND display, std::wstring& why) {
    if (!display || !IsWindow(display)) {
        why = L"no window to draw it in";
        return false;
    }
    pump_ = std::move(opened);
    pump_->DrawIn(display, FrameDueMessage());
    natural_ = pump_->Size();
    shown_ = natural_;
    // The window paints itself first (its black), then the frame goes over it; the pump's
    // message says a frame is due.
    display_.Start(display, [this](UINT msg) {
        if (msg == WM_PAINT || msg == FrameDueMessage()) DrawNow();
    });
    // The first frame shows at once, as an MCI device shows it when it opens.
    InvalidateRect(display, nullptr, TRUE);
    return true;
}

void FramePlayer::DrawNow() {
    const HWND display = display_.Window();
    if (!pump_ || !display) return;
    const std::wstring failure = pump_->TakeFailure();
    if (!failure.empty()) Log(L"a clip stopped early: " + failure);
    if (!IsWindowVisible(display)) return;
    WindowDc dc(display);
    if (!dc) return;
    const bool fresh = pump_->DrawShown([&](const BgraFrame& frame) {
        const uint32_t* pixels = frame.pixels.data();
        int width = frame.width, height = frame.height;
        if (Averaged(frame, shown_, reducer_, reduced_)) {
            pixels = reduced_.data();
            width = shown_.cx;
            height = shown_.cy;
        }
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // rows from the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        // Otherwise as the video devices stretch: the nearest pixel (a smoothing stretch
        // costs many times more under Wine, at every frame).
        SetStretchBltMode(dc.Get(), COLORONCOLOR);
        StretchDIBits(dc.Get(), 0, 0, shown_.cx, shown_.cy, 0, 0, width, height, pixels, &info,
                      DIB_RGB_COLORS, SRCCOPY);
    });
    if (fresh) ++Counts().clipFramesDrawn;
}

bool FramePlayer::SetDisplaySize(int width, int height) {
    if (!pump_ || width < 0 || height < 0) return false;
    shown_ = width == 0 && height == 0 ? natural_ : SIZE{width, height};
    if (display_.Window()) InvalidateRect(display_.Window(), nullptr, TRUE);
    return true;
}

long FramePlayer::Length() const {
    return pump_ ? pump_->LengthMs() : 0;
}

long FramePlayer::Position() const {
    return pump_ ? pump_->PositionMs() : 0;
}

MediaMode FramePlayer::Mode() const {
    return pump_ ? ModeOf(pump_->State()) : MediaMode::NotReady;
}

bool FramePlayer::Play(long from) {
    if (!pump_) return false;
    // A start position given for this play comes first; a clip that has ended plays again
    // from its start.
    if (from >= 0)
        pump_->SeekTo(from);
    else if (pump_->AtEnd())
        pump_->SeekTo(0);
    pump_->Play();
    return true;
}

bool FramePlayer::Pause() {
    if (!pump_ || pump_->State() != ClipTimeline::State::Playing) return false;
    pump_->Pause();
    return true;
}

bool FramePlayer::Seek(long ms) {
    if (!pump_) return false;
    const long length = pump_->LengthMs();
    if (ms > 0 && length > 0 && ms > length) return false; // as MCI refuses it
    pump_->SeekTo(ms < 0 ? 0 : ms);
    return true;
}

} // namespace tk
