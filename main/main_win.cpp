// The entry routine: window class, hidden owner, the main window and the message loop.
#include <windows.h>

#include <clocale>
#include <new>

#include "main/main_window_win.h"
#include "main/message_loop_win.h"
#include "res/resource.h"
#include "shell/app/app_info_win.h"

namespace {
void outOfMemory() { onOutOfMemory(); }
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    std::set_new_handler(outOfMemory);
    std::setlocale(LC_ALL, "");
    HWND owner = nullptr;
    createMainWindow(instance, owner);
    if (!appInfo.mainWindow) return 1;   // without its window the program cannot run
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAIN));
    return runMessageLoop(appInfo.mainWindow, accelerators);
}
