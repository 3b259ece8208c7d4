#pragma once
// What the settings dialog's tests and benchmarks share: an install folder named by the
// registry with one configuration, the real dialog opened and shown on it, and the screen's
// pixels under a window. Header-only and free of GoogleTest, so that the benchmarks include
// it too.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dialog/SettingsDialog.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/Rig.h"
#include "tests/support/TempDir.h"
#include "toolkit/Dib.h"
#include "toolkit/Handles.h"
#include "toolkit/MsgBox.h"
#include "toolkit/NonCopyable.h"

namespace rig {

using Options = std::vector<std::pair<std::wstring, std::wstring>>;

// A configuration whose every setting differs from the program's defaults.
inline Options DialogOptions() {
    return {{L"defdir", L"C:\\photos;D:\\films;"},
            {L"defspeed", L"4"},
            {L"defdelay", L"500"},
            {L"defpause", L"30"},
            {L"opdebfilm", L"0"},
            {L"opBclfilm", L"1"},
            {L"opdbafilm", L"1"},
            {L"opfinfilm", L"0"},
            {L"opagrfilm", L"3"},
            {L"optransition", L";1;3;"},
            {L"opnomfic", L"1"},
            {L"opdatefic", L"0"},
            {L"opmemfiles", L"0"},
            {L"memfilesname", L""},
            {L"opnbimgmax", L"8"}};
}

// An install folder of the test's own, named by HKLM "InstallDir" while it lives.
struct DialogInstall {
    explicit DialogInstall(const Options& options = DialogOptions()) {
        WriteConfiguration(dir.Path(), options);
    }
    std::wstring File(const std::wstring& name) const { return dir / name; }

    TempDir dir;
    InstallFolder folder{dir.Path()};
};

// Every message box shown while it lives, recorded and answered in place of a person: a
// question gets `answer`, a box with OK alone gets OK whatever it is.
struct Boxes : private tk::NonCopyable {
    explicit Boxes(int answer = IDOK) : answer(answer) {
        tk::SetBoxHook([this](const tk::BoxRequest& box) {
            seen.push_back(box);
            return this->answer;
        });
    }
    ~Boxes() { tk::SetBoxHook(nullptr); }

    int answer;
    std::vector<tk::BoxRequest> seen;
};

// A drive letter that leads nowhere, as an empty disc or card reader: the system lists it
// among the drives and its root cannot be read. Gone with the object; Letter() is 0 when no
// letter was free.
class EmptyDrive : private tk::NonCopyable {
  public:
    EmptyDrive() {
        for (wchar_t c = L'y'; c >= L'm'; --c)
            if (!(GetLogicalDrives() & (1u << (c - L'a')))) {
                const wchar_t name[] = {c, L':', 0};
                if (DefineDosDeviceW(0, name, L"C:\\vistamur-nothing-here")) letter_ = c;
                return;
            }
    }
    ~EmptyDrive() {
        const wchar_t name[] = {letter_, L':', 0};
        if (letter_) DefineDosDeviceW(DDD_REMOVE_DEFINITION, name, nullptr);
    }
    wchar_t Letter() const { return letter_; }

  private:
    wchar_t letter_ = 0;
};

// The dialog as the configure mode opens it: created, filled, shown and painted.
inline std::unique_ptr<SettingsDialog> OpenDialog() {
    auto dialog = std::make_unique<SettingsDialog>();
    if (!dialog->Open()) return nullptr;
    dialog->Show();
    UpdateWindow(dialog->Handle());
    PumpMessages(dialog->Handle());
    return dialog;
}

// A click on the file's line in the dialog's file list, as the user makes it (the list is
// scrolled to the line first); false if no line names the file.
inline bool ClickFile(SettingsDialog& dialog, const std::wstring& name) {
    tk::FileListBox& list = *dialog.fileList;
    const int index = list.FindExact(name);
    if (index < 0) return false;
    SendMessageW(list.Handle(), LB_SETTOPINDEX, index, 0);
    RECT line;
    SendMessageW(list.Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&line));
    const LPARAM at = MAKELPARAM(line.left + 5, (line.top + line.bottom) / 2);
    SendMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list.Handle(), WM_LBUTTONUP, 0, at);
    PumpMessages(dialog.Handle());
    return true;
}

// What the screen shows under the window, 0xRRGGBB, row after row. The program's
// drawing reaches the screen (the X server, under Wine) when its loop next turns, and
// at most every few tens of milliseconds: the shot lets it.
struct ScreenShot {
    explicit ScreenShot(HWND window) {
        PumpMessages(GetAncestor(window, GA_ROOT));
        Sleep(80);
        PumpMessages(GetAncestor(window, GA_ROOT));
        GetWindowRect(window, &area);
        pixels = ReadScreen(area);
    }
    int Width() const { return area.right - area.left; }
    int Height() const { return area.bottom - area.top; }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * Width() + x]; }
    // Whether any pixel of that colour (COLORREF) lies in the rectangle of the window.
    bool Holds(COLORREF colour) const {
        const uint32_t rgb =
            uint32_t(GetRValue(colour)) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
        return std::find(pixels.begin(), pixels.end(), rgb) != pixels.end();
    }
    RECT area = {};
    std::vector<uint32_t> pixels;
};

} // namespace rig
