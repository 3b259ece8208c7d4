// The catalogue inside the saver window: its warnings written on the screen, the input it
// handles while it fills, and the close.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

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
        saver_.UseSettings(settings_);
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

} // namespace

// What the saver has to say is written on the screen, and no box waits for an answer that
// nobody is there to give: a folder away for a few seconds (8, not less), the warning that
// nothing was found until the saver ends, on black. A memory that cannot be written does not
// keep the window from closing.
TEST_F(SaverWindowCatalogue, WarningsAreWrittenOnTheScreenAndTheCloseSurvivesAFailedMemory) {
    MakeFile(Photos() + L"\\a.jpg");
    settings_.rememberSeen = true;
    settings_.folders = dir_ / L"Absent\\Sous";
    saver_.UseSettings(settings_);
    saver_.BuildSlideshow();
    saver_.ScanFoldersToTheEnd();
    const std::wstring away = L"Répertoire \"" + dir_ / L"Absent\\" + L"\" inaccessible";
    const std::wstring nothing = L"Erreur : Aucune photos ou vidéos trouvées !";
    EXPECT_EQ(saver_.NoticeLines(), (std::vector<std::wstring>{away, nothing}));
    EXPECT_TRUE(boxes_.empty());
    EXPECT_FALSE(saver_.HasCanvasTexts()) << "the banner stays over nothing to show";
    PumpFor(4000);
    EXPECT_EQ(saver_.NoticeLines().size(), 2u) << "the folder away went before its time";
    // The notice's own timer takes the folder away; nothing to show stays, and is said once.
    SendMessageW(saver_.Handle(), WM_TIMER, 3, 0);
    saver_.ScanFoldersToTheEnd();
    EXPECT_EQ(saver_.NoticeLines(), std::vector<std::wstring>{nothing});

    settings_.folders = Photos();
    saver_.UseSettings(settings_);
    saver_.FillCatalogue();
    WaitUntil([&] { return !saver_.Catalogue().ScanRunning(); }, 10000);
    ASSERT_FALSE(saver_.Catalogue().filesToSee.empty());
    MakeFolder(Memory() + L".new");
    saver_.OnClose();
    EXPECT_TRUE(saver_.Closed());
    RemoveDirectoryW((Memory() + L".new").c_str());
}

// A key that comes while the catalogue is filled ends the saver: the memory read stops at its
// first look at the input, the scan on its worker is heard by the message loop as at any
// moment; the window closes, and the memory stays as it was.
TEST_F(SaverWindowCatalogue, AKeyDuringTheScanEndsItAndTheMemoryStays) {
    for (const wchar_t* name : {L"a", L"b"}) {
        MakeFolder(Photos() + L"\\" + name);
        MakeFile(Photos() + L"\\" + name + L"\\x.jpg");
    }
    settings_.rememberSeen = true;
    for (const char* memory : {"", "0C:\\to see.jpg\r\n"}) { // none: a scan; else read
        if (*memory) MakeFile(Memory(), memory);
        SaverWindow saver;
        ASSERT_TRUE(saver.CreateHidden());
        saver.UseSettings(settings_);
        PostMessageW(saver.Handle(), WM_KEYDOWN, VK_SPACE, 0);
        saver.FillCatalogue();
        if (*memory) {
            EXPECT_TRUE(saver.ExitPending()) << memory;
        }
        PumpMessages();
        EXPECT_TRUE(saver.Catalogue().filesToSee.empty()) << memory;
        EXPECT_TRUE(saver.Closed()) << memory;
        EXPECT_EQ(tk::FileExists(Memory()) ? ReadFileBytes(Memory()) : "", memory);
    }
}

// A key that comes while a first refill works through broken files on the window's thread
// ends the tries at their next look at the input, as in a scan; the window then closes.
TEST_F(SaverWindowCatalogue, AKeyDuringTheRefillsTriesEndsThem) {
    std::vector<std::wstring> broken;
    for (int i = 0; i < 300; ++i) {
        broken.push_back(Photos() + L"\\empty" + std::to_wstring(i) + L".jpg");
        MakeFile(broken.back(), "");
    }
    saver_.BuildSlideshow();
    saver_.Catalogue().filesToSee = broken;
    PostMessageW(saver_.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    saver_.PrimaryShow().FirstRefill();
    EXPECT_TRUE(saver_.ExitPending());
    EXPECT_GE(saver_.Catalogue().filesToSee.size(), broken.size() - 2) << "the tries went on";
    PumpMessages();
    EXPECT_TRUE(saver_.Closed());
}
