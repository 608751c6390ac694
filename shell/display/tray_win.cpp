#include "shell/display/tray_win.h"

#include "core/app/commands.h"
#include "shell/app/app_info_win.h"
#include "shell/app/platform_win.h"
#include "shell/display/frame_win.h"

namespace {

// The version-2 layout of NOTIFYICONDATAW: everything up to and including dwInfoFlags.
constexpr UINT TRAY_RECORD_SIZE = offsetof(NOTIFYICONDATAW, dwInfoFlags) + sizeof(DWORD);
static_assert(sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t) == TRAY_TIP_BUFFER_CHARS, "the tip's buffer");

// Without an icon the window keeps its taskbar button: it must stay within the user's reach.
void setTaskbarButton(App& app, bool on)
{
    const LONG_PTR style = GetWindowLongPtrW(app.window, GWL_EXSTYLE);
    const LONG_PTR wanted = on ? (style | WS_EX_APPWINDOW) : (style & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW));
    if (wanted == style) return;
    const bool visible = IsWindowVisible(app.window) != FALSE;
    const KeepKeyboard keyboard(app.window);
    // Hiding and showing again makes the taskbar take up the changed style.
    if (visible) ShowWindow(app.window, SW_HIDE);
    SetWindowLongPtrW(app.window, GWL_EXSTYLE, wanted);
    if (visible) ShowWindow(app.window, SW_SHOW);
}

void deleteIcon(App& app)
{
    platform.notifyIcon(NIM_DELETE, &app.trayIconData);
    app.trayIconShown = false;
}

}  // namespace

void initTrayIcon(App& app, HICON icon)
{
    NOTIFYICONDATAW& tray = app.trayIconData;
    tray = NOTIFYICONDATAW{};
    tray.cbSize = TRAY_RECORD_SIZE;
    tray.hWnd = app.window;
    tray.uID = 0;
    tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray.uCallbackMessage = MSG_TRAY_NOTIFY;
    tray.hIcon = icon;
    copyToBuffer(tray.szTip, TRAY_TIP_BUFFER_CHARS, appInfo.programName);
}

void applyTrayIcon(App& app)
{
    if (app.trayIcon && !app.trayIconShown) {
        app.trayIconShown = platform.notifyIcon(NIM_ADD, &app.trayIconData) != FALSE;
    } else if (!app.trayIcon && app.trayIconShown) {
        deleteIcon(app);
    }
    setTaskbarButton(app, !app.trayIconShown);
}

void updateTrayTip(App& app)
{
    if (app.trayIconShown) platform.notifyIcon(NIM_MODIFY, &app.trayIconData);
}

void removeTrayIcon(App& app)
{
    if (app.trayIconShown) deleteIcon(app);
}

void toggleTrayIcon(App& app)
{
    app.trayIcon = !app.trayIcon;
    applyTrayIcon(app);
}

bool isTaskbarCreated(UINT message)
{
    static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    return taskbarCreated != 0 && message == taskbarCreated;
}

void onTaskbarCreated(App& app)
{
    app.trayIconShown = false;
    if (app.trayIcon) applyTrayIcon(app);
}
