// The popup menu in the real window: the system's own menu at a right click, and with the test in the
// user's place, pinned menus shown again and the menu in the language file's words.
#include <gtest/gtest.h>

#include "core/app/commands.h"
#include "harness.h"
#include "shell/app/platform_win.h"

namespace {
// Each menu shown: the id of its first item, the Pin that tells which menu it is, and whether that
// is checked. The choices made in it, in order; 0 dismisses.
std::vector<std::pair<UINT, bool>> shownMenus;
std::vector<UINT> choices;
BOOL WINAPI scriptedChoice(HMENU menu, UINT, int, int, HWND, LPTPMPARAMS)
{
    shownMenus.emplace_back(GetMenuItemID(menu, 0), (GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED) != 0);
    return shownMenus.size() > choices.size() ? 0 : choices[shownMenus.size() - 1];
}

// Every item of a menu and its submenus, each followed by "|".
std::wstring menuTexts;
void collect(HMENU menu)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
        menuTexts += std::wstring(text) + L"|";
        if (HMENU sub = GetSubMenu(menu, i)) collect(sub);
    }
}
BOOL WINAPI collectAndDismiss(HMENU menu, UINT, int, int, HWND, LPTPMPARAMS)
{
    collect(menu);
    return 0;
}
struct MenuWatch {
    RECT rect = {};
    bool found = false;
};

BOOL CALLBACK findMenuWindow(HWND w, LPARAM found)
{
    wchar_t name[16] = {};
    GetClassNameW(w, name, 16);
    if (wcscmp(name, L"#32768") != 0 || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
}

// From another thread: waits for the system's menu window, notes where it is and closes it with Esc.
DWORD WINAPI escapeMenu(void* p)
{
    auto* watch = static_cast<MenuWatch*>(p);
    for (int i = 0; i < 200; ++i, Sleep(20)) {
        HWND menu = nullptr;
        EnumWindows(findMenuWindow, reinterpret_cast<LPARAM>(&menu));
        if (!menu) continue;
        watch->found = true;
        GetWindowRect(menu, &watch->rect);
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        return 0;
    }
    return 1;
}
}  // namespace

TEST(PopupMenu, TheSystemMenuOpensAtTheClickAndEscResumesTheSlideshow)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    app.slide.countdown = false;
    app.slide.slideTime = 150;
    w.drop({writeBytes(L"menu.txt", "a\r\nb\r\nc\r\nd\r\n")});
    MenuWatch watch;
    HANDLE thread = CreateThread(nullptr, 0, escapeMenu, &watch, 0, nullptr);
    POINT click = {60, 40};
    ClientToScreen(w.window(), &click);
    PostMessageW(w.window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w.window()), MAKELPARAM(click.x, click.y));
    w.pump(5000, [&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; });
    CloseHandle(thread);
    ASSERT_TRUE(watch.found);
    EXPECT_EQ(watch.rect.left, click.x);
    EXPECT_EQ(watch.rect.top, click.y);
    const std::uint32_t after = app.currentIndex;
    EXPECT_TRUE(w.pump(2000, [&] { return app.currentIndex != after; }));   // the slideshow goes on
}

TEST(PopupMenu, APinnedMenuComesBackAfterEachChoiceUntilDismissed)
{
    TomelWindow w;
    const bool countdown = w.app().slide.countdown;
    // The main popup, where "Timers" is pinned; "Timers" alone with its Pin checked, where Countdown
    // is chosen; "Timers" again, dismissed, which unpins it; the next right click's main popup.
    choices = {CMD_PIN_TIMERS, CMD_COUNTDOWN, 0, 0};
    const std::vector<std::pair<UINT, bool>> expected = {
        {CMD_PIN, false}, {CMD_PIN_TIMERS, true}, {CMD_PIN_TIMERS, true}, {CMD_PIN, false}};
    shownMenus.clear();
    platform.trackPopupMenu = scriptedChoice;
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(300, 200));
    w.pump(1000, [&] { return shownMenus.size() == 3; });
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(300, 200));
    platform.trackPopupMenu = Platform().trackPopupMenu;
    EXPECT_EQ(shownMenus, expected);
    EXPECT_NE(w.app().slide.countdown, countdown);
}

TEST(PopupMenu, TheLanguageFileTranslatesItemsAndSubmenusAtEveryLevel)
{
    const std::wstring path = writeBytes(besideProgram(L"tomel.lang.ini"), utf16File(
        L"[Menu Items]\r\nPIN=Anheften\r\nE&xit\tEsc=&Beenden\tEsc\r\n[Level2 Menus]\r\nTimers=Zeiten\r\n"
        L"[Level3 Menus]\r\nBlackbox\t(Alt Shell)=Schwarz\r\n"));
    TomelWindow w;
    DeleteFileW(path.c_str());
    menuTexts = L"|";
    platform.trackPopupMenu = collectAndDismiss;
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
    platform.trackPopupMenu = Platform().trackPopupMenu;
    for (const wchar_t* t : {L"|Anheften|", L"|&Beenden\tEsc|", L"|Zeiten|", L"|Schwarz|", L"|Navigate|"}) {
        EXPECT_NE(menuTexts.find(t), std::wstring::npos) << t;
    }
    EXPECT_EQ(menuTexts.find(L"|Pin|"), std::wstring::npos);   // every Pin item, in every submenu
}

// Every flag of the settings table that has a menu item: the item is checked while the flag is set,
// and its command flips the flag.
TEST(PopupMenu, EveryFlagOfTheSettingsIsCheckedByItsItemAndFlippedByItsCommand)
{
    TomelWindow w;
    static unsigned item;
    static bool checked;
    struct Tracker {
        static BOOL WINAPI noteCheck(HMENU menu, UINT, int, int, HWND, LPTPMPARAMS)
        {
            checked = (GetMenuState(menu, item, MF_BYCOMMAND) & MF_CHECKED) != 0;
            return 0;
        }
    };
    platform.trackPopupMenu = Tracker::noteCheck;
    for (const SettingRow& row : settingTable) {
        if (row.type != IniValueType::Bool || !row.command) continue;
        SCOPED_TRACE(testing::Message() << std::string(row.key, row.key + wcslen(row.key)).c_str());
        const bool& flag = *reinterpret_cast<const bool*>(reinterpret_cast<const char*>(
            static_cast<const Settings*>(&w.app())) + row.offset);
        for (const bool before : {flag, !flag}) {
            w.command(row.command);
            ASSERT_NE(flag, before);
            item = row.command;
            checked = before;
            SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
            EXPECT_EQ(checked, flag);
        }
    }
    platform.trackPopupMenu = Platform().trackPopupMenu;
}
