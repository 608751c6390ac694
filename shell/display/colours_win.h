#pragma once
#include "state/app_win.h"

// The start font: the settings' default at 10 points at the window's dpi.
void initFont(App& app);
// The font made anew from logFont and given to the text control.
void remakeFont(App& app);
// After the settings were read: unusable colours and font values give way to the defaults, then
// the brush and the font are made anew.
void applyFontAndBrush(App& app);
// Font..., Text Colour..., Background Colour...
void chooseFont(App& app);
void chooseTextColour(App& app);
void chooseBackgroundColour(App& app);
// WM_CTLCOLORDLG: the brush the system erases the main window's client area with.
HBRUSH dialogBrush(App& app);
// WM_CTLCOLORSTATIC for the text control: text colour, see-through text background, and the brush
// (none over a shown picture, so the picture stays visible behind the text).
HBRUSH textControlColours(App& app, HDC dc);
