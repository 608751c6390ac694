#pragma once
// The window's sizes are those of a 96-dpi screen. On a screen of another dpi each is scaled to it,
// so the window looks as it does at 100 %, only larger and sharp. The settings file keeps the 96-dpi
// sizes, so that it means the same on every screen.
#include <cstdint>

#include "core/display/placement.h"

inline constexpr std::uint32_t BASE_DPI = 96;
// The text control's inset in the client area.
inline constexpr std::int32_t TEXT_MARGIN = 5;

// The dpi to scale to. A screen below 96 dpi is taken as 96, so that every size read from the file
// comes back unchanged when it is saved again; none is beyond 65535 (a message's word).
std::uint32_t usableDpi(std::uint32_t dpi);

// A 96-dpi size in pixels at `dpi`, and back: rounded to the nearest pixel, halves away from zero,
// as MulDiv rounds. scaleFromDpi(scaleToDpi(x, dpi), dpi) == x at every usable dpi.
std::int32_t scaleToDpi(std::int32_t size, std::uint32_t dpi);
std::int32_t scaleFromDpi(std::int32_t size, std::uint32_t dpi);
// A size at `from` dpi at `to` dpi, by way of its 96-dpi size: moving to another screen and back
// gives back the size the window had.
std::int32_t rescaleDpi(std::int32_t size, std::uint32_t from, std::uint32_t to);

// A window rectangle: its place and its size are scaled each, so the window is as many times as large
// as the dpi is, and a rectangle scaled and scaled back is the same.
ScreenRect rectToDpi(const ScreenRect& r, std::uint32_t dpi);
ScreenRect rectFromDpi(const ScreenRect& r, std::uint32_t dpi);

// The lfHeight of `points` points at `dpi` (negative: the character height).
std::int32_t fontHeightForPoints(std::int32_t points, std::uint32_t dpi);
