#pragma once
// The one App of the process: the settings and the run-time state. Plain data that every part of
// the program works on; the operations live with the parts that own them.
#include <windows.h>
#include <shellapi.h>
#include <olectl.h>

#include <cstdint>
#include <random>

#include "core/app/command_logic.h"
#include "core/app/commands.h"
#include "core/text/change_watch.h"
#include "core/app/paths.h"
#include "core/text/entries.h"
#include "core/text/slideshow.h"
#include "state/gdi_win.h"
#include "state/picture_win.h"
#include "state/setting_table_win.h"

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// The settings (kept in the settings file) come from Settings; the rest is the run-time state.
struct App : Settings {
    SetLayeredWindowAttributesFn setLayeredAttributes = nullptr;
    HWND window = nullptr;
    HWND textControl = nullptr;
    POINT dragStart = {};
    unique_hfont font;
    unique_hbrush backgroundBrush;
    COLORREF customColours[16] = {};
    NOTIFYICONDATAW trayIconData = {};
    bool trayIconShown = false;          // the shell holds the icon: `trayIcon` is only the user's choice
    EntryList entries;
    wchar_t exeDirectory[PATH_BUFFER] = {};
    wchar_t settingsPath[PATH_BUFFER] = {};
    wchar_t languagePath[PATH_BUFFER] = {};
    wchar_t helpPath[PATH_BUFFER] = {};
    wchar_t textFilePath[PATH_BUFFER] = {};
    wchar_t previousTextPath[PATH_BUFFER] = {};
    std::uint32_t previousIndex = 0;     // the entry on show when previousTextPath was taken
    wchar_t titleText[PATH_BUFFER] = {};
    wchar_t statusText[PATH_BUFFER] = {};
    bool blackboxShell = false;
    bool blackboxNotifyPending = false;
    bool savedCaption = false;
    bool inSizeMove = false;
    bool backToCome = false;             // the flash card on show shows its front only
    bool pointerOver = false;            // Pause On Hover holds the slideshow while the pointer is over the window
    ChangeWatch textWatch;               // Reload When Changed: the text file as read, and a change seen
    bool keyboardWhenHidden = false;     // the window had the keyboard when the slideshow or the tray hid it
    SlideshowState timer;                // timerPhase, remainingMs, countdownTickMs, timerSuspended
    std::mt19937 randomGenerator;        // the random picks; seeded once in initApp
    std::uint32_t dpi = 96;              // of the window's screen: the sizes below and the window's are at it
    std::int32_t textMargin = 5;
    PinState pins;                       // menuPinned, pinnedSubmenu, pinnedLevel3, pinnedLevel3Parent
    bool menuShowing = false;            // the popup menu's own loop is running
    unique_oleuninitialize_call ole;     // OLE for the picture, which goes before it
    BackgroundPicture picture;           // the background picture, or none
    PendingPicture pendingPicture;       // a picture on its way from a worker thread
    wchar_t gongPath[PATH_BUFFER] = {};  // the sound file the gong device was opened with; empty: closed
};
