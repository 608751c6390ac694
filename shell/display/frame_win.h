#pragma once
#include "state/app_win.h"

// WM_MOVE: while the user moves the window, its rectangle is kept and docking ends.
void onMove(App& app);
// WM_SIZE: the text control fills the client area less the margins.
void onSize(App& app, int clientWidth, int clientHeight);
// Docks the window at a docking position (1 top centre, 2 bottom centre, 3 centre). Placement is
// not part of the program yet: for now this does nothing, and the Blackbox adjustment commands
// already call it where the window must move.
void dockAtPosition(App& app, std::uint32_t position);
