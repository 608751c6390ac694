#include "main/message_loop_win.h"

#include "shell/app/platform_win.h"

void routeMessage(HWND mainWindow, HACCEL accelerators, MSG& msg)
{
    if (accelerators && TranslateAcceleratorW(mainWindow, accelerators, &msg)) return;
    if (IsDialogMessageW(mainWindow, &msg)) return;
    DispatchMessageW(&msg);
}

int runMessageLoop(HWND mainWindow, HACCEL accelerators)
{
    MSG msg = {};
    for (;;) {
        const BOOL got = platform.getMessage(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);   // WM_QUIT
        // -1: the call failed and `msg` holds no message; the loop goes on for the next one.
        if (got != -1) routeMessage(mainWindow, accelerators, msg);
    }
}
