#pragma once
// Picture sizes and where the picture is drawn. Sizes arrive in HIMETRIC units (hundredths of a
// millimetre, 2540 an inch); every product is 64-bit and clamped, so no picture size overflows.
#include <cstdint>

struct PixelSize {
    std::int32_t width = 0, height = 0;
};

// HIMETRIC to pixels at `dotsPerInch`, rounded to the nearest pixel as MulDiv rounds.
std::int32_t himetricToPixels(std::int32_t himetric, std::int32_t dotsPerInch);

// Shrinks a picture of `natural` size to fit a box of boxWidth by boxHeight, keeping its aspect
// ratio: the height is fitted first, then the width. Never enlarges. A picture with no area gives
// no area.
PixelSize scalePictureToBox(PixelSize natural, std::int64_t boxWidth, std::int64_t boxHeight);

// Fit To Graphic: the client area for a picture of `natural` pixels, shrunk until the whole window,
// with its frame and caption (`frameWidth` and `frameHeight` in all), fits a work area of
// workWidth by workHeight.
PixelSize graphicClientSize(PixelSize natural, std::int64_t workWidth, std::int64_t workHeight,
                            std::int64_t frameWidth, std::int64_t frameHeight);

// Calls visit(x, y) for each tile of a w by h picture laid from the top-left corner over a client
// area `right` wide and `bottom` high; nothing when either is empty.
template <class Visit>
void forEachTile(std::int32_t w, std::int32_t h, std::int32_t right, std::int32_t bottom, Visit&& visit)
{
    if (w <= 0 || h <= 0) return;
    for (std::int64_t y = 0; y < bottom; y += h)
        for (std::int64_t x = 0; x < right; x += w) visit(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
}
