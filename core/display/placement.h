#pragma once
// Where the window goes: docking in the work area and the Blackbox shell's corrections. 64-bit
// arithmetic, clamped to 32 bits, so hand-edited adjustments of any size cannot overflow.
#include <cstdint>
#include <optional>
#include <vector>

struct ScreenRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct ScreenPoint {
    std::int32_t x = 0, y = 0;
};

// One monitor of the desktop: its whole rectangle, and its work area (without the taskbar).
struct Monitor {
    ScreenRect area, work;
};

// The monitor that holds a window standing at `r`, as the system picks it for a window: the one the
// window overlaps most, or, overlapping none, the nearest. None only from an empty list.
const Monitor* monitorHolding(const ScreenRect& r, const std::vector<Monitor>& monitors);
// The monitor a window at `r` overlaps most; none when it touches no monitor.
const Monitor* monitorOverlappedMost(const ScreenRect& r, const std::vector<Monitor>& monitors);
// Whether the two rectangles share at least one pixel.
bool overlaps(const ScreenRect& a, const ScreenRect& b);

struct DockState {
    bool transparent = false;
    bool caption = true;
    bool blackboxShell = false;
    std::int32_t bbCaptionAdjust = 4;
    std::int32_t cyDlgFrame = 3;   // SM_CYDLGFRAME
};

inline constexpr std::uint32_t DOCK_NONE = 0, DOCK_TOP = 1, DOCK_BOTTOM = 2, DOCK_CENTER = 3;

// The top-left corner for a window of width w and height h docked at `position` in `work`: centred
// across, and at the top (raised by the caption adjustment under the Blackbox shell with a caption),
// at the bottom (lowered by two dialog frames while transparent, whose frame is cut away) or centred.
// Any position above 3 counts as centre; 0 gives nothing.
std::optional<ScreenPoint> dockPosition(std::uint32_t position, const ScreenRect& work, std::int32_t w,
                                        std::int32_t h, const DockState& s);

// Where a window w by h that stands at `at` goes to lie inside `work`: moved as little as that takes.
// One larger than the work area goes to its left or top edge.
ScreenPoint keepInside(const ScreenRect& work, ScreenPoint at, std::int32_t w, std::int32_t h);

// The outer top edge and height after the caption was switched, the window being `height` high for
// the new style. Under the Blackbox shell the window moves up by the frame height and grows by
// `bbWindowAdjust` when the caption comes, and moves down by the frame height when it goes.
struct CaptionPlace {
    std::int32_t top = 0, height = 0;
};
CaptionPlace captionPlace(std::int32_t top, std::int32_t height, bool caption, bool blackboxShell,
                          std::int32_t cyFrame, std::int32_t bbWindowAdjust);

// A window dimension or coordinate computed in 64 bits, brought back into 32.
std::int32_t clampTo32(std::int64_t v);
