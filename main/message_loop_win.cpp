#include "main/message_loop_win.h"

void routeMessage(HWND mainWindow, HACCEL accelerators, MSG& msg)
{
    if (accelerators && TranslateAcceleratorW(mainWindow, accelerators, &msg)) return;
    if (IsDialogMessageW(mainWindow, &msg)) return;
    DispatchMessageW(&msg);
}
