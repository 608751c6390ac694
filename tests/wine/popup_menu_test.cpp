// The popup menu in the real window: the system's own menu at a right click, and with the test in the
// user's place, where it opens, pinned menus shown again, the menu in the language file's words, and
// the check marks of the settings and of the start-up list.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "core/app/commands.h"
#include "harness.h"
#include "shell/app/autostart_win.h"
#include "shell/app/platform_win.h"

namespace {
// Each menu the test tracks in the user's place: where, the id of its first item (the Pin that tells
// which menu it is) and whether that is checked. The choices made in it, in order; 0 dismisses.
struct Shown { LONG x, y; UINT first; bool pinned; };
std::vector<Shown> shownMenus;
std::vector<UINT> choices;
UINT watched;   // an item, and whether the last menu shown had it checked
bool watchedChecked;
std::wstring menuTexts;   // every item of the first menu and its submenus, each followed by "|"
void collect(HMENU menu)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
        menuTexts += std::wstring(text) + L"|";
        if (HMENU sub = GetSubMenu(menu, i)) collect(sub);
    }
}
BOOL WINAPI scriptedChoice(HMENU menu, UINT, int x, int y, HWND, LPTPMPARAMS)
{
    if (menuTexts.empty()) collect((menuTexts = L"|", menu));
    watchedChecked = (GetMenuState(menu, watched, MF_BYCOMMAND) & MF_CHECKED) != 0;
    shownMenus.push_back({x, y, GetMenuItemID(menu, 0), (GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED) != 0});
    return shownMenus.size() > choices.size() ? 0 : choices[shownMenus.size() - 1];
}

RECT systemMenu;   // where the system's menu window was; empty: it was not found
// From a timer inside the menu's loop: notes where the menu window is and closes it with Esc.
void CALLBACK escapeMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    for (HWND menu = nullptr; (menu = FindWindowExW(nullptr, menu, L"#32768", nullptr));) {
        if (!IsWindowVisible(menu)) continue;
        KillTimer(nullptr, timer);
        GetWindowRect(menu, &systemMenu);
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    }
}

std::wstring listed()
{
    wchar_t value[MAX_PATH * 2] = {};
    DWORD bytes = sizeof value;
    const LSTATUS got = RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Tomel",
                                     RRF_RT_REG_SZ, nullptr, value, &bytes);
    // The value as it is stored, to its last character: the command and its terminator, nothing after.
    return got == ERROR_SUCCESS ? std::wstring(value, bytes / sizeof(wchar_t) - 1) : L"(none)";
}
void list(const std::wstring& command)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Tomel", REG_SZ,
                    command.c_str(), DWORD((command.size() + 1) * sizeof(wchar_t)));
}
}  // namespace

TEST(PopupMenu, TheSystemMenuOpensAtTheClickAndEscResumesTheSlideshow)
{
    TomelWindow w;
    App& app = w.app();
    std::tie(app.multiline, app.slide.countdown, app.slide.slideTime) = std::make_tuple(false, false, 150u);
    w.drop({writeBytes(L"menu.txt", "a\r\nb\r\nc\r\nd\r\n")});
    SetTimer(nullptr, 0, 20, escapeMenu);
    POINT click = {60, 40};
    ClientToScreen(w.window(), &click);
    PostMessageW(w.window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w.window()), MAKELPARAM(click.x, click.y));
    ASSERT_TRUE(w.pump(5000, [] { return !IsRectEmpty(&systemMenu); }));
    EXPECT_EQ(std::make_pair(systemMenu.left, systemMenu.top), std::make_pair(click.x, click.y));
    const std::uint32_t after = app.currentIndex;
    EXPECT_TRUE(w.pump(2000, [&] { return app.currentIndex != after; }));   // the slideshow goes on
}

