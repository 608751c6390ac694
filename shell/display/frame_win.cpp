#include "shell/display/frame_win.h"

void onMove(App& app)
{
    if (!app.inSizeMove) return;
    GetWindowRect(app.window, &app.windowRect);
    app.docking = 0;
}

void onSize(App& app, int clientWidth, int clientHeight)
{
    GetWindowRect(app.window, &app.windowRect);
    MoveWindow(app.textControl, app.textMargin, 0, clientWidth - 2 * app.textMargin, clientHeight, FALSE);
    InvalidateRect(app.window, nullptr, TRUE);
    if (app.inSizeMove) {
        // Sizing by the frame makes the size the user's own.
        app.fitFont = false;
        app.fitWidth = false;
        app.fitGraphic = false;
        app.docking = 0;
    }
}

void dockAtPosition(App& app, std::uint32_t position)
{
    (void)app;
    (void)position;
}
