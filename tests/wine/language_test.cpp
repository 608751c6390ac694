// The language file in the real program: a translation read at start-up reaches the menu, the
// dialogs and the messages; "-translate"'s writing keeps the old file and its backup when it fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/app/commands.h"
#include "core/ui/language.h"
#include "harness.h"
#include "res/resource.h"
#include "shell/ui/dialogs_win.h"
#include "shell/ui/language_win.h"
#include "shell/ui/popup_menu_win.h"

namespace {

std::wstring besideProgram(const wchar_t* name)
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module);
    path.resize(path.rfind(L'\\') + 1);
    return path + name;
}

std::string fileBytes(const std::wstring& path)
{
    std::string bytes;
    if (FILE* f = _wfopen(path.c_str(), L"rb")) {
        char block[4096];
        std::size_t n;
        while ((n = std::fread(block, 1, sizeof block, f)) > 0) bytes.append(block, n);
        std::fclose(f);
    }
    return bytes;
}

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
UINT collectAndDismiss(HMENU menu, int, int)
{
    collect(menu);
    return 0;
}

}  // namespace

// A language file beside the test program for one test; afterwards the file is gone and the
// process's tables are English again, whatever the test did.
struct LanguageFileBeside {
    explicit LanguageFileBeside(const std::wstring& text) : path(besideProgram(L"tomel.lang.ini"))
    {
        std::memcpy(dialogs, dialogTexts, sizeof dialogs);
        std::memcpy(messages, messageTexts, sizeof messages);
        writeBytes(path, utf16File(text));
    }
    ~LanguageFileBeside()
    {
        DeleteFileW(path.c_str());
        std::memcpy(dialogTexts, dialogs, sizeof dialogs);
        std::memcpy(messageTexts, messages, sizeof messages);
    }
    std::wstring path;
    TranslationRow dialogs[DIALOG_TEXT_COUNT], messages[MESSAGE_TEXT_COUNT];
};

TEST(Language, TranslationReachesMenuDialogsAndMessages)
{
    LanguageFileBeside language(L"[Language]\r\nLanguage=Deutsch\r\n[Menu Items]\r\nPIN=Anheften\r\n"
                                L"E&xit\tEsc=&Beenden\tEsc\r\n[Level2 Menus]\r\nTimers=Zeiten\r\n"
                                L"[Level3 Menus]\r\nBlackbox\t(Alt Shell)=Schwarz\r\n[Dialogs]\r\n"
                                L"Slideshow Timer=Diaschau\r\nPin=Falsch\r\n"
                                L"[Messages]\r\nUTF-8 unsupported=Kein UTF-8\r\n");
    TomelWindow w;
    menuTexts.clear();
    menuTracker = collectAndDismiss;
    SendMessageW(w.window(), WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
    menuTracker = nullptr;
    int pins = 0;
    for (const std::wstring& t : menuTexts) pins += t == L"Anheften";
    EXPECT_EQ(pins, 9);
    for (const wchar_t* t : {L"&Beenden\tEsc", L"Zeiten", L"Schwarz", L"Navigate"}) {
        SCOPED_TRACE(narrow(t));
        EXPECT_NE(std::find(menuTexts.begin(), menuTexts.end(), t), menuTexts.end());
    }
    DialogValue value{0, 5000};
    HWND timer = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TIMER), w.window(), TimerDialog,
                                    reinterpret_cast<LPARAM>(&value));
    wchar_t caption[64] = {};
    GetWindowTextW(timer, caption, 64);
    DestroyWindow(timer);
    EXPECT_STREQ(caption, L"Diaschau");
    w.open(writeBytes(L"u8.txt", "\xEF\xBB\xBFhello"));
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_EQ(shownMessages[0].text, L"Kein UTF-8");
}

TEST(Language, WritingKeepsTheOldFileAsBackupOrEverythingAsItWas)
{
    TomelWindow w;   // the English menu captured
    const std::wstring path = testDirectory() + L"\\tomel.lang.ini";
    const std::wstring backup = path + L".bak";
    // No file yet: no backup, a fresh English file.
    ASSERT_TRUE(writeLanguageFile(path.c_str()));
    const std::string english = fileBytes(path);
    const std::string head = utf16File(L"[Language]\r\nTomel=1.00\r\n");
    EXPECT_EQ(english.substr(0, head.size()), head);
    EXPECT_NE(english.find(utf16File(L"\r\nE&xit\tEsc=E&xit\tEsc\r\n").substr(2)), std::string::npos);
    EXPECT_EQ(GetFileAttributesW(backup.c_str()), INVALID_FILE_ATTRIBUTES);
    // A translated file becomes the backup.
    writeBytes(path, "translated");
    ASSERT_TRUE(writeLanguageFile(path.c_str()));
    EXPECT_EQ(fileBytes(backup), "translated");
    EXPECT_EQ(fileBytes(path), english);
    // A file that cannot be replaced (here a folder of that name): nothing changes, not even the backup.
    const std::wstring folder = testDirectory() + L"\\locked.lang.ini";
    CreateDirectoryW(folder.c_str(), nullptr);
    writeBytes(folder + L".bak", "older backup");
    EXPECT_FALSE(writeLanguageFile(folder.c_str()));
    EXPECT_EQ(fileBytes(folder + L".bak"), "older backup");
    EXPECT_TRUE(GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesW((folder + L".new").c_str()), INVALID_FILE_ATTRIBUTES);
}
