// The popup menu in the real window: shown at the click and dismissed with Esc (the system's own
// menu window), the Pin walk with the choices supplied by the test, greyed dialog commands while a
// dialog holds the timer, the tray callback, and requests that come at awkward moments.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "core/app/commands.h"
#include "core/ui/menu_logic.h"
#include "harness.h"
#include "shell/ui/popup_menu_win.h"

namespace {

struct Shown {
    UINT firstId;      // the Pin item at the top tells which menu it is
    bool pinChecked;
    POINT at;
};
std::vector<Shown> shownMenus;
std::vector<UINT> choices;      // what the "user" picks in each menu shown, in order; 0 dismisses
std::function<void(HMENU)> whileShown;

UINT scriptedChoice(HMENU menu, int x, int y)
{
    const UINT first = GetMenuItemID(menu, 0);
    shownMenus.push_back({first, (GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED) != 0, {x, y}});
    if (whileShown) whileShown(menu);
    if (shownMenus.size() > choices.size()) return 0;
    return choices[shownMenus.size() - 1];
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
    App* app = nullptr;
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
            watch->indexWhenShown = watch->app->currentIndex;
            Sleep(600);
            watch->indexWhenClosed = watch->app->currentIndex;
            PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}

}  // namespace

TEST(PopupMenu, RightClickShowsTheMenuAtTheClickAndEscResumesTheTimer)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    app.slide.countdown = false;
    app.slide.slideTime = 150;
    w.open(writeBytes(L"menu.txt", "a\r\nb\r\nc\r\nd\r\n"));
    MenuWatch watch;
    watch.app = &app;
    HANDLE thread = CreateThread(nullptr, 0, escapeMenu, &watch, 0, nullptr);
    POINT click = {60, 40};
    ClientToScreen(w.window(), &click);
    // The click as the system turns it into WM_CONTEXTMENU.
    SendMessageW(w.window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w.window()), MAKELPARAM(click.x, click.y));
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    ASSERT_TRUE(watch.found);
    EXPECT_EQ(watch.rect.left, click.x);
    EXPECT_EQ(watch.rect.top, click.y);
    EXPECT_EQ(watch.indexWhenClosed, watch.indexWhenShown);   // no step while the menu was open
    EXPECT_FALSE(visibleMenuWindow());
    const std::uint32_t after = app.currentIndex;
    EXPECT_TRUE(w.pump(2000, [&] { return app.currentIndex != after; }));   // the slideshow goes on
}

TEST(PopupMenu, ReShowFarOutsideTheScreenOpensOnIt)
{
    TomelWindow w;
    MenuWatch watch;
    watch.app = &w.app();
    HANDLE thread = CreateThread(nullptr, 0, escapeMenu, &watch, 0, nullptr);
    PostMessageW(w.window(), MSG_SHOW_MENU, packMenuPosition(30000, -20000), 0);
    w.pump(5000, [&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; });
    CloseHandle(thread);
    ASSERT_TRUE(watch.found);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    OffsetRect(&screen, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN));
    RECT inside;
    EXPECT_TRUE(IntersectRect(&inside, &watch.rect, &screen));
    EXPECT_TRUE(w.alive());
}

