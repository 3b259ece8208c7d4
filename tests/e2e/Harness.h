#pragma once
// Driving the built Vistamur.scr as Windows does: started in its own process with the
// screen-saver switches, fed real input, its windows and the screen looked at from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/Registry.h"
#include "tests/support/SaverProcess.h"
#include "tests/support/TempDir.h"
#include "toolkit/NonCopyable.h"

// Waits until the window's thread has handled all the input given before the call. Wine
// merges a mouse move into the previous one while that one waits in the queue, so every
// move that counts must be handled before the next is made.
void SyncWith(HWND window);

// Real input through SendInput (absolute moves arrive exactly; relative ones would not).
void MoveMouseTo(int x, int y);
bool CursorIs(int x, int y);

// The cursor waits here before each start of the saver: the saver takes its first mouse
// position as the reference point, and its first synthetic move arrives at this very place.
constexpr POINT kRest = {400, 300};
// Moves the cursor to kRest and waits until it is there; false if it never came.
bool CursorToRest();
void PressKey(WORD vk);
void ClickButton(DWORD downFlag, DWORD upFlag);

uint32_t ScreenPixel(int x, int y); // ReadScreen's one pixel

// A window of the test: a host for the preview (top-level, or a child as the display settings
// give) or a white backdrop.
class TestWindow : private tk::NonCopyable {
  public:
    // paints: whether it fills itself white (a backdrop) or leaves its pixels alone (a
    // preview host, into which another process draws).
    // parent: a window of the test's to make it a child of, at bounds inside that window.
    TestWindow(const RECT& bounds, bool paints, bool show = true, HWND parent = nullptr);
    ~TestWindow();
    HWND Handle() const { return hwnd_; }
    std::wstring DecimalHandle() const;

  private:
    HWND hwnd_ = nullptr;
};

// An install folder named by HKLM "InstallDir" for as long as the object lives: config.ini,
// "config 1.cfg" with one central transition and a long display time (nothing moves), and a
// photo folder holding one small JPEG.
class TestInstall {
  public:
    using Options = std::vector<std::pair<std::wstring, std::wstring>>;
    TestInstall();
    const std::wstring& Folder() const { return dir_.Path(); }
    std::wstring PhotoFolder() const { return dir_ / L"photos"; } // without the backslash
    // Rewrites "config 1.cfg" with these keys in place of the usual values.
    void SetOptions(const Options& changed);

  private:
    TempDir dir_;
    ScopedRegValue installDir_;
};

// A suite whose tests share one install folder, made before its first test and taken away
// after its last.
class InstalledSuite : public testing::Test {
  protected:
    static void SetUpTestSuite() { install = std::make_unique<TestInstall>(); }
    static void TearDownTestSuite() { install.reset(); }
    static inline std::unique_ptr<TestInstall> install;
};

// The test password module in the system folder, answering as the test says, with
// "ScreenSaveUsePassword" = 1; all taken away again at the end.
class TestPassword {
  public:
    TestPassword();
    ~TestPassword();
    bool Installed() const { return installed_; }
    void Answer(bool accept);
    int Calls() const; // calls of VerifyScreenSavePwd so far

  private:
    ScopedRegValue usePassword_;
    std::wstring modulePath_;
    bool installed_ = false;
};
