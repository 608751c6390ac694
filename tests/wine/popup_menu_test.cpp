// The popup menu in the real window: the system's own menu at the click, the Pin walk with the
// choices supplied by the test, requests at awkward moments, the tray callback, and greyed dialog
// commands while a dialog holds the timer.
#include <gtest/gtest.h>

#include <vector>

#include "core/app/commands.h"
#include "core/ui/menu_logic.h"
#include "harness.h"
#include "shell/ui/popup_menu_win.h"

namespace {
struct Shown {
    UINT firstId;   // the Pin item at the top tells which menu it is
    bool pinChecked;
    POINT at;
};
std::vector<Shown> shownMenus;
std::vector<UINT> choices;   // what the "user" picks in each menu shown, in order; 0 dismisses
std::function<void(HMENU)> whileShown;

UINT scriptedChoice(HMENU menu, int x, int y)
{
    shownMenus.push_back({GetMenuItemID(menu, 0), (GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED) != 0, {x, y}});
    if (whileShown) whileShown(menu);
    return shownMenus.size() > choices.size() ? 0 : choices[shownMenus.size() - 1];
}

struct ScriptedMenus {
    explicit ScriptedMenus(std::vector<UINT> picks)
    {
        shownMenus.clear();
        choices = std::move(picks);
        whileShown = nullptr;
        menuTracker = scriptedChoice;
    }
    ~ScriptedMenus()
    {
        menuTracker = nullptr;
        whileShown = nullptr;
    }
};

BOOL CALLBACK findMenuWindow(HWND w, LPARAM p)
{
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (wcscmp(cls, L"#32768") != 0 || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(p) = w;
    return FALSE;
}

HWND visibleMenuWindow()
{
    HWND found = nullptr;
    EnumWindows(findMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct MenuWatch {
    RECT rect = {};
    std::uint32_t indexWhenShown = 0, indexWhenClosed = 0;
    bool found = false;
};

// From another thread: waits for the system's menu window, notes where it is, keeps it open a
// while and closes it with Esc.
DWORD WINAPI escapeMenu(void* p)
{
    auto* watch = static_cast<MenuWatch*>(p);
    for (int i = 0; i < 200; ++i) {
        if (HWND menu = visibleMenuWindow()) {
            watch->found = true;
            GetWindowRect(menu, &watch->rect);
            watch->indexWhenShown = currentApp->currentIndex;
            Sleep(600);
            watch->indexWhenClosed = currentApp->currentIndex;
            PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}
}  // namespace

TEST(PopupMenu, TheSystemMenuOpensAtTheClickOrOnTheScreenAndEscResumesTheTimer)
{
    for (bool farOutside : {false, true}) {
        SCOPED_TRACE(farOutside);
        TomelWindow w;
        App& app = w.app();
        app.multiline = false;
        app.slide.countdown = false;
        app.slide.slideTime = 150;
        w.open(writeBytes(L"menu.txt", "a\r\nb\r\nc\r\nd\r\n"));
        MenuWatch watch;
        HANDLE thread = CreateThread(nullptr, 0, escapeMenu, &watch, 0, nullptr);
        POINT click = {60, 40};
        ClientToScreen(w.window(), &click);
        if (farOutside) {
            PostMessageW(w.window(), MSG_SHOW_MENU, packMenuPosition(30000, -20000), 0);
        } else {
            // The click as the system turns it into WM_CONTEXTMENU.
            PostMessageW(w.window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w.window()), MAKELPARAM(click.x, click.y));
        }
        w.pump(5000, [&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; });
        CloseHandle(thread);
        ASSERT_TRUE(watch.found);
        RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, inside;
        EXPECT_TRUE(IntersectRect(&inside, &watch.rect, &screen));
        if (!farOutside) {
            EXPECT_EQ(watch.rect.left, click.x);
            EXPECT_EQ(watch.rect.top, click.y);
        }
        EXPECT_EQ(watch.indexWhenClosed, watch.indexWhenShown);   // no step while the menu was open
        const std::uint32_t after = app.currentIndex;
        EXPECT_TRUE(w.pump(2000, [&] { return app.currentIndex != after; }));   // the slideshow goes on
    }
}

TEST(PopupMenu, PinsKeepMenusOpenAndDismissalsUndoThemOneLevelAtATime)
{
    TomelWindow w;
    App& app = w.app();
    const bool countdown = app.slide.countdown;
    const struct {
        UINT shownFirstId;   // which menu the step shows
        bool pinChecked;
        UINT choice;
    } steps[] = {
        {CMD_PIN, false, CMD_PIN_TIMERS},        // the main popup: pin "Timers"
        {CMD_PIN_TIMERS, true, CMD_COUNTDOWN},   // "Timers" alone, its Pin checked
        {CMD_PIN_TIMERS, true, 0},               // still "Timers"; Esc unpins it
        {CMD_PIN, false, CMD_PIN},               // a new right click: pin the main popup
        {CMD_PIN, true, CMD_PIN_DOCK},           // pin "Dock" from the pinned main popup
        {CMD_PIN_DOCK, true, CMD_PIN_BLACKBOX},  // pin "Blackbox" inside "Dock"
        {CMD_PIN_BLACKBOX, true, 0},             // dismissed: back to "Dock"
        {CMD_PIN_DOCK, true, 0},                 // dismissed: back to the main popup
        {CMD_PIN, true, CMD_EXIT},               // Exit in a pinned menu ends the program
    };
    std::vector<UINT> picks;
    for (const auto& s : steps) picks.push_back(s.choice);
    ScriptedMenus script(picks);
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(300, 200));
    w.pump(300, [&] { return shownMenus.size() == 3; });
    EXPECT_NE(app.slide.countdown, countdown);
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(300, 200));
    w.pump(1000, [&] { return w.quitSeen(); });
    ASSERT_EQ(shownMenus.size(), std::size(steps));
    for (std::size_t i = 0; i < shownMenus.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shownMenus[i].firstId, steps[i].shownFirstId);
        EXPECT_EQ(shownMenus[i].pinChecked, steps[i].pinChecked);
        EXPECT_EQ(shownMenus[i].at.x, 300);
        EXPECT_EQ(shownMenus[i].at.y, 200);
    }
    EXPECT_FALSE(IsWindow(w.window()));
}

TEST(PopupMenu, RequestsAtAwkwardMoments)
{
    TomelWindow w;
    App& app = w.app();
    {
        // With a submenu pinned, a right click asks for position 0, which holds no submenu: nothing
        // is shown and the pin is undone as for a dismissal.
        ScriptedMenus script({});
        app.pins.pinnedSubmenu = 7;
        SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(10, 10));
        w.pump(100);
        EXPECT_TRUE(shownMenus.empty());
        EXPECT_EQ(app.pins.pinnedSubmenu, -1);
    }
    {
        // The Menu command and a close arriving while the menu is open: no second menu, and the
        // window closes once the menu has.
        ScriptedMenus script({});
        whileShown = [&](HMENU) {
            w.command(CMD_MENU);
            SendMessageW(w.window(), WM_CLOSE, 0, 0);
            EXPECT_TRUE(IsWindow(w.window()));
        };
        w.command(CMD_MENU);
        EXPECT_EQ(shownMenus.size(), 1u);
        EXPECT_TRUE(w.pump(500, [&] { return !IsWindow(w.window()); }));
    }
}