TEST(PopupMenu, PinsKeepMenusOpenAndDismissalsUndoThemOneLevelAtATime)
{
    TomelWindow w;
    App& app = w.app();
    const bool countdown = app.slide.countdown;
    struct Step {
        UINT shownFirstId;   // which menu the step shows
        bool pinChecked;
        UINT choice;
    } steps[] = {
        {CMD_PIN, false, CMD_PIN_TIMERS},           // the main popup: pin "Timers"
        {CMD_PIN_TIMERS, true, CMD_COUNTDOWN},      // "Timers" alone, its Pin checked
        {CMD_PIN_TIMERS, true, 0},                  // still "Timers"; Esc unpins it
        {CMD_PIN, false, CMD_PIN},                  // a new right click: pin the main popup
        {CMD_PIN, true, CMD_PIN_DOCK},              // pin "Dock" from the pinned main popup
        {CMD_PIN_DOCK, true, CMD_PIN_BLACKBOX},     // pin "Blackbox" inside "Dock"
        {CMD_PIN_BLACKBOX, true, 0},                // dismissed: back to "Dock"
        {CMD_PIN_DOCK, true, 0},                    // dismissed: back to the main popup
        {CMD_PIN, true, 0},                         // dismissed: the pin is gone, nothing more
    };
    std::vector<UINT> picks;
    for (const Step& s : steps) picks.push_back(s.choice);
    ScriptedMenus script(picks);
    const LPARAM click = MAKELPARAM(300, 200);
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, click);
    w.pump(300, [&] { return shownMenus.size() == 3; });
    EXPECT_NE(app.slide.countdown, countdown);
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, click);
    w.pump(1000, [&] { return shownMenus.size() >= std::size(steps); });
    w.pump(100);
    ASSERT_EQ(shownMenus.size(), std::size(steps));
    for (std::size_t i = 0; i < shownMenus.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shownMenus[i].firstId, steps[i].shownFirstId);
        EXPECT_EQ(shownMenus[i].pinChecked, steps[i].pinChecked);
        EXPECT_EQ(shownMenus[i].at.x, 300);
        EXPECT_EQ(shownMenus[i].at.y, 200);
    }
    EXPECT_FALSE(app.pins.menuPinned);
    EXPECT_EQ(app.pins.pinnedSubmenu, -1);
    EXPECT_EQ(app.pins.pinnedLevel3, -1);
}

TEST(PopupMenu, SpecialChoicesAndRequests)
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
        // A re-show packed left of and above the primary screen opens there; one far outside too.
        ScriptedMenus script({});
        PostMessageW(w.window(), MSG_SHOW_MENU, packMenuPosition(-1500, -300), 0);
        w.pump(200, [&] { return shownMenus.size() == 1; });
        PostMessageW(w.window(), MSG_SHOW_MENU, 0xFFFFFFFF, 0);
        w.pump(200, [&] { return shownMenus.size() == 2; });
        ASSERT_EQ(shownMenus.size(), 2u);
        EXPECT_EQ(shownMenus[0].at.x, -1500);
        EXPECT_EQ(shownMenus[0].at.y, -300);
        EXPECT_EQ(shownMenus[1].at.x, -1);
        EXPECT_EQ(shownMenus[1].at.y, -101);
    }
    {
        // The Menu command and a close arriving while the menu is open: no second menu, and the
        // window closes once the menu has.
        ScriptedMenus script({});
        whileShown = [&](HMENU) {
            SendMessageW(w.window(), WM_COMMAND, CMD_MENU, 0);
            SendMessageW(w.window(), WM_CLOSE, 0, 0);
            EXPECT_TRUE(IsWindow(w.window()));
        };
        SendMessageW(w.window(), WM_COMMAND, CMD_MENU, 0);
        EXPECT_EQ(shownMenus.size(), 1u);
        EXPECT_TRUE(w.pump(500, [&] { return !IsWindow(w.window()); }));
    }
    {
        // Two re-shows waiting: the menu that opens first takes the place of the other.
        TomelWindow again;
        ScriptedMenus script({});
        PostMessageW(again.window(), MSG_SHOW_MENU, packMenuPosition(5, 5), 0);
        PostMessageW(again.window(), MSG_SHOW_MENU, packMenuPosition(9, 9), 0);
        again.pump(200);
        ASSERT_EQ(shownMenus.size(), 1u);
        EXPECT_EQ(shownMenus[0].at.x, 5);
    }
}

