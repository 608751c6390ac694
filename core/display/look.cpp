#include "core/display/look.h"

#include "core/app/commands.h"

std::uint32_t usableColour(std::uint32_t colour, std::uint32_t fallback)
{
    return (colour & 0xFF000000u) ? fallback : colour;
}

std::int32_t usableFontHeight(std::int32_t height, std::int32_t fallback)
{
    return height >= -MAX_FONT_HEIGHT && height <= MAX_FONT_HEIGHT ? height : fallback;
}

std::int32_t usableFontWeight(std::int32_t weight) { return weight >= 0 && weight <= 1000 ? weight : 0; }

FitModes oneFitMode(FitModes m)
{
    if (m.fitWidth) return fitModesFor(CMD_FIT_WIDTH);
    if (m.fitFont) return fitModesFor(CMD_FIT_FONT);
    return m;
}

std::uint32_t usableDocking(std::uint32_t docking) { return docking > 3 ? 3 : docking; }

std::optional<TextAlignment> alignmentFor(std::uint32_t justify)
{
    switch (justify) {
    case 0: return TextAlignment::Center;
    case 1: return TextAlignment::Left;
    case 2: return TextAlignment::Right;
    default: return std::nullopt;
    }
}
