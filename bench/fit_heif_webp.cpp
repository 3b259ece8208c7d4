// The cost of showing a 12-megapixel phone photo (4032 x 3024) as HEIC and as WebP, fitted
// into a 1920 x 1080 tile, against a bare decode of the same file by its library in the same
// run (libheif to interleaved RGB, libwebp to BGRA): what the loader adds to the decoder.
// The photos are made by scripts/make-test-photos.
#include <windows.h>

#include <libheif/heif.h>
#include <webp/decode.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/Measure.h"
#include "controls/FitImage.h"
#include "tests/support/TestPhotos.h"

namespace {

constexpr int kTileWidth = 1920, kTileHeight = 1080;
constexpr int kRuns = 5;

bool BareHeif(const std::wstring& path) {
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    const std::string narrow(path.begin(), path.end()); // the build folder's name is ASCII
    bool ok =
        heif_context_read_from_file(context, narrow.c_str(), nullptr).code == 0 &&
        heif_context_get_primary_image_handle(context, &handle).code == 0 &&
        heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr)
                .code == 0;
    if (image) heif_image_release(image);
    if (handle) heif_image_handle_release(handle);
    heif_context_free(context);
    return ok;
}

bool BareWebP(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD got = 0;
    bytes.resize(GetFileSize(file, nullptr));
    const bool read = ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr);
    CloseHandle(file);
    int width = 0, height = 0;
    uint8_t* pixels = read ? WebPDecodeBGRA(bytes.data(), got, &width, &height) : nullptr;
    WebPFree(pixels);
    return pixels != nullptr;
}

void MeasureRatio(const wchar_t* name, const std::wstring& path,
                  bool (*bare)(const std::wstring&)) {
    FitImage image;
    std::vector<double> alone, fitted;
    bool ok = bare(path); // warms the file cache
    for (int run = 0; run < kRuns; ++run) {
        alone.push_back(TimeMs([&] { ok = bare(path) && ok; }));
        fitted.push_back(TimeMs([&] {
            ok = image.LoadFromFile(path, kTileWidth, kTileHeight) &&
                 image.FitPicture(RECT{0, 0, kTileWidth, kTileHeight}) && ok;
        }));
    }
    if (!ok || image.Picture().Width() != 1440 || image.Picture().Height() != 1080) {
        fprintf(stderr, "%ls: not decoded or fitted (%dx%d)\n", name, image.Picture().Width(),
                image.Picture().Height());
        return;
    }
    printf("fit_%ls_ratio: %.3f\n", name, Median(fitted) / Median(alone));
    printf("fit_%ls_ms: %.1f\n", name, Median(fitted));
    printf("fit_%ls_bare_decode_ms: %.1f\n", name, Median(alone));
}

} // namespace

int wmain() {
    MeasureRatio(L"heic", TestPhoto(L"big.heic"), BareHeif);
    MeasureRatio(L"webp", TestPhoto(L"big.webp"), BareWebP);
    return 0;
}
