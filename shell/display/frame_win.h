#pragma once
#include "state/app_win.h"

// WM_MOVE: while the user moves the window, its rectangle is kept and docking ends.
void onMove(App& app);
// WM_SIZE: the text control fills the client area less the margins.
void onSize(App& app, int clientWidth, int clientHeight);
