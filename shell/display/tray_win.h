#pragma once
#include "state/app_win.h"

// Shell_NotifyIconW, replaceable so that tests can watch the icon or make the shell refuse it.
using NotifyIconFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
extern NotifyIconFn notifyIcon;

// Brings the tray icon and the taskbar button in line with `trayIcon`. A window that is hidden
// stays hidden.
void applyTrayIcon(App& app);
// At exit: the icon goes when it is on.
void removeTrayIcon(App& app);
void toggleTrayIcon(App& app);
