#include "shell/display/tray_win.h"

NotifyIconFn notifyIcon = Shell_NotifyIconW;

void applyTrayIcon(App& app)
{
    const bool visible = IsWindowVisible(app.window) != FALSE;
    // Hiding and showing again makes the taskbar take up the changed style.
    if (visible) ShowWindow(app.window, SW_HIDE);
    const LONG_PTR style = GetWindowLongPtrW(app.window, GWL_EXSTYLE);
    if (app.trayIcon) {
        // Without an icon the window keeps its taskbar button: it must stay within the user's reach.
        if (notifyIcon(NIM_ADD, &app.trayIconData))
            SetWindowLongPtrW(app.window, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW));
    } else {
        SetWindowLongPtrW(app.window, GWL_EXSTYLE, style | WS_EX_APPWINDOW);
        notifyIcon(NIM_DELETE, &app.trayIconData);
    }
    if (visible) ShowWindow(app.window, SW_SHOW);
}

void removeTrayIcon(App& app)
{
    if (app.trayIcon) notifyIcon(NIM_DELETE, &app.trayIconData);
}

void toggleTrayIcon(App& app)
{
    app.trayIcon = !app.trayIcon;
    applyTrayIcon(app);
}
