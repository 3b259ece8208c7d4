#include "toolkit/MediaPlayer.h"

#include <mmsystem.h>
// digitalv.h needs mmsystem.h first.
#include <digitalv.h>

#include <cstdlib>
#include <utility>

#include "toolkit/FramePlayer.h"
#include "toolkit/FramePump.h"
#include "toolkit/Log.h"

namespace tk {

namespace {

ClipRoute route = ClipRoute::MciFirst;

// The platform's answers that mean "this file needs the DirectShow device": no device for
// the extension (.mov, .qt ...), or the AVI device could not load the file's codec.
bool NeedsMpegVideo(DWORD error) {
    return error == MCIERR_EXTENSION_NOT_FOUND || error == MCIERR_CANNOT_LOAD_DRIVER;
}

bool FileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The name the device is installed under ("AVIVIDEO", "MPEGVIDEO" ...).
std::wstring InstallName(UINT id) {
    wchar_t name[64] = {};
    MCI_SYSINFO_PARMSW params = {};
    params.lpstrReturn = name;
    params.dwRetSize = 64;
    if (mciSendCommandW(id, MCI_SYSINFO, MCI_SYSINFO_INSTALLNAME,
                        reinterpret_cast<DWORD_PTR>(&params)) != 0)
        return L"";
    return name;
}

// The window is visible and some part of it lies inside its parent's client area.
bool PartlyShown(HWND window) {
    if (!IsWindowVisible(window)) return false;
    HWND parent = GetParent(window);
    RECT box, area, common;
    if (!parent || !GetWindowRect(window, &box) || !GetClientRect(parent, &area)) return true;
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&box), 2);
    return IntersectRect(&common, &box, &area) != 0;
}

MediaMode ModeOf(DWORD mciMode) {
    static const struct {
        DWORD mci;
        MediaMode mode;
    } kModes[] = {
        {MCI_MODE_STOP, MediaMode::Stopped},     {MCI_MODE_PLAY, MediaMode::Playing},
        {MCI_MODE_RECORD, MediaMode::Recording}, {MCI_MODE_SEEK, MediaMode::Seeking},
        {MCI_MODE_PAUSE, MediaMode::Paused},     {MCI_MODE_OPEN, MediaMode::Open},
    };
    for (const auto& m : kModes)
        if (m.mci == mciMode) return m.mode;
    return MediaMode::NotReady;
}

} // namespace

void SetClipRoute(ClipRoute r) {
    route = r;
}

ClipRoute CurrentClipRoute() {
    return route;
}

ClipTurn ClipTurnToPlay(const std::wstring& path) {
    ClipTurn turn = ClipTurnOfFile(path);
    if (!turn.problem.empty()) Log(L"clip " + path + L": " + turn.problem + L"; shown as stored");
    return turn;
}

void MciDeviceTraits::Close(UINT id) {
    MCI_GENERIC_PARMS params = {};
    mciSendCommandW(id, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&params));
}

MediaPlayer::MediaPlayer() = default;

MediaPlayer::~MediaPlayer() {
    Close();
}

DWORD MediaPlayer::Send(UINT command, DWORD flags, void* params) const {
    error_ = mciSendCommandW(device_.Get(), command, flags, reinterpret_cast<DWORD_PTR>(params));
    return error_;
}

DWORD MediaPlayer::OpenDevice(const wchar_t* deviceType) {
    // Without an alias of its own a device is known by its file name, and the same file
    // could not play in two tiles at once.
    static unsigned opened = 0;
    const std::wstring alias = L"vistamur" + std::to_wstring(++opened);
    MCI_OPEN_PARMSW params = {};
    params.lpstrElementName = FileName.c_str();
    params.lpstrAlias = alias.c_str();
    DWORD flags = MCI_OPEN_ELEMENT | MCI_OPEN_ALIAS | MCI_WAIT;
    if (deviceType) {
        params.lpstrDeviceType = deviceType;
        flags |= MCI_OPEN_TYPE;
    }
    DWORD error = mciSendCommandW(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&params));
    if (error == 0) device_.Reset(params.wDeviceID);
    return error;
}

bool MediaPlayer::Open() {
    Close();
    if (FileName.empty()) return false;
    const ClipTurn turn = ClipTurnToPlay(FileName);
    if (route == ClipRoute::MediaFoundationOnly) return OpenThroughMediaFoundation(turn);
    // MCI shows a picture only as it is stored: a clip to be turned goes to Media Foundation
    // first (without it, MCI still shows it, on its side).
    if (turn.degrees != 0 && OpenThroughMediaFoundation(turn)) return true;
    if (OpenDevices()) return true;
    return turn.degrees == 0 && OpenThroughMediaFoundation(turn);
}

