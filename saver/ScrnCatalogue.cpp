// TScrn's catalogue: picking, forgetting and starting a new pass. (The folder scan and the
// memory file come next.)
#include "Globals/Globals.h"
#include "Globals/Random.h"
#include "saver/Ssave.h"

void TScrn::GetAllPhotos() {
    ToSeeFiles.clear();
    SeenFiles.clear();
}

bool TScrn::ReadMemFiles() { return false; }

void TScrn::WriteMemFiles() {}

void TScrn::PickNextFile() {
    int i = Random(int(ToSeeFiles.size()));
    CurFile = ToSeeFiles[i];
    SeenFiles.push_back(CurFile);
    ToSeeFiles.erase(ToSeeFiles.begin() + i);
}

void TScrn::ForgetFile(const std::wstring& path) {
    for (auto it = SeenFiles.begin(); it != SeenFiles.end(); ++it)
        if (CompareStringOrdinal(it->c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL) {
            SeenFiles.erase(it);
            return;
        }
}

void TScrn::RefillCatalogue() {
    if (Settings.opmemfiles) {
        GetAllPhotos();
        return;
    }
    ToSeeFiles.insert(ToSeeFiles.end(), SeenFiles.begin(), SeenFiles.end());
    SeenFiles.clear();
}

void TScrn::FillCatalogue() {
    if (!Settings.opmemfiles || !ReadMemFiles()) GetAllPhotos();
}
