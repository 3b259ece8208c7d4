#include "saver/SharedFiles.h"

bool MonitorsKeepFilesApart(size_t libraryFiles, size_t tilesInUse) {
    return libraryFiles > tilesInUse;
}

// The library is what the catalogue knows: the files still to see and those seen, among
// them the ones on screen, and those taken ahead. A file that failed in this pass has left
// both lists.
FileCatalogue::Excluded
ExcludedForRefill(const FileCatalogue& catalogue, size_t tilesInUse,
                  std::function<bool(const std::wstring& path)> onOtherMonitor) {
    const size_t library =
        catalogue.filesToSee.size() + catalogue.seenFiles.size() + catalogue.aheadFiles.size();
    if (!MonitorsKeepFilesApart(library, tilesInUse)) return {};
    return onOtherMonitor;
}