TEST(PopupMenu, ExitInAPinnedMenuEndsTheProgram)
{
    TomelWindow w;
    ScriptedMenus script({CMD_PIN, CMD_EXIT});
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(100, 100));
    w.pump(300, [&] { return w.quitSeen(); });
    EXPECT_FALSE(IsWindow(w.window()));
    EXPECT_EQ(shownMenus.size(), 2u);
    EXPECT_TRUE(w.quitSeen());
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
    const POINT inside = {r.left + 50, r.top + 60};
    const POINT outside = {r.right + 20, r.bottom + 20};
    struct Case {
        bool atCursor;
        POINT cursor;
        POINT expected;
    } cases[] = {{true, inside, inside}, {false, inside, corner}, {true, outside, corner}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.atCursor);
        ScriptedMenus script({});
        app.atCursor = c.atCursor;
        SetCursorPos(c.cursor.x, c.cursor.y);
        SendMessageW(w.window(), WM_COMMAND, CMD_MENU, 0);
        ASSERT_EQ(shownMenus.size(), 1u);
        EXPECT_EQ(shownMenus[0].at.x, c.expected.x);
        EXPECT_EQ(shownMenus[0].at.y, c.expected.y);
    }
    // From the keyboard the context menu has no position (-1, -1): it opens as the Menu command does.
    app.atCursor = false;
    for (const LPARAM none : {static_cast<LPARAM>(-1), static_cast<LPARAM>(MAKELPARAM(0xFFFF, 0xFFFF))}) {
        ScriptedMenus script({});
        SendMessageW(w.window(), WM_CONTEXTMENU, 0, none);
        ASSERT_EQ(shownMenus.size(), 1u);
        EXPECT_EQ(shownMenus[0].at.x, corner.x);
        EXPECT_EQ(shownMenus[0].at.y, corner.y);
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

namespace {
std::atomic<bool> trayMenuSeen{false};
std::atomic<bool> heldAfterMenu{false};
DWORD WINAPI trayMenuDuringAbout(void* p)
{
    HWND window = static_cast<HWND>(p);
    for (int i = 0; i < 200; ++i) {
        if (HWND about = FindWindowW(nullptr, L"Palvik Tomel")) {
            PostMessageW(window, MSG_TRAY_NOTIFY, 0, WM_RBUTTONUP);
            for (int k = 0; k < 200 && !trayMenuSeen; ++k) Sleep(10);
            Sleep(100);
            heldAfterMenu = currentApp->timer.timerSuspended;   // the menu has closed: still held
            PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}
}  // namespace

TEST(PopupMenu, DialogCommandsAreGreyedWhileADialogHoldsTheTimer)
{
    TomelWindow w;
    App& app = w.app();
    const UINT dialogCommands[] = {1011, 1012, 1065, 1066, 1081, 1082, 1083, 1084, 1085, 1086, 1092, 1104};
    auto greyed = [](HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
    ScriptedMenus script({});
    std::vector<bool> grey, greyWithoutDialog;
    bool heldDuringMenu = false;
    whileShown = [&](HMENU menu) {
        heldDuringMenu = app.timer.timerSuspended;
        for (UINT id : dialogCommands) grey.push_back(greyed(menu, id));
        grey.push_back(greyed(menu, CMD_SLIDESHOW));
        trayMenuSeen = true;
    };
    trayMenuSeen = false;
    HANDLE thread = CreateThread(nullptr, 0, trayMenuDuringAbout, w.window(), 0, nullptr);
    SendMessageW(w.window(), WM_COMMAND, CMD_ABOUT, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    ASSERT_EQ(grey.size(), std::size(dialogCommands) + 1);
    EXPECT_TRUE(heldDuringMenu);
    EXPECT_TRUE(heldAfterMenu);
    for (std::size_t i = 0; i < std::size(dialogCommands); ++i) EXPECT_TRUE(grey[i]) << dialogCommands[i];
    EXPECT_FALSE(grey.back());
    EXPECT_FALSE(app.timer.timerSuspended);   // the dialog's end gives the timer back

    // Without a dialog nothing of these is greyed.
    whileShown = [&](HMENU menu) {
        for (UINT id : dialogCommands) greyWithoutDialog.push_back(greyed(menu, id));
    };
    SendMessageW(w.window(), MSG_TRAY_NOTIFY, 0, WM_RBUTTONUP);
    EXPECT_EQ(greyWithoutDialog, std::vector<bool>(std::size(dialogCommands), false));
}
