// The built saver opened with /c as Windows opens its settings: OK pressed with the mouse
// saves the configuration as the dialog shows it and ends the process with code 0.
#include <gtest/gtest.h>

#include "tests/e2e/Harness.h"

namespace {

std::wstring CfgValue(const TestInstall& install, const wchar_t* key) {
    wchar_t value[512] = {};
    GetPrivateProfileStringW(L"Options", key, L"<none>", value, 512,
                             (install.Folder() + L"config 1.cfg").c_str());
    return value;
}

TEST(DialogE2e, OkClickedSavesTheKnobsAsPlacedAndEndsWithCodeZero) {
    TestInstall install;
    install.SetOptions({{L"defdelay", L"990"}, {L"defpause", L"30"}, {L"defspeed", L"7"}});
    SaverProcess dialog(L"/c");
    ASSERT_TRUE(dialog.Started());
    HWND window = dialog.WaitForWindow();
    ASSERT_NE(window, nullptr);
    SyncWith(window);

    // OK stands at (296, 58), 64 x 27, in the band, which lies 336 pixels down the client.
    POINT ok = {296 + 32, 336 + 58 + 13};
    ClientToScreen(window, &ok);
    MoveMouseTo(ok.x, ok.y);
    SyncWith(window);
    ClickButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(dialog.WaitExit(), std::optional<DWORD>(0));

    // The knobs hold pixel places: 990 comes back as 987 and 30 as 29; 7 stays 7.
    EXPECT_EQ(CfgValue(install, L"defdelay"), L"987");
    EXPECT_EQ(CfgValue(install, L"defpause"), L"29");
    EXPECT_EQ(CfgValue(install, L"defspeed"), L"7");
    EXPECT_EQ(CfgValue(install, L"defdir"), install.PhotoFolder() + L";");
}

} // namespace
