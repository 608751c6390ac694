#include "core/display/look.h"

Colours usableColours(Colours colours) { return colours.text == colours.background ? Colours{} : colours; }

std::int32_t usableFontHeight(std::int32_t height, std::int32_t fallback)
{
    const std::int64_t size = height < 0 ? -std::int64_t(height) : height;
    return height == 0 || (size >= MIN_FONT_HEIGHT && size <= MAX_FONT_HEIGHT) ? height : fallback;
}

std::optional<TextAlignment> alignmentFor(std::uint32_t justify)
{
    switch (justify) {
    case 0: return TextAlignment::Center;
    case 1: return TextAlignment::Left;
    case 2: return TextAlignment::Right;
    default: return std::nullopt;
    }
}
