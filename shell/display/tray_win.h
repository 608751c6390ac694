#pragma once
#include "state/app_win.h"

// Fills the icon record once, at start-up: the main window's icon, its callback message and the
// program's name as the first tip.
void initTrayIcon(App& app, HICON icon);
// Brings the tray icon and the taskbar button in line with `trayIcon`. An icon the shell refuses
// stays chosen and the window keeps its taskbar button until the shell takes the icon. A window that
// is hidden stays hidden.
void applyTrayIcon(App& app);
// The tip follows the status text.
void updateTrayTip(App& app);
// At exit: the icon goes when the shell holds it.
void removeTrayIcon(App& app);
void toggleTrayIcon(App& app);
// The shell's "TaskbarCreated" message: it has started, or started again and lost every icon.
bool isTaskbarCreated(UINT message);
void onTaskbarCreated(App& app);