bool MediaPlayer::OpenWithMci() {
    Close();
    return !FileName.empty() && OpenDevices();
}

bool MediaPlayer::ShowFrames(std::unique_ptr<FramePump> opened) {
    Close();
    if (!opened) return false;
    auto frames = std::make_unique<FramePlayer>();
    std::wstring why;
    if (!frames->Show(std::move(opened), Display, why)) {
        Log(L"clip " + FileName + L": opened ahead, but not shown: " + why);
        return false;
    }
    natural_ = frames->NaturalSize();
    frames_ = std::move(frames);
    error_ = 0;
    return true;
}

bool MediaPlayer::OpenDevices() {
    error_ = OpenDevice(nullptr);
    // The DirectShow device is slow to try: a file that has vanished is not worth it.
    if (NeedsMpegVideo(error_) && FileExists(FileName)) {
        error_ = OpenDevice(L"mpegvideo");
        asMpegVideo_ = error_ == 0;
    }
    if (error_ != 0) return false;
    bool aviDevice = IsAviDevice();
    bool bottomUp = false;
    ReadPicture(bottomUp);
    // An uncompressed AVI stored bottom-up: the AVI device reports its height negative and
    // draws nothing of it here; the DirectShow device shows it.
    if (bottomUp && aviDevice) {
        device_.Reset();
        asMpegVideo_ = OpenDevice(L"mpegvideo") == 0;
        if (!asMpegVideo_ && OpenDevice(nullptr) != 0) return false;
        aviDevice = !asMpegVideo_;
        ReadPicture(bottomUp);
    }
    aviDevice_ = aviDevice;
    if (HasPicture()) {
        MCI_DGV_WINDOW_PARMSW window = {};
        window.hWnd = Display;
        if (!Display || Send(MCI_WINDOW, MCI_DGV_WINDOW_HWND | MCI_WAIT, &window) != 0) {
            DWORD error = Display ? error_ : MCIERR_NO_WINDOW;
            Close();
            error_ = error;
            return false;
        }
        WatchDisplay();
    }
    SetTimeFormatMilliseconds();
    error_ = 0;
    return true;
}

// MCI could not open the clip: Media Foundation may (a phone clip on a Windows whose
// DirectShow has no MP4 splitter); or the clip is to be turned, which MCI cannot do. MCI's
// error stays the player's error when neither can play it.
bool MediaPlayer::OpenThroughMediaFoundation(const ClipTurn& turn) {
    if (!Display || !FileExists(FileName)) return false;
    auto frames = std::make_unique<FramePlayer>();
    std::wstring why;
    if (!frames->Open(FileName, turn, Display, why)) {
        Log(L"clip " + FileName + L": Media Foundation cannot play it" +
            (turn.degrees != 0 ? L" turned: " : L" either: ") + why);
        return false;
    }
    natural_ = frames->NaturalSize();
    frames_ = std::move(frames);
    error_ = 0;
    return true;
}

bool MediaPlayer::IsAviDevice() const {
    return CompareStringOrdinal(InstallName(device_.Get()).c_str(), -1, L"AVIVIDEO", -1, TRUE) ==
           CSTR_EQUAL;
}

void MediaPlayer::ReadPicture(bool& bottomUp) {
    natural_ = {0, 0};
    bottomUp = false;
    MCI_GETDEVCAPS_PARMS caps = {};
    caps.dwItem = MCI_GETDEVCAPS_HAS_VIDEO;
    if (Send(MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM | MCI_WAIT, &caps) == 0 && caps.dwReturn == 0)
        return;
    // Sound-only files on the DirectShow device claim video too; they have no rectangle.
    MCI_DGV_RECT_PARMS where = {};
    if (Send(MCI_WHERE, MCI_DGV_WHERE_DESTINATION | MCI_WAIT, &where) != 0) return;
    // Right after the open the rectangle is the natural size.
    const long w = where.rc.right - where.rc.left, h = where.rc.bottom - where.rc.top;
    bottomUp = h < 0;
    natural_ = {std::labs(w), std::labs(h)};
}

