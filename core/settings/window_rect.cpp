#include "core/settings/window_rect.h"

#include "core/display/placement.h"

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
    box.left = clampTo32(left);
    box.top = clampTo32(top);
    box.width = clampTo32(w);
    box.height = clampTo32(h);
    return box;
}
