#pragma once
// The system calls that the in-process tests watch or answer in the user's place, in one table.
// Every entry starts as the system's own function, and every call the program makes to one of these
// functions goes through the table; a test puts its own function in place and the system's back.
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

struct Platform {
    Platform();   // every entry the system's own

    // Message boxes: showMessage.
    int(WINAPI* messageBox)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
    // The message loop's next message.
    BOOL(WINAPI* getMessage)(LPMSG msg, HWND window, UINT first, UINT last);
    // The popup menu's own loop; with TPM_RETURNCMD the chosen command, or 0.
    BOOL(WINAPI* trackPopupMenu)(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
    // The tray icon: added, changed and removed.
    BOOL(WINAPI* notifyIcon)(DWORD message, PNOTIFYICONDATAW data);
    // The help text and the home page, opened with their default programs.
    HINSTANCE(WINAPI* shellExecute)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                    INT show);
    // The gong's command strings to the media control interface; 0: done.
    MCIERROR(WINAPI* mciSendString)(LPCWSTR command, LPWSTR answer, UINT answerLength, HWND callback);
    // 8-bit text in a code page to UTF-16: text files and settings files without a byte-order mark.
    int(WINAPI* multiByteToWideChar)(UINT codePage, DWORD flags, LPCCH bytes, int count, LPWSTR out, int room);
    // The monitors of the desktop and their rectangles: where the window goes and stays.
    BOOL(WINAPI* enumDisplayMonitors)(HDC dc, LPCRECT clip, MONITORENUMPROC visit, LPARAM data);
    BOOL(WINAPI* getMonitorInfo)(HMONITOR monitor, LPMONITORINFO info);
    // Whether the user runs a full-screen program or a presentation (Quiet In Full Screen).
    HRESULT(WINAPI* queryUserNotificationState)(QUERY_USER_NOTIFICATION_STATE* state);
    // The memory at hand: whether a text can be loaded at all.
    BOOL(WINAPI* globalMemoryStatus)(LPMEMORYSTATUSEX status);
};
extern Platform platform;
