// The catalogue inside the saver window: its warnings as boxes over the saver, the input it
// handles while it fills, and the close.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "saver/SaverWindow.h"
#include "tests/catalogue/CatalogueFolder.h"
#include "tests/support/Rig.h"
#include "toolkit/MsgBox.h"
#include "toolkit/System.h"

namespace {

class SaverWindowCatalogue : public CatalogueFolder {
  protected:
    void SetUp() override {
        CatalogueFolder::SetUp();
        tk::SetBoxHook([this](const tk::BoxRequest& box) {
            boxes_.push_back(box);
            if (onBox_) onBox_();
            return IDOK;
        });
        ASSERT_TRUE(saver_.CreateHidden());
    }
    void TearDown() override {
        if (!saver_.Closed()) saver_.OnClose();
        tk::SetBoxHook({});
        CatalogueFolder::TearDown();
    }

    SaverWindow saver_;
    std::vector<tk::BoxRequest> boxes_;
    std::function<void()> onBox_;
};

BOOL CALLBACK FindBox(HWND w, LPARAM out) {
    wchar_t name[16];
    GetClassNameW(w, name, 16);
    if (std::wstring(name) == L"#32770" && IsWindowVisible(w)) {
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    return TRUE;
}

} // namespace

// A folder away is written on the screen, where it stays a few seconds, and no box waits for
// an answer that nobody is there to give; the warning that nothing was found is still a box
// over the saver. A memory that cannot be written does not keep the window from closing.
TEST_F(SaverWindowCatalogue, AFolderAwayIsWrittenOnTheScreenAndTheCloseSurvivesAFailedMemory) {
    MakeFile(Photos() + L"\\a.jpg");
    Settings.rememberSeen = true;
    Settings.folders = dir_ / L"Absent\\Sous";
    saver_.ScanFolders();
    EXPECT_EQ(
        saver_.NoticeLines(),
        std::vector<std::wstring>{L"Répertoire \"" + dir_ / L"Absent\\" + L"\" inaccessible"});
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, L"Erreur : Aucune photos ou vidéos trouvées !");
    EXPECT_EQ(boxes_[0].caption, L"Avertissement");
    EXPECT_EQ(boxes_[0].flags, UINT(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(boxes_[0].owner, saver_.Handle());
    // The notice's own timer takes it away.
    SendMessageW(saver_.Handle(), WM_TIMER, 3, 0);
    EXPECT_TRUE(saver_.NoticeLines().empty());

    Settings.folders = Photos();
    saver_.FillCatalogue();
    ASSERT_FALSE(saver_.Catalogue().filesToSee.empty());
    MakeFolder(Memory() + L".new");
    saver_.OnClose();
    EXPECT_TRUE(saver_.Closed());
    RemoveDirectoryW((Memory() + L".new").c_str());
}

// An exit asked for while a box is open waits until the box is answered: closing the
// window under the scan would pull the catalogue and tiles from under it.
TEST_F(SaverWindowCatalogue, AnExitAskedForDuringABoxWaits) {
    bool closedDuringBox = true;
    onBox_ = [&] {
        saver_.RequestExit();
        closedDuringBox = saver_.Closed();
    };
    saver_.WarningBox(L"test");
    EXPECT_FALSE(closedDuringBox);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, saver_.Handle(), WM_EXITREQUEST, WM_EXITREQUEST, PM_REMOVE));
}

// Whether window a comes before window b in the stacking order. Another test program's
// windows come and go meanwhile; a walk that loses its way (the next of a window just
// destroyed is none) starts again.
bool Above(HWND a, HWND b) {
    for (int walk = 0; walk < 20; ++walk)
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (w == a) return true;
            if (w == b) return false;
        }
    return false;
}

// The real box over a topmost saver: it must come above the saver and take the answer.
TEST_F(SaverWindowCatalogue, ARealBoxComesAboveTheTopmostSaver) {
    tk::SetBoxHook({});
    saver_.firstActivation = false; // no start-up when the box gives the activation back
    SetWindowPos(saver_.Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    const DWORD thread = GetCurrentThreadId();
    const HWND saver = saver_.Handle();
    std::atomic<bool> found{false}, topmost{false}, above{false}, owned{false};
    std::thread answer([&] {
        for (int i = 0; i < 200 && !found; ++i) {
            Sleep(50);
            HWND box = nullptr;
            EnumThreadWindows(thread, FindBox, reinterpret_cast<LPARAM>(&box));
            if (!box) continue;
            found = true;
            topmost = (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            owned = GetWindow(box, GW_OWNER) == saver;
            above = Above(box, saver);
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    });
    const int result = saver_.WarningBox(L"Répertoire \"X:\\\" inaccessible");
    answer.join();
    EXPECT_TRUE(found);
    EXPECT_TRUE(topmost);
    EXPECT_TRUE(owned);
    EXPECT_TRUE(above);
    EXPECT_EQ(result, IDOK);
    ShowWindow(saver_.Handle(), SW_HIDE);
}

// A key that comes while the catalogue is filled is handled at the scan's first check: the
// scan (or the memory read) stops, the window closes, and the memory stays as it was.
TEST_F(SaverWindowCatalogue, AKeyDuringTheScanEndsItAndTheMemoryStays) {
    for (const wchar_t* name : {L"a", L"b"}) {
        MakeFolder(Photos() + L"\\" + name);
        MakeFile(Photos() + L"\\" + name + L"\\x.jpg");
    }
    Settings.rememberSeen = true;
    for (const char* memory : {"", "0C:\\to see.jpg\r\n"}) { // none: a scan; else read
        if (*memory) MakeFile(Memory(), memory);
        SaverWindow saver;
        ASSERT_TRUE(saver.CreateHidden());
        PostMessageW(saver.Handle(), WM_KEYDOWN, VK_SPACE, 0);
        saver.FillCatalogue();
        EXPECT_TRUE(saver.ExitPending()) << memory;
        EXPECT_TRUE(saver.Catalogue().filesToSee.empty()) << memory;
        PumpMessages();
        EXPECT_TRUE(saver.Closed()) << memory;
        EXPECT_EQ(tk::FileExists(Memory()) ? ReadFileBytes(Memory()) : "", memory);
    }
}

// A key that comes while a refill works through broken files ends the tries at their next look
// at the input, as in a scan; the window then closes.
TEST_F(SaverWindowCatalogue, AKeyDuringTheRefillsTriesEndsThem) {
    std::vector<std::wstring> broken;
    for (int i = 0; i < 300; ++i) {
        broken.push_back(Photos() + L"\\empty" + std::to_wstring(i) + L".jpg");
        MakeFile(broken.back(), "");
    }
    saver_.BuildSlideshow();
    saver_.Catalogue().filesToSee = broken;
    PostMessageW(saver_.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    saver_.PrimaryShow().RefillTile();
    EXPECT_TRUE(saver_.ExitPending());
    EXPECT_GE(saver_.Catalogue().filesToSee.size(), broken.size() - 2) << "the tries went on";
    PumpMessages();
    EXPECT_TRUE(saver_.Closed());
}
