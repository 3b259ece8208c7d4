#include "dialog/SelRepDlg.h"

#include "Globals/Globals.h"

namespace {
constexpr int kOkId = 1;
}

bool TSelRepDlg::CreateForm() {
    tk::WindowArgs args;
    args.className = L"TSelRepDlg";
    args.text = L"Vistamur - Configuration";
    args.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    args.width = 420;
    args.height = 170;
    args.x = (GetSystemMetrics(SM_CXSCREEN) - args.width) / 2;
    args.y = (GetSystemMetrics(SM_CYSCREEN) - args.height) / 2;
    args.background = GetSysColorBrush(COLOR_BTNFACE);
    args.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!Create(args)) return false;
    FormCreate();
    return true;
}

void TSelRepDlg::FormCreate() {
    LoadSettings(1);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    std::wstring text = L"Configuration « " + Settings.cfgname + L" »\r\nDossier : " +
                        Settings.InstallDir;
    label_ = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, 16, 16, 380, 60,
                             Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    okButton_ = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON,
                                310, 90, 88, 26, Handle(), reinterpret_cast<HMENU>(kOkId),
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(label_, WM_SETFONT, WPARAM(font), TRUE);
    SendMessageW(okButton_, WM_SETFONT, WPARAM(font), TRUE);
}

LRESULT TSelRepDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wp) == kOkId || LOWORD(wp) == IDCANCEL) Destroy();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return Default(msg, wp, lp);
}
