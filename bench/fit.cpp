// The cost of showing a big photo: load a 6000 x 4000 JPEG (quality 90, photo-like) and fit
// it into a 1920 x 1080 area, against libjpeg alone decoding the same file at the DCT scale
// that first covers the fitted size. Also the peak memory of one such load, measured in a
// fresh process so that making the photo does not count.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/BigPhoto.h"
#include "bench/Measure.h"
#include "controls/FitImage.h"
#include "tests/support/Exif.h"
#include "tests/support/TempDir.h"
#include "toolkit/LibjpegGuard.h"

namespace {

constexpr int kAreaWidth = 1920, kAreaHeight = 1080;
constexpr int kRuns = 7;

// libjpeg alone: every row decoded at scale/8 into one reused row, nothing else. It reads
// through libjpeg's own stdio source, or, with `whole`, reads the file in one go first.
bool DecodeOnly(const std::wstring& path, int scale, std::vector<uint8_t>& row,
                bool whole = false) {
    static std::vector<uint8_t> data;
    std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path.c_str(), L"rb"), fclose);
    if (!file) return false;
    if (whole) {
        fseek(file.get(), 0, SEEK_END);
        data.resize(size_t(ftell(file.get())));
        fseek(file.get(), 0, SEEK_SET);
        if (fread(data.data(), 1, data.size(), file.get()) != data.size()) return false;
    }
    return tk::WithLibjpeg<jpeg_decompress_struct>([&](jpeg_decompress_struct& info) {
        if (whole)
            jpeg_mem_src(&info, data.data(), (unsigned long)data.size());
        else
            jpeg_stdio_src(&info, file.get());
        jpeg_read_header(&info, TRUE);
        info.scale_num = unsigned(scale);
        info.scale_denom = 8;
        info.out_color_space = JCS_EXT_BGRX;
        jpeg_start_decompress(&info);
        row.resize(size_t(info.output_width) * 4);
        while (info.output_scanline < info.output_height) {
            JSAMPROW rows[1] = {row.data()};
            jpeg_read_scanlines(&info, rows, 1);
        }
        jpeg_finish_decompress(&info);
        return true;
    });
}

// In a fresh process: what one load and fit adds to the process's peak.
int MeasurePeak(const std::wstring& path) {
    const PROCESS_MEMORY_COUNTERS_EX before = ProcessMemory();
    {
        FitImage image;
        if (!image.LoadFromFile(path, kAreaWidth, kAreaHeight)) return 1;
        image.FitPicture(RECT{0, 0, kAreaWidth, kAreaHeight});
        const PROCESS_MEMORY_COUNTERS_EX after = ProcessMemory();
        printf("fit_peak_mb: %.1f\n", Mb(after.PeakPagefileUsage) - Mb(before.PrivateUsage));
        printf("fit_peak_working_set_mb: %.1f\n",
               Mb(after.PeakWorkingSetSize) - Mb(before.WorkingSetSize));
    }
    return 0;
}

} // namespace

// The first DCT scale whose output covers a fitted size.
int FirstCovering(const RECT& fit) {
    int first = 8;
    for (int scale = 8; scale >= 1; --scale)
        if ((kWidth * scale + 7) / 8 >= fit.right && (kHeight * scale + 7) / 8 >= fit.bottom)
            first = scale;
    return first;
}

// The same photo marked as taken upright (orientation 6): it is fitted on its turned size,
// decoded at the scale that covers that fit turned back, then turned.
void MeasureRotated(const std::wstring& path, std::vector<uint8_t>& row) {
    const std::wstring rotated = path.substr(0, path.size() - 4) + L"-exif6.jpg";
    WriteFileBytes(rotated, WithSegment(ReadFileBytes(path), ExifSegment(ExifTiff(6, true))));
    const RECT seen = FitRect(kAreaWidth, kAreaHeight, kHeight, kWidth);
    const int scale = FirstCovering(RECT{0, 0, seen.bottom, seen.right});
    FitImage image;
    std::vector<double> alone, fitted;
    for (int run = 0; run < kRuns; ++run) {
        alone.push_back(TimeMs([&] { DecodeOnly(rotated, scale, row); }));
        fitted.push_back(TimeMs([&] {
            image.LoadFromFile(rotated, kAreaWidth, kAreaHeight);
            image.FitPicture(RECT{0, 0, kAreaWidth, kAreaHeight});
        }));
    }
    if (image.Picture().Width() != seen.right || image.Picture().Height() != seen.bottom)
        fprintf(stderr, "wrong turned size %dx%d\n", image.Picture().Width(),
                image.Picture().Height());
    printf("fit_ratio_rotated: %.3f\n", Median(fitted) / Median(alone));
    printf("fit_rotated_ms: %.1f\n", Median(fitted));
    DeleteFileW(rotated.c_str());
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"--peak") return MeasurePeak(argv[2]);

    const std::wstring path = BigPhoto();
    if (path.empty()) {
        fprintf(stderr, "cannot make the photo\n");
        return 1;
    }
    RunSelf(L"--peak \"" + path + L"\"");

    const RECT fit = FitRect(kAreaWidth, kAreaHeight, kWidth, kHeight);
    const int firstCovering = FirstCovering(fit);

    std::vector<uint8_t> row;
    FitImage image;
    std::vector<double> alone, aloneWhole, fitted;
    std::vector<std::vector<double>> byScale(9);
    DecodeOnly(path, firstCovering, row); // warm the file cache
    for (int run = 0; run < kRuns; ++run) {
        alone.push_back(TimeMs([&] { DecodeOnly(path, firstCovering, row); }));
        aloneWhole.push_back(TimeMs([&] { DecodeOnly(path, firstCovering, row, true); }));
        fitted.push_back(TimeMs([&] {
            image.LoadFromFile(path, kAreaWidth, kAreaHeight);
            image.FitPicture(RECT{0, 0, kAreaWidth, kAreaHeight});
        }));
        for (int scale = 1; scale <= 8; ++scale)
            byScale[scale].push_back(TimeMs([&] { DecodeOnly(path, scale, row); }));
    }
    if (image.Picture().Width() != fit.right || image.Picture().Height() != fit.bottom)
        fprintf(stderr, "wrong fitted size %dx%d\n", image.Picture().Width(),
                image.Picture().Height());
    printf("fit_ratio: %.3f\n", Median(fitted) / Median(alone));
    // The same against libjpeg fed from memory (the file read at once), its fastest form.
    printf("fit_ratio_vs_memory_source: %.3f\n", Median(fitted) / Median(aloneWhole));
    printf("fit_ms: %.1f\n", Median(fitted));
    printf("fit_libjpeg_%d_8_ms: %.1f\n", firstCovering, Median(alone));
    for (int scale = 1; scale <= 8; ++scale)
        printf("fit_decode_%d_8_ms: %.1f\n", scale, Median(byScale[scale]));
    MeasureRotated(path, row);
    return 0;
}
