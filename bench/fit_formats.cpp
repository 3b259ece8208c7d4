// The cost of showing a big photo in a format read by Windows' imaging component (WIC): a
// 6000 x 4000 PNG and the same as a TIFF, fitted into a 1024 x 768 tile, against WIC's own
// decode of the file to full-size pixels (CopyPixels of the whole frame, in its own format).
// Also the peak memory of one such fit, in a fresh process, beside its budget (the full-size
// 32-bit bitmap, the fitted one and 20 MB); and WIC's own high-quality scaler beside the area
// average, in time and in how far its pixels fall from the area average's.
#include <windows.h>

#include <psapi.h>
#include <wincodec.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BigPhoto.h"
#include "bench/Measure.h"
#include "controls/FitImage.h"
#include "tests/support/Pictures.h"
#include "tests/support/TempDir.h"

namespace {

constexpr int kAreaWidth = 1024, kAreaHeight = 768;
constexpr int kRuns = 5;

// The big photo in another format, made once into the temporary folder through WIC.
std::wstring BigPicture(const wchar_t* extension, const GUID& container) {
    const std::wstring path =
        TempFile((L"vistamur-bench-6000x4000-v1" + std::wstring(extension)).c_str());
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
    PhotoPixels photo; // asked row after row, as its noise is drawn
    const bool made = MakeWicPicture(path, container, kWidth, kHeight,
                                     {[&](int x, int y) { return 0xFF000000 | photo(x, y); }});
    return made ? path : L"";
}

struct Wic {
    tk::ComApartment com;
    tk::ComPtr<IWICImagingFactory> factory;
    Wic() {
        IWICImagingFactory* raw = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_PPV_ARGS(&raw))))
            factory.Reset(raw);
    }
};

// WIC alone: the file's first frame copied whole, in the decoder's own pixel format.
bool DecodeFull(Wic& wic, const std::wstring& path, std::vector<BYTE>& pixels) {
    IWICBitmapDecoder* rawDecoder = nullptr;
    IWICBitmapFrameDecode* rawFrame = nullptr;
    if (FAILED(wic.factory.Get()->CreateDecoderFromFilename(
            path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &rawDecoder)))
        return false;
    tk::ComPtr<IWICBitmapDecoder> decoder(rawDecoder);
    if (FAILED(decoder.Get()->GetFrame(0, &rawFrame))) return false;
    tk::ComPtr<IWICBitmapFrameDecode> frame(rawFrame);
    UINT w = 0, h = 0;
    WICPixelFormatGUID format;
    frame.Get()->GetSize(&w, &h);
    frame.Get()->GetPixelFormat(&format);
    IWICComponentInfo* rawInfo = nullptr;
    UINT bits = 32;
    if (SUCCEEDED(wic.factory.Get()->CreateComponentInfo(format, &rawInfo))) {
        tk::ComPtr<IWICComponentInfo> info(rawInfo);
        IWICPixelFormatInfo* pixelInfo = nullptr;
        if (SUCCEEDED(info.Get()->QueryInterface(IID_PPV_ARGS(&pixelInfo)))) {
            pixelInfo->GetBitsPerPixel(&bits);
            pixelInfo->Release();
        }
    }
    const UINT stride = (w * bits + 7) / 8;
    pixels.resize(size_t(stride) * h);
    return SUCCEEDED(frame.Get()->CopyPixels(nullptr, stride, UINT(pixels.size()), pixels.data()));
}

// In a fresh process: what one load and fit adds to the process's peak of private memory.
int MeasurePeak(const std::wstring& path, const std::wstring& name) {
    const PROCESS_MEMORY_COUNTERS_EX before = ProcessMemory();
    FitImage image;
    if (!image.LoadFromFile(path, kAreaWidth, kAreaHeight)) return 1;
    image.FitPicture(RECT{0, 0, kAreaWidth, kAreaHeight});
    const PROCESS_MEMORY_COUNTERS_EX after = ProcessMemory();
    const double fitted = Mb(SIZE_T(image.Picture().Width()) * image.Picture().Height() * 4);
    // The peak of the working set, which Wine takes from Linux's high-water mark: Wine gives
    // PeakPagefileUsage as the current commit, not its peak, and counts none of what its
    // decoders allocate on the Unix side (Wine's PNG decoder holds the whole picture there).
    // In a fresh process, what the fit touched is what it took.
    printf("fit_%ls_peak_mb: %.1f\n", name.c_str(),
           Mb(after.PeakWorkingSetSize) - Mb(before.WorkingSetSize));
    printf("fit_%ls_peak_budget_mb: %.1f\n", name.c_str(),
           Mb(SIZE_T(kWidth) * kHeight * 4) + fitted + 20.0);
    return 0;
}

