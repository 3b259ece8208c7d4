#include "app/Preview.h"

#include "toolkit/App.h"
#include "toolkit/Handles.h"

namespace {
// How long a host may stay hidden before the preview gives up: the display settings show
// their window at once, so a host that never appears is not coming.
constexpr DWORD kHostShowTimeoutMs = 5000;
constexpr int kFrameSleepMs = 10;

HICON MainIcon() {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                         kPreviewIconSize, kPreviewIconSize, 0));
}

bool WaitUntilVisible(HWND host) {
    DWORD start = GetTickCount();
    while (!IsWindowVisible(host)) {
        if (!IsWindow(host) || GetTickCount() - start > kHostShowTimeoutMs) return false;
        tk::App::Instance().ProcessMessages();
        Sleep(1);
    }
    return true;
}
} // namespace

int NextPreviewX(int x, int width) {
    if (x == -(kPreviewIconSize + 1)) x = width;
    return x - 1;
}

int PreviewIconY(int height) {
    return height / 2 - kPreviewIconSize / 2;
}

void DrawPreviewFrame(HDC target, int width, int height, int x, int y, HICON icon) {
    RECT all = {0, 0, width, height};
    FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (icon)
        DrawIconEx(target, x, y, icon, kPreviewIconSize, kPreviewIconSize, 0, nullptr, DI_NORMAL);
}

void RunPreview(HWND host) {
    if (!host || !IsWindow(host) || !WaitUntilVisible(host)) return;
    RECT r;
    GetWindowRect(host, &r);
    const int width = r.right - r.left + 1;
    const int height = r.bottom - r.top + 1;
    // The display settings give a child window of theirs. Wine shows nothing drawn through
    // the DC of another process's child window (each process keeps its own picture of a
    // window's children), but shows what is drawn through the DC of its top-level window: the
    // frames go there, at the host's place and clipped to it, which on Windows paints the
    // same pixels. Without DCX_CLIPCHILDREN that DC reaches over the host.
    const HWND root = GetAncestor(host, GA_ROOT);
    POINT origin = {0, 0};
    MapWindowPoints(host, root, &origin, 1);
    tk::WindowDc canvas(root, DCX_CACHE);
    if (!canvas) return;
    RECT inside;
    GetClientRect(host, &inside);
    SetViewportOrgEx(canvas.Get(), origin.x, origin.y, nullptr);
    IntersectClipRect(canvas.Get(), 0, 0, inside.right, inside.bottom);

    // The background is drawn once; each frame copies it and puts the icon on the copy,
    // so the host never sees a half-drawn frame.
    tk::MemDc background(CreateCompatibleDC(canvas.Get()));
    tk::Bitmap backgroundBits(CreateCompatibleBitmap(canvas.Get(), width, height));
    tk::MemDc work(CreateCompatibleDC(canvas.Get()));
    tk::Bitmap workBits(CreateCompatibleBitmap(canvas.Get(), width, height));
    if (!background || !backgroundBits || !work || !workBits) return;
    tk::Selection backgroundSel(background.Get(), backgroundBits.Get());
    tk::Selection workSel(work.Get(), workBits.Get());
    DrawPreviewFrame(background.Get(), width, height, width, 0, nullptr);

    HICON icon = MainIcon();
    int x = width;
    const int y = PreviewIconY(height);
    while (IsWindowVisible(host) && !tk::App::Instance().Terminated()) {
        BitBlt(work.Get(), 0, 0, width, height, background.Get(), 0, 0, SRCCOPY);
        if (icon)
            DrawIconEx(work.Get(), x, y, icon, kPreviewIconSize, kPreviewIconSize, 0, nullptr,
                       DI_NORMAL);
        BitBlt(canvas.Get(), 0, 0, width, height, work.Get(), 0, 0, SRCCOPY);
        Sleep(kFrameSleepMs);
        tk::App::Instance().ProcessMessages();
        x = NextPreviewX(x, width);
    }
    if (icon) DestroyIcon(icon);
}
