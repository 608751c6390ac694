#pragma once
// The one App of the process: the settings and the run-time state, and the main window's dialog
// procedure that hands each message to the part of the program that owns it.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <random>

#include "app/command_logic.h"
#include "app/commands.h"
#include "app/paths.h"
#include "display/gdi_win.h"
#include "text/entries.h"
#include "text/slideshow.h"

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
    EntryList entries;
    wchar_t exeDirectory[PATH_BUFFER] = {};
    wchar_t settingsPath[PATH_BUFFER] = {};
    wchar_t languagePath[PATH_BUFFER] = {};
    wchar_t helpPath[PATH_BUFFER] = {};
    wchar_t textFilePath[PATH_BUFFER] = {};
    wchar_t previousTextPath[PATH_BUFFER] = {};
    wchar_t titleText[PATH_BUFFER] = {};
    wchar_t statusText[PATH_BUFFER] = {};
    bool blackboxShell = false;
    bool blackboxNotifyPending = false;
    bool savedCaption = false;
    bool inSizeMove = false;
    SlideshowState timer;                // timerPhase, remainingMs, countdownTickMs, timerSuspended
    std::mt19937 randomGenerator;        // the random picks; seeded once in initApp
    std::int32_t textMargin = 5;
    PinState pins;                       // menuPinned, pinnedSubmenu, pinnedLevel3, pinnedLevel3Parent
};

extern App* currentApp;

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The entry routine's window steps: the class "Tomel" (registered once), the hidden owner, and the
// main window from dialog 1000, inside whose creation initApp and startUp run. Stores the instance
// and the main window in appInfo; `owner` receives the hidden owner.
HWND createMainWindow(HINSTANCE instance, HWND& owner);
void initApp(App& app, HWND window);
void shutDown(App& app);

// Trims the working set, so the program holds little memory while it waits.
void trimWorkingSet();
// Sets the main window's caption, unless it already reads so: a step can ask for the same caption
// several times, and each real change is a round trip to the window system.
void setCaption(App& app, const wchar_t* text);
