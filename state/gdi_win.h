#pragma once
// Move-only owners for the handles, GDI objects, COM references and OLE the program keeps.
#include <windows.h>
#include <ole2.h>

#include <utility>

// Owns one handle of the kind `Traits` describes: its type, the value that stands for none, and
// how it is given back. Moving hands the handle on; the moved-from owner holds none.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept
    {
        if (this != &o) reset(o.release());
        return *this;
    }
    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::none(); }
    // Gives the held handle back and keeps `h`.
    void reset(Handle h = Traits::none())
    {
        const Handle old = std::exchange(h_, h);
        if (old != Traits::none()) Traits::close(old);
    }
    // Hands the handle over to its new owner.
    Handle release() { return std::exchange(h_, Traits::none()); }

private:
    Handle h_ = Traits::none();
};

template <typename H>
struct GdiObjectTraits {
    using Handle = H;
    static H none() { return nullptr; }
    static void close(H h) { DeleteObject(h); }   // stock objects are ignored by the system
};
using unique_hfont = UniqueHandle<GdiObjectTraits<HFONT>>;
using unique_hbrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using unique_hbitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using unique_hrgn = UniqueHandle<GdiObjectTraits<HRGN>>;

// Kernel objects: a thread's handle is null when there is none, a file's or a search's
// INVALID_HANDLE_VALUE.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static HANDLE none() { return nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};
using unique_handle = UniqueHandle<KernelHandleTraits>;
struct FileHandleTraits : KernelHandleTraits {
    static HANDLE none() { return INVALID_HANDLE_VALUE; }
};
using unique_hfile = UniqueHandle<FileHandleTraits>;
struct FindHandleTraits : FileHandleTraits {
    static void close(HANDLE h) { FindClose(h); }
};
using unique_hfind = UniqueHandle<FindHandleTraits>;

// A loaded menu, destroyed with everything in it.
struct MenuTraits {
    using Handle = HMENU;
    static HMENU none() { return nullptr; }
    static void close(HMENU h) { DestroyMenu(h); }
};
using unique_hmenu = UniqueHandle<MenuTraits>;

// A window's device context, taken and given back within one operation.
class WindowDC {
public:
    explicit WindowDC(HWND w) : w_(w), dc_(GetDC(w)) {}
    ~WindowDC() { if (dc_) ReleaseDC(w_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND w_;
    HDC dc_;
};

// The device context of one WM_PAINT, from BeginPaint to EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND w) : w_(w), dc_(BeginPaint(w, &ps_)) {}
    ~PaintDC() { EndPaint(w_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND w_;
    PAINTSTRUCT ps_ = {};
    HDC dc_;
};

// A memory device context compatible with the screen (or another context), deleted at the end of one operation.
class MemoryDC {
public:
    MemoryDC() : dc_(CreateCompatibleDC(nullptr)) {}
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() { if (dc_) DeleteDC(dc_); }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// An object selected into a device context for one operation; the previous one is put back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() { if (previous_) SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// One reference to a COM object, released when replaced or at the end.
template <typename I>
class UniqueComRef {
public:
    UniqueComRef() = default;
    ~UniqueComRef() { reset(); }
    UniqueComRef(const UniqueComRef&) = delete;
    UniqueComRef& operator=(const UniqueComRef&) = delete;
    UniqueComRef(UniqueComRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    UniqueComRef& operator=(UniqueComRef&& o) noexcept
    {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    I* get() const { return p_; }
    I* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset()
    {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    // For a call that hands out a new reference: the old one is released first.
    void** put()
    {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    I** putTyped()
    {
        reset();
        return &p_;
    }

private:
    I* p_ = nullptr;
};

// OLE on the calling thread, from a successful OleInitialize to the end of its owner; every OLE
// object the thread holds must be released before then. What it holds is whether the call
// succeeded: only one that did is undone.
struct OleTraits {
    using Handle = bool;
    static bool none() { return false; }
    static void close(bool) { OleUninitialize(); }
};
using unique_oleuninitialize_call = UniqueHandle<OleTraits>;
inline unique_oleuninitialize_call oleInitialize()
{
    return unique_oleuninitialize_call(SUCCEEDED(OleInitialize(nullptr)));
}
