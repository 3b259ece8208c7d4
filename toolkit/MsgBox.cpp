#include "toolkit/MsgBox.h"

namespace tk {

namespace {
BoxHook& Hook() {
    static BoxHook hook;
    return hook;
}
} // namespace

const std::wstring& AppTitle() {
    static const std::wstring title = L"Vistamur";
    return title;
}

int ShowBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
    if (Hook()) return Hook()(BoxRequest{owner, text, caption, flags});
    // The saver window is topmost over the whole screen: the box must come above it and
    // take the input, or the user could neither see nor answer it.
    if (owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST)) flags |= MB_TOPMOST;
    return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void ShowErrorBox(const std::wstring& message) {
    ShowBox(GetActiveWindow(), message, AppTitle(), MB_OK | MB_ICONERROR);
}

void SetBoxHook(BoxHook hook) { Hook() = std::move(hook); }

} // namespace tk
