#pragma once
#include "core/display/fitting.h"
#include "state/app_win.h"

// Stores the justification (0 centre, 1 left, 2 right) and sets the text control's alignment; any
// other value is stored but changes no style.
void applyJustify(App& app, std::uint32_t value);
// Sizes the window around every entry in the current font (Fit To Font, or Fit To Width when that
// is on), then docks it again or keeps its new rectangle.
void fitText(App& app);
// Sizes the client area to the picture, shrunk until the whole window fits the work area, and moves
// the window into the work area if it would leave it. Without a picture nothing, or, while one is
// on its way, the same once it has come.
void fitToGraphic(App& app);
// The three fit commands: set the one mode, clear the others, fit.
void fitToFontCommand(App& app);
void fitToWidthCommand(App& app);
void fitToGraphicCommand(App& app);

// Measures the entries on `dc`, whose font is selected, as GetTextExtentPoint32W measures each line.
// With `everyLine` each line goes to GetTextExtentPoint32W; otherwise lines of plain characters are
// summed from a table of character widths, which gives the same figures much faster.
TextBlock measureText(HDC dc, const EntryList& entries, std::int64_t limit, bool multiline, bool everyLine = false);
