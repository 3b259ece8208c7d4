#include "tests/e2e/Harness.h"

#include <fstream>

#include "tests/support/Photos.h"
#include "toolkit/Text.h"

void SyncWith(HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kExitDeadlineMs, &result);
    // A thread gets WM_PAINT only once no input waits in its queue: when the window has
    // painted, all input sent before the invalidation has been handled. (Sent messages
    // prove nothing: several are handled within one look at the queue, before its input.)
    InvalidateRect(window, nullptr, FALSE);
    WaitUntil([&] { return !IsWindow(window) || !GetUpdateRect(window, nullptr, FALSE); },
              kExitDeadlineMs);
}

// --- input -------------------------------------------------------------------------------

void MoveMouseTo(int x, int y) {
    // Absolute coordinates run over 65536 steps across the screen; rounding up lands on
    // the pixel itself.
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG((x * 65536LL + w - 1) / w);
    input.mi.dy = LONG((y * 65536LL + h - 1) / h);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

bool CursorIs(int x, int y) {
    POINT p;
    return GetCursorPos(&p) && p.x == x && p.y == y;
}

bool CursorToRest() {
    MoveMouseTo(kRest.x, kRest.y);
    return WaitUntil([] { return CursorIs(kRest.x, kRest.y); }, kStartDeadlineMs);
}

void PressKey(WORD vk) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = vk;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void ClickButton(DWORD downFlag, DWORD upFlag) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = downFlag;
    inputs[1].mi.dwFlags = upFlag;
    // A wheel has no second half: one notch away from the user.
    if (downFlag == MOUSEEVENTF_WHEEL) inputs[0].mi.mouseData = WHEEL_DELTA;
    SendInput(upFlag ? 2 : 1, inputs, sizeof(INPUT));
}

// --- the screen --------------------------------------------------------------------------

uint32_t ScreenPixel(int x, int y) {
    auto pixels = ReadScreen(RECT{x, y, x + 1, y + 1});
    return pixels.empty() ? 0xFFFFFFFF : pixels[0];
}

// --- the test's own windows --------------------------------------------------------------

namespace {
LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (msg == WM_ERASEBKGND && !GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND)) return 1;
    if (msg == WM_PAINT && !GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND)) {
        ValidateRect(hwnd, nullptr); // the preview draws here, not us
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

const wchar_t* RegisterTestClass(bool paints) {
    static bool registered[2] = {false, false};
    const wchar_t* name = paints ? L"VistamurTestBackdrop" : L"VistamurTestHost";
    if (!registered[paints]) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = TestWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = name;
        wc.hbrBackground = paints ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)) : nullptr;
        RegisterClassW(&wc);
        registered[paints] = true;
    }
    return name;
}
} // namespace

TestWindow::TestWindow(const RECT& r, bool paints, bool show, HWND parent) {
    hwnd_ = CreateWindowExW(parent ? 0 : WS_EX_NOACTIVATE, RegisterTestClass(paints), L"host",
                            parent ? WS_CHILD : WS_POPUP, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ && show) {
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd_);
    }
    PumpMessages();
}

TestWindow::~TestWindow() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    PumpMessages();
}

std::wstring TestWindow::DecimalHandle() const {
    return std::to_wstring(reinterpret_cast<UINT_PTR>(hwnd_));
}

// --- the install folder ------------------------------------------------------------------

namespace {
void WriteText(const std::wstring& path, const std::wstring& text) {
    WriteFileBytes(path, tk::Narrow(text));
}
} // namespace

TestInstall::TestInstall() : installDir_(HKEY_LOCAL_MACHINE, kTestInstallKey, L"InstallDir") {
    const std::wstring photos = dir_ / L"photos";
    CreateDirectoryW(photos.c_str(), nullptr);
    // One small photo, so that the saver has something to show once it shows photos, and
    // never stops on a warning about an empty folder.
    MakeJpeg(photos + L"\\essai.jpg", 96, 64, [](int x, int y) {
        return uint32_t((x * 255 / 95) << 16 | (y * 255 / 63) << 8 | 0x80);
    });

    WriteText(dir_ / L"config.ini", L"[Config]\r\ncfgname=config 1\r\n[Options]\r\ncfgalea=0\r\n");
    SetOptions({});
    installDir_.SetString(dir_.Path());
}

void TestInstall::SetOptions(const Options& changed) {
    Options options = {
        {L"defdir", PhotoFolder() + L";"},
        {L"defspeed", L"1"},
        {L"defdelay", L"990"},
        {L"defpause", L"3600"},
        {L"optransition", L";4;"},
        {L"opnomfic", L"0"},
        {L"opdatefic", L"0"},
        {L"opmemfiles", L"0"},
        {L"memfilesname", L""},
        {L"opnbimgmax", L"3"},
    };
    for (const auto& [key, value] : changed) {
        bool found = false;
        for (auto& option : options)
            if (option.first == key) option.second = value, found = true;
        if (!found) options.emplace_back(key, value);
    }
    std::wstring text = L"[Options]\r\n";
    for (const auto& [key, value] : options)
        text += key + L"=" + value + L"\r\n";
    WriteText(dir_ / L"config 1.cfg", text);
}

// --- the password module -----------------------------------------------------------------

TestPassword::TestPassword()
    : usePassword_(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"ScreenSaveUsePassword") {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    modulePath_ = std::wstring(system) + L"\\PASSWORD.CPL";
    DeleteFileW(TempFile(L"password-calls.txt").c_str());
    Answer(false);
    installed_ = CopyFileW((BuildFolder() + L"PASSWORD.CPL").c_str(), modulePath_.c_str(), FALSE) &&
                 usePassword_.SetDword(1);
}

TestPassword::~TestPassword() {
    DeleteFileW(modulePath_.c_str());
    DeleteFileW(TempFile(L"password-answer.txt").c_str());
    DeleteFileW(TempFile(L"password-calls.txt").c_str());
}

void TestPassword::Answer(bool accept) {
    WriteFileBytes(TempFile(L"password-answer.txt"), accept ? "1" : "0");
}

int TestPassword::Calls() const {
    int calls = 0;
    std::ifstream(TempFile(L"password-calls.txt").c_str()) >> calls;
    return calls;
}
