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
#include "core/app/paths.h"
#include "core/text/entries.h"
#include "core/text/slideshow.h"
#include "state/gdi_win.h"

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

struct App {
    // --- settings (kept in the settings file) ---
    wchar_t versionText[12] = {};
    bool saveFile = true;
    wchar_t storedTextPath[PATH_BUFFER] = {};
    wchar_t bitmapPath[PATH_BUFFER] = {};
    wchar_t soundFilePath[PATH_BUFFER] = {};
    SlideshowSettings slide;             // slideShow, hide, random, countdown, statusInCaption, times
    bool playSound = false;
    bool multiline = true;
    bool caption = true;
    bool transparent = false;
    bool showBackground = true;
    bool fitFont = false;
    bool fitWidth = false;
    bool fitGraphic = false;
    std::uint32_t justify = 1;
    std::uint32_t docking = 3;
    std::int32_t bbCaptionAdjust = 4;
    std::int32_t bbWindowAdjust = 2;
    bool draggable = true;
    bool trayIcon = false;
    bool onTop = false;
    RECT windowRect = {};
    LOGFONTW logFont = {};
    COLORREF textColour = 0;
    COLORREF backgroundColour = 0xFFFFFF;
    bool saveOnExit = true;
    bool resume = true;
    std::uint32_t currentIndex = 0;
    bool atCursor = true;

    // --- run-time state ---
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
    bool keyboardWhenHidden = false;     // the window had the keyboard when the slideshow or the tray hid it
    SlideshowState timer;                // timerPhase, remainingMs, countdownTickMs, timerSuspended
    std::mt19937 randomGenerator;        // the random picks; seeded once in initApp
    std::int32_t textMargin = 5;
    PinState pins;                       // menuPinned, pinnedSubmenu, pinnedLevel3, pinnedLevel3Parent
    bool menuShowing = false;            // the popup menu's own loop is running
    unique_oleuninitialize_call ole;     // OLE for the picture, which is released before it
    UniqueComRef<IPicture> picture;      // the background picture, or none
    wchar_t gongPath[PATH_BUFFER] = {};  // the sound file the gong device was opened with; empty: closed
};