void MeasureRatio(Wic& wic, const std::wstring& path, const wchar_t* name) {
    std::vector<BYTE> pixels;
    FitImage image;
    std::vector<double> alone, fitted;
    DecodeFull(wic, path, pixels); // warm the file cache
    for (int run = 0; run < kRuns; ++run) {
        alone.push_back(TimeMs([&] { DecodeFull(wic, path, pixels); }));
        fitted.push_back(TimeMs([&] {
            image.LoadFromFile(path, kAreaWidth, kAreaHeight);
            image.FitPicture(RECT{0, 0, kAreaWidth, kAreaHeight});
        }));
    }
    const RECT fit = FitRect(kAreaWidth, kAreaHeight, kWidth, kHeight);
    if (image.Picture().Width() != fit.right || image.Picture().Height() != fit.bottom)
        fprintf(stderr, "%ls: wrong fitted size %dx%d\n", name, image.Picture().Width(),
                image.Picture().Height());
    printf("fit_%ls_ratio: %.3f\n", name, Median(fitted) / Median(alone));
    printf("fit_%ls_ms: %.1f\n", name, Median(fitted));
    printf("fit_%ls_wic_full_decode_ms: %.1f\n", name, Median(alone));
}

// WIC's scaler in its best mode, straight from the frame to the fitted size, beside the
// area average: its time, and the mean difference of its pixels from the area average's
// (0 would be the same picture).
void CompareScaler(Wic& wic, const std::wstring& path) {
    const RECT fit = FitRect(kAreaWidth, kAreaHeight, kWidth, kHeight);
    const UINT w = UINT(fit.right), h = UINT(fit.bottom);
    std::vector<uint32_t> scaled(size_t(w) * h);
    auto scale = [&] {
        IWICBitmapDecoder* rawDecoder = nullptr;
        IWICBitmapFrameDecode* rawFrame = nullptr;
        IWICBitmapScaler* rawScaler = nullptr;
        IWICFormatConverter* rawConverter = nullptr;
        IWICImagingFactory* f = wic.factory.Get();
        if (FAILED(f->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, &rawDecoder)))
            return false;
        tk::ComPtr<IWICBitmapDecoder> decoder(rawDecoder);
        if (FAILED(decoder.Get()->GetFrame(0, &rawFrame))) return false;
        tk::ComPtr<IWICBitmapFrameDecode> frame(rawFrame);
        if (FAILED(f->CreateFormatConverter(&rawConverter))) return false;
        tk::ComPtr<IWICFormatConverter> converter(rawConverter);
        if (FAILED(converter.Get()->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR,
                                               WICBitmapDitherTypeNone, nullptr, 0,
                                               WICBitmapPaletteTypeCustom)) ||
            FAILED(f->CreateBitmapScaler(&rawScaler)))
            return false;
        tk::ComPtr<IWICBitmapScaler> scaler(rawScaler);
        return SUCCEEDED(scaler.Get()->Initialize(converter.Get(), w, h,
                                                  WICBitmapInterpolationModeFant)) &&
               SUCCEEDED(scaler.Get()->CopyPixels(nullptr, w * 4, w * h * 4,
                                                  reinterpret_cast<BYTE*>(scaled.data())));
    };
    FitImage image;
    std::vector<double> ours, theirs;
    bool ok = true;
    for (int run = 0; run < 3; ++run) {
        theirs.push_back(TimeMs([&] { ok = scale() && ok; }));
        ours.push_back(TimeMs([&] { image.LoadFromFile(path, kAreaWidth, kAreaHeight); }));
    }
    if (!ok || image.Picture().Width() != int(w)) {
        printf("fit_png_wic_fant_scaler: unavailable\n");
        return;
    }
    double difference = 0;
    for (size_t i = 0; i < scaled.size(); ++i)
        for (int shift : {0, 8, 16})
            difference += std::abs(int((scaled[i] >> shift) & 0xFF) -
                                   int((image.Picture().Bits()[i] >> shift) & 0xFF));
    // Both pictures side by side (the area average left, WIC's scaler right), 400 x 300 from
    // their middle, for the eye.
    const int cw = 400, ch = 300, cx = int(w) / 2 - cw / 2, cy = int(h) / 2 - ch / 2;
    const std::wstring sideBySide = TempFile(L"vistamur-fit-side-by-side.png");
    MakeWicPicture(sideBySide, GUID_ContainerFormatPng, cw * 2, ch, {[&](int x, int y) {
                       const size_t at = size_t(cy + y) * w + cx + x % cw;
                       return 0xFF000000 | (x < cw ? image.Picture().Bits()[at] : scaled[at]);
                   }});
    fprintf(stderr, "side by side: %ls\n", sideBySide.c_str());
    printf("fit_png_wic_fant_scaler_time_ratio: %.3f\n", Median(theirs) / Median(ours));
    printf("fit_png_wic_fant_mean_difference_from_area_average: %.2f\n",
           difference / (double(scaled.size()) * 3));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wstring(argv[1]) == L"--peak") return MeasurePeak(argv[2], argv[3]);
    const std::wstring png = BigPicture(L".png", GUID_ContainerFormatPng);
    const std::wstring tiff = BigPicture(L".tif", GUID_ContainerFormatTiff);
    if (png.empty() || tiff.empty()) {
        fprintf(stderr, "cannot make the pictures\n");
        return 1;
    }
    RunSelf(L"--peak \"" + png + L"\" png");
    RunSelf(L"--peak \"" + tiff + L"\" tiff");
    Wic wic;
    if (!wic.factory) {
        fprintf(stderr, "no WIC factory\n");
        return 1;
    }
    MeasureRatio(wic, png, L"png");
    MeasureRatio(wic, tiff, L"tiff");
    CompareScaler(wic, png);
    return 0;
}
