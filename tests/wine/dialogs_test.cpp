// The About box, the timer dialog and the number dialog: their controls where the templates put
// them with the texts of the [Dialogs] rows, the period split and added up, and the commands that
// run them with the slideshow stopped meanwhile.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/app/commands.h"
#include "core/ui/texts.h"
#include "harness.h"
#include "res/resource.h"
#include "shell/ui/dialogs_win.h"

namespace {

struct Control {
    int id;
    const wchar_t* cls;
    std::wstring text;
    RECT dialogUnits;   // x, y, width, height
};

std::wstring textOf(HWND w)
{
    wchar_t buf[128] = {};
    GetWindowTextW(w, buf, 128);
    return buf;
}

void expectControls(HWND dialog, const std::vector<Control>& expected)
{
    std::vector<HWND> children;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    ASSERT_EQ(children.size(), expected.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Control& e = expected[i];
        SCOPED_TRACE(e.id);
        EXPECT_EQ(GetDlgCtrlID(children[i]), e.id);
        wchar_t cls[32] = {};
        GetClassNameW(children[i], cls, 32);
        EXPECT_EQ(_wcsicmp(cls, e.cls), 0) << narrow(cls);
        EXPECT_EQ(textOf(children[i]), e.text);
        RECT units = e.dialogUnits;   // each of x, y, width and height converted on its own
        MapDialogRect(dialog, &units);
        RECT r;
        GetWindowRect(children[i], &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, units.left);
        EXPECT_EQ(r.top, units.top);
        EXPECT_EQ(r.right - r.left, units.right);
        EXPECT_EQ(r.bottom - r.top, units.bottom);
    }
}

// A dialog made modeless from its template, so that the test can look at it while it is open.
struct OpenDialog {
    OpenDialog(HWND owner, int id, DLGPROC proc, DialogValue* value)
        : window(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), owner, proc,
                                    reinterpret_cast<LPARAM>(value)))
    {
    }
    ~OpenDialog() { DestroyWindow(window); }
    HWND window;
};

void expectDialogFrame(HWND dialog, const wchar_t* caption, bool systemMenu, int widthUnits, int heightUnits)
{
    EXPECT_EQ(textOf(dialog), caption);
    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_EQ((style & WS_SYSMENU) != 0, systemMenu);
    RECT client, units = {0, 0, widthUnits, heightUnits};
    GetClientRect(dialog, &client);
    MapDialogRect(dialog, &units);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
}

}  // namespace

TEST(Dialogs, AboutBoxLayoutAndTexts)
{
    TomelWindow w;
    OpenDialog about(w.window(), IDD_ABOUT, AboutDialog, nullptr);
    ASSERT_TRUE(about.window);
    expectDialogFrame(about.window, L"Palvik Tomel", true, 180, 110);
    const std::wstring version = sizeof(void*) == 8 ? L"Tomel 1.00.01 (64-bit)" : L"Tomel 1.00.01 (32-bit)";
    expectControls(about.window, {{301, L"Static", version, {6, 10, 168, 10}},
                                  {301, L"Static", L"Written by Palvik, 2026", {6, 20, 168, 10}},
                                  {304, L"Static", dialogText(8), {6, 40, 168, 10}},
                                  {305, L"Static", dialogText(9), {6, 50, 168, 10}},
                                  {306, L"Static", dialogText(10), {6, 60, 168, 10}},
                                  {IDOK, L"Button", dialogText(11), {26, 85, 128, 16}}});
}

