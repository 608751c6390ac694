#pragma once
#include <windows.h>

// One message of the loop: the accelerators first (so Enter and Esc never reach the dialog
// manager), then the dialog manager (which also makes the character messages the "?" key needs),
// then the window procedure.
void routeMessage(HWND mainWindow, HACCEL accelerators, MSG& msg);

// The message loop: routes every message until WM_QUIT and returns the quit message's code.
int runMessageLoop(HWND mainWindow, HACCEL accelerators);
