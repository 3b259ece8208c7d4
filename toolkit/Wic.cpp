#include "toolkit/Wic.h"

#include <windows.h>

#include <wincodec.h>

#include <new>
#include <vector>

#include "toolkit/ComApartment.h"
#include "toolkit/Handles.h"
#include "toolkit/Log.h"
#include "toolkit/PictureHeader.h"
#include "toolkit/Text.h"

namespace tk {

namespace {

// COM and the factory, made together on the first thread that decodes and kept for the
// process: a factory per picture would cost a class lookup each time.
class WicContext {
  public:
    static WicContext& Get() {
        static WicContext context;
        return context;
    }
    IWICImagingFactory* Factory() const { return factory_.Get(); }

  private:
    WicContext() {
        HRESULT hr = apartment_.Result();
        if (apartment_.Usable()) {
            IWICImagingFactory* raw = nullptr;
            hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&raw));
            factory_.Reset(SUCCEEDED(hr) ? raw : nullptr);
        }
        if (!factory_)
            Log(L"the Windows Imaging Component cannot be created (" + HexCode(hr) +
                L"): only JPEG photos are shown");
    }
    ComApartment apartment_; // declared first: it outlives the factory
    ComPtr<IWICImagingFactory> factory_;
};

std::vector<std::wstring> AskDecoderExtensions() {
    std::vector<std::wstring> lists;
    IWICImagingFactory* factory = WicContext::Get().Factory();
    if (!factory) return lists;
    IEnumUnknown* rawEnum = nullptr;
    if (FAILED(
            factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, &rawEnum)))
        return lists;
    ComPtr<IEnumUnknown> components(rawEnum);
    for (;;) {
        IUnknown* rawItem = nullptr;
        ULONG got = 0;
        if (components.Get()->Next(1, &rawItem, &got) != S_OK || got != 1) break;
        ComPtr<IUnknown> item(rawItem);
        IWICBitmapDecoderInfo* rawInfo = nullptr;
        if (FAILED(item.Get()->QueryInterface(IID_PPV_ARGS(&rawInfo)))) continue;
        ComPtr<IWICBitmapDecoderInfo> info(rawInfo);
        UINT length = 0;
        if (FAILED(info.Get()->GetFileExtensions(0, nullptr, &length)) || length == 0) continue;
        std::wstring extensions(length, L'\0');
        if (FAILED(info.Get()->GetFileExtensions(length, extensions.data(), &length))) continue;
        extensions.resize(wcsnlen(extensions.c_str(), extensions.size()));
        lists.push_back(extensions);
    }
    return lists;
}

// The orientation WIC's photo metadata gives (HEIC, AVIF); 1 without one.
int OrientationOf(IWICBitmapFrameDecode* frame) {
    IWICMetadataQueryReader* raw = nullptr;
    if (FAILED(frame->GetMetadataQueryReader(&raw))) return 1;
    ComPtr<IWICMetadataQueryReader> reader(raw);
    PROPVARIANT value;
    PropVariantInit(&value);
    int orientation = 1;
    if (SUCCEEDED(reader.Get()->GetMetadataByName(L"System.Photo.Orientation", &value)))
        orientation = OrientationFromPhotoValue(value);
    PropVariantClear(&value);
    return orientation;
}

// CMYK as TIFF stores it (0 is no ink), for a decoder whose converter does not take it.
void CmykToBgrx(uint32_t* pixels, int count) {
    for (int x = 0; x < count; ++x) {
        const uint32_t p = pixels[x];
        const uint32_t c = p & 0xFF, m = (p >> 8) & 0xFF, y = (p >> 16) & 0xFF, k = p >> 24;
        const uint32_t r = (255 - c) * (255 - k) / 255, g = (255 - m) * (255 - k) / 255,
                       b = (255 - y) * (255 - k) / 255;
        pixels[x] = 0xFF000000u | r << 16 | g << 8 | b;
    }
}

// 24-bit rows (B, G, R) widened to 32 bits: the usual colour PNG, TIFF and BMP, done here
// because WIC's converter takes about twice as long for it.
void WidenBgr(const uint8_t* bgr, uint32_t* pixels, int count) {
    for (int x = 0; x < count; ++x, bgr += 3)
        pixels[x] = uint32_t(bgr[2]) << 16 | uint32_t(bgr[1]) << 8 | bgr[0];
}

// How the frame's pixels become B, G, R, A rows: as they are, widened from 24 bits, through
// WIC's format converter, or for CMYK, where the converter refuses it, by the conversion
// above.
struct RowSource {
    ComPtr<IWICFormatConverter> converter;
    IWICBitmapSource* source = nullptr;
    bool bgr24 = false;
    bool cmyk = false;
    bool opaque = false; // no alpha to draw over black
};

