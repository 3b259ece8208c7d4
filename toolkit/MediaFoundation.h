#pragma once
// Media Foundation's entry points, found at run time. The program must start on a Windows
// without Media Foundation too (the N editions without their Media Feature Pack): linked to
// its DLLs, it would not start at all there; looked up, only the clips that need it are
// dropped, with a line in the log.
#include <windows.h>

#include <mfapi.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include "toolkit/ComApartment.h"
#include "toolkit/NonCopyable.h"

namespace tk {

struct MediaFoundationApi {
    HRESULT(WINAPI* Startup)(ULONG version, DWORD flags) = nullptr;
    HRESULT(WINAPI* Shutdown)() = nullptr;
    HRESULT(WINAPI* CreateAttributes)(IMFAttributes** attributes, UINT32 size) = nullptr;
    HRESULT(WINAPI* CreateMediaType)(IMFMediaType** type) = nullptr;
    HRESULT(WINAPI* CreateSourceReaderFromURL)
    (const WCHAR* url, IMFAttributes* attributes, IMFSourceReader** reader) = nullptr;
};

// The entry points, loaded once for the process (the DLLs stay loaded); null when this
// Windows has no Media Foundation.
const MediaFoundationApi* MediaFoundation();

// While it lives, the thread is in the multithreaded COM apartment and Media Foundation is
// started; Ok() says whether both happened.
class MediaFoundationThread : private NonCopyable {
  public:
    MediaFoundationThread();
    ~MediaFoundationThread();
    bool Ok() const { return started_; }

  private:
    ComApartment com_{ComApartment::Multithreaded}; // declared first: it outlives the start
    bool started_ = false;
};

} // namespace tk
