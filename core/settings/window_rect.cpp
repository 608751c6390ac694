#include "core/settings/window_rect.h"

#include <algorithm>

namespace {
ScreenRect rect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
{
    return ScreenRect{clampTo32(left), clampTo32(top), clampTo32(right), clampTo32(bottom)};
}
}  // namespace

WindowBox clampedWindowBox(std::int32_t left32, std::int32_t top32, std::int32_t right32, std::int32_t bottom32,
                          const ScreenMetrics& screen, const std::vector<Monitor>& monitors)
{
    std::int64_t left = left32, top = top32, right = right32, bottom = bottom32;
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
    // Touching no monitor (one that was unplugged, say), the window comes back to the primary screen.
    ScreenRect on{0, 0, screen.width, screen.height};
    if (const Monitor* m = monitorOverlappedMost(rect(left, top, right, bottom), monitors)) on = m->area;
    // The part of the window beyond an edge of its monitor is seen when it lies on another monitor.
    const auto seen = [&monitors](const ScreenRect& beyond) {
        return std::any_of(monitors.begin(), monitors.end(), [&](const Monitor& m) { return overlaps(beyond, m.area); });
    };
    if ((top > on.bottom || bottom > on.bottom + 10) && !seen(rect(left, std::max<std::int64_t>(top, on.bottom), right, bottom))) {
        bottom = on.bottom;
        top = bottom - h;
    }
    if ((left > on.right || right > on.right + 10) && !seen(rect(std::max<std::int64_t>(left, on.right), top, right, bottom))) {
        right = on.right;
        left = right - w;
    }
    if ((right < on.left || left < on.left - 10) && !seen(rect(left, top, std::min<std::int64_t>(right, on.left), bottom))) {
        left = on.left;
        right = left + w;
    }
    if ((bottom < on.top || top < on.top - 10) && !seen(rect(left, top, right, std::min<std::int64_t>(bottom, on.top)))) {
        top = on.top;
        bottom = top + h;
    }
    WindowBox box;
    box.left = clampTo32(left);
    box.top = clampTo32(top);
    box.width = clampTo32(w);
    box.height = clampTo32(h);
    return box;
}
