#pragma once
// The background picture and the decode that brings it: owners only, the operations live in
// shell/display.
#include <windows.h>
#include <olectl.h>

#include <atomic>
#include <memory>
#include <string>

#include "core/display/picture.h"
#include "state/gdi_win.h"

// One decoded form of the picture: a top-down 32-bit DIB section, premultiplied alpha.
struct PictureView {
    unique_hbitmap bitmap;
    PixelSize size;
};

// The background picture. Bitmaps and photos are decoded to no more than the screen can show (see
// pictureViews); metafiles stay the system's picture object, which draws them at any size.
struct BackgroundPicture {
    UniqueComRef<IPicture> system;
    PictureView whole, corner;
    PixelSize pixels;                     // the decoded picture's full size
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    bool seeThrough = false;              // some pixels let the background through
    explicit operator bool() const { return system || whole.bitmap; }
};

// How a decode ended.
enum class DecodeOutcome { Decoded, NotForDecoder, Failed };

struct DecodeResult {
    DecodeOutcome outcome = DecodeOutcome::Failed;
    BackgroundPicture picture;
};

// What a decode on its worker thread hands to the window's thread. Both hold it; whichever lets go
// last frees it, with a result nobody took, so a window gone meanwhile leaks nothing.
struct PictureHandOver {
    explicit PictureHandOver(std::wstring p) : path(std::move(p)) {}
    ~PictureHandOver() { delete result.exchange(nullptr); }
    PictureHandOver(const PictureHandOver&) = delete;
    PictureHandOver& operator=(const PictureHandOver&) = delete;
    const std::wstring path;
    std::atomic<DecodeResult*> result{nullptr};   // set once by the worker
    std::atomic<bool> abandoned{false};           // the window no longer wants it
};

// The decode under way, if any, as the window's thread sees it.
struct PendingPicture {
    std::shared_ptr<PictureHandOver> handOver;
    bool fitOnArrival = false;   // Fit To Graphic came while the picture was still on its way
    PendingPicture() = default;
    ~PendingPicture() { abandon(); }
    PendingPicture(const PendingPicture&) = delete;
    PendingPicture& operator=(const PendingPicture&) = delete;
    void abandon()
    {
        if (handOver) handOver->abandoned = true;
        handOver.reset();
        fitOnArrival = false;
    }
};
