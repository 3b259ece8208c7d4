#include "toolkit/ToolTips.h"

#include <commctrl.h>
#include <windowsx.h>

#include <iterator>

namespace tk {

namespace {
// Wide enough for the longest hint line; any width at all makes the tooltip honour the
// line breaks instead of showing one long line.
constexpr int kMaxTipWidth = 520;

TTTOOLINFOW ToolInfo(HWND tool, const std::wstring* text) {
    TTTOOLINFOW info = {};
    info.cbSize = sizeof info;
    // Not TTF_SUBCLASS: the system's subclassing finds its data through a window property,
    // which under Wine costs a trip to the server at every message the control gets (a
    // list filled with 10,000 lines took 25 times longer). The controls relay their mouse
    // messages themselves.
    info.uFlags = TTF_IDISHWND;
    info.hwnd = GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text ? const_cast<wchar_t*>(text->c_str()) : nullptr;
    return info;
}
} // namespace

ToolTips::~ToolTips() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool ToolTips::Create(HWND owner) {
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
    if (!hwnd_) return false;
    owner_ = owner;
    SendMessageW(hwnd_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    return true;
}

void ToolTips::Add(HWND tool, const std::wstring& text) {
    if (!hwnd_ || !tool) return;
    TTTOOLINFOW info = ToolInfo(tool, &text);
    SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTips::SetText(HWND tool, const std::wstring& text) {
    if (!hwnd_ || !tool) return;
    TTTOOLINFOW info = ToolInfo(tool, &text);
    SendMessageW(hwnd_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTips::Relay(HWND tool, UINT msg, WPARAM wp, LPARAM lp) {
    if (!hwnd_) return;
    const DWORD at = GetMessagePos();
    MSG relayed = {
        tool, msg, wp, lp, DWORD(GetMessageTime()), {GET_X_LPARAM(at), GET_Y_LPARAM(at)}};
    SendMessageW(hwnd_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void ToolTips::Hold(bool held) {
    if (!hwnd_) return;
    if (held) {
        SendMessageW(hwnd_, TTM_POP, 0, 0);
        // A tip whose delay began before the hold (the pointer rested on the box before its
        // click) would still come under Wine: the tooltip is told that the pointer has left
        // every tool, onto the form, which is none.
        MSG left = {owner_, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0), DWORD(GetMessageTime()), {0, 0}};
        SendMessageW(hwnd_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&left));
    }
    SendMessageW(hwnd_, TTM_ACTIVATE, !held, 0);
}

std::wstring ToolTips::Text(HWND tool) const {
    if (!hwnd_) return {};
    wchar_t buffer[1024] = {};
    TTTOOLINFOW info = ToolInfo(tool, nullptr);
    info.lpszText = buffer;
    SendMessageW(hwnd_, TTM_GETTEXTW, std::size(buffer), reinterpret_cast<LPARAM>(&info));
    return buffer;
}

} // namespace tk
