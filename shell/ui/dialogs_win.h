#pragma once
// The About box, the timer dialog (a period as hours, minutes, seconds and milliseconds) and the
// number dialog, with the commands that run them. Their texts come from the [Dialogs] rows, so a
// language file changes them.
#include <cstdint>

#include "core/ui/texts.h"
#include "state/app_win.h"

// The uses of the timer and number dialogs, each numbered as the [Dialogs] row of its caption.
enum DialogKind : std::int32_t {
    KIND_SLIDE_TIME = DLG_TEXT_SLIDE_TIMER,
    KIND_HIDE_TIME = DLG_TEXT_HIDE_TIMER,
    KIND_RAISE_CAPTION = DLG_TEXT_RAISE_CAPTION,
    KIND_LENGTHEN_WINDOW = DLG_TEXT_LENGTHEN_WINDOW,
};

// What the timer and number dialogs edit: `value` changes only when the user confirms.
struct DialogValue {
    std::int32_t kind;     // a DialogKind
    std::uint32_t value;
};

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TimerDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK NumberDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// About...
void showAboutBox(App& app);
// Slide... and Hide...: KIND_SLIDE_TIME or KIND_HIDE_TIME.
void editTimer(App& app, DialogKind kind);
// Raise Caption... and Lengthen Window...: KIND_RAISE_CAPTION (bbCaptionAdjust) or
// KIND_LENGTHEN_WINDOW (bbWindowAdjust). The value comes back stored whether it changed or not; a
// window docked at the top is docked again.
void editBlackboxAdjust(App& app, DialogKind kind);

// The program's home page, which Enter in the About box opens.
extern const wchar_t* const homePageUrl;
