// The language file: what it writes, and how its lines change the five tables.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/app/commands.h"
#include "core/ui/language.h"

namespace {

std::string wideBytes(const std::wstring& text)
{
    std::string out("\xFF\xFE", 2);
    for (wchar_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return out;
}

void setText(TranslationRow& row, const std::wstring& text)
{
    std::wmemset(row.text, 0, TRANSLATION_TEXT_LENGTH);
    text.copy(row.text, TRANSLATION_TEXT_LENGTH - 1);
}

std::wstring textOf(const TranslationRow* rows, int count, std::int32_t id)
{
    for (int i = 0; i < count; ++i)
        if (rows[i].id == id) return rows[i].text;
    return L"?";
}

// The tables are the process's own: each test starts from captured captions of its own making
// (the nine Pin items read "Pin", every other item "Item <number>") and the built-in English.
class LanguageFile : public testing::Test {
protected:
    void SetUp() override
    {
        std::memcpy(savedDialogs, dialogTexts, sizeof dialogTexts);
        std::memcpy(savedMessages, messageTexts, sizeof messageTexts);
        for (TranslationRow& row : menuItemTexts)
            setText(row, row.id >= CMD_PIN ? L"Pin" : L"Item " + std::to_wstring(row.id));
        for (TranslationRow& row : level2MenuTexts) setText(row, L"Sub " + std::to_wstring(row.id));
        setText(level3MenuText[0], L"Blackbox\t(Alt Shell)");
    }
    void TearDown() override
    {
        std::memcpy(dialogTexts, savedDialogs, sizeof dialogTexts);
        std::memcpy(messageTexts, savedMessages, sizeof messageTexts);
    }
    static void read(const std::wstring& file)
    {
        IniReader reader = makeIniReader(wideBytes(file), true, nullptr);
        readLanguage(reader);
    }
    static int pinCount(const wchar_t* text)
    {
        int n = 0;
        for (const TranslationRow& row : menuItemTexts) n += std::wcscmp(row.text, text) == 0;
        return n;
    }
    TranslationRow savedDialogs[DIALOG_TEXT_COUNT];
    TranslationRow savedMessages[MESSAGE_TEXT_COUNT];
};

}  // namespace

TEST_F(LanguageFile, WrittenFileHasTheSixSectionsInOrder)
{
    IniWriter writer = makeIniWriter(true, nullptr);
    writeLanguage(writer, L"1.00");
    const std::string bytes = takeIniBytes(writer);
    std::wstring expected =
        L"[Language]\r\nTomel=1.00\r\nLanguage=English\r\nTranslator=\r\nContact=\r\n"
        L";=49 chars, name and menu key separated by a tab, key may be translated, not changed\r\n"
        L"\r\n[Menu Items]\r\n";
    for (const TranslationRow& row : menuItemTexts) expected += std::wstring(row.text) + L"=" + row.text + L"\r\n";
    expected += L"\r\n[Level2 Menus]\r\n";
    for (const TranslationRow& row : level2MenuTexts) expected += std::wstring(row.text) + L"=" + row.text + L"\r\n";
    expected += L"\r\n[Level3 Menus]\r\nBlackbox\t(Alt Shell)=Blackbox\t(Alt Shell)\r\n\r\n[Dialogs]\r\n";
    for (const TranslationRow& row : dialogTexts) expected += std::wstring(row.text) + L"=" + row.text + L"\r\n";
    expected += L"\r\n[Messages]\r\n";
    for (const TranslationRow& row : messageTexts) expected += std::wstring(row.text) + L"=" + row.text + L"\r\n";
    EXPECT_EQ(bytes, wideBytes(expected));
    EXPECT_EQ(std::wstring(dialogTexts[0].text), L"Slideshow Timer");   // the file starts from English

    // Read back, it changes nothing.
    IniReader reader = makeIniReader(bytes, true, nullptr);
    readLanguage(reader);
    IniWriter again = makeIniWriter(true, nullptr);
    writeLanguage(again, L"1.00");
    EXPECT_EQ(takeIniBytes(again), bytes);
}

TEST_F(LanguageFile, LinesTranslateEveryRowOfTheirOwnSection)
{
    const std::wstring sixty(60, L'x');
    static const wchar_t garbageText[] = L"\xD800\xFFFF\x0001[Dialogs\r\n\x0000\x0000=\r\n[Dialogs]\r\n\x0000Ok=K\r\n";
    const std::wstring garbage(garbageText, sizeof garbageText / sizeof(wchar_t) - 1);
    struct Case {
        const wchar_t* name;
        std::wstring file;
        const TranslationRow* rows;
        int count;
        std::int32_t id;
        std::wstring expected;
    } cases[] = {
        {L"case-blind", L"[Menu Items]\r\nITEM 1001=Diashow\r\n", menuItemTexts, 59, CMD_SLIDESHOW, L"Diashow"},
        {L"chained", L"[Menu Items]\r\nItem 1003=Zufall\r\nzufall=Hasard\r\n", menuItemTexts, 59, CMD_RANDOM,
         L"Hasard"},
        {L"English after a change", L"[Menu Items]\r\nItem 1004=Ton\r\nItem 1004=Son\r\n", menuItemTexts, 59,
         CMD_PLAY_SOUND, L"Ton"},
        {L"tab kept", L"[Level3 Menus]\r\nBlackbox\t(Alt Shell)=Schwarz\t(Alt)\r\n", level3MenuText, 1, 7,
         L"Schwarz\t(Alt)"},
        {L"level 2", L"[Level2 Menus]\r\nSub 18=Andocken\r\n", level2MenuTexts, 7, 18, L"Andocken"},
        {L"60 characters", L"[Dialogs]\r\nOk=" + sixty + L"\r\n", dialogTexts, 12, 3, sixty.substr(0, 49)},
        {L"message", L"[Messages]\r\nNo input file=Keine Datei\r\n", messageTexts, 5, 2, L"Keine Datei"},
        {L"empty translation", L"[Dialogs]\r\nOk=\r\nOk\r\n", dialogTexts, 12, 3, L"Ok"},
        {L"wrong section", L"[Dialogs]\r\nNo input file=Keine Datei\r\n", messageTexts, 5, 2, L"No input file"},
        {L"unknown section", L"[Menus]\r\nItem 1001=Diashow\r\n", menuItemTexts, 59, CMD_SLIDESHOW, L"Item 1001"},
        {L"no header line end", L"[Messages]", messageTexts, 5, 1, L"No data"},
        {L"long line", L"[Messages]\r\n" + std::wstring(254, L'y') + L"No data=Leer\r\n", messageTexts, 5, 1,
         L"Leer"},
        {L"garbage", garbage, dialogTexts, 12, 3, L"Ok"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + std::wcslen(c.name)));
        SetUp();
        read(c.file);
        EXPECT_EQ(textOf(c.rows, c.count, c.id), c.expected);
        TearDown();
    }
}

TEST_F(LanguageFile, OneLineTranslatesAllNinePinItems)
{
    read(L"[Dialogs]\r\nPin=Anheften\r\n");
    EXPECT_EQ(pinCount(L"Pin"), 9);
    read(L"[Menu Items]\r\nPIN=Epingler\r\n");
    EXPECT_EQ(pinCount(L"Epingler"), 9);
    EXPECT_EQ(textOf(menuItemTexts, 59, CMD_EXIT), L"Item 1105");
}