TEST(Dialogs, TimerAndNumberLayoutAndTexts)
{
    TomelWindow w;
    struct Case {
        int id;
        DLGPROC proc;
        DialogValue value;
        const wchar_t* caption;
        std::vector<Control> controls;
    } cases[] = {
        {IDD_TIMER, TimerDialog, {0, 3723004}, dialogText(0),
         {{311, L"Edit", L"1", {18, 12, 14, 12}}, {312, L"Edit", L"2", {34, 12, 14, 12}},
          {313, L"Edit", L"3", {50, 12, 14, 12}}, {314, L"Edit", L"4", {66, 12, 18, 12}},
          {301, L"Static", dialogText(2), {88, 14, 60, 12}}, {IDOK, L"Button", dialogText(3), {50, 36, 40, 14}}}},
        {IDD_TIMER, TimerDialog, {1, 5000}, dialogText(1),
         {{311, L"Edit", L"0", {18, 12, 14, 12}}, {312, L"Edit", L"0", {34, 12, 14, 12}},
          {313, L"Edit", L"5", {50, 12, 14, 12}}, {314, L"Edit", L"0", {66, 12, 18, 12}},
          {301, L"Static", dialogText(2), {88, 14, 60, 12}}, {IDOK, L"Button", dialogText(3), {50, 36, 40, 14}}}},
        {IDD_NUMBER, NumberDialog, {4, 4}, dialogText(4),
         {{302, L"Edit", L"4", {26, 12, 30, 12}}, {301, L"Static", dialogText(5), {60, 14, 60, 12}},
          {IDOK, L"Button", dialogText(3), {50, 36, 40, 14}}}},
        {IDD_NUMBER, NumberDialog, {6, 70000}, dialogText(6),
         {{302, L"Edit", L"70000", {26, 12, 30, 12}}, {301, L"Static", dialogText(7), {60, 14, 60, 12}},
          {IDOK, L"Button", dialogText(3), {50, 36, 40, 14}}}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.value.kind);
        OpenDialog d(w.window(), c.id, c.proc, &c.value);
        ASSERT_TRUE(d.window);
        expectDialogFrame(d.window, c.caption, false, 140, 60);
        expectControls(d.window, c.controls);
        for (int edit : {311, 312, 313, 314, 302}) {
            if (HWND e = GetDlgItem(d.window, edit)) {
                EXPECT_TRUE(GetWindowLongW(e, GWL_STYLE) & ES_NUMBER);
            }
        }
    }
}

