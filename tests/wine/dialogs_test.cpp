// The timer and number dialogs from their templates: what the fields add up to, and a number the
// setting cannot keep refused where it was typed.
#include <gtest/gtest.h>

#include "harness.h"
#include "res/resource.h"
#include "shell/ui/dialogs_win.h"

TEST(Dialogs, TheTimerAndNumberDialogsReadTheirFieldsAndCancelKeepsTheValue)
{
    TomelWindow w;
    const struct {
        int id;
        const wchar_t* fields[4];   // hours, minutes, seconds, milliseconds; or the number
        UINT button;
        std::uint32_t expected;
        bool refused = false;   // the dialog stays open, the value as it was
    } cases[] = {
        {IDD_TIMER, {L"1", L"2", L"3", L"4"}, IDOK, 3723004},
        {IDD_TIMER, {L"x", L"99999999999", L"1", L""}, IDOK, 1000},   // unreadable fields are 0
        {IDD_TIMER, {L"9", L"9", L"9", L"9"}, IDCANCEL, 777},
        {IDD_TIMER, {L"255", L"59", L"59", L"999"}, IDOK, 921599999},   // the longest the status can show
        {IDD_TIMER, {L"255", L"59", L"59", L"1000"}, IDOK, 777, true},
        {IDD_TIMER, {L"1194", L"0", L"0", L"0"}, IDOK, 777, true},      // 2^32 ms and more does not wrap
        {IDD_NUMBER, {L"12"}, IDOK, 12},
        {IDD_NUMBER, {L"32767"}, IDOK, 32767},
        {IDD_NUMBER, {L"70000"}, IDOK, 777, true},                      // more than the settings file keeps
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        DialogValue value{c.id == IDD_TIMER ? KIND_SLIDE_TIME : KIND_LENGTHEN_WINDOW, 777};
        HWND d = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.id), w.window(),
                                    c.id == IDD_TIMER ? TimerDialog : NumberDialog, reinterpret_cast<LPARAM>(&value));
        ASSERT_TRUE(d);
        for (int i = 0; i < 4 && c.fields[i]; ++i) SetDlgItemTextW(d, c.id == IDD_TIMER ? IDC_HOURS + i : IDC_NUMBER, c.fields[i]);
        SendMessageW(d, WM_COMMAND, c.button, 0);
        EXPECT_EQ(value.value, c.expected);
        EXPECT_EQ(IsWindowVisible(d) != FALSE, c.refused);
        DestroyWindow(d);
    }
}
