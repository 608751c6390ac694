#pragma once
// Settings of the window's look that a hand-edited file can make unusable, and what is used instead.
#include <cstdint>
#include <optional>

#include "core/app/command_logic.h"

// A colour is 0x00BBGGRR; anything with the high byte set (a palette index, -1) is not a colour.
inline constexpr std::uint32_t DEFAULT_TEXT_COLOUR = 0x000000;
inline constexpr std::uint32_t DEFAULT_BACKGROUND_COLOUR = 0xFFFFFF;
std::uint32_t usableColour(std::uint32_t colour, std::uint32_t fallback);

// A font height (LOGFONT lfHeight, pixels; negative for the character height) beyond what any
// screen can show makes the text vanish; such a height gives way to `fallback`.
inline constexpr std::int32_t MAX_FONT_HEIGHT = 2048;
std::int32_t usableFontHeight(std::int32_t height, std::int32_t fallback);
// Font weights run from 0 (the default) to 1000.
std::int32_t usableFontWeight(std::int32_t weight);

// The three sizing modes hold at most one: Fit To Width before Fit To Font before Fit To Graphic,
// the order in which the window honours them.
FitModes oneFitMode(FitModes modes);

// Docking is 0 to 3; a larger number is taken as 3 (centre), which is where such a value docks.
std::uint32_t usableDocking(std::uint32_t docking);

// The text control's alignment for a justify value: 0 centre, 1 left, 2 right. Any other value is
// kept in the settings but changes nothing. The numbers are the static control's style bits.
enum class TextAlignment : std::uint32_t { Left = 0, Center = 1, Right = 2 };
std::optional<TextAlignment> alignmentFor(std::uint32_t justify);
