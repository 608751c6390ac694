// The timer and number dialogs add up what was typed; the commands that run them, and the About
// box, hold the slideshow meanwhile.
#include <gtest/gtest.h>

#include <string>

#include "core/app/commands.h"
#include "harness.h"
#include "res/resource.h"
#include "shell/ui/dialogs_win.h"

TEST(Dialogs, TimerDialogAddsUpItsFieldsAndCancelKeepsTheValue)
{
    TomelWindow w;
    const struct {
        int id;
        const wchar_t* fields[4];   // hours, minutes, seconds, milliseconds; or the number
        UINT button;
        std::uint32_t expected;
    } cases[] = {
        {IDD_TIMER, {L"", L"", L"", L""}, IDOK, 0},
        {IDD_TIMER, {L"0", L"75", L"0", L"0"}, IDOK, 4500000},
        {IDD_TIMER, {L"1", L"2", L"3", L"4"}, IDOK, 3723004},
        {IDD_TIMER, {L"1194", L"0", L"0", L"0"}, IDOK, 1194u * 3600000u},   // wraps modulo 2^32
        {IDD_TIMER, {L"x", L"99999999999", L"1", L""}, IDOK, 1000},        // unreadable fields are 0
        {IDD_TIMER, {L"9", L"9", L"9", L"9"}, IDCANCEL, 777},
        {IDD_NUMBER, {L"12"}, IDOK, 12},
        {IDD_NUMBER, {L"12"}, IDCANCEL, 777},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        DialogValue value{c.id == IDD_TIMER ? 0 : 6, 777};
        HWND d = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.id), w.window(),
                                    c.id == IDD_TIMER ? TimerDialog : NumberDialog, reinterpret_cast<LPARAM>(&value));
        ASSERT_TRUE(d);
        for (int i = 0; i < 4; ++i) {
            if (c.fields[i]) SetDlgItemTextW(d, c.id == IDD_TIMER ? 311 + i : 302, c.fields[i]);
        }
        SendMessageW(d, WM_COMMAND, c.button, 0);
        EXPECT_EQ(value.value, c.expected);
        DestroyWindow(d);
    }
}

namespace {
int pagesOpened;
}  // namespace

TEST(Dialogs, CommandsEditTheirSettingsWithTheTimerStopped)
{
    TomelWindow w;
    App& app = w.app();
    w.open(writeBytes(L"dialogs.txt", "a\r\n\r\nb\r\n"));
    const std::uint32_t remaining = app.timer.remainingMs;
    const struct {
        unsigned command;
        const wchar_t* title;
        std::vector<std::pair<int, std::wstring>> fields;
        UINT button;
    } cases[] = {
        {CMD_SLIDE_TIME, L"Slideshow Timer", {{312, L"9"}}, IDCANCEL},
        {CMD_SLIDE_TIME, L"Slideshow Timer", {{311, L"0"}, {312, L"2"}, {313, L"0"}}, IDOK},
        {CMD_HIDE_TIME, L"Hide (Popup) Timer", {{314, L"250"}, {313, L"0"}}, IDOK},
        {CMD_RAISE_CAPTION, L"Raise Caption", {{302, L"9"}}, IDOK},
        {CMD_LENGTHEN_WINDOW, L"Lengthen Window", {{302, L"5"}}, IDCANCEL},
    };
    std::vector<bool> held;
    for (const auto& c : cases) {
        EXPECT_TRUE(answerDialog(w, c.command, c.title, c.fields, c.button,
                                 [&](HWND) { held.push_back(app.timer.timerSuspended); }));
        if (&c == cases) {
            EXPECT_EQ(app.timer.remainingMs, remaining);   // a cancelled dialog does not restart the period
            EXPECT_EQ(w.title(), L"dialogs.txt - Tomel | 1/2 | 00:00:05");
        }
    }
    EXPECT_EQ(held, std::vector<bool>(std::size(cases), true));
    EXPECT_EQ(w.title(), L"dialogs.txt - Tomel | 1/2 | 00:02:00");
    EXPECT_EQ(app.slide.slideTime, 120000u);
    EXPECT_EQ(app.slide.hideTime, 250u);
    EXPECT_EQ(app.bbCaptionAdjust, 9);
    EXPECT_EQ(app.bbWindowAdjust, 2);
    EXPECT_FALSE(app.timer.timerSuspended);

    // Enter in the About box opens the home page and leaves the box open; Esc closes it.
    pageOpener = [](const wchar_t* url) { pagesOpened += std::wstring(url) == homePageUrl; };
    bool stillOpen = false;
    EXPECT_TRUE(answerDialog(w, CMD_ABOUT, L"Palvik Tomel", {}, IDCANCEL, [&](HWND about) {
        SetForegroundWindow(about);
        PostMessageW(about, WM_KEYDOWN, VK_RETURN, 1);
        for (int k = 0; k < 100 && pagesOpened == 0; ++k) Sleep(20);
        Sleep(100);
        stillOpen = IsWindowVisible(about);
    }));
    pageOpener = nullptr;
    EXPECT_EQ(pagesOpened, 1);
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(FindWindowW(nullptr, L"Palvik Tomel"));
    EXPECT_FALSE(app.timer.timerSuspended);
}
