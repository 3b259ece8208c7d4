// TScrn's catalogue: the folder scan, the memory across runs, picking, forgetting and
// starting a new pass.
#include "Globals/Globals.h"
#include "Globals/Random.h"
#include "saver/FolderScan.h"
#include "saver/MemoryFile.h"
#include "saver/ProgressPacer.h"
#include "saver/Ssave.h"
#include "toolkit/Text.h"

void TScrn::DrawProgress(const std::wstring& text) {
    DrawCanvasText(text, Width() / 2, Height() / 2);
}

void TScrn::GetAllPhotos() {
    ToSeeFiles.clear();
    SeenFiles.clear();
    TProgressPacer pacer;
    auto drawCount = [this] { DrawProgress(ScanCountText(ToSeeFiles.size())); };
    TScanEvents events;
    events.FolderScanned = [&](size_t) {
        if (pacer.Due(GetTickCount64())) drawCount();
    };
    events.Inaccessible = [&](const std::wstring& folder) {
        if (pacer.TakePending()) drawCount(); // the box comes over the true count
        WarningBox(L"Répertoire \"" + folder + L"\" inaccessible");
    };
    TFolderScan(ToSeeFiles, std::move(events)).ScanFolders(Settings.defdir);
    if (pacer.TakePending()) drawCount();
    CatalogueFilled = true;
    if (ToSeeFiles.empty()) WarningBox(L"Erreur : Aucune photos ou vidéos trouvées !");
}

// A memory file that exists but cannot be read counts as absent: the folders are scanned,
// and the file is left as it is until the close replaces it, whole, with this run's state.
bool TScrn::ReadMemFiles() {
    std::string text;
    if (ReadWholeFile(MemoryFilePath(Settings.InstallDir, Settings.memfilesname), text) !=
        TFileRead::Read)
        return false;
    bool allSeen = true;
    TProgressPacer pacer;
    auto drawCount = [this] { DrawProgress(MemoryCountText(SeenFiles.size(), ToSeeFiles.size())); };
    ParseMemoryFile(text, [&](bool toSee, std::wstring path) {
        if (toSee) {
            ToSeeFiles.push_back(std::move(path));
            allSeen = false;
        } else {
            SeenFiles.push_back(std::move(path));
        }
        if (pacer.Due(GetTickCount64())) drawCount();
    });
    if (pacer.TakePending()) drawCount();
    if (!allSeen) CatalogueFilled = true;
    return !allSeen;
}

bool TScrn::WriteMemFiles() {
    return ReplaceFileContent(MemoryFilePath(Settings.InstallDir, Settings.memfilesname),
                              FormatMemoryFile(ToSeeFiles, SeenFiles));
}

void TScrn::PickNextFile() {
    int i = Random(int(ToSeeFiles.size()));
    CurFile = ToSeeFiles[i];
    SeenFiles.push_back(CurFile);
    ToSeeFiles.erase(ToSeeFiles.begin() + i);
}

void TScrn::ForgetFile(const std::wstring& path) {
    for (auto it = SeenFiles.begin(); it != SeenFiles.end(); ++it)
        if (it->size() == path.size() &&
            CompareStringOrdinal(it->c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL) {
            SeenFiles.erase(it);
            return;
        }
}

void TScrn::RefillCatalogue() {
    if (Settings.opmemfiles) {
        GetAllPhotos();
        // With tiles on the screen, the count this scan drew would stay between them for the
        // rest of the show.
        if (Loads > 0) ClearCanvasTexts();
        return;
    }
    ToSeeFiles.insert(ToSeeFiles.end(), SeenFiles.begin(), SeenFiles.end());
    SeenFiles.clear();
}

void TScrn::FillCatalogue() {
    if (!Settings.opmemfiles || !ReadMemFiles()) GetAllPhotos();
}