TEST(Dialogs, TimerDialogAddsUpItsFieldsAndCancelKeepsTheValue)
{
    TomelWindow w;
    struct Case {
        const wchar_t* fields[4];
        UINT button;
        std::uint32_t expected;
    } cases[] = {
        {{L"", L"", L"", L""}, IDOK, 0},
        {{L"0", L"75", L"0", L"0"}, IDOK, 4500000},
        {{L"1", L"2", L"3", L"4"}, IDOK, 3723004},
        {{L"1194", L"0", L"0", L"0"}, IDOK, 1194u * 3600000u},   // wraps modulo 2^32
        {{L"x", L"99999999999", L"1", L""}, IDOK, 1000},        // unreadable fields are 0
        {{L"9", L"9", L"9", L"9"}, IDCANCEL, 777},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        DialogValue value{0, 777};
        OpenDialog d(w.window(), IDD_TIMER, TimerDialog, &value);
        for (int i = 0; i < 4; ++i) SetDlgItemTextW(d.window, 311 + i, c.fields[i]);
        SendMessageW(d.window, WM_COMMAND, c.button, 0);
        EXPECT_EQ(value.value, c.expected);
    }
    DialogValue value{6, 2};
    OpenDialog number(w.window(), IDD_NUMBER, NumberDialog, &value);
    SetDlgItemTextW(number.window, 302, L"12");
    SendMessageW(number.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(value.value, 2u);
    SendMessageW(number.window, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(value.value, 12u);
}

namespace {
struct Answer {
    const wchar_t* title;
    std::vector<std::pair<int, std::wstring>> fields;
    UINT button;
    bool timerHeld = false;
    App* app = nullptr;
};
DWORD WINAPI answerDialog(void* p)
{
    auto* a = static_cast<Answer*>(p);
    for (int i = 0; i < 250; ++i) {
        if (HWND dlg = FindWindowW(nullptr, a->title)) {
            a->timerHeld = a->app->timer.timerSuspended;
            for (const auto& f : a->fields) SetDlgItemTextW(dlg, f.first, f.second.c_str());
            PostMessageW(dlg, WM_COMMAND, a->button, 0);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}
bool answer(TomelWindow& w, unsigned command, Answer a)
{
    a.app = &w.app();
    HANDLE thread = CreateThread(nullptr, 0, answerDialog, &a, 0, nullptr);
    SendMessageW(w.window(), WM_COMMAND, command, 0);
    WaitForSingleObject(thread, 10000);
    DWORD code = 2;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    return code == 0 && a.timerHeld;
}

std::atomic<int> pagesOpened{0};
void countPage(const wchar_t* url)
{
    if (std::wstring(url) == homePageUrl) ++pagesOpened;
}
DWORD WINAPI enterThenEscape(void* p)
{
    auto* stillOpen = static_cast<bool*>(p);
    for (int i = 0; i < 250; ++i) {
        if (HWND about = FindWindowW(nullptr, L"Palvik Tomel")) {
            SetForegroundWindow(about);
            PostMessageW(about, WM_KEYDOWN, VK_RETURN, 1);
            for (int k = 0; k < 100 && pagesOpened == 0; ++k) Sleep(20);
            Sleep(100);
            *stillOpen = IsWindowVisible(about);
            PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 1);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}
}  // namespace

TEST(Dialogs, CommandsEditTheirSettingsWithTheTimerStopped)
{
    TomelWindow w;
    App& app = w.app();
    w.open(writeBytes(L"dialogs.txt", "a\r\n\r\nb\r\n"));
    const std::uint32_t remaining = app.timer.remainingMs;
    EXPECT_TRUE(answer(w, CMD_SLIDE_TIME, {L"Slideshow Timer", {{312, L"9"}}, IDCANCEL}));
    EXPECT_EQ(app.slide.slideTime, 5000u);
    EXPECT_EQ(app.timer.remainingMs, remaining);
    EXPECT_EQ(w.title(), L"dialogs.txt - Tomel | 1/2 | 00:00:05");
    EXPECT_TRUE(answer(w, CMD_SLIDE_TIME, {L"Slideshow Timer", {{311, L"0"}, {312, L"2"}, {313, L"0"}}, IDOK}));
    EXPECT_EQ(app.slide.slideTime, 120000u);
    EXPECT_EQ(w.title(), L"dialogs.txt - Tomel | 1/2 | 00:02:00");
    EXPECT_TRUE(answer(w, CMD_HIDE_TIME, {L"Hide (Popup) Timer", {{314, L"250"}, {313, L"0"}}, IDOK}));
    EXPECT_EQ(app.slide.hideTime, 250u);
    EXPECT_TRUE(answer(w, CMD_RAISE_CAPTION, {L"Raise Caption", {{302, L"9"}}, IDOK}));
    EXPECT_TRUE(answer(w, CMD_LENGTHEN_WINDOW, {L"Lengthen Window", {{302, L"5"}}, IDCANCEL}));
    EXPECT_EQ(app.bbCaptionAdjust, 9);
    EXPECT_EQ(app.bbWindowAdjust, 2);
    EXPECT_FALSE(app.timer.timerSuspended);

    // Enter in the About box opens the home page and leaves the box open; Esc closes it.
    pageOpener = countPage;
    pagesOpened = 0;
    bool stillOpen = false;
    HANDLE thread = CreateThread(nullptr, 0, enterThenEscape, &stillOpen, 0, nullptr);
    SendMessageW(w.window(), WM_COMMAND, CMD_ABOUT, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    pageOpener = nullptr;
    EXPECT_EQ(pagesOpened, 1);
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(FindWindowW(nullptr, L"Palvik Tomel"));
    EXPECT_FALSE(app.timer.timerSuspended);
}
