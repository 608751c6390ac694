// The language file: a translation read at start-up reaches the menu, the dialogs and the
// messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/ui/language.h"
#include "harness.h"
#include "res/resource.h"
#include "shell/ui/dialogs_win.h"
#include "shell/ui/popup_menu_win.h"

namespace {
std::vector<std::wstring> menuTexts;
void collect(HMENU menu)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
        if (text[0]) menuTexts.push_back(text);
        if (HMENU sub = GetSubMenu(menu, i)) collect(sub);
    }
}
}  // namespace

TEST(Language, TranslationReachesMenuDialogsAndMessages)
{
    TranslationRow dialogs[DIALOG_TEXT_COUNT], messages[MESSAGE_TEXT_COUNT];
    std::memcpy(dialogs, dialogTexts, sizeof dialogs);
    std::memcpy(messages, messageTexts, sizeof messages);
    const std::wstring path = writeBytes(besideProgram(L"tomel.lang.ini"), utf16File(
        L"[Language]\r\nLanguage=Deutsch\r\n[Menu Items]\r\nPIN=Anheften\r\nE&xit\tEsc=&Beenden\tEsc\r\n"
        L"[Level2 Menus]\r\nTimers=Zeiten\r\n[Level3 Menus]\r\nBlackbox\t(Alt Shell)=Schwarz\r\n[Dialogs]\r\n"
        L"Slideshow Timer=Diaschau\r\nPin=Falsch\r\n[Messages]\r\nUTF-8 unsupported=Kein UTF-8\r\n"));
    {
        TomelWindow w;
        menuTexts.clear();
        menuTracker = [](HMENU menu, int, int) -> UINT {
            collect(menu);
            return 0;
        };
        SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
        menuTracker = nullptr;
        EXPECT_EQ(std::count(menuTexts.begin(), menuTexts.end(), L"Anheften"), 9);
        for (const wchar_t* t : {L"&Beenden\tEsc", L"Zeiten", L"Schwarz", L"Navigate"}) {
            SCOPED_TRACE(narrow(t));
            EXPECT_NE(std::find(menuTexts.begin(), menuTexts.end(), t), menuTexts.end());
        }
        DialogValue value{0, 5000};
        HWND timer = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TIMER), w.window(),
                                        TimerDialog, reinterpret_cast<LPARAM>(&value));
        wchar_t caption[64] = {};
        GetWindowTextW(timer, caption, 64);
        DestroyWindow(timer);
        EXPECT_STREQ(caption, L"Diaschau");
        w.open(writeBytes(L"u8.txt", "\xEF\xBB\xBFhello"));
        ASSERT_EQ(shownMessages.size(), 1u);
        EXPECT_EQ(shownMessages[0].text, L"Kein UTF-8");
    }
    DeleteFileW(path.c_str());
    std::memcpy(dialogTexts, dialogs, sizeof dialogs);
    std::memcpy(messageTexts, messages, sizeof messages);
}
