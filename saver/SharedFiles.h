#pragma once
// How the monitors share the one catalogue. A file on one monitor's tiles is kept off the
// others while the library holds more files than all their tiles together: every refill then
// finds a file that no other monitor shows. With fewer, keeping them apart would leave a
// monitor black (two photos on three monitors) and freeze the others on their own files, so
// a file may then be on two monitors at once: every monitor shows a picture and changes it.
#include <cstddef>
#include <functional>
#include <string>

#include "library/Catalogue.h"

bool MonitorsKeepFilesApart(size_t libraryFiles, size_t tilesInUse);

// What a refill of one monitor may not take: the files onOtherMonitor names while the
// monitors keep their files apart, none otherwise. tilesInUse counts every monitor's.
FileCatalogue::Excluded
ExcludedForRefill(const FileCatalogue& catalogue, size_t tilesInUse,
                  std::function<bool(const std::wstring& path)> onOtherMonitor);
