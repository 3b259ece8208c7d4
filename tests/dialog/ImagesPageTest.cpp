// The images page of the real dialog: the folder tree and the file list it opens with, the
// buttons that fill the list of chosen folders, and the preview of photos and clips with
// its warnings. The rules behind them (which folder opens, which may be added, which lines
// a removal leaves, where the box goes for a clip) have their own tables.
#include <gtest/gtest.h>

#include <functional>

#include "dialog/FolderPicking.h"
#include "tests/support/Photos.h"
#include "tests/support/DialogRig.h"
#include "tests/support/Rig.h"
#include "tests/support/ClipRig.h"
#include "toolkit/Counters.h"
#include "toolkit/MsgBox.h"
#include "toolkit/Text.h"

namespace {

using Lines = std::vector<std::wstring>;

constexpr uint32_t kPhotoColour = 0x3080C0;

void Copy(const std::wstring& from, const std::wstring& to) {
    CopyFileW(from.c_str(), to.c_str(), FALSE);
}

// A folder of photos and clips, good and bad, with a sub-folder and a hidden one.
struct PhotoFolder {
    PhotoFolder() {
        CreateDirectoryW(path.c_str(), nullptr);
        MakeSolidJpeg(File(L"p640.jpg"), 640, 480, kPhotoColour);
        MakeSolidJpeg(File(L"p480.jpg"), 480, 640, kPhotoColour);
        MakeSolidJpeg(File(L"p120.jpg"), 120, 90, kPhotoColour);
        WriteFileBytes(File(L"bad.jpg"), std::string(4000, 'x'));
        WriteFileBytes(File(L"empty.jpg"), "");
        WriteFileBytes(File(L"empty.mpg"), "");
        Copy(cliprig::Media(L"short.avi"), File(L"short.avi"));
        Copy(cliprig::Media(L"short.mpg"), File(L"short.mpg"));
        Copy(cliprig::Media(L"sound.mpa"), File(L"sound.mpa"));
        WriteFileBytes(File(L"notes.txt"), "x");
        CreateDirectoryW(File(L"Été").c_str(), nullptr);
        CreateDirectoryW(File(L"caché").c_str(), nullptr);
        SetFileAttributesW(File(L"caché").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    std::wstring File(const std::wstring& name) const { return path + L"\\" + name; }

    TempDir dir;
    std::wstring path = dir / L"Photos ÿ";
};

rig::Options WithFolders(const std::wstring& folders) {
    rig::Options options = rig::DialogOptions();
    for (auto& [key, value] : options)
        if (key == L"defdir") value = folders;
    return options;
}

// A press and release of the left button in the middle of a control, through its messages.
void ClickMiddle(tk::Control& control) {
    const RECT r = control.ClientRect();
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    SendMessageW(control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control.Handle(), WM_LBUTTONUP, 0, at);
}

class ImagesPage : public testing::Test {
  protected:
    ImagesPage() {
        tk::SetBoxHook([this](const tk::BoxRequest& box) {
            boxes.push_back(box);
            return IDOK;
        });
    }
    ~ImagesPage() override {
        dialog.reset();
        tk::SetBoxHook(nullptr);
    }

    // A click on the file's line in the list, as the user makes it.
    void ClickFile(const std::wstring& name) {
        ASSERT_TRUE(rig::ClickFile(*dialog, name)) << tk::ToUtf8(name);
    }

    RECT Box() const { return dialog->previewBox->Bounds(); }

    PhotoFolder photos;
    rig::DialogInstall install{WithFolders(L"C:\\gone;" + photos.path + L";")};
    std::vector<tk::BoxRequest> boxes;
    const long devicesBefore = tk::Counts().mciDevices;
    std::unique_ptr<SettingsDialog> dialog = rig::OpenDialog();
};

TEST_F(ImagesPage, OpensAtTheLastChosenFolderWithItsMediaFilesAndVisibleSubfolders) {
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->folderTree->Directory(), photos.path);
    EXPECT_EQ(dialog->driveChooser->Drive(), towlower(photos.path[0]));
    EXPECT_EQ(dialog->fileList->Items(),
              (Lines{L"bad.jpg", L"empty.jpg", L"empty.mpg", L"p120.jpg", L"p480.jpg", L"p640.jpg",
                     L"short.avi", L"short.mpg", L"sound.mpa"}));
    // The picked folder's branch leaves its hidden folder out.
    EXPECT_EQ(dialog->folderTree->OpenPicked(), Lines{L"Été"});
}

TEST_F(ImagesPage, PickingAFolderInTheTreeListsItsFilesAndTheDriveListNamesItsDrives) {
    ASSERT_TRUE(dialog);
    MakeSolidJpeg(photos.File(L"Été\\plage.jpg"), 64, 48, kPhotoColour);
    dialog->folderTree->OpenPicked();
    HWND tree = dialog->folderTree->Handle();
    // The keyboard: one line down is the first sub-folder.
    SetFocus(tree);
    SendMessageW(tree, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(dialog->folderTree->Directory(), photos.File(L"Été"));
    EXPECT_EQ(dialog->fileList->Items(), Lines{L"plage.jpg"});

    const std::wstring drive = std::wstring(L"(") + wchar_t(towupper(photos.path[0])) + L":)";
    const std::wstring shown = dialog->driveChooser->Text();
    EXPECT_NE(shown.find(drive), std::wstring::npos) << tk::ToUtf8(shown);
    // Choosing the drive again shows its root.
    dialog->OnDriveChanged();
    EXPECT_EQ(dialog->folderTree->Directory(), photos.path.substr(0, 3));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ImagesPage, ChoosingADriveWithNothingInItKeepsTheFolderShownAndSaysSo) {
    rig::EmptyDrive empty;
    if (!empty.Letter()) GTEST_SKIP() << "no drive letter could be made";
    auto fresh = rig::OpenDialog(); // its drive list holds the new letter
    ASSERT_TRUE(fresh);
    const std::wstring shown = fresh->folderTree->Directory();
    const int files = fresh->fileList->Count();
    fresh->driveChooser->SetDrive(empty.Letter());
    ASSERT_EQ(fresh->driveChooser->Drive(), empty.Letter());
    fresh->OnDriveChanged();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, DriveNotReadyMessage(empty.Letter()));
    EXPECT_EQ(boxes[0].caption, L"Avertissement");
    EXPECT_EQ(boxes[0].flags, UINT(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(fresh->folderTree->Directory(), shown);
    EXPECT_EQ(fresh->fileList->Count(), files);
    EXPECT_EQ(fresh->driveChooser->Drive(), towlower(shown[0]));
}

TEST_F(ImagesPage, TheButtonsAddThePickedFolderOnceAndRemoveTheSelectedLines) {
    ASSERT_TRUE(dialog);
    tk::ListBox& chosen = *dialog->chosenFolders;
    const std::wstring summer = photos.File(L"Été"), gone = photos.File(L"parti");
    CreateDirectoryW(gone.c_str(), nullptr);
    struct Step {
        const char* what;
        std::function<void()> act;
        Lines after;
    };
    const Step steps[] = {
        {"add the folder listed already",
         [&] { ClickMiddle(*dialog->addFolderButton); },
         {L"C:\\gone", photos.path}},
        {"add a new one",
         [&] {
             dialog->folderTree->SetDirectory(summer);
             ClickMiddle(*dialog->addFolderButton);
         },
         {L"C:\\gone", photos.path, summer}},
        {"add a folder removed since it was picked",
         [&] {
             dialog->folderTree->SetDirectory(gone);
             RemoveDirectoryW(gone.c_str());
             ClickMiddle(*dialog->addFolderButton);
         },
         {L"C:\\gone", photos.path, summer}},
        {"remove the first and the last",
         [&] {
             chosen.SetSelected(0, true);
             chosen.SetSelected(2, true);
             ClickMiddle(*dialog->removeFoldersButton);
         },
         {photos.path}},
        {"clear", [&] { ClickMiddle(*dialog->clearFoldersButton); }, {}},
        {"clear an empty list", [&] { ClickMiddle(*dialog->clearFoldersButton); }, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(chosen.Items(), step.after);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ImagesPage, PhotosShowFittedAndCentredInTheBox) {
    ASSERT_TRUE(dialog);
    struct Case {
        const wchar_t* name;
        int width, height;
    };
    const Case cases[] = {{L"p640.jpg", 189, 141}, {L"p480.jpg", 105, 141}, {L"p120.jpg", 120, 90}};
    for (const Case& c : cases) {
        SCOPED_TRACE(tk::ToUtf8(c.name));
        ClickFile(c.name);
        EXPECT_TRUE(dialog->previewPicture.ShownItself());
        EXPECT_EQ(dialog->previewPicture.Picture().Width(), c.width);
        EXPECT_EQ(dialog->previewPicture.Picture().Height(), c.height);
        const RECT box = Box(), inside = dialog->previewBox->ClientRect();
        EXPECT_EQ(box.left, 264);
        EXPECT_EQ(box.top, 184);
        EXPECT_EQ(inside.right, 189);
        EXPECT_EQ(inside.bottom, 141);
    }
    // A second click on the same line shows the file again: it has gone since, and says so.
    DeleteFileW(photos.File(L"p120.jpg").c_str());
    ClickFile(L"p120.jpg");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kPhotoFailureMessage);
    boxes.clear();
    // Centred: the small photo's colour (JPEG's, near enough) stands in the middle of the
    // box, black around it.
    rig::ScreenShot shot(dialog->previewBox->Handle());
    const uint32_t middle = shot.At(shot.Width() / 2, shot.Height() / 2);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(int(middle >> shift & 0xFF), int(kPhotoColour >> shift & 0xFF), 24);
    EXPECT_EQ(shot.At(10, 10), 0u);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ImagesPage, AClipPlaysInTheFittedBoxAndIsClosedByTheNextClickAndByTheDialogsEnd) {
    ASSERT_TRUE(dialog);
    ClickFile(L"short.avi"); // 160 x 120: its own size, the box centred on its place
    EXPECT_EQ(tk::Counts().mciDevices, devicesBefore + 1);
    EXPECT_FALSE(dialog->previewPicture.ShownItself());
    const RECT expected = PreviewBoxForClip(160, 120), box = Box();
    EXPECT_EQ(box.left, expected.left);
    EXPECT_EQ(box.top, expected.top);
    EXPECT_EQ(dialog->previewBox->ClientRect().right, 160);
    EXPECT_EQ(dialog->previewBox->ClientRect().bottom, 120);
    EXPECT_TRUE(WaitUntil(
        [&] {
            RECT r;
            GetWindowRect(dialog->previewBox->Handle(), &r);
            return cliprig::LitShare(ReadScreen(r)) > 0.3;
        },
        3000));

    ClickFile(L"short.mpg"); // the first clip goes before the second opens
    EXPECT_EQ(tk::Counts().mciDevices, devicesBefore + 1);
    EXPECT_TRUE(tk::HoldsClip(dialog->previewPlayer.Mode()));
    ClickFile(L"p640.jpg");
    EXPECT_EQ(tk::Counts().mciDevices, devicesBefore);
    EXPECT_EQ(Box().right - Box().left, 193);

    ClickFile(L"short.mpg");
    ASSERT_EQ(tk::Counts().mciDevices, devicesBefore + 1);
    dialog->OnCancel(); // while it plays
    EXPECT_FALSE(IsWindow(dialog->Handle()));
    EXPECT_EQ(tk::Counts().mciDevices, devicesBefore);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ImagesPage, FoldersDeeperThan260CharactersAndNamesOutsideTheAnsiCodePage) {
    ASSERT_TRUE(dialog);
    std::wstring deep = photos.path + L"\\写真 Ωμέγα";
    CreateDirectoryW(deep.c_str(), nullptr);
    MakeSolidJpeg(deep + L"\\東京.jpg", 64, 48, kPhotoColour);
    dialog->folderTree->SetDirectory(deep);
    EXPECT_EQ(dialog->fileList->Items(), Lines{L"東京.jpg"});
    ClickFile(L"東京.jpg");
    EXPECT_EQ(dialog->previewPicture.Picture().Width(), 64);
    ClickMiddle(*dialog->addFolderButton);
    EXPECT_EQ(dialog->chosenFolders->Items().back(), deep);

    while (deep.size() < 300) {
        deep += L"\\" + std::wstring(40, L'd');
        CreateDirectoryW(deep.c_str(), nullptr);
    }
    MakeSolidJpeg(deep + L"\\loin.jpg", 64, 48, kPhotoColour);
    dialog->folderTree->SetDirectory(deep);
    EXPECT_EQ(dialog->folderTree->Directory(), deep);
    EXPECT_EQ(dialog->fileList->Items(), Lines{L"loin.jpg"});
    ClickFile(L"loin.jpg");
    EXPECT_EQ(dialog->previewPicture.Picture().Width(), 64);
    // Added when the system can make it the current directory (Wine can; Windows stops at
    // 260 characters, and the folder is then left out without a word); nothing else goes.
    const Lines before = dialog->chosenFolders->Items();
    ClickMiddle(*dialog->addFolderButton);
    const Lines after = dialog->chosenFolders->Items();
    EXPECT_EQ(Lines(after.begin(), after.begin() + before.size()), before);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ImagesPage, FilesThatCannotBeShownGiveTheirWarningAndKeepThePhotoShown) {
    ASSERT_TRUE(dialog);
    ClickFile(L"p480.jpg");
    ASSERT_EQ(dialog->previewPicture.Picture().Width(), 105);
    struct Case {
        const wchar_t* name;
        const wchar_t* message;
        bool deleted; // between the listing and the click
    };
    const Case cases[] = {
        {L"bad.jpg", kPhotoFailureMessage, false},  {L"empty.jpg", kPhotoFailureMessage, false},
        {L"p120.jpg", kPhotoFailureMessage, true},  {L"empty.mpg", kClipFailureMessage, false},
        {L"sound.mpa", kClipFailureMessage, false}, // no picture
        {L"short.avi", kClipFailureMessage, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(tk::ToUtf8(c.name));
        if (c.deleted) DeleteFileW(photos.File(c.name).c_str());
        boxes.clear();
        ClickFile(c.name);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_EQ(boxes[0].caption, L"Avertissement");
        EXPECT_EQ(boxes[0].flags, UINT(MB_OK | MB_ICONWARNING));
        EXPECT_EQ(tk::Counts().mciDevices, devicesBefore);
        if (c.message == kPhotoFailureMessage) {
            EXPECT_TRUE(dialog->previewPicture.ShownItself());
            EXPECT_EQ(dialog->previewPicture.Picture().Width(), 105); // what it showed before
        }
    }
    EXPECT_EQ(dialog->chosenFolders->Count(), 2); // nothing lost from the chosen folders
}

} // namespace
