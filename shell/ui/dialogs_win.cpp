#include "shell/ui/dialogs_win.h"

#include <cstddef>

#include "core/display/placement.h"
#include "core/ui/period_parts.h"
#include "res/resource.h"
#include "shell/app/app_info_win.h"
#include "shell/app/platform_win.h"
#include "shell/display/frame_win.h"
#include "shell/text/navigation_win.h"

const wchar_t* const homePageUrl = L"https://palvik.github.io/tomel/";

namespace {

void setText(HWND dialog, int control, std::int32_t row)
{
    const wchar_t* text = dialogText(row);
    SetDlgItemTextW(dialog, control, text ? text : L"");
}

void setCaptionText(HWND dialog, std::int32_t row)
{
    const wchar_t* text = dialogText(row);
    SetWindowTextW(dialog, text ? text : L"");
}

// Unchecked, as the user left it: empty or unreadable text is 0.
std::uint32_t readNumber(HWND dialog, int control)
{
    return GetDlgItemInt(dialog, control, nullptr, FALSE);
}

DialogValue* keptValue(HWND dialog) { return reinterpret_cast<DialogValue*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

// A number the setting cannot keep is refused where it was typed: the dialog stays open with the
// field selected, so that what is kept is always what the user sees.
bool refuseUnless(bool usable, HWND dialog, int control)
{
    if (usable) return false;
    MessageBeep(MB_ICONEXCLAMATION);
    HWND field = GetDlgItem(dialog, control);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    SendMessageW(field, EM_SETSEL, 0, -1);
    return true;
}

// What the three dialogs share: the value kept at WM_INITDIALOG, Esc and close end without storing,
// and every end has result 1.
bool handleClose(HWND dialog, UINT message, WPARAM wParam)
{
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, 1);
        return true;
    }
    return false;
}

void runDialog(App& app, int id, DLGPROC procedure, DialogValue* value)
{
    const NestedLoop loop;
    DialogBoxParamW(appInfo.instance, MAKEINTRESOURCEW(id), app.window, procedure, reinterpret_cast<LPARAM>(value));
}

}  // namespace

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        setText(dialog, IDC_FREEWARE, DLG_TEXT_FREEWARE);
        setText(dialog, IDC_DONATIONS, DLG_TEXT_DONATIONS);
        setText(dialog, IDC_LANGUAGE, DLG_TEXT_LANGUAGE);
        setText(dialog, IDOK, DLG_TEXT_HOME_PAGE);
        return TRUE;
    }
    if (handleClose(dialog, message, wParam)) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDOK) {
        // The box stays open: the page opens beside it.
        SetFocus(dialog);
        platform.shellExecute(nullptr, nullptr, homePageUrl, nullptr, nullptr, SW_SHOWNORMAL);
    }
    return TRUE;
}

INT_PTR CALLBACK TimerDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const DialogValue* value = reinterpret_cast<DialogValue*>(lParam);
        if (!value) return TRUE;
        if (value->kind == KIND_SLIDE_TIME || value->kind == KIND_HIDE_TIME) {
            setCaptionText(dialog, value->kind);
            setText(dialog, IDC_LABEL, DLG_TEXT_PERIOD_LABEL);
        }
        setText(dialog, IDOK, DLG_TEXT_OK);
        const PeriodParts parts = splitPeriod(value->value);
        SetDlgItemInt(dialog, IDC_HOURS, parts.hours, FALSE);
        SetDlgItemInt(dialog, IDC_MINUTES, parts.minutes, FALSE);
        SetDlgItemInt(dialog, IDC_SECONDS, parts.seconds, FALSE);
        SetDlgItemInt(dialog, IDC_MILLISECONDS, parts.milliseconds, FALSE);
        return TRUE;
    }
    if (handleClose(dialog, message, wParam)) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDOK) {
        const std::uint64_t period = joinPeriod({readNumber(dialog, IDC_HOURS), readNumber(dialog, IDC_MINUTES),
                                                 readNumber(dialog, IDC_SECONDS), readNumber(dialog, IDC_MILLISECONDS)});
        if (refuseUnless(period <= MAX_PERIOD_MS, dialog, IDC_HOURS)) return TRUE;
        if (DialogValue* value = keptValue(dialog)) value->value = static_cast<std::uint32_t>(period);
        EndDialog(dialog, 1);
    }
    return TRUE;
}

INT_PTR CALLBACK NumberDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const DialogValue* value = reinterpret_cast<DialogValue*>(lParam);
        if (!value) return TRUE;
        if (value->kind == KIND_RAISE_CAPTION || value->kind == KIND_LENGTHEN_WINDOW) {
            setCaptionText(dialog, value->kind);
            setText(dialog, IDC_LABEL, value->kind == KIND_RAISE_CAPTION ? DLG_TEXT_RAISE_CAPTION_DEFAULT
                                                                         : DLG_TEXT_LENGTHEN_WINDOW_DEFAULT);
        }
        setText(dialog, IDOK, DLG_TEXT_OK);
        SetDlgItemInt(dialog, IDC_NUMBER, value->value, FALSE);
        return TRUE;
    }
    if (handleClose(dialog, message, wParam)) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDOK) {
        DialogValue* value = keptValue(dialog);
        const std::uint32_t number = readNumber(dialog, IDC_NUMBER);
        const SettingRow& row = settingRowAt(value && value->kind == KIND_LENGTHEN_WINDOW
                                                 ? offsetof(Settings, bbWindowAdjust)
                                                 : offsetof(Settings, bbCaptionAdjust));
        if (refuseUnless(withinRange(number, row.range), dialog, IDC_NUMBER)) return TRUE;
        if (value) value->value = number;
        EndDialog(dialog, 1);
    }
    return TRUE;
}

void showAboutBox(App& app)
{
    suspendTimer(app, true);
    runDialog(app, IDD_ABOUT, AboutDialog, nullptr);
    resumeTimer(app);
}

void editTimer(App& app, DialogKind kind)
{
    suspendTimer(app, true);
    const TimerPhase phase = kind == KIND_HIDE_TIME ? TimerPhase::HidePhase : TimerPhase::SlidePhase;
    DialogValue value{kind, phase == TimerPhase::HidePhase ? app.slide.hideTime : app.slide.slideTime};
    runDialog(app, IDD_TIMER, TimerDialog, &value);
    if (storeEditedTime(app.timer, app.slide, phase, value.value)) updateStatus(app);
    resumeTimer(app);
}

void editBlackboxAdjust(App& app, DialogKind kind)
{
    suspendTimer(app, true);
    std::int32_t& adjust = kind == KIND_LENGTHEN_WINDOW ? app.bbWindowAdjust : app.bbCaptionAdjust;
    DialogValue value{kind, static_cast<std::uint32_t>(adjust)};
    runDialog(app, IDD_NUMBER, NumberDialog, &value);
    adjust = static_cast<std::int32_t>(value.value);
    if (app.docking == DOCK_TOP) dock(app, DOCK_TOP);
    resumeTimer(app);
}
