#pragma once
// Keeping a stored window rectangle on the screen. The arithmetic is done in 64 bits, so a
// hand-edited rectangle near the limits of 32-bit numbers cannot overflow.
#include <cstdint>
#include <vector>

#include "core/display/placement.h"

struct WindowBox {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
};

struct ScreenMetrics {
    std::int32_t width = 0, height = 0;          // the primary screen
    std::int32_t minTrackWidth = 0, minTrackHeight = 0;
};

// A window narrower or lower than the minimum tracking size gets 100 pixels; one beyond the right or
// bottom edge (by more than 10 pixels) is moved to end at it; one beyond the left or top edge (by
// more than 10 pixels) is moved to start at it. Gives the place and size to move the window to.
// The edges are those of the monitor the window overlaps most, or of the primary screen when it
// touches none of `monitors` (or the list is empty); an edge the window reaches beyond onto another
// monitor is no edge.
WindowBox clampedWindowBox(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                          const ScreenMetrics& screen, const std::vector<Monitor>& monitors = {});
