// The real main window for the modes that measure it.
#include <cstdio>

#include "bench/bench.h"
#include "main/main_window_win.h"
#include "shell/app/platform_win.h"

App* startMainWindow(HWND& window, HWND& owner, int(WINAPI* answer)(HWND, LPCWSTR, LPCWSTR, UINT))
{
    platform.messageBox = answer;
    window = createMainWindow(GetModuleHandleW(nullptr), owner);
    if (!window || !currentApp.get()) {
        std::fprintf(stderr, "cannot create the main window (error %lu)\n", GetLastError());
        return nullptr;
    }
    return currentApp.get();
}
