#include "core/settings/window_rect.h"

#include <algorithm>
#include <limits>

namespace {
std::int32_t to32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}
}  // namespace

WindowBox clampedWindowBox(std::int32_t left32, std::int32_t top32, std::int32_t right32, std::int32_t bottom32,
                          const ScreenMetrics& screen)
{
    std::int64_t left = left32, top = top32, right = right32, bottom = bottom32;
    const std::int64_t sw = screen.width, sh = screen.height;
    std::int64_t w = right - left;
    std::int64_t h = bottom - top;
    if (w < screen.minTrackWidth) {
        right = left + 100;
        w = 100;
    }
    if (h < screen.minTrackHeight) {
        bottom = top + 100;
        h = 100;
    }
    if (top > sh || bottom > sh + 10) {
        bottom = sh;
        top = sh - h;
    }
    if (left > sw || right > sw + 10) {
        right = sw;
        left = sw - w;
    }
    if (right < 0 || left < -10) {
        left = 0;
        right = w;
    }
    if (bottom < 0 || top < -10) {
        top = 0;
        bottom = h;
    }
    WindowBox box;
    box.left = to32(left);
    box.top = to32(top);
    box.width = to32(w);
    box.height = to32(h);
    return box;
}
