#include "core/display/placement.h"

#include <algorithm>
#include <limits>

#include "core/display/fitting.h"

std::int32_t clampTo32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::optional<ScreenPoint> dockPosition(std::uint32_t position, const ScreenRect& work, std::int32_t w,
                                        std::int32_t h, const DockState& s)
{
    if (position == DOCK_NONE) return std::nullopt;
    const std::int64_t left = work.left, top = work.top, right = work.right, bottom = work.bottom;
    std::int64_t y;
    if (position == DOCK_TOP) {
        y = top;
        if (!s.transparent && s.caption && s.blackboxShell) y -= s.bbCaptionAdjust;
    } else if (position == DOCK_BOTTOM) {
        y = bottom - h;
        if (s.transparent) y += 2 * std::int64_t(s.cyDlgFrame);
    } else {
        y = top + (bottom - top - h) / 2;
    }
    return ScreenPoint{clampTo32((right - left - w) / 2 + left), clampTo32(y)};
}

namespace {
std::int64_t keepSpanInside(std::int64_t start, std::int64_t length, std::int64_t low, std::int64_t high)
{
    return std::max(low, std::min(start, high - length));
}
}  // namespace

ScreenPoint keepInside(const ScreenRect& work, ScreenPoint at, std::int32_t w, std::int32_t h)
{
    return ScreenPoint{clampTo32(keepSpanInside(at.x, w, work.left, work.right)),
                       clampTo32(keepSpanInside(at.y, h, work.top, work.bottom))};
}

CaptionPlace captionPlace(std::int32_t top, std::int32_t height, bool caption, bool blackboxShell,
                          std::int32_t cyFrame, std::int32_t bbWindowAdjust)
{
    std::int64_t t = top, h = height;
    if (blackboxShell && caption) {
        t -= cyFrame;
        h += bbWindowAdjust;
    } else if (blackboxShell) {
        t += cyFrame;
    }
    return CaptionPlace{clampTo32(t), static_cast<std::int32_t>(clampExtent(h))};
}
