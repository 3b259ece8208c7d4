// The images page of the settings dialog: the drive, the folder tree and the folder's media
// files on the left; the chosen folders, the buttons that fill that list, and the preview
// of a clicked file on the right.
#include <cwctype>

#include "settings/Settings.h"
#include "dialog/FolderPicking.h"
#include "dialog/SettingsDialog.h"
#include "library/MediaKind.h"
#include "toolkit/Log.h"
#include "toolkit/MsgBox.h"

namespace {

void Warn(HWND owner, const std::wstring& text) {
    tk::ShowBox(owner, text, kWarningCaption, MB_OK | MB_ICONWARNING);
}

void PlaceAt(tk::Control& control, const RECT& box) {
    control.SetBounds(box.left, box.top, box.right - box.left, box.bottom - box.top);
}

} // namespace

void SettingsDialog::WireImagesPage() {
    driveChooser->onSelect = [this] { OnDriveChanged(); };
    folderTree->onChange = [this] { OnFolderChanged(); };
    // The formats this PC shows are known once: the list's mask and hint are set here, not at
    // each configuration's ShowSettings (a new mask re-lists the folder).
    fileList->SetMask(MediaFileMask(UsableMediaMask()));
    fileList->SetHint(FileListHint(UsableMediaMask()));
    fileList->SetLister(&MediaFilesOf);
    fileList->onClick = [this] { OnFilePicked(); };
    addFolderButton->onClick = [this] { OnAddFolder(); };
    removeFoldersButton->onClick = [this] { OnRemoveFolders(); };
    clearFoldersButton->onClick = [this] { OnClearFolders(); };
}

void SettingsDialog::OpenFolderChoosers() {
    const std::wstring folder = TreeStartFolder(chosenFolders->Items());
    if (!folder.empty()) driveChooser->SetDrive(folder[0]);
    folderTree->SetDirectory(folder); // the file list follows through OnFolderChanged
}

void SettingsDialog::OnDriveChanged() {
    const wchar_t letter = driveChooser->Drive();
    if (!letter) return;
    if (!tk::DriveReady(letter)) {
        // An empty disc or card reader: the tree keeps the folder it shows, and the list
        // goes back to that folder's drive.
        Warn(Handle(), DriveNotReadyMessage(letter));
        const std::wstring shown = folderTree->Directory();
        if (shown.size() > 1 && shown[1] == L':') driveChooser->SetDrive(shown[0]);
        return;
    }
    folderTree->SetDrive(letter);
}

void SettingsDialog::OnFolderChanged() {
    fileList->SetDirectory(folderTree->Directory());
}

void SettingsDialog::OnAddFolder() {
    const std::wstring folder = folderTree->Directory();
    if (folder.empty()) return; // no folder picked
    if (MayAddFolder(chosenFolders->Items(), folder))
        chosenFolders->Add(folder);
    else
        tk::Log(L"not added, listed already or not enterable: " + folder);
}

void SettingsDialog::OnRemoveFolders() {
    const int count = chosenFolders->Count();
    if (count <= 0) return;
    std::vector<bool> selected(size_t(count), false);
    for (int i = 0; i < count; ++i)
        selected[size_t(i)] = chosenFolders->Selected(i);
    const std::vector<std::wstring> left = WithoutSelected(chosenFolders->Items(), selected);
    chosenFolders->Clear();
    for (const std::wstring& line : left)
        chosenFolders->Add(line);
}

void SettingsDialog::OnClearFolders() {
    for (int i = 0, n = chosenFolders->Count(); i < n; ++i)
        chosenFolders->SetSelected(i, true);
    OnRemoveFolders();
}

void SettingsDialog::CloseClip() {
    // Whatever state the device reports, an open device is closed: none may stay open.
    if (previewPlayer.IsOpen()) previewPlayer.Close();
}

void SettingsDialog::OnFilePicked() {
    const std::wstring path = fileList->FileName();
    if (path.empty()) return;
    CloseClip();
    PlaceAt(*previewBox, kPreviewBox);
    if (IsMediaFile(path, mkPhoto)) {
        previewPicture.Show();
        // A photo that cannot be shown leaves the one shown before.
        if (!ShowPhoto(path)) Warn(Handle(), kPhotoFailureMessage);
    }
    if (IsMediaFile(path, mkClip)) {
        previewPicture.Hide();
        if (!PlayClip(path)) Warn(Handle(), kClipFailureMessage);
    }
}

bool SettingsDialog::ShowPhoto(const std::wstring& path) {
    const RECT inside = previewBox->ClientRect();
    try {
        // Decoded straight to the size it is shown at: a big photo previews at once.
        if (previewPicture.LoadFromFile(path, inside.right, inside.bottom) &&
            previewPicture.FitPicture(inside))
            return true;
    } catch (const std::exception&) {
        // as any other failure to show it (memory for a huge picture, say)
    }
    tk::Log(L"the preview cannot show " + path);
    return false;
}

bool SettingsDialog::PlayClip(const std::wstring& path) {
    previewPlayer.Display = previewBox->Handle();
    previewPlayer.FileName = path;
    if (!previewPlayer.Open()) {
        tk::Log(L"the preview cannot open " + path + L", MCI error " +
                std::to_wstring(previewPlayer.LastError()));
        return false;
    }
    // A clip with sound only has no picture to show in the box, nor a size to fit it to.
    if (!previewPlayer.HasPicture()) {
        tk::Log(L"the preview has no picture to show in " + path);
        CloseClip();
        return false;
    }
    const SIZE size = previewPlayer.NaturalSize();
    const RECT box = PreviewBoxForClip(size.cx, size.cy);
    PlaceAt(*previewBox, box);
    const RECT inside = previewBox->ClientRect();
    if (previewPlayer.SetDisplaySize(inside.right, inside.bottom) && previewPlayer.Play())
        return true;
    tk::Log(L"the preview cannot play " + path + L", MCI error " +
            std::to_wstring(previewPlayer.LastError()));
    CloseClip();
    PlaceAt(*previewBox, kPreviewBox);
    return false;
}
