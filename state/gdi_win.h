#pragma once
// Move-only owners for the GDI objects and handles the program keeps.
#include <windows.h>

#include <utility>

template <typename H>
class UniqueGdiObject {
public:
    UniqueGdiObject() = default;
    explicit UniqueGdiObject(H h) : h_(h) {}
    ~UniqueGdiObject() { reset(); }
    UniqueGdiObject(const UniqueGdiObject&) = delete;
    UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;
    UniqueGdiObject(UniqueGdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueGdiObject& operator=(UniqueGdiObject&& o) noexcept
    {
        if (this != &o) reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    // Deletes the held object (stock objects are ignored by the system) and keeps the new one.
    void reset(H h = nullptr)
    {
        if (h_) DeleteObject(h_);
        h_ = h;
    }

private:
    H h_ = nullptr;
};
using unique_hfont = UniqueGdiObject<HFONT>;
using unique_hbrush = UniqueGdiObject<HBRUSH>;
using unique_hbitmap = UniqueGdiObject<HBITMAP>;

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

// A loaded menu, destroyed with everything in it.
class unique_hmenu {
public:
    unique_hmenu() = default;
    explicit unique_hmenu(HMENU h) : h_(h) {}
    ~unique_hmenu() { if (h_) DestroyMenu(h_); }
    unique_hmenu(const unique_hmenu&) = delete;
    unique_hmenu& operator=(const unique_hmenu&) = delete;
    HMENU get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HMENU h_ = nullptr;
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
