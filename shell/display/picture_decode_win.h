#pragma once
// Decoding a picture file with the system's imaging component (WIC), off the window's thread, into
// no more of it than the screen can show.
#include <cstdint>
#include <memory>

#include "state/picture_win.h"

struct DecodeRequest {
    PixelSize screen;                    // no client area can be larger (SM_CXMAXTRACK, SM_CYMAXTRACK)
    std::int32_t dpiX = 96, dpiY = 96;   // the screen's, which give the picture its HIMETRIC size
    std::int32_t iconWidth = 32;         // SM_CXICON: the image of an icon file that is shown
};

// Decodes `path` on the calling thread. NotForDecoder when the imaging component knows no such
// format; Failed when the file cannot be read, or once `abandoned` is set.
DecodeResult decodePicture(const wchar_t* path, const DecodeRequest& request, const std::atomic<bool>& abandoned);

// Runs decodePicture on the hand-over's path on a worker thread (on this one if no thread can be
// had); the result goes into the hand-over, and `message` is posted to `window` unless the window
// has abandoned it. The worker touches nothing else.
void startPictureDecode(const std::shared_ptr<PictureHandOver>& handOver, const DecodeRequest& request, HWND window,
                        UINT message);
