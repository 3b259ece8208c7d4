#pragma once
// COM started on the calling thread for the life of the object: by default as a
// single-threaded apartment (what windows and the Windows Imaging Component expect of a thread
// that runs a message loop), or multithreaded for a worker without a message loop. Guards nest:
// each one that COM accepted is matched by its own CoUninitialize, in reverse order, when it goes.
#include <windows.h>

#include <objbase.h>

#include "toolkit/NonCopyable.h"

namespace tk {

class ComApartment : private NonCopyable {
  public:
    enum Kind { SingleThreaded, Multithreaded };
    explicit ComApartment(Kind kind = SingleThreaded)
        : result_(CoInitializeEx(nullptr, kind == Multithreaded ? COINIT_MULTITHREADED
                                                                : COINIT_APARTMENTTHREADED |
                                                                      COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        // S_FALSE (COM was started already on this thread) counts as a start too and needs
        // its own end; RPC_E_CHANGED_MODE (the thread is in the multi-threaded apartment)
        // started nothing.
        if (SUCCEEDED(result_)) CoUninitialize();
    }

    // COM can be used on this thread: started here, or already running in either kind of
    // apartment.
    bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
    HRESULT Result() const { return result_; }

  private:
    HRESULT result_;
};

} // namespace tk
