// The popup menu in the real window, with the test in the user's place: pinned menus shown again,
// and the menu in the language file's words.
#include <gtest/gtest.h>

#include "core/app/commands.h"
#include "harness.h"
#include "shell/ui/popup_menu_win.h"

namespace {
// Each menu shown: the id of its first item, the Pin that tells which menu it is, and whether that
// is checked. The choices made in it, in order; 0 dismisses.
std::vector<std::pair<UINT, bool>> shownMenus;
std::vector<UINT> choices;
UINT scriptedChoice(HMENU menu, int, int)
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
}  // namespace

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
    menuTracker = scriptedChoice;
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(300, 200));
    w.pump(1000, [&] { return shownMenus.size() == 3; });
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(300, 200));
    menuTracker = nullptr;
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
    menuTracker = [](HMENU menu, int, int) -> UINT { return collect(menu), 0; };
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
    menuTracker = nullptr;
    for (const wchar_t* t : {L"|Anheften|", L"|&Beenden\tEsc|", L"|Zeiten|", L"|Schwarz|", L"|Navigate|"}) {
        EXPECT_NE(menuTexts.find(t), std::wstring::npos) << t;
    }
    EXPECT_EQ(menuTexts.find(L"|Pin|"), std::wstring::npos);   // every Pin item, in every submenu
}
