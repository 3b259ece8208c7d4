#include "toolkit/Wic.h"

#include <windows.h>

#include <wincodec.h>

#include <new>
#include <vector>

#include "toolkit/ComApartment.h"
#include "toolkit/Handles.h"
#include "toolkit/Log.h"
#include "toolkit/NonCopyable.h"
#include "toolkit/PictureHeader.h"
#include "toolkit/Text.h"

namespace tk {

namespace {

// A factory of the calling thread's own apartment, made for one decode or one question and
// released before it returns. A factory kept for the process would be called from threads of
// other apartments, and released at the program's end by whichever thread runs the static
// teardown, after its apartment has gone, or never when the process ends without one. A thread
// without COM enters the multithreaded apartment for the call: a decode pumps no messages, so
// the dialog's thread needs no single-threaded one either. Making a factory costs 0.1 to 0.6 ms
// under Wine, against some 220 ms for the fit of a 12-megapixel PNG (bench/wic_factory.cpp).
class WicFactory : private NonCopyable {
  public:
    WicFactory() : apartment_(ComApartment::Multithreaded), result_(apartment_.Result()) {
        if (!apartment_.Usable()) return;
        IWICImagingFactory* raw = nullptr;
        result_ = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&raw));
        factory_.Reset(SUCCEEDED(result_) ? raw : nullptr);
    }
    IWICImagingFactory* Get() const { return factory_.Get(); }
    // Why there is no factory.
    std::wstring Failure() const {
        return L"the Windows Imaging Component cannot be created (" + HexCode(result_) + L")";
    }

  private:
    ComApartment apartment_; // declared first: it outlives the factory
    HRESULT result_;
    ComPtr<IWICImagingFactory> factory_;
};

std::vector<std::wstring> AskDecoderExtensions() {
    std::vector<std::wstring> lists;
    const WicFactory wic;
    IWICImagingFactory* factory = wic.Get();
    if (!factory) {
        Log(wic.Failure() + L": only the formats the program decodes itself are shown");
        return lists;
    }
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
    const WicFactory wic;
    IWICImagingFactory* factory = wic.Get();
    if (!factory) {
        why = wic.Failure();
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