TEST(PopupMenu, MenuCommandOpensAtTheCursorOrTheCorner)
{
    TomelWindow w;
    App& app = w.app();
    // A known place well inside the screen, so that a point beside the window is on the screen too.
    MoveWindow(w.window(), 200, 150, 400, 250, TRUE);
    GetWindowRect(w.window(), &app.windowRect);
    const RECT r = app.windowRect;   // the rectangle the program keeps decides "inside"
    POINT corner = {2, 2};
    ClientToScreen(w.window(), &corner);
    const POINT inside = {r.left + 50, r.top + 60}, outside = {r.right + 20, r.bottom + 20};
    const struct {
        bool atCursor;
        POINT cursor, expected;
        LPARAM contextMenu;   // 0: the Menu command; else WM_CONTEXTMENU from the keyboard, with no position
    } cases[] = {{true, inside, inside, 0}, {false, inside, corner, 0}, {true, outside, corner, 0},
                 {false, inside, corner, -1}, {false, inside, corner, MAKELPARAM(0xFFFF, 0xFFFF)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ScriptedMenus script({});
        app.atCursor = c.atCursor;
        // Wine moves the pointer through the X server, whose late news of an earlier move can put it
        // back: move it until it stays.
        POINT p = {};
        for (int i = 0; i < 20 && (p.x != c.cursor.x || p.y != c.cursor.y); ++i) {
            SetCursorPos(c.cursor.x, c.cursor.y);
            w.pump(50);
            GetCursorPos(&p);
        }
        if (p.x != c.cursor.x || p.y != c.cursor.y)
            GTEST_SKIP() << "Wine could not place the pointer (it was left outside its desktop)";
        if (c.contextMenu) {
            SendMessageW(w.window(), WM_CONTEXTMENU, 0, c.contextMenu);
        } else {
            w.command(CMD_MENU);
        }
        ASSERT_EQ(shownMenus.size(), 1u);
        EXPECT_EQ(shownMenus[0].at.x, c.expected.x);
        EXPECT_EQ(shownMenus[0].at.y, c.expected.y);
    }
}

TEST(PopupMenu, TrayCallbackAnswersOnlyLeftPressAndRightRelease)
{
    TomelWindow w;
    for (UINT mouse = WM_MOUSEFIRST; mouse <= WM_MOUSELAST; ++mouse) {
        SCOPED_TRACE(mouse);
        ScriptedMenus script({});
        const bool visible = IsWindowVisible(w.window());
        SendMessageW(w.window(), MSG_TRAY_NOTIFY, 0, mouse);
        EXPECT_EQ(IsWindowVisible(w.window()) != visible, mouse == WM_LBUTTONDOWN);
        EXPECT_EQ(shownMenus.size(), mouse == WM_RBUTTONUP ? 1u : 0u);
        if (IsWindowVisible(w.window()) != visible) SendMessageW(w.window(), MSG_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
        EXPECT_EQ(IsWindowVisible(w.window()), visible);
    }
}

TEST(PopupMenu, DialogCommandsAreGreyedWhileADialogHoldsTheTimer)
{
    TomelWindow w;
    App& app = w.app();
    const UINT dialogCommands[] = {1011, 1012, 1065, 1066, 1081, 1082, 1083, 1084, 1085, 1086, 1092, 1104};
    ScriptedMenus script({});
    std::vector<bool> grey;
    bool held = false;
    whileShown = [&](HMENU menu) {
        held = app.timer.timerSuspended;
        for (UINT id : dialogCommands) grey.push_back((GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0);
    };
    // The tray menu asked for while the About box is open.
    ASSERT_TRUE(answerDialog(w, CMD_ABOUT, L"Palvik Tomel", {}, IDCANCEL, [&](HWND) {
        PostMessageW(w.window(), MSG_TRAY_NOTIFY, 0, WM_RBUTTONUP);
        for (int k = 0; k < 200 && grey.empty(); ++k) Sleep(10);
        Sleep(100);
        EXPECT_TRUE(app.timer.timerSuspended);   // the menu has closed: still held
    }));
    EXPECT_TRUE(held);
    EXPECT_EQ(grey, std::vector<bool>(std::size(dialogCommands), true));
    EXPECT_FALSE(app.timer.timerSuspended);   // the dialog's end gives the timer back
    // Without a dialog none of them is greyed.
    grey.clear();
    SendMessageW(w.window(), MSG_TRAY_NOTIFY, 0, WM_RBUTTONUP);
    EXPECT_EQ(grey, std::vector<bool>(std::size(dialogCommands), false));
}