bool OpenRowSource(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, RowSource& rows,
                   std::wstring& why) {
    WICPixelFormatGUID format;
    if (FAILED(frame->GetPixelFormat(&format))) format = GUID_WICPixelFormatUndefined;
    if (IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA) ||
        IsEqualGUID(format, GUID_WICPixelFormat32bppBGR)) {
        rows.source = frame; // already as the sink wants it
        rows.opaque = IsEqualGUID(format, GUID_WICPixelFormat32bppBGR);
        return true;
    }
    if (IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        rows.source = frame;
        rows.bgr24 = rows.opaque = true;
        return true;
    }
    IWICFormatConverter* raw = nullptr;
    HRESULT hr = factory->CreateFormatConverter(&raw);
    if (SUCCEEDED(hr)) {
        rows.converter.Reset(raw);
        hr = rows.converter.Get()->Initialize(frame, GUID_WICPixelFormat32bppBGRA,
                                              WICBitmapDitherTypeNone, nullptr, 0.0,
                                              WICBitmapPaletteTypeCustom);
        if (SUCCEEDED(hr)) {
            rows.source = rows.converter.Get();
            return true;
        }
    }
    if (IsEqualGUID(format, GUID_WICPixelFormat32bppCMYK)) {
        rows.source = frame;
        rows.cmyk = true;
        return true;
    }
    why = L"no conversion of its pixels (" + HexCode(hr) + L")";
    return false;
}

bool Decode(const std::wstring& path, int orientation, RowSink& sink, std::wstring& why) {
    IWICImagingFactory* factory = WicContext::Get().Factory();
    if (!factory) {
        why = L"the Windows Imaging Component is absent";
        return false;
    }
    IWICBitmapDecoder* rawDecoder = nullptr;
    HRESULT hr = factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                    WICDecodeMetadataCacheOnDemand, &rawDecoder);
    if (FAILED(hr)) {
        why = L"no decoder reads it (" + HexCode(hr) + L")";
        return false;
    }
    ComPtr<IWICBitmapDecoder> decoder(rawDecoder);
    IWICBitmapFrameDecode* rawFrame = nullptr;
    hr = decoder.Get()->GetFrame(0, &rawFrame);
    if (FAILED(hr)) {
        why = L"it holds no frame (" + HexCode(hr) + L")";
        return false;
    }
    ComPtr<IWICBitmapFrameDecode> frame(rawFrame);
    UINT width = 0, height = 0;
    if (FAILED(frame.Get()->GetSize(&width, &height)) || width == 0 || height == 0 ||
        ExceedsPixelBudget(width, height)) {
        why = L"its frame of " + std::to_wstring(width) + L" x " + std::to_wstring(height) +
              L" pixels is empty or beyond the pixel budget";
        return false;
    }
    if (orientation == 0) orientation = OrientationOf(frame.Get());
    RowSource rows;
    if (!OpenRowSource(factory, frame.Get(), rows, why)) return false;
    const int w = int(width), h = int(height);
    if (sink.Scale(w, h, orientation) == 0 || !sink.Begin(w, h)) {
        why = L"refused at " + std::to_wstring(w) + L" x " + std::to_wstring(h);
        return false;
    }
    // Row by row into the sink's own row: the converter works per call, and the decoders
    // keep what they decoded for the next row, so no copy of the picture is made here.
    const UINT stride = width * (rows.bgr24 ? 3 : 4);
    std::vector<uint8_t> narrow(rows.bgr24 ? stride : 0);
    for (int y = 0; y < h; ++y) {
        uint32_t* row = sink.Row(y);
        const WICRect line = {0, y, w, 1};
        BYTE* into = rows.bgr24 ? narrow.data() : reinterpret_cast<BYTE*>(row);
        hr = rows.source->CopyPixels(&line, stride, stride, into);
        if (SUCCEEDED(hr) && rows.bgr24) WidenBgr(narrow.data(), row, w);
        if (FAILED(hr)) {
            why = L"its data fails at row " + std::to_wstring(y) + L" (" + HexCode(hr) + L")";
            return false;
        }
        if (rows.cmyk)
            CmykToBgrx(row, w);
        else if (!rows.opaque)
            DrawOverBlack(row, w);
        sink.RowDone(y);
    }
    return true;
}

} // namespace

const std::vector<std::wstring>& WicDecoderExtensions() {
    static const std::vector<std::wstring> lists = AskDecoderExtensions();
    return lists;
}

bool DecodeWicRows(const std::wstring& path, int orientation, RowSink& sink, std::wstring& why) {
    try {
        return Decode(path, orientation, sink, why);
    } catch (const std::bad_alloc&) {
        why = L"out of memory";
        return false;
    }
}

void DrawOverBlack(uint32_t* pixels, int count) {
    for (int x = 0; x < count; ++x) {
        const uint32_t p = pixels[x], a = p >> 24;
        if (a == 0xFF) continue;
        // Each channel times alpha / 255, rounded: (v * a + 128) * 257 >> 16 is exact for
        // every v and a of 8 bits.
        auto times = [a](uint32_t v) { return ((v * a + 128) * 257) >> 16; };
        pixels[x] = (p & 0xFF000000u) | times((p >> 16) & 0xFF) << 16 |
                    times((p >> 8) & 0xFF) << 8 | times(p & 0xFF);
    }
}

int OrientationFromPhotoValue(const PROPVARIANT& value) {
    return value.vt == VT_UI2 && value.uiVal >= 1 && value.uiVal <= 8 ? value.uiVal : 1;
}

} // namespace tk
