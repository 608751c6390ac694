#include "shell/app/app_info_win.h"

#include <cstdlib>

#include "shell/app/platform_win.h"

AppInfo appInfo;

NestedLoop::~NestedLoop()
{
    if (--appInfo.nestedLoops > 0 || !appInfo.closePending) return;
    appInfo.closePending = false;
    PostMessageW(appInfo.mainWindow, WM_CLOSE, 0, 0);
}

int showMessage(const wchar_t* text, UINT type)
{
    const NestedLoop loop;
    return platform.messageBox(appInfo.mainWindow, text, appInfo.programName, type);
}

void onOutOfMemory()
{
    showMessage(L"Out Of Memory", MB_ICONEXCLAMATION);
    std::exit(1);
}

void trimWorkingSet()
{
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void setCaption(App& app, const wchar_t* text)
{
    wchar_t shown[PATH_BUFFER] = {};
    GetWindowTextW(app.window, shown, PATH_BUFFER);
    if (wcscmp(shown, text) != 0) SetWindowTextW(app.window, text);
}