void MediaPlayer::Close() {
    paused_ = false;
    startPosition_ = -1;
    pendingSeek_ = -1;
    natural_ = {0, 0};
    asMpegVideo_ = false;
    aviDevice_ = false;
    cueDue_ = false;
    wasShown_ = false;
    watched_.Stop();
    if (!device_ && !frames_) return;
    device_.Reset();
    frames_.reset();
    // The AVI device leaves its last frame in the window until something repaints it.
    if (Display && IsWindow(Display)) InvalidateRect(Display, nullptr, TRUE);
}

void MediaPlayer::WatchDisplay() {
    // The window paints itself first (black), then the frame goes over it.
    watched_.Start(Display, [this](UINT msg) {
        if (msg == WM_WINDOWPOSCHANGED) NoteWhereShown();
        if (msg == WM_PAINT) RedrawStillFrame();
    });
}

void MediaPlayer::NoteWhereShown() {
    // The DirectShow device forgets the still frame of a window that has been wholly off the
    // screen (or hidden): when the window shows again, the frame is given to it once more.
    const bool shown = PartlyShown(watched_.Window());
    if (shown && !wasShown_) cueDue_ = true;
    wasShown_ = shown;
}

void MediaPlayer::RedrawStillFrame() {
    if (!device_) return;
    const DWORD saved = error_;
    if (aviDevice_) {
        // A playing clip draws its next frame soon enough by itself.
        if (!paused_ && Mode() == MediaMode::Playing) return;
        WindowDc dc(watched_.Window());
        if (!dc) return;
        MCI_DGV_UPDATE_PARMS update = {};
        update.hDC = dc.Get();
        Send(MCI_UPDATE, MCI_DGV_UPDATE_HDC | MCI_DGV_UPDATE_PAINT | MCI_WAIT, &update);
    } else if (paused_ && cueDue_ && PartlyShown(watched_.Window())) {
        // The DirectShow device has no such request; it draws a frame it is given into the
        // part of the window that shows, and what is uncovered later while the window stays
        // on the screen.
        cueDue_ = false;
        StopDirectShow();
        MCI_PLAY_PARMS play = {};
        play.dwFrom = DWORD(pausedAt_);
        MCI_GENERIC_PARMS params = {};
        // Paused, it draws the frame when the frame arrives.
        if (Send(MCI_PLAY, MCI_FROM, &play) == 0) Send(MCI_PAUSE, MCI_WAIT, &params);
    }
    error_ = saved;
}

bool MediaPlayer::DisplayRect(RECT& rect) const {
    rect = RECT{};
    if (frames_) {
        rect = frames_->DisplayRect();
        return true;
    }
    if (!device_) return false;
    MCI_DGV_RECT_PARMS where = {};
    if (Send(MCI_WHERE, MCI_DGV_WHERE_DESTINATION | MCI_WAIT, &where) != 0) return false;
    // Both devices read a rectangle at the origin as (0, 0, width, height).
    rect = {where.rc.left, where.rc.top, where.rc.left + std::labs(where.rc.right),
            where.rc.top + std::labs(where.rc.bottom)};
    return true;
}

bool MediaPlayer::SetDisplaySize(int width, int height) {
    if (frames_) return frames_->SetDisplaySize(width, height);
    if (!device_ || width < 0 || height < 0) return false;
    // The natural size is put explicitly: a put without a rectangle fills the window on the
    // AVI device and is refused by the DirectShow one.
    if (width == 0 && height == 0) {
        width = natural_.cx;
        height = natural_.cy;
    }
    MCI_DGV_PUT_PARMS put = {};
    put.rc = {0, 0, width, height};
    return Send(MCI_PUT, MCI_DGV_PUT_DESTINATION | MCI_DGV_RECT | MCI_WAIT, &put) == 0;
}

bool MediaPlayer::SetTimeFormatMilliseconds() {
    if (frames_) return true; // its times are milliseconds
    if (!device_) return false;
    // With MCI_WAIT rather than a notice: nothing here listens to notices.
    MCI_SET_PARMS set = {};
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    return Send(MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &set) == 0;
}

std::optional<long> MediaPlayer::Status(DWORD item) const {
    if (!device_) return std::nullopt;
    MCI_STATUS_PARMS status = {};
    status.dwItem = item;
    if (Send(MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, &status) != 0) return std::nullopt;
    return long(status.dwReturn);
}

std::optional<long> MediaPlayer::Length() const {
    if (frames_) return frames_->Length();
    return Status(MCI_STATUS_LENGTH);
}

