// Pure helpers of the program's frame: paths and titles, built-in texts, pins, sizing modes,
// keeping a window on the screen.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/app/command_logic.h"
#include "core/app/commands.h"
#include "core/app/paths.h"
#include "core/settings/window_rect.h"
#include "core/ui/texts.h"

TEST(Paths, ArgumentsAndTitles)
{
    EXPECT_EQ(trimTrailingBlanks(L"notes.txt  "), L"notes.txt");
    EXPECT_EQ(trimTrailingBlanks(L"notes.txt\t "), L"notes.txt\t");   // tabs stay
    EXPECT_EQ(trimTrailingBlanks(L"   "), L"");
    struct Case {
        const wchar_t* path;
        bool settings;
    } cases[] = {
        {L"C:\\a\\b.ini", true},       {L"C:\\a\\b.INI", false}, {L"C:\\a.ini\\b.txt", false},
        {L"C:\\a\\b.ini.txt", false},  {L"C:\\a\\b.inix", false}, {L"C:\\a\\.ini", true},
        {L"C:\\a\\b", false},          {L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path, c.path + std::wcslen(c.path)));
        EXPECT_EQ(isSettingsFileName(c.path), c.settings);
    }
    EXPECT_EQ(fileNamePart(L"C:\\dir\\notes.txt"), L"notes.txt");
    EXPECT_EQ(fileNamePart(L"notes.txt"), L"notes.txt");
    EXPECT_EQ(directoryPart(L"Z:\\x\\tomel.exe"), L"Z:\\x");
    EXPECT_EQ(directoryPart(L"tomel.exe"), L"tomel.exe");
    EXPECT_EQ(buildTitle(L"C:\\dir\\notes.txt", L"Tomel"), L"notes.txt - Tomel");
    // A name too long for the title buffer is cut at 259 characters.
    const std::wstring longName(300, L'n');
    EXPECT_EQ(buildTitle(L"C:\\" + longName, L"Tomel"), longName.substr(0, 259));
}

TEST(Paths, TemporaryFilesTakeTheLongPathForm)
{
    // The temporary name is four characters longer than the file's: for a settings path of 256 to 259
    // characters it would pass the 260-character limit in the plain form.
    struct Case {
        const wchar_t* path;
        const wchar_t* temporary;
    } cases[] = {
        {L"C:\\a\\tomel.ini", L"\\\\?\\C:\\a\\tomel.ini.new"},
        {L"\\\\server\\share\\tomel.ini", L"\\\\?\\UNC\\server\\share\\tomel.ini.new"},
        {L"\\\\?\\C:\\tomel.ini", L"\\\\?\\C:\\tomel.ini.new"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path, c.path + std::wcslen(c.path)));
        EXPECT_EQ(temporaryPathFor(c.path), c.temporary);
    }
    EXPECT_EQ(longPathForm(L"relative\\x.ini"), L"relative\\x.ini");
}

TEST(Paths, TheProgramsOwnFolder)
{
    // GetModuleFileNameW fills the buffer when it had to cut the path.
    EXPECT_TRUE(moduleNameIsWhole(259, 260));
    EXPECT_FALSE(moduleNameIsWhole(260, 260));
    EXPECT_FALSE(moduleNameIsWhole(0, 260));
    // "\\tomel.lang.ini" is the longest name kept beside the program.
    EXPECT_TRUE(filesFitBeside(std::wstring(244, L'd')));
    EXPECT_FALSE(filesFitBeside(std::wstring(245, L'd')));
    for (const wchar_t* path : {L"C:\\a\\b", L"\\\\server\\share\\b"})
        EXPECT_EQ(plainPathForm(longPathForm(path)), path);
    EXPECT_EQ(plainPathForm(L"C:\\a"), L"C:\\a");
}

TEST(Paths, CopyToBufferCutsAndTerminates)
{
    wchar_t buf[5];
    EXPECT_TRUE(copyToBuffer(buf, 5, L"abcd"));
    EXPECT_STREQ(buf, L"abcd");
    EXPECT_FALSE(copyToBuffer(buf, 5, L"abcdef"));
    EXPECT_STREQ(buf, L"abcd");
}

TEST(BuiltInTexts, AreFoundByNumber)
{
    EXPECT_STREQ(messageText(0), L"Save Tomel Settings");
    EXPECT_STREQ(messageText(2), L"No input file");
    EXPECT_STREQ(messageText(4), L"UTF-8 unsupported");
    EXPECT_EQ(messageText(MESSAGE_TEXT_COUNT), nullptr);
    EXPECT_EQ(messageText(-1), nullptr);
    EXPECT_STREQ(dialogText(0), L"Slideshow Timer");
    EXPECT_STREQ(dialogText(11), L"Visit Palvik :: Donate");
    EXPECT_EQ(dialogText(12), nullptr);
    // A translation replaces a row in place and is what the look-up gives from then on.
    wchar_t saved[TRANSLATION_TEXT_LENGTH];
    std::wcscpy(saved, messageTexts[2].text);
    std::wcscpy(messageTexts[2].text, L"Keine Datei");
    EXPECT_STREQ(messageText(2), L"Keine Datei");
    std::wcscpy(messageTexts[2].text, saved);
}

