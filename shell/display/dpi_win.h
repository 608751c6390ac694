#pragma once
// The window at the dpi of the screen it stands on: the system's sizes for that dpi, the program's
// own 96-dpi sizes scaled to it, and the move to a screen of another dpi.
#include "state/app_win.h"

// The dpi of the window's screen: GetDpiForWindow where the system has it (Windows 10 1607 on),
// else the screen's LOGPIXELSY.
std::uint32_t windowDpi(HWND window);
// A 96-dpi size of the program's at the App's dpi.
std::int32_t scaled(const App& app, std::int32_t size);
// GetSystemMetrics and AdjustWindowRectEx at the App's dpi, which may not be the system's (a window on
// another screen); the system's own where it has no per-dpi forms.
int systemMetric(const App& app, int index);
void adjustWindowRect(const App& app, RECT& rc, DWORD style, DWORD exStyle);
// At WM_INITDIALOG: the App's sizes at the window's dpi. The window scales its font and lays out its
// text itself, so the dialog manager's own scaling of them is turned off.
void initDpi(App& app);
// WM_DPICHANGED: the window moved to a screen of another dpi. It takes the place the system suggests,
// its font and margins scale, and a fit mode fits it again.
void onDpiChanged(App& app, std::uint32_t dpi, const RECT& suggested);
