// The refill's tries over files that all fail (a disk unplugged under the show, a folder of
// broken files): their total cost against their number. The loads fail at once here, so what
// is measured is the catalogue's own work per try; a list whose every pick shifted the rest
// would cost 16 times as much for 4 times the files, a linear one 4 times.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "bench/Measure.h"
#include "library/Catalogue.h"

namespace {

double TriesMs(const SettingsRecord& settings, int files) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < files; ++i)
        paths.push_back(L"D:\\Photos de vacances\\2019\\Plage\\IMG_" + std::to_wstring(i) +
                        L".jpg");
    std::vector<double> samples;
    for (int run = 0; run < 3; ++run) {
        FileCatalogue catalogue(settings);
        catalogue.filesToSee = paths;
        samples.push_back(TimeMs([&] { catalogue.TakeNextFile([] { return false; }); }));
    }
    return Median(samples);
}

} // namespace

int wmain() {
    SettingsRecord settings;
    settings.rememberSeen = false; // every failure forgotten: one refill empties the catalogue
    const double small = TriesMs(settings, 25000), large = TriesMs(settings, 100000);
    printf("refill_tries_25000_failing_ms: %.1f\n", small);
    printf("refill_tries_100000_failing_ms: %.1f\n", large);
    printf("refill_tries_cost_ratio_4x_files: %.2f\n", large / small);
    return 0;
}
