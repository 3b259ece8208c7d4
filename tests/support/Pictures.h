#pragma once
// The photos in other formats than JPEG that the tests and benchmarks make for themselves:
// through Windows' own imaging component (the encoders that the decoders under test pair
// with), or byte by byte where a case needs what no encoder writes (CMYK or oriented TIFF,
// PNG of any colour type with an eXIf chunk, lying headers). Free of GoogleTest.
#include <windows.h>

#include <wincodec.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/ComApartment.h"
#include "toolkit/Handles.h"

// Pixel (x, y) of a picture as 0xAARRGGBB.
using PixelAt = std::function<uint32_t(int x, int y)>;

// Encodes frames (one colour function each, all of one size) through WIC: PNG, BMP and TIFF
// as 32-bit BGRA when `alpha`, else 24-bit BGR; GIF as 8-bit indexed over the colours used
// (at most 256). False when WIC refuses.
inline bool MakeWicPicture(const std::wstring& path, const GUID& container, int width, int height,
                           const std::vector<PixelAt>& frames, bool alpha = false) {
    tk::ComApartment com;
    IWICImagingFactory* rawFactory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&rawFactory))))
        return false;
    tk::ComPtr<IWICImagingFactory> factory(rawFactory);
    IWICStream* rawStream = nullptr;
    IWICBitmapEncoder* rawEncoder = nullptr;
    if (FAILED(factory.Get()->CreateStream(&rawStream))) return false;
    tk::ComPtr<IWICStream> stream(rawStream);
    if (FAILED(stream.Get()->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory.Get()->CreateEncoder(container, nullptr, &rawEncoder)))
        return false;
    tk::ComPtr<IWICBitmapEncoder> encoder(rawEncoder);
    if (FAILED(encoder.Get()->Initialize(stream.Get(), WICBitmapEncoderNoCache))) return false;
    const bool indexed = IsEqualGUID(container, GUID_ContainerFormatGif);
    for (const PixelAt& colour : frames) {
        IWICBitmapFrameEncode* rawFrame = nullptr;
        IPropertyBag2* rawBag = nullptr;
        if (FAILED(encoder.Get()->CreateNewFrame(&rawFrame, &rawBag))) return false;
        tk::ComPtr<IWICBitmapFrameEncode> frame(rawFrame);
        tk::ComPtr<IPropertyBag2> bag(rawBag);
        WICPixelFormatGUID format = indexed ? GUID_WICPixelFormat8bppIndexed
                                    : alpha ? GUID_WICPixelFormat32bppBGRA
                                            : GUID_WICPixelFormat24bppBGR;
        const int bytes = indexed ? 1 : alpha ? 4 : 3;
        if (FAILED(frame.Get()->Initialize(bag.Get())) ||
            FAILED(frame.Get()->SetSize(UINT(width), UINT(height))) ||
            FAILED(frame.Get()->SetPixelFormat(&format)))
            return false;
        std::vector<BYTE> pixels(size_t(width) * height * bytes);
        std::map<uint32_t, BYTE> index;
        std::vector<WICColor> colours;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint32_t argb = colour(x, y);
                BYTE* p = &pixels[(size_t(y) * width + x) * bytes];
                if (indexed) {
                    auto [at, added] = index.emplace(argb, BYTE(colours.size()));
                    if (added) colours.push_back(argb);
                    p[0] = at->second;
                } else {
                    for (int k = 0; k < bytes; ++k)
                        p[k] = BYTE(argb >> (8 * k));
                }
            }
        if (indexed) {
            if (colours.size() > 256) return false;
            IWICPalette* rawPalette = nullptr;
            if (FAILED(factory.Get()->CreatePalette(&rawPalette))) return false;
            tk::ComPtr<IWICPalette> palette(rawPalette);
            if (FAILED(palette.Get()->InitializeCustom(colours.data(), UINT(colours.size()))) ||
                FAILED(frame.Get()->SetPalette(palette.Get())))
                return false;
        }
        const UINT stride = UINT(width * bytes);
        if (FAILED(frame.Get()->WritePixels(UINT(height), stride, UINT(pixels.size()),
                                            pixels.data())) ||
            FAILED(frame.Get()->Commit()))
            return false;
    }
    return SUCCEEDED(encoder.Get()->Commit());
}

