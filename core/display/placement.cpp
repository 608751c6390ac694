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

std::int64_t overlapArea(const ScreenRect& a, const ScreenRect& b)
{
    const std::int64_t w = std::int64_t(std::min(a.right, b.right)) - std::max(a.left, b.left);
    const std::int64_t h = std::int64_t(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// How far apart two spans are along one axis; 0 when they meet or overlap.
std::int64_t gap(std::int64_t start, std::int64_t end, std::int64_t otherStart, std::int64_t otherEnd)
{
    return std::max<std::int64_t>({0, otherStart - end, start - otherEnd});
}

}  // namespace

bool overlaps(const ScreenRect& a, const ScreenRect& b) { return overlapArea(a, b) > 0; }

const Monitor* monitorOverlappedMost(const ScreenRect& r, const std::vector<Monitor>& monitors)
{
    const Monitor* most = nullptr;
    std::int64_t mostArea = 0;
    for (const Monitor& m : monitors) {
        const std::int64_t area = overlapArea(r, m.area);
        if (area > mostArea) most = &m, mostArea = area;
    }
    return most;
}

const Monitor* monitorHolding(const ScreenRect& r, const std::vector<Monitor>& monitors)
{
    if (const Monitor* most = monitorOverlappedMost(r, monitors)) return most;
    const Monitor* nearest = nullptr;
    double nearestDistance = 0;
    for (const Monitor& m : monitors) {
        const double dx = double(gap(r.left, r.right, m.area.left, m.area.right));
        const double dy = double(gap(r.top, r.bottom, m.area.top, m.area.bottom));
        const double distance = dx * dx + dy * dy;
        if (!nearest || distance < nearestDistance) nearest = &m, nearestDistance = distance;
    }
    return nearest;
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
