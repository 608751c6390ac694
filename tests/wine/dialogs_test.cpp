// The dialogs from their templates: what the fields add up to, a number the setting cannot keep
// refused where it was typed, and the texts they and the messages show.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "harness.h"
#include "res/resource.h"
#include "shell/ui/dialogs_win.h"
#include "shell/ui/language_win.h"

TEST(Dialogs, TheTimerAndNumberDialogsReadTheirFieldsAndCancelKeepsTheValue)
{
    TomelWindow w;
    const struct {
        int id;
        const wchar_t* fields[4];   // hours, minutes, seconds, milliseconds; or the number
        UINT button;
        std::uint32_t expected;
        bool refused = false;   // the dialog stays open, the value as it was
    } cases[] = {
        {IDD_TIMER, {L"1", L"2", L"3", L"4"}, IDOK, 3723004},
        {IDD_TIMER, {L"x", L"99999999999", L"1", L""}, IDOK, 1000},   // unreadable fields are 0
        {IDD_TIMER, {L"9", L"9", L"9", L"9"}, IDCANCEL, 777},
        {IDD_TIMER, {L"255", L"59", L"59", L"999"}, IDOK, 921599999},   // the longest the status can show
        {IDD_TIMER, {L"255", L"59", L"59", L"1000"}, IDOK, 777, true},
        {IDD_TIMER, {L"1194", L"0", L"0", L"0"}, IDOK, 777, true},      // 2^32 ms and more does not wrap
        {IDD_NUMBER, {L"12"}, IDOK, 12},
        {IDD_NUMBER, {L"32767"}, IDOK, 32767},
        {IDD_NUMBER, {L"70000"}, IDOK, 777, true},                      // more than the settings file keeps
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        DialogValue value{c.id == IDD_TIMER ? 0 : 6, 777};
        HWND d = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.id), w.window(),
                                    c.id == IDD_TIMER ? TimerDialog : NumberDialog, reinterpret_cast<LPARAM>(&value));
        ASSERT_TRUE(d);
        for (int i = 0; i < 4 && c.fields[i]; ++i) SetDlgItemTextW(d, c.id == IDD_TIMER ? 311 + i : 302, c.fields[i]);
        SendMessageW(d, WM_COMMAND, c.button, 0);
        EXPECT_EQ(value.value, c.expected);
        EXPECT_EQ(IsWindowVisible(d) != FALSE, c.refused);
        DestroyWindow(d);
    }
}

namespace {
// What a dialog shows as it opens for `value`: its caption and the text of each control, each followed by "|".
std::wstring opened(HWND owner, int id, DLGPROC procedure, DialogValue* value)
{
    HWND d = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), owner, procedure,
                                reinterpret_cast<LPARAM>(value));
    std::wstring shown = textOf(d) + L"|";
    for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) shown += textOf(c) + L"|";
    DestroyWindow(d);
    return shown;
}
std::vector<std::wstring> pagesOpened;
}  // namespace

