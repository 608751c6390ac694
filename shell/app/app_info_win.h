#pragma once
#include <windows.h>

#include "state/app_win.h"

// Process-wide facts about the program, for every part of it.
struct AppInfo {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    const wchar_t* const programName = L"Tomel";
    const wchar_t* const programVersion = L"1.00";
    int nestedLoops = 0;         // modal loops running on the main window: dialogs, message boxes, the menu
    bool closePending = false;   // a close came while one ran; it is carried out when the last one ends
};
extern AppInfo appInfo;

// Marks a modal loop of its own (a dialog, a message box, a common dialog, the popup menu) for as
// long as it runs. The code that started it still uses the App when it returns, so while any such
// loop runs the App is not freed: a close waits, and is posted again when the last loop has ended.
class NestedLoop {
public:
    NestedLoop() { ++appInfo.nestedLoops; }
    ~NestedLoop();
    NestedLoop(const NestedLoop&) = delete;
    NestedLoop& operator=(const NestedLoop&) = delete;
};

// The one message box of the program: caption "Tomel", owned by the main window.
int showMessage(const wchar_t* text, UINT type);

// Called when memory cannot be had: tells the user and ends the process with exit code 1.
[[noreturn]] void onOutOfMemory();

// Trims the working set, so the program holds little memory while it waits.
void trimWorkingSet();
// Sets the main window's caption, unless it already reads so: a step can ask for the same caption
// several times, and each real change is a round trip to the window system.
void setCaption(App& app, const wchar_t* text);
