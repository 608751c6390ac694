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
