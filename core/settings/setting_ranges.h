#pragma once
// The usable values of the settings that are numbers. A hand-edited value outside them gives way to
// the setting's default when the file is read, and the dialogs that edit them keep to them, so what
// is saved is always what was used.
#include <cstdint>

#include "core/settings/typed_ini.h"

// The longest period the status can show as hh:mm:ss: 255:59:59.999.
inline constexpr std::uint32_t MAX_PERIOD_MS = 256u * 3600000u - 1;
inline constexpr IniRange SLIDE_TIME_RANGE{0, MAX_PERIOD_MS, 5000};
inline constexpr IniRange HIDE_TIME_RANGE{0, MAX_PERIOD_MS, 1000};
inline constexpr IniRange JUSTIFY_RANGE{0, 2, 1};
inline constexpr IniRange DOCKING_RANGE{0, 3, 3};
// The Blackbox adjustments are pixels, typed as numbers without a sign and kept as signed 16-bit ones.
inline constexpr IniRange BB_CAPTION_ADJUST_RANGE{0, 32767, 4};
inline constexpr IniRange BB_WINDOW_ADJUST_RANGE{0, 32767, 2};
inline constexpr IniRange FONT_WEIGHT_RANGE{0, 1000, 0};
// A colour is 0x00BBGGRR; anything with the high byte set (a palette index, -1) is not one.
inline constexpr IniRange TEXT_COLOUR_RANGE{0, 0xFFFFFF, 0x000000};
inline constexpr IniRange BACKGROUND_COLOUR_RANGE{0, 0xFFFFFF, 0xFFFFFF};

inline constexpr bool withinRange(std::int64_t value, const IniRange& range)
{
    return value >= range.min && value <= range.max;
}
