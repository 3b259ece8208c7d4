// The saver left alone with what it cannot show: a folder away, the memory of one, a folder
// of broken files. The show goes on without a box, and input ends it while it works.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "tests/support/Tree.h"
#include "tests/e2e/Harness.h"
#include "toolkit/Text.h"

namespace {

class Unattended : public InstalledSuite {
  protected:
    void SetUp() override { ASSERT_TRUE(CursorToRest()); }
    void TearDown() override { install->SetOptions({}); }

    // Moves the mouse to and fro every 100 ms from the moment the window shows, as a user
    // coming back would, until the saver ends; the seconds it took, or nothing.
    static std::optional<double> MovesEndIt(SaverProcess& saver) {
        if (!saver.WaitForWindow()) return std::nullopt;
        const DWORD start = GetTickCount();
        for (int i = 0; saver.Running(); ++i) {
            if (GetTickCount() - start > kEndBoundMs) return std::nullopt;
            MoveMouseTo(kRest.x + (i % 2 ? 20 : 0), kRest.y);
            Sleep(100);
        }
        return (GetTickCount() - start) / 1000.0;
    }
    // Generous, since the machine is shared: the saver looks at its input every 20 ms or so.
    static constexpr DWORD kEndBoundMs = 20000;
};

} // namespace

TEST_F(Unattended, InputEndsTheSaverWhileItWorksThroughWhatItCannotShow) {
    TempDir media;
    // 40,000 entries still to see of a disk that is unplugged.
    const std::wstring disk = media / L"disk\\Photos";
    std::string memory;
    for (int i = 0; i < 40000; ++i)
        memory.append("0")
            .append(tk::Narrow(disk))
            .append("\\IMG_")
            .append(std::to_string(i))
            .append(".jpg\r\n");
    WriteFileBytes(install->Folder() + L"config 1.tmp", memory);
    // 50,000 empty files, 45,000 of them with a photo's or a clip's name, all still to see in
    // the memory of another configuration: the start reads it at once, and the refill's tries
    // are the long work.
    const std::wstring broken = media / L"broken";
    MakeFolder(broken);
    ASSERT_TRUE(MakeManyFiles(broken, 50000));
    std::string brokenMemory;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((broken + L"\\*").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            brokenMemory.append("0")
                .append(tk::Narrow(broken + L"\\" + found.cFileName))
                .append("\r\n");
    while (FindNextFileW(find, &found));
    FindClose(find);
    brokenMemory.append("0").append(tk::Narrow(install->PhotoFolder() + L"\\essai.jpg\r\n"));
    WriteFileBytes(install->Folder() + L"broken.tmp", brokenMemory);

    const struct {
        const char* what;
        TestInstall::Options options;
    } cases[] = {
        {"the memory of a folder away",
         {{L"defdir", install->PhotoFolder() + L";" + disk + L";"},
          {L"opmemfiles", L"1"},
          {L"memfilesname", L"config 1"}}},
        {"a folder of broken files",
         {{L"defdir", install->PhotoFolder() + L";" + broken + L";"},
          {L"opmemfiles", L"1"},
          {L"memfilesname", L"broken"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        install->SetOptions(c.options);
        SaverProcess saver(L"/s");
        const auto seconds = MovesEndIt(saver);
        ASSERT_TRUE(seconds.has_value()) << "the saver did not end";
        printf("%s: ended %.1f s after its window showed\n", c.what, *seconds);
        EXPECT_EQ(saver.WaitExit(), 0u);
    }
    DeleteFileW((install->Folder() + L"config 1.tmp").c_str());
    DeleteFileW((install->Folder() + L"broken.tmp").c_str());
}

// A folder away in the saver: its warning is written in a corner of the screen, no box
// waits, the photo of the folder that is there shows, and the first move ends the saver.
TEST_F(Unattended, AFolderAwayIsSaidOnTheScreenWithoutABox) {
    TempDir media;
    install->SetOptions({{L"defdir", install->PhotoFolder() + L";" + media / L"away\\Photos;"}});
    SaverProcess saver(L"/s");
    HWND window = saver.WaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(saver.WaitForCapture(window)) << "the start waited for something";
    EXPECT_EQ(saver.VisibleWindows(), std::vector<HWND>{window}) << "a box came up";
    // White text on black in the bottom left corner.
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const RECT area = {0, h - 80, 400, h};
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (uint32_t pixel : ReadScreen(area))
                if ((pixel & 0xFFFFFF) == 0xFFFFFF) return true;
            return false;
        },
        5000))
        << "no warning on the screen";
    // The photo of the folder that is there, at the centre.
    EXPECT_TRUE(WaitUntil([&] { return (ScreenPixel(w / 2, h / 2) & 0xFFFFFF) != 0; }, 5000))
        << "no photo shows";
    EXPECT_TRUE(MovesEndIt(saver).has_value()) << "input did not end the saver";
    EXPECT_EQ(saver.WaitExit(), 0u);
}

// What the start cannot use is said on the screen, in the bottom left corner, and no box
// waits for somebody who is not there: nothing to show (then on black, without the banner),
// a configuration that "config.ini" names but that is missing, one that another program
// holds. A move ends the saver as at any other moment.
TEST_F(Unattended, WhatTheStartCannotUseIsSaidOnTheScreenAndAMoveEndsIt) {
    TempDir empty;
    const std::wstring ini = install->Folder() + L"config.ini";
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const auto anyWhite = [](const RECT& area) {
        for (uint32_t pixel : ReadScreen(area))
            if ((pixel & 0xFFFFFF) == 0xFFFFFF) return true;
        return false;
    };
    const struct {
        const char* what;
        const wchar_t* configuration; // the name "config.ini" gives
        bool held;                    // its file held by another program
    } cases[] = {
        {"nothing to show", L"config 1", false},
        {"a configuration missing", L"absent", false},
        {"a configuration held", L"config 1", true},
    };
    install->SetOptions({{L"defdir", empty.Path()}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WritePrivateProfileStringW(L"Config", L"cfgname", c.configuration, ini.c_str());
        std::optional<HeldFile> held;
        if (c.held) held.emplace(install->Folder() + L"config 1.cfg");
        SaverProcess saver(L"/s");
        HWND window = saver.WaitForWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(saver.WaitForCapture(window));
        EXPECT_TRUE(WaitUntil(
            [&] {
                return anyWhite({0, h - 80, 400, h});
            },
            5000))
            << "nothing said on the screen";
        EXPECT_EQ(saver.VisibleWindows(), std::vector<HWND>{window}) << "a box came up";
        // The banner goes with the scan's end and the window's next paint.
        EXPECT_TRUE(WaitUntil(
            [&] {
                return !anyWhite({w / 2 - 200, h / 2 - 40, w / 2 + 200, h / 2 + 40});
            },
            5000))
            << "the banner stays over nothing to show";
        EXPECT_TRUE(MovesEndIt(saver).has_value()) << "input did not end the saver";
        EXPECT_EQ(saver.WaitExit(), 0u);
    }
    WritePrivateProfileStringW(L"Config", L"cfgname", L"config 1", ini.c_str());
}
