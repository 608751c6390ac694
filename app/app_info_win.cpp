#include "app/app_info_win.h"

#include <cstdlib>

AppInfo appInfo;
MessageHook messageHook = nullptr;

int showMessage(const wchar_t* text, UINT type)
{
    if (messageHook) return messageHook(text, type);
    return MessageBoxW(appInfo.mainWindow, text, appInfo.programName, type);
}

void onOutOfMemory()
{
    showMessage(L"Out Of Memory", MB_ICONEXCLAMATION);
    std::exit(1);
}
