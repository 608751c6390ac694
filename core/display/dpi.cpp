#include "core/display/dpi.h"

#include <algorithm>

namespace {

// a * b / c rounded to the nearest whole number, halves away from zero; c > 0.
std::int64_t mulDiv(std::int64_t a, std::int64_t b, std::int64_t c)
{
    const std::int64_t p = a * b;
    return p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c);
}

// In 64 bits throughout, so that at 96 dpi every rectangle, however far out, stays as it is.
ScreenRect scaleRect(const ScreenRect& r, std::int64_t to, std::int64_t from)
{
    const std::int64_t left = mulDiv(r.left, to, from), top = mulDiv(r.top, to, from);
    const std::int64_t width = mulDiv(std::int64_t(r.right) - r.left, to, from);
    const std::int64_t height = mulDiv(std::int64_t(r.bottom) - r.top, to, from);
    return ScreenRect{clampTo32(left), clampTo32(top), clampTo32(left + width), clampTo32(top + height)};
}

}  // namespace

std::uint32_t usableDpi(std::uint32_t dpi) { return std::clamp<std::uint32_t>(dpi, BASE_DPI, 0xFFFF); }

std::int32_t scaleToDpi(std::int32_t size, std::uint32_t dpi) { return clampTo32(mulDiv(size, usableDpi(dpi), BASE_DPI)); }

std::int32_t scaleFromDpi(std::int32_t size, std::uint32_t dpi)
{
    return clampTo32(mulDiv(size, BASE_DPI, usableDpi(dpi)));
}

std::int32_t rescaleDpi(std::int32_t size, std::uint32_t from, std::uint32_t to)
{
    return scaleToDpi(scaleFromDpi(size, from), to);
}

ScreenRect rectToDpi(const ScreenRect& r, std::uint32_t dpi) { return scaleRect(r, usableDpi(dpi), BASE_DPI); }

ScreenRect rectFromDpi(const ScreenRect& r, std::uint32_t dpi) { return scaleRect(r, BASE_DPI, usableDpi(dpi)); }

std::int32_t fontHeightForPoints(std::int32_t points, std::uint32_t dpi)
{
    return clampTo32(-mulDiv(points, usableDpi(dpi), 72));
}