inline std::string Be32Bytes(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

inline uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// A PNG chunk: length, type, data, checksum.
inline std::string PngChunk(const std::string& type, const std::string& data) {
    return Be32Bytes(uint32_t(data.size())) + type + data + Be32Bytes(Crc32(type + data));
}

// A PNG of rows given as their raw bytes (rowBytes each, no filter byte), stored without
// compression; `beforeData` are whole chunks put between IHDR and the image data (PLTE,
// tRNS, eXIf ...).
inline std::string PngBytes(int width, int height, int colourType, int bitDepth,
                            const std::string& rows, int rowBytes,
                            const std::string& beforeData = "") {
    std::string raw;
    for (int y = 0; y < height; ++y)
        raw += '\0' + rows.substr(size_t(y) * rowBytes, size_t(rowBytes));
    std::string zlib = "\x78\x01";
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        const bool last = at + n >= raw.size();
        zlib += {char(last ? 1 : 0), char(n & 0xFF), char(n >> 8), char(~n & 0xFF),
                 char((~n >> 8) & 0xFF)};
        zlib += raw.substr(at, n);
        if (last) break;
    }
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    zlib += Be32Bytes(b << 16 | a);
    const std::string ihdr = Be32Bytes(uint32_t(width)) + Be32Bytes(uint32_t(height)) +
                             char(bitDepth) + char(colourType) + std::string(3, '\0');
    return std::string("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", ihdr) + beforeData +
           PngChunk("IDAT", zlib) + PngChunk("IEND", "");
}

// A PNG whose header claims another size, its checksum made right: only the size lies.
inline std::string WithPngSize(const std::string& png, uint32_t width, uint32_t height) {
    const std::string ihdr = "IHDR" + Be32Bytes(width) + Be32Bytes(height) + png.substr(24, 5);
    return png.substr(0, 12) + ihdr + Be32Bytes(Crc32(ihdr)) + png.substr(33);
}

// One page of a TIFF made by hand: uncompressed, one strip, 8 bits per sample.
struct TiffPage {
    int width = 1, height = 1;
    int samples = 3;     // 1 grey, 3 RGB, 4 CMYK
    int photometric = 2; // 1 grey (black is zero), 2 RGB, 5 separated (CMYK)
    std::string pixels;  // width * height * samples bytes, rows from the top
    int orientation = 0; // 0: no orientation tag
};

// A little-endian TIFF of the pages, each page's pixels before its directory.
inline std::string TiffBytes(const std::vector<TiffPage>& pages) {
    std::string t = "II*";
    t += '\0';
    auto u16 = [](uint32_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; };
    auto u32 = [&](uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); };
    t += u32(0);
    size_t pointer = 4; // where the offset of the next directory goes: the header's first
    for (const TiffPage& page : pages) {
        const uint32_t pixelsAt = uint32_t(t.size());
        t += page.pixels;
        const uint32_t bitsAt = uint32_t(t.size());
        for (int s = 0; s < page.samples; ++s)
            t += u16(8);
        if (t.size() & 1) t += '\0';
        struct Entry {
            uint16_t tag, type;
            uint32_t count, value;
        };
        std::vector<Entry> entries = {
            {256, 4, 1, uint32_t(page.width)},
            {257, 4, 1, uint32_t(page.height)},
            {258, 3, uint32_t(page.samples), page.samples <= 2 ? 8u : bitsAt},
            {259, 3, 1, 1},
            {262, 3, 1, uint32_t(page.photometric)},
            {273, 4, 1, pixelsAt},
            {277, 3, 1, uint32_t(page.samples)},
            {278, 4, 1, uint32_t(page.height)},
            {279, 4, 1, uint32_t(page.pixels.size())},
            {284, 3, 1, 1}};
        if (page.orientation)
            entries.insert(entries.begin() + 6, {274, 3, 1, uint32_t(page.orientation)});
        t.replace(pointer, 4, u32(uint32_t(t.size())));
        t += u16(uint32_t(entries.size()));
        for (const Entry& e : entries) {
            t += u16(e.tag) + u16(e.type) + u32(e.count);
            t += e.type == 3 && e.count == 1 ? u16(e.value) + u16(0) : u32(e.value);
        }
        pointer = t.size();
        t += u32(0);
    }
    return t;
}