TEST(Pins, CommandsPinAndUnpin)
{
    PinState p;
    EXPECT_TRUE(applyPinCommand(p, CMD_PIN));
    EXPECT_TRUE(p.menuPinned);
    EXPECT_TRUE(applyPinCommand(p, CMD_PIN));
    EXPECT_FALSE(p.menuPinned);
    applyPinCommand(p, CMD_PIN_TIMERS);
    EXPECT_EQ(p.pinnedSubmenu, 6);
    applyPinCommand(p, CMD_PIN_INFO);   // another submenu's pin moves it there
    EXPECT_EQ(p.pinnedSubmenu, 29);
    applyPinCommand(p, CMD_PIN_INFO);
    EXPECT_EQ(p.pinnedSubmenu, -1);
    applyPinCommand(p, CMD_PIN_DOCK);
    applyPinCommand(p, CMD_PIN_BLACKBOX);
    EXPECT_EQ(p.pinnedLevel3, 7);
    EXPECT_EQ(p.pinnedLevel3Parent, 18);
    EXPECT_EQ(p.pinnedSubmenu, 18);   // the level-3 pin leaves the level-2 pin alone
    applyPinCommand(p, CMD_PIN_BLACKBOX);
    EXPECT_EQ(p.pinnedLevel3, -1);
    EXPECT_EQ(p.pinnedLevel3Parent, -1);
    EXPECT_FALSE(applyPinCommand(p, CMD_NEXT));
    EXPECT_FALSE(applyPinCommand(p, 2001));
}

TEST(FitModes, ExactlyOneIsSet)
{
    for (unsigned c : {CMD_FIT_FONT, CMD_FIT_WIDTH, CMD_FIT_GRAPHIC}) {
        const FitModes m = fitModesFor(c);
        EXPECT_EQ(m.fitFont + m.fitWidth + m.fitGraphic, 1) << c;
    }
    EXPECT_TRUE(fitModesFor(CMD_FIT_WIDTH).fitWidth);
}

TEST(WindowRect, StaysOnTheScreen)
{
    const ScreenMetrics screen{1920, 1080, 112, 27};
    struct Case {
        const char* name;
        std::int32_t l, t, r, b;
        WindowBox expected;
    } cases[] = {
        {"inside", 100, 100, 500, 300, {100, 100, 400, 200}},
        {"far right", 5000, 100, 5400, 300, {1520, 100, 400, 200}},
        {"right edge plus 10 stays", 1530, 100, 1930, 300, {1530, 100, 400, 200}},
        {"right edge plus 11 moves", 1531, 100, 1931, 300, {1520, 100, 400, 200}},
        {"left -8 stays", -8, 100, 392, 300, {-8, 100, 400, 200}},
        {"left -11 goes to 0", -11, 100, 389, 300, {0, 100, 400, 200}},
        {"above the top", 100, -50, 500, 150, {100, 0, 400, 200}},
        {"below the bottom", 100, 1100, 500, 1300, {100, 880, 400, 200}},
        {"too narrow becomes 100", 100, 100, 150, 300, {100, 100, 100, 200}},
        {"too low becomes 100", 100, 100, 500, 110, {100, 100, 400, 100}},
        {"upside down", 500, 300, 100, 100, {500, 300, 100, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowBox got = clampedWindowBox(c.l, c.t, c.r, c.b, screen);
        EXPECT_EQ(got.left, c.expected.left);
        EXPECT_EQ(got.top, c.expected.top);
        EXPECT_EQ(got.width, c.expected.width);
        EXPECT_EQ(got.height, c.expected.height);
    }
}

TEST(WindowRect, ExtremeValuesDoNotOverflow)
{
    const ScreenMetrics screen{1920, 1080, 112, 27};
    const std::int32_t values[] = {INT_MIN, INT_MIN + 1, -11, 0, 1, 1919, INT_MAX - 1, INT_MAX};
    for (std::int32_t l : values)
        for (std::int32_t t : values)
            for (std::int32_t r : values)
                for (std::int32_t b : values) {
                    const WindowBox got = clampedWindowBox(l, t, r, b, screen);   // UBSan checks the arithmetic
                    EXPECT_GE(got.width, 0);
                    EXPECT_GE(got.height, 0);
                    EXPECT_GE(got.left, -10);   // never left beyond the screen's left edge
                    EXPECT_GE(got.top, -10);
                }
}