std::optional<long> MediaPlayer::Position() const {
    if (frames_) return frames_->Position();
    if (device_ && pendingSeek_ >= 0) return pendingSeek_;
    if (device_ && paused_) return pausedAt_;
    return Status(MCI_STATUS_POSITION);
}

MediaMode MediaPlayer::Mode() const {
    if (frames_) return frames_->Mode();
    if (!device_) return MediaMode::NotReady;
    if (paused_) return MediaMode::Paused;
    auto mode = Status(MCI_STATUS_MODE);
    return mode ? ModeOf(DWORD(*mode)) : MediaMode::NotReady;
}

void MediaPlayer::SetStartPosition(long ms) {
    startPosition_ = ms;
}

bool MediaPlayer::Play() {
    if (frames_) return frames_->Play(std::exchange(startPosition_, -1));
    if (!device_) return false;
    MCI_PLAY_PARMS play = {};
    DWORD flags = 0;
    // A start position given for this play comes first; then the place of a pause (the AVI
    // device does not resume by itself), then a seek the device refused.
    long from = startPosition_ >= 0 ? startPosition_ : paused_ ? pausedAt_ : pendingSeek_;
    if (from >= 0) {
        flags |= MCI_FROM;
        play.dwFrom = DWORD(from);
    }
    startPosition_ = -1;
    pendingSeek_ = -1;
    paused_ = false;
    if (!aviDevice_) {
        const MediaMode now = Mode();
        // Already playing where it should: a second play would only risk what follows.
        if (now == MediaMode::Playing && from < 0) return true;
        if (now == MediaMode::Playing || now == MediaMode::Paused) StopDirectShow();
    }
    // No MCI_NOTIFY: the end of a clip is found by reading its mode, and a notice without
    // a window of ours to receive it would land in the thread's queue.
    return Send(MCI_PLAY, flags, &play) == 0;
}

// The DirectShow device hangs for good in the close of a clip with sound that was sent a
// play while it was paused or playing (seen with MP4, 3GP and MPEG-1 clips with sound under
// Wine; a resumed clip is closed at its tile's next refill). A play is therefore only sent
// to it once it has stopped; the play names the place to go on from.
void MediaPlayer::StopDirectShow() {
    MCI_GENERIC_PARMS stop = {};
    Send(MCI_STOP, MCI_WAIT, &stop);
}

bool MediaPlayer::Pause() {
    if (frames_) return frames_->Pause();
    if (!device_ || paused_) return false;
    MediaMode mode = Mode();
    if (mode != MediaMode::Playing && mode != MediaMode::Seeking) return false;
    MCI_GENERIC_PARMS params = {};
    if (Send(MCI_PAUSE, MCI_WAIT, &params) != 0) return false;
    auto at = Status(MCI_STATUS_POSITION);
    pausedAt_ = at ? *at : 0;
    paused_ = true;
    // A clip paused where it shows draws its frame now.
    wasShown_ = Display && PartlyShown(Display);
    cueDue_ = false;
    // The AVI device's playing thread is still winding down after a pause, and a play or a
    // close that comes meanwhile can crash the process; a stop waits for it. The frame stays
    // on the screen, and Play resumes from the place read above.
    if (aviDevice_) Send(MCI_STOP, MCI_WAIT, &params);
    error_ = 0;
    return true;
}

bool MediaPlayer::Seek(long ms) {
    if (frames_) return frames_->Seek(ms);
    if (!device_) return false;
    paused_ = false;
    pendingSeek_ = -1;
    MCI_SEEK_PARMS seek = {};
    if (ms <= 0) return Send(MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, &seek) == 0;
    seek.dwTo = DWORD(ms);
    if (Send(MCI_SEEK, MCI_TO | MCI_WAIT, &seek) == 0) return true;
    // The DirectShow device refuses MCI_TO: stop the clip where it is and let the next
    // Play start at the asked position, if the clip has it.
    DWORD refused = error_;
    auto length = Length();
    if (!length || ms > *length) {
        error_ = refused;
        return false;
    }
    MCI_GENERIC_PARMS stop = {};
    Send(MCI_STOP, MCI_WAIT, &stop);
    pendingSeek_ = ms;
    error_ = 0;
    return true;
}

bool HoldsClip(MediaMode mode) {
    return mode == MediaMode::Stopped || mode == MediaMode::Playing || mode == MediaMode::Paused ||
           mode == MediaMode::Open;
}

} // namespace tk
