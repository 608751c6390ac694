#pragma once
// The About box, the timer dialog (a period as hours, minutes, seconds and milliseconds) and the
// number dialog, with the commands that run them. Their texts come from the [Dialogs] rows, so a
// language file changes them.
#include <cstdint>

#include "state/app_win.h"

// What the timer and number dialogs edit: `value` changes only when the user confirms.
struct DialogValue {
    std::int32_t kind;     // 0 slide period, 1 hide period; 4 caption raise, 6 window lengthening
    std::uint32_t value;
};

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TimerDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NumberDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Command 1104.
void showAboutBox(App& app);
// Commands 1011 (kind 0, the slide period) and 1012 (kind 1, the hide period).
void editTimer(App& app, std::int32_t kind);
// Commands 1065 (kind 4, bbCaptionAdjust) and 1066 (kind 6, bbWindowAdjust). The value comes back
// stored whether it changed or not; a window docked at the top is docked again.
void editBlackboxAdjust(App& app, std::int32_t kind);

// The program's home page, which Enter in the About box opens.
extern const wchar_t* const homePageUrl;
// Lets the in-process tests see the page being opened instead of a browser starting; null normally.
using PageOpener = void (*)(const wchar_t* url);
extern PageOpener pageOpener;
