#pragma once
// Every modal box of the program goes through here, so that tests can read the text and
// answer in place of a person.
#include <windows.h>

#include <functional>
#include <string>

namespace tk {

struct BoxRequest {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT flags; // MB_* as for MessageBox
};

using BoxHook = std::function<int(const BoxRequest&)>;

// Shows the box (or asks the hook) and returns the button pressed (IDOK, IDYES ...). A box
// whose owner lies over several monitors (the saver's window) comes on the primary one.
int ShowBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags);
// The same, centred on an area of the screen (one monitor of a window that covers several,
// where the system would centre it on the monitor holding most of the owner).
int ShowBoxOver(const RECT& area, HWND owner, const std::wstring& text, const std::wstring& caption,
                UINT flags);

// The application's standard error box, for an error that ended an operation.
void ShowErrorBox(const std::wstring& message);

// Replaces the boxes by a function; an empty hook brings the real boxes back.
void SetBoxHook(BoxHook hook);

// The title the application shows in its own boxes.
const std::wstring& AppTitle();

} // namespace tk
