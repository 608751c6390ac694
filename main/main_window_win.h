#pragma once
// The main window: its dialog procedure hands each message to the part of the program that owns
// it; the App lives from WM_INITDIALOG to WM_DESTROY.
#include <windows.h>

#include <memory>
#include <vector>

#include "state/app_win.h"

// Owns the App of the main window, from WM_INITDIALOG to the window's end.
class AppOwner {
public:
    App* get() const { return live_.get(); }
    // Makes `app` the current App.
    App& take(std::unique_ptr<App> app);
    // The current App ends: it is freed, unless a modal loop still runs on it; then it is kept until
    // the process ends, and there is no current App either way.
    void end();

private:
    std::unique_ptr<App> live_;
    std::vector<std::unique_ptr<App>> kept_;
};
extern AppOwner currentApp;

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The entry routine's window steps: the class "Tomel" (registered once), the hidden owner, and the
// main window from dialog 1000, inside whose creation initApp and startUp run. Stores the instance
// and the main window in appInfo; `owner` receives the hidden owner.
HWND createMainWindow(HINSTANCE instance, HWND& owner);
void initApp(App& app, HWND window);
void shutDown(App& app);
