// The dialogs from their templates as they open and close, and the texts they and the messages show.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "core/ui/texts.h"
#include "harness.h"
#include "res/resource.h"
#include "shell/app/platform_win.h"
#include "shell/ui/dialogs_win.h"

namespace {
std::vector<std::wstring> pagesOpened;
HINSTANCE WINAPI openPage(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT)
{
    pagesOpened.push_back(file);
    return HINSTANCE(33);   // more than 32: opened
}
std::wstring saveAsTitle;
}  // namespace

// The dialogs open with their texts from the language file's [Dialogs], and the timer and number
// dialogs with the value they edit; the fields add up to the value, a number the setting cannot keep
// is refused where it was typed (the dialog stays), Esc keeps the value. Enter in the About box opens
// the home page and leaves the box open. The program's messages come from [Messages].
TEST(Dialogs, OpenInTheLanguageFilesWordsAndKeepWhatIsTyped)
{
    // Each text of [Dialogs] and [Messages] translated to its row's letter and number ("D0", "M3").
    const std::vector<TranslationRow> englishDialogs(std::begin(dialogTexts), std::end(dialogTexts)),
        englishMessages(std::begin(messageTexts), std::end(messageTexts));
    std::wstring file;
    for (const auto& [section, rows, letter] :
         {std::tuple{L"[Dialogs]", &englishDialogs, L"=D"}, {L"[Messages]", &englishMessages, L"=M"}}) {
        file += section + std::wstring(L"\r\n");
        for (const TranslationRow& row : *rows) file += row.text + (letter + std::to_wstring(row.id)) + L"\r\n";
    }
    writeBytes(besideProgram(L"tomel.lang.ini"), utf16File(file));
    TomelWindow w;
    DeleteFileW(besideProgram(L"tomel.lang.ini").c_str());
    // empty `shown`: not looked at; `refused`: the dialog stays open, the value as it was.
    const struct { int id; std::int32_t kind; std::uint32_t value; std::wstring shown; std::vector<const wchar_t*> typed; UINT button;
                   std::uint32_t kept; bool refused = false; } cases[] = {
        {IDD_TIMER, KIND_SLIDE_TIME, 3723004, L"D0|1|2|3|4|D2|D3|", {}, IDOK, 3723004},
        {IDD_TIMER, KIND_HIDE_TIME, 5000, L"D1|0|0|5|0|D2|D3|", {L"x", L"99999999999", L"1", L""}, IDOK, 1000},   // unreadable fields are 0
        {IDD_TIMER, KIND_SLIDE_TIME, 777, L"", {L"9", L"9", L"9", L"9"}, IDCANCEL, 777},
        {IDD_TIMER, KIND_SLIDE_TIME, 777, L"", {L"255", L"59", L"59", L"999"}, IDOK, 921599999},   // the longest the status can show
        {IDD_TIMER, KIND_SLIDE_TIME, 777, L"", {L"255", L"59", L"59", L"1000"}, IDOK, 777, true},
        {IDD_TIMER, KIND_SLIDE_TIME, 777, L"", {L"1194", L"0", L"0", L"0"}, IDOK, 777, true},      // 2^32 ms and more does not wrap
        {IDD_NUMBER, KIND_RAISE_CAPTION, 9, L"D4|9|D5|D3|", {L"12"}, IDOK, 12},
        {IDD_NUMBER, KIND_LENGTHEN_WINDOW, 70, L"D6|70|D7|D3|", {L"32767"}, IDOK, 32767},
        {IDD_NUMBER, KIND_LENGTHEN_WINDOW, 777, L"", {L"70000"}, IDOK, 777, true},                      // more than the settings file keeps
        {IDD_ABOUT, 0, 0, L"Palvik Tomel|Tomel 1.00.01 (" + std::to_wstring(TOMEL_BITS) + L"-bit)|Written by Palvik, 2026|D8|D9|D10|D11|",
         {}, IDCANCEL, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        DialogValue value{c.kind, c.value};
        HWND d = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.id), w.window(),
                                    c.id == IDD_TIMER ? TimerDialog : c.id == IDD_NUMBER ? NumberDialog : AboutDialog, LPARAM(&value));
        ASSERT_TRUE(d);
        std::wstring shown = textOf(d) + L"|";
        for (HWND control = GetWindow(d, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) shown += textOf(control) + L"|";
        if (!c.shown.empty()) EXPECT_EQ(shown, c.shown);
        for (std::size_t i = 0; i < c.typed.size(); ++i) SetDlgItemTextW(d, c.id == IDD_TIMER ? IDC_HOURS + int(i) : IDC_NUMBER, c.typed[i]);
        SendMessageW(d, WM_COMMAND, c.button, 0);
        EXPECT_EQ(std::make_pair(value.value, IsWindowVisible(d) != FALSE), std::make_pair(c.kept, c.refused));
        DestroyWindow(d);
    }
    platform.shellExecute = openPage;
    HWND about = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), w.window(), AboutDialog, 0);
    for (const auto& [key, pages, open] : {std::tuple{IDOK, std::size_t(1), true}, {IDOK, std::size_t(2), true}, {IDCANCEL, std::size_t(2), false}})
        EXPECT_EQ((SendMessageW(about, WM_COMMAND, key, 0), std::make_pair(pagesOpened.size(), IsWindowVisible(about) != FALSE)),
                  std::make_pair(pages, open));
    EXPECT_EQ(pagesOpened.back(), homePageUrl);
    DestroyWindow(about);
    platform.shellExecute = Platform().shellExecute;
    // The messages: in the text control, then in each message box, "|" after each.
    const std::wstring dir = testDirectory() + L"\\", other = writeBytes(L"other.ini", "[Other]\r\n");
    const auto drop = [&](const std::wstring& path) { return [&, path] { w.drop({path}); }; };
    const auto save = [&](const std::wstring& path) {
        return [&, path] { copyToBuffer(w.app().settingsPath, PATH_BUFFER, path), w.command(CMD_SAVE_NOW); };
    };
    const struct { const char* name; std::function<void()> act; std::wstring shown; } messages[] = {
        {"no entries", drop(writeBytes(L"empty.txt", "")), L"M1|"},
        {"no file", drop(dir + L"missing.txt"), L"M2|"},
        {"big endian", drop(writeBytes(L"be.txt", std::string("\xFE\xFF\0A", 4))), L"M2|M3|"},
        {"UTF-8", drop(writeBytes(L"u8.txt", "\xEF\xBB\xBFx")), L"M2|M4|"},
        {"a save that failed", save(dir + L"no folder\\x.ini"), L"M2|M5\n" + dir + L"no folder\\x.ini|"},
        {"another program's file", save(other), L"M2|M6\n" + other + L"|"},
        {"the title of Save As", [&] {
             answerNextDialog([](HWND d) { saveAsTitle = textOf(d), PostMessageW(d, WM_COMMAND, IDCANCEL, 0); });
             w.command(CMD_SAVE_AS);
             EXPECT_EQ(readFile(other), "[Other]\r\n");   // cancelled: nothing saved
             shownMessages.push_back(saveAsTitle); }, L"M2|M0|"},
    };
    for (const auto& m : messages) {
        shownMessages.clear();
        m.act();
        std::wstring shown = w.text() + L"|";
        for (const std::wstring& text : shownMessages) shown += text + L"|";
        EXPECT_EQ(shown, m.shown) << m.name;
    }
    // English again for the tests that follow in this process.
    std::copy(englishDialogs.begin(), englishDialogs.end(), dialogTexts);
    std::copy(englishMessages.begin(), englishMessages.end(), messageTexts);
}
