#pragma once
// Settings of the window's look that a hand-edited file can make unusable, and what is used instead.
#include <cstdint>
#include <optional>

inline constexpr std::uint32_t DEFAULT_TEXT_COLOUR = 0x000000;
inline constexpr std::uint32_t DEFAULT_BACKGROUND_COLOUR = 0xFFFFFF;
// Text in the colour of its background cannot be seen: both colours then give way to the defaults.
struct Colours {
    std::uint32_t text = DEFAULT_TEXT_COLOUR, background = DEFAULT_BACKGROUND_COLOUR;
};
Colours usableColours(Colours colours);

// A font height (LOGFONT lfHeight, pixels; negative for the character height, 0 for the system's
// choice) beyond what any screen can show, or too small to read, makes the text vanish; such a
// height gives way to `fallback`.
inline constexpr std::int32_t MAX_FONT_HEIGHT = 2048;
inline constexpr std::int32_t MIN_FONT_HEIGHT = 6;
std::int32_t usableFontHeight(std::int32_t height, std::int32_t fallback);

// The text control's alignment for a justify value: 0 centre, 1 left, 2 right. Any other value is
// kept in the settings but changes nothing. The numbers are the static control's style bits.
enum class TextAlignment : std::uint32_t { Left = 0, Center = 1, Right = 2 };
std::optional<TextAlignment> alignmentFor(std::uint32_t justify);
