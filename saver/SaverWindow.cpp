#include "saver/SaverWindow.h"

#include "settings/Settings.h"
#include "settings/Pacing.h"
#include "saver/Password.h"
#include "saver/SystemMonitors.h"
#include "toolkit/App.h"
#include "toolkit/Log.h"

namespace {
// Time the display is given to read a frame before the next one is drawn into its memory.
constexpr DWORD kDisplayReadMs = 5;
} // namespace

SaverWindow::SaverWindow()
    : readMonitors(SystemMonitors), catalogue_(settings_, MakeCatalogueEvents()),
      showHost_(MakeShowHost()), clipWatch_(2, kClipWatchMs) {
    OnCreate();
}

SaverWindow::~SaverWindow() {
    if (Handle() && !closed_) OnClose();
}

bool SaverWindow::CreateHidden() {
    tk::WindowArgs args;
    args.className = L"SaverWindow";
    args.text = L"Vistamur";
    args.style = WS_POPUP | WS_CLIPCHILDREN;
    // Every monitor is covered from the start: nothing of the desktop shows during the scan
    // or the password check either.
    const Box screen = VirtualScreen();
    args.x = screen.left;
    args.y = screen.top;
    args.width = screen.width;
    args.height = screen.height;
    args.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!Create(args)) return false;
    primaryArea_ = ClientRect();
    stepTimer.Attach(Handle());
    clipWatch_.Attach(Handle());
    noticeTimer_.Attach(Handle());
    // "System", 13 pixels high: the window's font for the banner and the progress texts.
    font_.Reset(
        CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"System"));
    return true;
}

void SaverWindow::OnCreate() {
    firstActivation = true;
}

void SaverWindow::OnActivate() {
    if (!firstActivation) return;
    firstActivation = false;
    PlaceWindow();
    // Input is watched from here on: the start-up scan handles it as it comes (a move seen
    // there is the reference point), so the watch starts afresh before it, not after.
    mouse_.Reset();
    Init();
    tk::App::Instance().SetIdleHandler([this](bool& done) { OnIdle(done); });
    // (A first tile that is entering keeps the frames' pace until it is in.)
    const auto interval =
        StepTimerInterval(transition_, settings_.displaySeconds, settings_.stepsPerTenSeconds);
    if (interval && !Animating()) stepTimer.SetInterval(*interval);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, 1, nullptr, 0);
    ShowCursor(FALSE);
    Show();
    SetCapture(Handle());
}

// A posted message wakes the loop at once: were WM_STEP posted at every idle turn, the loop
// would never wait and the saver would spin a core while a picture stands still. So it is
// posted only for a turn whose step has work: a timer tick is due, the strip runs at full
// speed, or the clip watch asks for a look at the clips. Otherwise the loop waits for the
// next message, which input, the exit request, the timer or the clip watch brings at once.
void SaverWindow::OnIdle(bool& done) {
    if (drewSinceIdle_) { // the loop has just handed the drawing to the display (TakeCleanScreen)
        drewSinceIdle_ = false;
        handedOverAt_ = GetTickCount();
    }
    WatchClips();
    TakeWorkersResults();
    // Before the show has begun (the scan has found nothing yet) nothing moves, and the loop
    // waits rather than spin beside the scan.
    if (showStarted_ &&
        (StepMoves(stepDue, transition_, settings_.stepsPerTenSeconds) || clipCheckDue_)) {
        clipCheckDue_ = false;
        PostMessageW(Handle(), WM_STEP, 0, 0);
    }
    done = true;
}

void SaverWindow::WatchClips() {
    bool clipOpen = false;
    for (const auto& show : shows_)
        clipOpen = clipOpen || show->ClipOpen();
    const bool everyTurn = StepsEveryTurn(transition_, settings_.stepsPerTenSeconds);
    const bool wanted =
        ClipWatchWanted(settings_.clipLoops, clipOpen, everyTurn ? 0 : stepTimer.Interval());
    // Setting the timer again would restart it: only a change of mind touches it.
    if (wanted != clipWatch_.Enabled()) clipWatch_.SetEnabled(wanted);
}

void SaverWindow::OnKeyDown(WPARAM) {
    RequestExit();
}
void SaverWindow::OnMouseDown() {
    RequestExit();
}

void SaverWindow::OnMouseMove(int x, int y) {
    if (mouse_.Move(x, y) == MouseWatch::Verdict::Exit) RequestExit();
}

void SaverWindow::RequestExit() {
    if (closed_ || exitPending_) return;
    MouseMoveSkip = kMoveSkipAfterCheck;
    if (!PasswordAllowsExit(Handle())) return;
    if (scanDepth_ > 0) { // the scan under this call stops and then the window closes
        exitPending_ = true;
        return;
    }
    OnClose();
    Destroy();
}

void SaverWindow::OnClose() {
    if (closed_) return;
    closed_ = true;
    // The user gets the desktop back first: the cursor, the capture and the flag go back
    // before anything of the show is closed.
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
    tk::App::Instance().ClearIdleHandler();
    stepTimer.SetEnabled(false);
    clipWatch_.SetEnabled(false);
    noticeTimer_.SetEnabled(false);
    ReleaseCapture();
    ShowCursor(TRUE);
    ShowWindow(Handle(), SW_HIDE);
    StopScan(); // before the catalogue's close, which writes what it knows
    EndSlideshow();
}