// Where the menu opens: at a right click; for command 1101 and the keyboard's menu key, at the cursor
// when it is in the window and "...at cursor" is on, else two pixels into the client area; for the
// tray icon's right button, at the cursor (a left press on the icon hides or shows the window). It
// is in the language file's words, at every level. A pinned menu comes back after each choice until
// dismissed.
TEST(PopupMenu, OpensWhereAskedInTheLanguageFilesWordsAndAPinnedOneComesBack)
{
    // "Timers" is translated into a single character, as some languages write it.
    const std::wstring path = writeBytes(besideProgram(L"tomel.lang.ini"), utf16File(
        L"[Menu Items]\r\nPIN=Anheften\r\nE&xit\tEsc=&Beenden\tEsc\r\n[Level2 Menus]\r\nTimers=\u6642\r\n"
        L"[Level3 Menus]\r\nBlackbox\t(Alt Shell)=Schwarz\r\n"));
    TomelWindow w;
    DeleteFileW(path.c_str());
    RECT r = {};
    GetWindowRect(w.window(), &r);
    POINT corner = {2, 2};
    ClientToScreen(w.window(), &corner);
    const POINT inside = {(r.left + r.right) / 2, (r.top + r.bottom) / 2}, outside = {r.right + 20, r.bottom + 20};
    const auto send = [&](UINT message, WPARAM wParam, LPARAM lParam) { return [=, &w] { SendMessageW(w.window(), message, wParam, lParam); }; };
    const struct { const char* name; bool atCursor; POINT cursor; std::function<void()> open; std::optional<POINT> menu; bool visible = true; } cases[] = {
        {"a right click", true, inside, send(WM_CONTEXTMENU, 0, MAKELPARAM(123, 45)), POINT{123, 45}},
        {"a right click left of the screen", true, inside, send(WM_CONTEXTMENU, 0, MAKELPARAM(-300, 45)), POINT{-300, 45}},
        {"Menu", true, inside, send(WM_COMMAND, CMD_MENU, 0), inside},
        {"Menu, the cursor elsewhere", true, outside, send(WM_COMMAND, CMD_MENU, 0), corner},
        {"Menu, not at the cursor", false, inside, send(WM_COMMAND, CMD_MENU, 0), corner},
        {"the menu key", true, inside, send(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1)), inside},
        {"the tray icon's right button", false, outside, send(MSG_TRAY_NOTIFY, 0, WM_RBUTTONUP), outside},
        {"the tray icon's left button", true, inside, send(MSG_TRAY_NOTIFY, 0, WM_LBUTTONDOWN), std::nullopt, false},
        {"the pointer over the tray icon", true, inside, send(MSG_TRAY_NOTIFY, 0, WM_MOUSEMOVE), std::nullopt, false},
        {"the tray icon's left button again", true, inside, send(MSG_TRAY_NOTIFY, 0, WM_LBUTTONDOWN), std::nullopt},
    };
    platform.trackPopupMenu = scriptedChoice;
    menuTexts.clear();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.app().atCursor = c.atCursor;
        ASSERT_TRUE(w.cursorTo(c.cursor));
        shownMenus.clear();
        c.open();
        ASSERT_EQ(shownMenus.size(), c.menu ? 1u : 0u);
        if (c.menu) EXPECT_EQ(std::make_pair(shownMenus[0].x, shownMenus[0].y), std::make_pair(c.menu->x, c.menu->y));
        EXPECT_EQ(IsWindowVisible(w.window()) != FALSE, c.visible);
    }
    for (const wchar_t* t : {L"|Anheften|", L"|&Beenden\tEsc|", L"|\u6642|", L"|Schwarz|", L"|Navigate|"})
        EXPECT_NE(menuTexts.find(t), std::wstring::npos) << t;
    EXPECT_EQ(menuTexts.find(L"|Pin|"), std::wstring::npos);   // every Pin item, in every submenu
    // The main popup, where "Timers" is pinned; "Timers" alone with its Pin checked, where Countdown
    // is chosen; "Timers" again, dismissed, which unpins it; the next right click's main popup.
    const bool countdown = w.app().slide.countdown;
    choices = {CMD_PIN_TIMERS, CMD_COUNTDOWN, 0, 0};
    shownMenus.clear();
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(300, 200));
    w.pump(1000, [&] { return shownMenus.size() == 3; });
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(300, 200));
    platform.trackPopupMenu = Platform().trackPopupMenu;
    std::vector<std::pair<UINT, bool>> pins;
    for (const Shown& m : shownMenus) pins.emplace_back(m.first, m.pinned + 2 * (m.x != 300 || m.y != 200));   // all at the click
    EXPECT_EQ(pins, (std::vector<std::pair<UINT, bool>>{{CMD_PIN, false}, {CMD_PIN_TIMERS, true}, {CMD_PIN_TIMERS, true}, {CMD_PIN, false}}));
    EXPECT_NE(w.app().slide.countdown, countdown);
}

// Every flag of the settings table that has a menu item: the item is checked while the flag is set,
// and its command flips the flag.
TEST(PopupMenu, EveryFlagOfTheSettingsIsCheckedByItsItemAndFlippedByItsCommand)
{
    TomelWindow w;
    platform.trackPopupMenu = scriptedChoice;
    choices.clear();   // each menu dismissed
    for (const SettingRow& row : settingTable) {
        if (row.type != IniValueType::Bool || !row.command) continue;
        SCOPED_TRACE(testing::Message() << std::string(row.key, row.key + wcslen(row.key)).c_str());
        const bool& flag = *reinterpret_cast<const bool*>(reinterpret_cast<const char*>(
            static_cast<const Settings*>(&w.app())) + row.offset);
        for (const bool before : {flag, !flag}) {
            w.command(row.command);
            ASSERT_NE(flag, before);
            watched = row.command;
            watchedChecked = before;
            SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
            EXPECT_EQ(watchedChecked, flag);
        }
    }
    platform.trackPopupMenu = Platform().trackPopupMenu;
}

// Start With Windows lists the program, quoted, in the user's start-up list and takes it off again;
// the check mark shows what the list holds; a listing left behind by a moved folder follows it.
TEST(PopupMenu, StartWithWindowsListsTheProgramAndFollowsItsFolder)
{
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring self = L"\"" + std::wstring(exe) + L"\"", other = L"\"C:\\windows\\notepad.exe\"";
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Tomel");
    TomelWindow w;
    platform.trackPopupMenu = scriptedChoice;
    std::tie(watched, choices) = std::make_pair(CMD_START_WITH_WINDOWS, std::vector<UINT>{});
    const struct { const char* name; std::function<void()> act; std::wstring listed; } steps[] = {
        {"not listed", [] {}, L"(none)"},
        {"Start With Windows", [&] { w.command(CMD_START_WITH_WINDOWS); }, self},
        {"and off again", [&] { w.command(CMD_START_WITH_WINDOWS); }, L"(none)"},
        {"a moved folder", [] { list(L"\"C:\\gone\\tomel.exe\""), followMovedProgram(); }, self},
        {"another copy", [&] { list(other), followMovedProgram(); }, other},
        {"off: the other copy's listing goes", [&] { w.command(CMD_START_WITH_WINDOWS); }, L"(none)"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        s.act();
        watchedChecked = s.listed == L"(none)";   // the menu shows otherwise
        SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
        EXPECT_EQ(std::make_pair(listed(), watchedChecked), std::make_pair(s.listed, s.listed != L"(none)"));
    }
    platform.trackPopupMenu = Platform().trackPopupMenu;
}
