#include "toolkit/MediaFoundation.h"

#include <objbase.h>

namespace tk {

namespace {

template <class F> bool Find(HMODULE module, const char* name, F& into) {
    into = module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
    return into != nullptr;
}

MediaFoundationApi Load() {
    MediaFoundationApi api;
    // Kept for the life of the process: readers may be made by any clip at any time.
    HMODULE platform = LoadLibraryW(L"mfplat.dll");
    HMODULE readWrite = LoadLibraryW(L"mfreadwrite.dll");
    const bool found =
        Find(platform, "MFStartup", api.Startup) && Find(platform, "MFShutdown", api.Shutdown) &&
        Find(platform, "MFCreateAttributes", api.CreateAttributes) &&
        Find(platform, "MFCreateMediaType", api.CreateMediaType) &&
        Find(readWrite, "MFCreateSourceReaderFromURL", api.CreateSourceReaderFromURL);
    if (!found) api = MediaFoundationApi{};
    return api;
}

} // namespace

const MediaFoundationApi* MediaFoundation() {
    static const MediaFoundationApi api = Load();
    return api.Startup ? &api : nullptr;
}

MediaFoundationThread::MediaFoundationThread() {
    const MediaFoundationApi* mf = MediaFoundation();
    if (!mf) return;
    if (SUCCEEDED(com_.Result())) started_ = SUCCEEDED(mf->Startup(MF_VERSION, MFSTARTUP_LITE));
}

MediaFoundationThread::~MediaFoundationThread() {
    if (started_) MediaFoundation()->Shutdown();
}

} // namespace tk
