// What a decode through Windows' imaging component pays for a factory of its own: creating
// and releasing one inside an apartment the thread holds, and with the apartment entered and
// left around it (a worker alone in COM), beside the decode of a small PNG and of a
// 12-megapixel one fitted to a 1920 x 1080 tile.
#include <windows.h>

#include <wincodec.h>

#include <cstdio>
#include <string>

#include "bench/Measure.h"
#include "controls/FitImage.h"
#include "tests/support/Pictures.h"
#include "tests/support/TempDir.h"
#include "toolkit/ComApartment.h"
#include "toolkit/Picture.h"

namespace {

constexpr int kRuns = 200;

bool MakeAndDropFactory() {
    IWICImagingFactory* raw = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&raw))))
        return false;
    raw->Release();
    return true;
}

// The median of kRuns runs, in microseconds.
template <class F> double MedianUs(int runs, F&& f) {
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i)
        samples.push_back(TimeMs(f) * 1000.0);
    return Median(samples);
}

double FitUs(const std::wstring& path, int runs) {
    tk::PictureLoader loader;
    auto target = [](int width, int height) {
        const RECT fit = FitRect(1920, 1080, width, height);
        return SIZE{fit.right, fit.bottom};
    };
    return MedianUs(runs, [&] {
        tk::Dib picture;
        if (!loader.Load(path, target, picture)) fprintf(stderr, "cannot load %ls\n", path.c_str());
    });
}

} // namespace

int wmain() {
    TempDir dir;
    const std::wstring small = dir / L"small.png", photo = dir / L"photo.png";
    auto pixel = [](int x, int y) { return 0xFF000000u | (uint32_t(x * 7 ^ y * 13) & 0xFFFFFFu); };
    if (!MakeWicPicture(small, GUID_ContainerFormatPng, 64, 48, {pixel}) ||
        !MakeWicPicture(photo, GUID_ContainerFormatPng, 4032, 3024, {pixel})) {
        fprintf(stderr, "cannot make the pictures\n");
        return 1;
    }
    double inApartment = 0, withApartment = 0;
    {
        tk::ComApartment com(tk::ComApartment::Multithreaded);
        MakeAndDropFactory(); // the first loads the library
        inApartment = MedianUs(kRuns, MakeAndDropFactory);
    }
    // This thread alone in COM: each run starts and ends it.
    withApartment = MedianUs(kRuns, [] {
        tk::ComApartment com(tk::ComApartment::Multithreaded);
        MakeAndDropFactory();
    });
    const double smallFit = FitUs(small, kRuns), photoFit = FitUs(photo, 5);
    printf("wic_factory_us: %.1f\n", inApartment);
    printf("wic_factory_with_apartment_us: %.1f\n", withApartment);
    printf("wic_fit_small_png_us: %.1f\n", smallFit);
    printf("wic_fit_12mp_png_us: %.0f\n", photoFit);
    printf("wic_factory_with_apartment_share_of_12mp_fit: %.5f\n", withApartment / photoFit);
    return 0;
}
