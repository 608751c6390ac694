#include "shell/app/platform_win.h"

namespace {
// The 64-bit build loads winmm at its first call: the entry calls through the import, which then
// leads straight to the loaded function, rather than holding the address of the loader's stub.
MCIERROR WINAPI sendMciString(LPCWSTR command, LPWSTR answer, UINT answerLength, HWND callback)
{
    return mciSendStringW(command, answer, answerLength, callback);
}
}  // namespace

// Set in the constructor, where each entry is plain code: as default member initialisers of the
// global, GCC 12 left an entry out of its start-up code.
Platform::Platform()
    : messageBox(MessageBoxW),
      getMessage(GetMessageW),
      trackPopupMenu(TrackPopupMenuEx),
      notifyIcon(Shell_NotifyIconW),
      shellExecute(ShellExecuteW),
      mciSendString(sendMciString),
      multiByteToWideChar(MultiByteToWideChar),
      enumDisplayMonitors(EnumDisplayMonitors),
      getMonitorInfo(GetMonitorInfoW),
      queryUserNotificationState(SHQueryUserNotificationState),
      globalMemoryStatus(GlobalMemoryStatusEx)
{
}

Platform platform;
