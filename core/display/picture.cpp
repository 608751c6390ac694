#include "core/display/picture.h"

#include <algorithm>
#include <cstdlib>

#include "core/display/fitting.h"

std::int32_t himetricToPixels(std::int32_t himetric, std::int32_t dotsPerInch)
{
    const std::int64_t product = std::int64_t(himetric) * dotsPerInch;
    const std::int64_t half = product < 0 ? -1270 : 1270;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>((product + half) / 2540, -MAX_WINDOW_EXTENT,
                                                              MAX_WINDOW_EXTENT));
}

namespace {
// Rounded to single precision, then truncated toward zero, within the window extents.
std::int32_t truncated(long double v)
{
    const float f = static_cast<float>(v);
    return static_cast<std::int32_t>(std::clamp<float>(f, 0.0f, static_cast<float>(MAX_WINDOW_EXTENT)));
}
}  // namespace

PixelSize scalePictureToBox(PixelSize natural, std::int64_t boxWidth, std::int64_t boxHeight)
{
    if (natural.width <= 0 || natural.height <= 0) return PixelSize{};
    boxWidth = clampExtent(boxWidth);
    boxHeight = clampExtent(boxHeight);
    const long double ratio = static_cast<long double>(natural.width) / natural.height;
    std::int64_t w = natural.width, h = natural.height;
    if (h > boxHeight) {
        h = boxHeight;
        w = truncated(ratio * h);
    }
    if (w > boxWidth) {
        w = boxWidth;
        h = truncated(w / ratio);
    }
    return PixelSize{static_cast<std::int32_t>(w), static_cast<std::int32_t>(h)};
}

PixelSize graphicClientSize(PixelSize natural, std::int64_t workWidth, std::int64_t workHeight,
                            std::int64_t frameWidth, std::int64_t frameHeight)
{
    return scalePictureToBox(natural, workWidth - frameWidth, workHeight - frameHeight);
}
