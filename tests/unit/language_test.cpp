// The language file: what it writes, and how its lines change the five tables.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>

#include "core/app/commands.h"
#include "core/ui/language.h"

namespace {

std::string wideBytes(const std::wstring& text)
{
    std::string out("\xFF\xFE", 2);
    for (wchar_t c : text) out += {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF)};
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

// The tables are the process's own: each case starts from captured captions of its own making
// (the nine Pin items read "Pin", every other item "Item <number>") and the built-in English.
class LanguageFile : public testing::Test {
protected:
    void SetUp() override
    {
        std::memcpy(savedDialogs, dialogTexts, sizeof dialogTexts);
        std::memcpy(savedMessages, messageTexts, sizeof messageTexts);
        for (TranslationRow& row : menuItemTexts) setText(row, row.id >= CMD_PIN ? L"Pin" : L"Item " + std::to_wstring(row.id));
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
    static std::string written(const wchar_t* version)
    {
        IniWriter writer = makeIniWriter(true, nullptr);
        writeLanguage(writer, version);
        return takeIniBytes(writer);
    }
    TranslationRow savedDialogs[DIALOG_TEXT_COUNT];
    TranslationRow savedMessages[MESSAGE_TEXT_COUNT];
};

TEST_F(LanguageFile, WrittenFileHoldsEveryRowAsItselfAndReadsBackUnchanged)
{
    const std::string bytes = written(L"1.00");
    const std::wstring header = L"[Language]\r\nTomel=1.00\r\nLanguage=English\r\nTranslator=\r\nContact=\r\n"
                                L";=49 chars, name and menu key separated by a tab, key may be translated, not changed\r\n"
                                L"\r\n[Menu Items]\r\nPin=Pin\r\nItem 1001=Item 1001\r\n";
    EXPECT_EQ(bytes.substr(0, wideBytes(header).size()), wideBytes(header));
    std::size_t at = 0;
    for (const wchar_t* line : {L"Item 1105=Item 1105\r\n\r\n[Level2 Menus]\r\nSub 6=Sub 6\r\nSub 7=Sub 7\r\nSub 17=Sub 17\r\n"
                                L"Sub 18=Sub 18\r\nSub 19=Sub 19\r\nSub 28=Sub 28\r\nSub 29=Sub 29\r\n"
                                L"\r\n[Level3 Menus]\r\nBlackbox\t(Alt Shell)=Blackbox\t(Alt Shell)\r\n"
                                L"\r\n[Dialogs]\r\nSlideshow Timer=Slideshow Timer\r\n",
                                L"Visit Palvik :: Donate=Visit Palvik :: Donate\r\n\r\n[Messages]\r\n",
                                L"Not a Tomel settings file, use Save As...=Not a Tomel settings file, use Save As...\r\n"}) {
        SCOPED_TRACE(at);
        at = bytes.find(wideBytes(line).substr(2), at);
        ASSERT_NE(at, std::string::npos);
    }
    EXPECT_EQ(at + wideBytes(L"Not a Tomel settings file, use Save As...=Not a Tomel settings file, use Save As...\r\n").size() - 2,
              bytes.size());
    IniReader reader = makeIniReader(bytes, true, nullptr);
    readLanguage(reader);
    EXPECT_EQ(written(L"1.00"), bytes);
    // The version is cut to 49 characters.
    const std::string longVersion = written(std::wstring(60, L'9').c_str());
    EXPECT_NE(longVersion.find(wideBytes(L"Tomel=" + std::wstring(49, L'9') + L"\r\n").substr(2)), std::string::npos);
    EXPECT_EQ(longVersion.find(wideBytes(std::wstring(50, L'9')).substr(2)), std::string::npos);
}

TEST_F(LanguageFile, LinesTranslateEveryRowOfTheirOwnSection)
{
    const std::wstring sixty(60, L'x');
    static const wchar_t garbageText[] = L"\xD800\xFFFF\x0001[Dialogs\r\n\x0000\x0000=\r\n[Dialogs]\r\n\x0000Ok=K\r\n";
    const std::wstring garbage(garbageText, std::size(garbageText) - 1);
    TranslationRow *const MENU = menuItemTexts, *const LEVEL2 = level2MenuTexts, *const LEVEL3 = level3MenuText,
                         *const DIALOGS = dialogTexts, *const MESSAGES = messageTexts;
    struct Case { std::wstring file; const TranslationRow* rows; std::int32_t id; std::wstring expected; };
    const Case cases[] = {
        {L"[Menu Items]\r\nITEM 1001=Diashow\r\n", MENU, CMD_SLIDESHOW, L"Diashow"},   // without regard to case
        {L"[Menu Items]\r\nItem 1003=Zufall\r\nzufall=Hasard\r\n", MENU, CMD_RANDOM, L"Hasard"},  // chained
        {L"[Menu Items]\r\nItem 1004=Ton\r\nItem 1004=Son\r\n", MENU, CMD_PLAY_SOUND, L"Ton"},
        {L"[Menu Items]\r\nPIN=Epingler\r\n", MENU, CMD_PIN_BLACKBOX, L"Epingler"},      // all nine Pin items
        {L"[Menu Items]\r\nPIN=Epingler\r\n", MENU, CMD_PIN_TIMERS, L"Epingler"}, {L"[Dialogs]\r\nPin=Anheften\r\n", MENU, CMD_PIN, L"Pin"},
        {L"[Level3 Menus]\r\nBlackbox\t(Alt Shell)=Schwarz\t(Alt)\r\n", LEVEL3, 7, L"Schwarz\t(Alt)"},
        {L"[Level2 Menus]\r\nSub 29=Info\r\n", LEVEL2, 29, L"Info"}, {L"[Dialogs]\r\nOk=" + sixty + L"\r\n", DIALOGS, 3, sixty.substr(0, 49)},
        {L"[Dialogs]\r\nOk=\r\nOk\r\n", DIALOGS, 3, L"Ok"}, {L"[Messages]\r\nNo input file=Keine Datei\r\n", MESSAGES, 2, L"Keine Datei"},
        {L"[Dialogs]\r\nNo input file=Keine Datei\r\n", MESSAGES, 2, L"No input file"},
        {L"[Menus]\r\nItem 1001=Diashow\r\n", MENU, CMD_SLIDESHOW, L"Item 1001"}, {L"[Messages]", MESSAGES, 1, L"No data"},
        {L"[Messages]\r\n" + std::wstring(254, L'y') + L"No data=Leer\r\n", MESSAGES, 1, L"Leer"}, {garbage, DIALOGS, 3, L"Ok"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        SetUp();
        read(c.file);
        const int count = c.rows == MENU ? MENU_ITEM_TEXT_COUNT : c.rows == LEVEL2 ? LEVEL2_MENU_TEXT_COUNT : c.rows == LEVEL3 ? 1
                        : c.rows == DIALOGS ? DIALOG_TEXT_COUNT : MESSAGE_TEXT_COUNT;
        EXPECT_EQ(textOf(c.rows, count, c.id), c.expected);
        EXPECT_EQ(std::wstring(messageText(c.rows == MESSAGES ? c.id : 0)), c.rows == MESSAGES ? c.expected : L"Save Tomel Settings");
        TearDown();
    }
}

}  // namespace
