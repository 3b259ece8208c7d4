// TScrn's catalogue: the folder scan, the memory across runs, picking, forgetting and
// starting a new pass.
#include <algorithm>

#include "Globals/Globals.h"
#include "Globals/Random.h"
#include "saver/FolderScan.h"
#include "saver/MemoryFile.h"
#include "saver/ProgressPacer.h"
#include "saver/Ssave.h"
#include "toolkit/Log.h"
#include "toolkit/Text.h"

void TScrn::DrawProgress(const std::wstring& text) {
    DrawCanvasText(text, Width() / 2, Height() / 2);
}

void TScrn::GetAllPhotos() {
    TScanning scanning(*this);
    ToSeeFiles.clear();
    SeenFiles.clear();
    unreached_.clear();
    TProgressPacer pacer;
    auto drawCount = [this] { DrawProgress(ScanCountText(ToSeeFiles.size())); };
    TScanEvents events;
    events.FolderScanned = [&](size_t) {
        if (pacer.Due(GetTickCount64())) drawCount();
    };
    events.Inaccessible = [&](const std::wstring& folder) {
        unreached_.push_back(folder);
        // Once per run: a drive that stays away would stop the show at every new pass.
        if (std::find(warned_.begin(), warned_.end(), folder) != warned_.end()) return;
        warned_.push_back(folder);
        if (pacer.TakePending()) drawCount(); // the box comes over the true count
        WarningBox(L"Répertoire \"" + folder + L"\" inaccessible");
    };
    events.KeepGoing = [this] { return KeepScanning(); };
    const bool whole = TFolderScan(ToSeeFiles, std::move(events)).ScanFolders(Settings.defdir);
    if (pacer.TakePending()) drawCount();
    CatalogueFilled = whole;
    if (!whole) {
        tk::Log(L"folder scan stopped by an exit; the memory stays as it was");
        return;
    }
    if (ToSeeFiles.empty()) WarningBox(L"Erreur : Aucune photos ou vidéos trouvées !");
}

// A memory file that exists but cannot be read counts as absent: the folders are scanned,
// and the file is left as it is until the close replaces it, whole, with this run's state.
bool TScrn::ReadMemFiles() {
    TScanning scanning(*this);
    const auto keepGoing = [this] { return KeepScanning(); };
    std::string text;
    if (ReadWholeFile(MemoryFilePath(Settings.InstallDir, Settings.memfilesname), text,
                      keepGoing) != TFileRead::Read)
        return false;
    bool allSeen = true;
    TProgressPacer pacer;
    auto drawCount = [this] { DrawProgress(MemoryCountText(SeenFiles.size(), ToSeeFiles.size())); };
    const bool whole = ParseMemoryFile(
        text,
        [&](bool toSee, std::wstring path) {
            if (toSee) {
                ToSeeFiles.push_back(std::move(path));
                allSeen = false;
            } else {
                SeenFiles.push_back(std::move(path));
            }
            if (pacer.Due(GetTickCount64())) drawCount();
        },
        keepGoing);
    if (pacer.TakePending()) drawCount();
    if (!whole) return false; // the exit pending, nothing is scanned
    memoryRead_ = std::move(text);
    if (!allSeen) CatalogueFilled = true;
    return !allSeen;
}

// Entries of folders that this run could not reach, in its latest scan or now, are written
// back as the memory held them: the run knows nothing new about those files. A folder that
// was reached and no longer holds a file drops it.
bool TScrn::WriteMemFiles() {
    TMemoryEntries kept;
    if (!memoryRead_.empty()) {
        std::vector<std::wstring> folders = unreached_;
        for (std::wstring& folder : UnreachableFolders(Settings.defdir))
            folders.push_back(std::move(folder));
        for (std::wstring& folder : folders)
            folder = FullFolderPath(folder);
        kept = EntriesInFolders(memoryRead_, folders, ToSeeFiles, SeenFiles);
    }
    return ReplaceFileContent(MemoryFilePath(Settings.InstallDir, Settings.memfilesname),
                              FormatMemoryFile(ToSeeFiles, SeenFiles, kept));
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
    if (Settings.opmemfiles && ReadMemFiles()) return;
    if (!exitPending_) GetAllPhotos();
}
