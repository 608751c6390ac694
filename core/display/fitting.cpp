#include "core/display/fitting.h"

#include "core/display/dpi.h"

std::int64_t fitLimit(const FitMetrics& m)
{
    if (m.fitWidth) return m.clientWidth - 4 * m.textMargin;
    return m.fullScreenWidth - 2 * m.frameWidth;
}

ClientSize fitClientSize(const FitMetrics& m, TextBlock text)
{
    if (text.height == 0) text.height = m.lineHeight;
    const std::int64_t width = (m.fitWidth ? fitLimit(m) : text.width) + 4 * m.textMargin;
    const std::int64_t height =
        m.multiline ? text.height + 2 * m.frameHeight : clampExtent(text.height) * BASE_DPI / 72;
    ClientSize size;
    size.width = static_cast<std::int32_t>(clampExtent(width));
    size.height = static_cast<std::int32_t>(clampExtent(height));
    return size;
}