// The dialogs' captions, labels and buttons and the program's messages come from the language file's
// [Dialogs] and [Messages]; the timer and number dialogs open with the value they edit. Enter in the
// About box opens the home page and leaves the box open; Esc closes it.
TEST(Dialogs, TheirTextsAndTheMessagesAreTheLanguageFilesAndTheFieldsTheirValue)
{
    const std::pair<std::wstring, std::wstring> dialogs[] = {
        {L"Slideshow Timer", L"D0"}, {L"Hide (Popup) Timer", L"D1"}, {L"hh:mm:ss:ms", L"D2"}, {L"Ok", L"D3"},
        {L"Raise Caption", L"D4"}, {L"(Default: 4)", L"D5"}, {L"Lengthen Window", L"D6"}, {L"(Default: 2)", L"D7"},
        {L":: Freeware ::", L"D8"}, {L"All donations appreciated", L"D9"}, {L"Language: original English", L"D10"},
        {L"Visit Palvik :: Donate", L"D11"}}, messages[] = {
        {L"Save Tomel Settings", L"M0"}, {L"No data", L"M1"}, {L"No input file", L"M2"},
        {L"Unicode big endian unsupported", L"M3"}, {L"UTF-8 unsupported", L"M4"},
        {L"Settings could not be saved", L"M5"}, {L"Not a Tomel settings file, use Save As...", L"M6"}};
    const auto languageFile = [&](bool back) {
        std::wstring text = L"[Dialogs]\r\n";
        for (const auto& [english, translated] : dialogs) text += (back ? translated + L"=" + english : english + L"=" + translated) + L"\r\n";
        text += L"[Messages]\r\n";
        for (const auto& [english, translated] : messages) text += (back ? translated + L"=" + english : english + L"=" + translated) + L"\r\n";
        return writeBytes(besideProgram(L"tomel.lang.ini"), utf16File(text));
    };
    languageFile(false);
    TomelWindow w;
    DialogValue period{0, 3723004}, hide{1, 5000}, raise{4, 9}, lengthen{6, 70};
    const std::wstring dir = testDirectory() + L"\\", other = writeBytes(L"other.ini", "[Other]\r\n");
    const auto shownAfter = [&](std::function<void()> act) {
        shownMessages.clear();
        act();
        std::wstring shown = w.text() + L"|";
        for (const std::wstring& m : shownMessages) shown += m + L"|";
        return shown;
    };
    const auto save = [&](const std::wstring& path) {
        return [&, path] { copyToBuffer(w.app().settingsPath, PATH_BUFFER, path); w.command(CMD_SAVE_NOW); };
    };
    static std::wstring saveAsTitle;
    const struct {
        const char* name;
        std::function<std::wstring()> shown;
        std::wstring expected;
    } cases[] = {
        {"the slide timer", [&] { return opened(w.window(), IDD_TIMER, TimerDialog, &period); }, L"D0|1|2|3|4|D2|D3|"},
        {"the hide timer", [&] { return opened(w.window(), IDD_TIMER, TimerDialog, &hide); }, L"D1|0|0|5|0|D2|D3|"},
        {"Raise Caption", [&] { return opened(w.window(), IDD_NUMBER, NumberDialog, &raise); }, L"D4|9|D5|D3|"},
        {"Lengthen Window", [&] { return opened(w.window(), IDD_NUMBER, NumberDialog, &lengthen); }, L"D6|70|D7|D3|"},
        {"About", [&] { return opened(w.window(), IDD_ABOUT, AboutDialog, nullptr); },
         L"Palvik Tomel|Tomel 1.00.01 (" + std::to_wstring(TOMEL_BITS) + L"-bit)|Written by Palvik, 2026|D8|D9|D10|D11|"},
        {"no entries", [&] { return shownAfter([&] { w.drop({writeBytes(L"empty.txt", "")}); }); }, L"M1|"},
        {"no file", [&] { return shownAfter([&] { w.drop({dir + L"missing.txt"}); }); }, L"M2|"},
        {"big endian", [&] { return shownAfter([&] { w.drop({writeBytes(L"be.txt", std::string("\xFE\xFF\0A", 4))}); }); }, L"M2|M3|"},
        {"UTF-8", [&] { return shownAfter([&] { w.drop({writeBytes(L"u8.txt", "\xEF\xBB\xBFx")}); }); }, L"M2|M4|"},
        {"a save that failed", [&] { return shownAfter(save(dir + L"no folder\\x.ini")); },
         L"M2|M5\n" + dir + L"no folder\\x.ini|"},
        {"another program's file", [&] { return shownAfter(save(other)); }, L"M2|M6\n" + other + L"|"},
        {"Save As", [&] {
             answerNextDialog([](HWND d) { saveAsTitle = textOf(d), PostMessageW(d, WM_COMMAND, IDCANCEL, 0); });
             w.command(CMD_SAVE_AS);
             return saveAsTitle; }, L"M0"},
    };
    DeleteFileW(besideProgram(L"tomel.lang.ini").c_str());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.shown(), c.expected);
    }
    // The About box: Enter opens the page and the box stays; Esc closes it.
    pageOpener = [](const wchar_t* url) { pagesOpened.push_back(url); };
    HWND about = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), w.window(), AboutDialog, 0);
    for (const auto& [key, pages, open] : {std::tuple{IDOK, std::size_t(1), true}, {IDOK, std::size_t(2), true}, {IDCANCEL, std::size_t(2), false}}) {
        SendMessageW(about, WM_COMMAND, key, 0);
        EXPECT_EQ(std::make_pair(pagesOpened.size(), IsWindowVisible(about) != FALSE), std::make_pair(pages, open));
    }
    EXPECT_EQ(pagesOpened.back(), homePageUrl);
    DestroyWindow(about);
    pageOpener = nullptr;
    // English again for the tests that follow in this process.
    readLanguageFile(languageFile(true).c_str(), IniOpenMode::Read);
    DeleteFileW(besideProgram(L"tomel.lang.ini").c_str());
}
