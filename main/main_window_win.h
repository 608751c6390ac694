#pragma once
// The main window: its dialog procedure hands each message to the part of the program that owns
// it; the App lives from WM_INITDIALOG to WM_DESTROY.
#include <windows.h>

#include "state/app_win.h"

extern App* currentApp;

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The entry routine's window steps: the class "Tomel" (registered once), the hidden owner, and the
// main window from dialog 1000, inside whose creation initApp and startUp run. Stores the instance
// and the main window in appInfo; `owner` receives the hidden owner.
HWND createMainWindow(HINSTANCE instance, HWND& owner);
void initApp(App& app, HWND window);
void shutDown(App& app);
