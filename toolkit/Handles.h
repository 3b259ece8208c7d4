#pragma once
// Move-only owners for every kind of handle the program opens. Copying is deleted so a
// handle has exactly one owner, and the owner closes it when it goes.
#include <windows.h>

#include <utility>

#include "toolkit/Counters.h"
#include "toolkit/NonCopyable.h"

namespace tk {

template <class H, class Traits> class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {
        if (Valid()) Traits::Opened();
    }
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            h_ = std::exchange(other.h_, Traits::Invalid());
        }
        return *this;
    }

    void Reset(H h = Traits::Invalid()) {
        if (Valid()) {
            Traits::Close(h_);
            Traits::Closed();
        }
        h_ = h;
        if (Valid()) Traits::Opened();
    }
    H Get() const { return h_; }
    bool Valid() const { return h_ != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }

  private:
    H h_ = Traits::Invalid();
};

struct Uncounted {
    static void Opened() {}
    static void Closed() {}
};
struct GdiCounted {
    static void Opened() { ++Counts().gdiObjects; }
    static void Closed() { --Counts().gdiObjects; }
};

// A kind of handle that `close` lets go, counted by Counter. Null is no handle, unless the
// kind says it is INVALID_HANDLE_VALUE (files, searches).
enum class NoHandle { Null, MinusOne };
template <class H, auto close, class Counter = Uncounted, NoHandle none = NoHandle::Null>
struct ClosedBy : Counter {
    static H Invalid() {
        if constexpr (none == NoHandle::MinusOne)
            return INVALID_HANDLE_VALUE;
        else
            return nullptr;
    }
    static void Close(H h) { close(h); }
};
// A COM interface pointer that this owner holds one reference of.
template <class T> struct ComTraits {
    static T* Invalid() { return nullptr; }
    static void Close(T* p) { p->Release(); }
    static void Opened() { ++Counts().comObjects; }
    static void Closed() { --Counts().comObjects; }
};

using KernelHandle = UniqueHandle<HANDLE, ClosedBy<HANDLE, CloseHandle>>;
using FindHandle = UniqueHandle<HANDLE, ClosedBy<HANDLE, FindClose, Uncounted, NoHandle::MinusOne>>;
using FileHandle =
    UniqueHandle<HANDLE, ClosedBy<HANDLE, CloseHandle, Uncounted, NoHandle::MinusOne>>;
using Module = UniqueHandle<HMODULE, ClosedBy<HMODULE, FreeLibrary>>;
using RegKey = UniqueHandle<HKEY, ClosedBy<HKEY, RegCloseKey>>;
template <class T> using GdiObject = UniqueHandle<T, ClosedBy<T, DeleteObject, GdiCounted>>;
using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Region = GdiObject<HRGN>;
using MemDc = UniqueHandle<HDC, ClosedBy<HDC, DeleteDC, GdiCounted>>;
template <class T> using ComPtr = UniqueHandle<T*, ComTraits<T>>;

// A device context borrowed from a window with GetDC (or GetDCEx with these flags), given
// back with ReleaseDC.
class WindowDc : private NonCopyable {
  public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDc(HWND hwnd, DWORD flags) : hwnd_(hwnd), dc_(GetDCEx(hwnd, nullptr, flags)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a DC for a scope; the previous one is selected back at its end.
// Declare it after the DC and the object so that it is undone before either goes.
class Selection : private NonCopyable {
  public:
    Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~Selection() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace tk
