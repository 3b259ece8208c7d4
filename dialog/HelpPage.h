#pragma once
// Vistamur's help page travels inside the program: the link of the bottom band writes it to
// the user's temporary folder and asks the shell to open it in the web browser.
#include <windows.h>

#include <functional>
#include <string>

constexpr int kHelpPageResource = 200; // RCDATA

// The help page's path in the temporary folder, written afresh; empty when it could not be.
std::wstring WriteHelpPage();

// Writes the page and opens it with the shell's "open", the form as parent. False when the
// page could not be written or the shell could not open it (no browser, say); page is then
// where it was written, or empty.
bool OpenHelpPage(HWND owner, std::wstring& page);

// What the dialog says when the page could not be shown, naming where it was written (if it
// was) so that the user can open it by hand.
std::wstring HelpNotOpenedText(const std::wstring& page);

// The shell's "open" of a page (ShellExecute's result), replaced in tests so that no browser
// starts; an empty function brings the shell back.
using ShellOpenFunction = std::function<INT_PTR(HWND owner, const std::wstring& path)>;
void SetShellOpen(ShellOpenFunction open);
