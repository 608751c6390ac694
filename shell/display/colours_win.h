#pragma once
#include "state/app_win.h"

// WM_CTLCOLORDLG: the brush the system erases the main window's client area with.
HBRUSH dialogBrush(App& app);
// WM_CTLCOLORSTATIC for the text control: text colour, see-through text background, and the brush.
HBRUSH textControlColours(App& app, HDC dc);