void SaverWindow::EndSlideshow() {
    catalogue_.Close(); // the memory written when it is kept
    DropShows();
}

SIZE SaverWindow::TextSize(const std::wstring& text) {
    SIZE size = {0, 0};
    tk::WindowDc dc(Handle());
    tk::Selection font(dc.Get(), font_.Get());
    GetTextExtentPoint32W(dc.Get(), text.c_str(), int(text.size()), &size);
    return size;
}

void SaverWindow::DrawCanvasText(const std::wstring& text, int x, int y) {
    bool replaced = false;
    for (auto& t : canvasTexts_)
        if (t.x == x && t.y == y) {
            t.text = text;
            replaced = true;
        }
    if (!replaced) canvasTexts_.push_back({text, x, y});
    PaintCanvases();
}

void SaverWindow::ClearCanvasTexts() {
    if (canvasTexts_.empty()) return;
    canvasTexts_.clear();
    InvalidateRect(Handle(), nullptr, FALSE);
    for (const auto& stage : stages_)
        InvalidateRect(stage->Handle(), nullptr, FALSE);
}

void SaverWindow::PaintCanvases() {
    {
        tk::WindowDc dc(Handle());
        Paint(dc.Get(), ClientRect());
    }
    for (const auto& stage : stages_) {
        tk::WindowDc dc(stage->Handle());
        const RECT place = stage->Bounds();
        Paint(dc.Get(), stage->ClientRect(), {place.left, place.top});
    }
}

bool SaverWindow::TakeCleanScreen() {
    const bool clean = !drewSinceIdle_ && GetTickCount() - handedOverAt_ >= kDisplayReadMs;
    drewSinceIdle_ = true;
    return clean;
}

// The canvas at origin in the window: the texts are at the window's coordinates.
void SaverWindow::Paint(HDC dc, const RECT& area, POINT origin) {
    PaintUnderTiles(dc, area, origin);
    PaintNotice(dc, origin);
}

void SaverWindow::PaintUnderTiles(HDC dc, const RECT& area, POINT origin) {
    drewSinceIdle_ = true;
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // Selecting a font into a window's DC reads the X resources under Wine, files included:
    // the strip's steps paint here a hundred times a second, nearly always without a text.
    if (canvasTexts_.empty()) return;
    tk::Selection font(dc, font_.Get());
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, OPAQUE);
    for (const auto& t : canvasTexts_)
        TextOutW(dc, t.x - origin.x, t.y - origin.y, t.text.c_str(), int(t.text.size()));
}

LRESULT SaverWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) OnActivate();
        return 0;
    case WM_ERASEBKGND: {
        // A window moved or hidden the usual way (a clip's tile) uncovers part of the window,
        // which the system erases at once: painting it black (and the texts) here leaves no
        // trace of the tile until the next WM_PAINT.
        RECT area = ClientRect();
        Paint(reinterpret_cast<HDC>(wp), area);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        Paint(dc, ClientRect());
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        OnKeyDown(wp);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL: // a turn of the wheel is a person's input, as a button is
    case WM_MOUSEHWHEEL:
        OnMouseDown();
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(short(LOWORD(lp)), short(HIWORD(lp)));
        return 0;
    case WM_TIMER:
        if (wp == stepTimer.Id()) OnStepTick();
        if (wp == clipWatch_.Id()) clipCheckDue_ = true;
        if (wp == noticeTimer_.Id()) EndNotice();
        return 0;
    case WM_STEP:
        if (!closed_ && scanDepth_ == 0 && showStarted_) {
            if (displayChanged_) ApplyDisplayChange();
            MoveOneStep();
        }
        return 0;
    case WM_PICTUREREADY:
        // Input first: posted messages come before it, and a run of files that fail at once
        // would keep a wake-up always waiting. No job starts meanwhile, so the queue drains;
        // the idle turn (or a step) takes the result after the input.
        if (!closed_ && scanDepth_ == 0 && !(HIWORD(GetQueueStatus(QS_INPUT)) & QS_INPUT))
            OnPictureReady();
        return 0;
    case WM_DISPLAYCHANGE:
        // It may come under a refill (a scan looks at its messages): the shows change at the
        // next step, when none of them is at work.
        displayChanged_ = true;
        PostMessageW(Handle(), WM_STEP, 0, 0);
        return 0;
    case WM_EXITREQUEST:
        RequestExit();
        return 0;
    case WM_SCANFOUND:
        OnScanFound();
        return 0;
    case WM_CLOSE:
        if (scanDepth_ > 0) { // not under the scan: it closes the window when it returns
            exitPending_ = true;
            return 0;
        }
        OnClose();
        Destroy();
        return 0;
    case WM_DESTROY:
        if (!closed_) OnClose();
        PostQuitMessage(0);
        return 0;
    case WM_SYSCOMMAND:
        // No screen saver may start over this one, and it cannot be moved or sized.
        if ((wp & 0xFFF0) == SC_SCREENSAVE) return 0;
        break;
    }
    return Default(msg, wp, lp);
}
