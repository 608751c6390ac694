// Pure helpers of the program's frame: paths and titles, built-in texts, keeping a window on the screen.
#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <string>
#include <tuple>

#include "core/app/paths.h"
#include "core/settings/window_rect.h"
#include "core/ui/texts.h"

namespace {

TEST(Paths, NamesAndTitles)
{
    struct Case { std::wstring path; bool settings; std::wstring directory, title; };
    const std::wstring n300(300, L'n');
    const Case cases[] = {
        {L"C:\\a\\b.ini", true, L"C:\\a", L"b.ini - Tomel"},
        {L"C:\\a.b\\c.ini", true, L"C:\\a.b", L"c.ini - Tomel"},
        {L"C:\\a\\b.INI", false, L"C:\\a", L"b.INI - Tomel"},
        {L"C:\\a.ini\\b.txt", false, L"C:\\a.ini", L"b.txt - Tomel"},
        {L"C:\\a\\b.ini.txt", false, L"C:\\a", L"b.ini.txt - Tomel"},
        {L"C:\\a\\b.inix", false, L"C:\\a", L"b.inix - Tomel"},
        {L"Z:\\x\\y\\.ini", true, L"Z:\\x\\y", L".ini - Tomel"},
        {L"notes", false, L"notes", L"notes - Tomel"},
        {L"", false, L"", L" - Tomel"},
        {L"C:\\" + n300, false, L"C:", n300.substr(0, 259)},                     // cut to the title buffer
        {L"C:\\" + n300.substr(0, 252), false, L"C:", n300.substr(0, 252) + L" - Tome"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(isSettingsFileName(c.path), c.settings);
        EXPECT_EQ(directoryPart(c.path), c.directory);
        EXPECT_EQ(buildTitle(c.path, L"Tomel"), c.title);
    }
    EXPECT_EQ(trimTrailingBlanks(L"notes.txt \t  "), L"notes.txt \t");  // tabs stay
    EXPECT_EQ(trimTrailingBlanks(L"   "), L"");
}

TEST(Paths, LongAndPlainForms)
{
    // The temporary name is four characters longer than the file's, so it takes the long form.
    struct Case { const wchar_t* path; const wchar_t* longForm; const wchar_t* plain; };
    const Case cases[] = {
        {L"C:\\a\\tomel.ini", L"\\\\?\\C:\\a\\tomel.ini", L"C:\\a\\tomel.ini"},
        {L"\\\\server\\share\\t.ini", L"\\\\?\\UNC\\server\\share\\t.ini", L"\\\\server\\share\\t.ini"},
        {L"\\\\?\\C:\\t.ini", L"\\\\?\\C:\\t.ini", L"C:\\t.ini"},
        {L"C:\\", L"\\\\?\\C:\\", L"C:\\"},
        {L"relative\\x.ini", L"relative\\x.ini", L"relative\\x.ini"},
        {L"C:", L"C:", L"C:"},
        {L"C:x", L"C:x", L"C:x"},
        {L"\\\\?\\UN", L"\\\\?\\UN", L"UN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(longPathForm(c.path), c.longForm);
        EXPECT_EQ(temporaryPathFor(c.path), std::wstring(c.longForm) + L".new");
        EXPECT_EQ(plainPathForm(c.longForm), c.plain);
    }
}

TEST(Paths, BufferLimits)
{
    // GetModuleFileNameW fills the buffer when it had to cut the path.
    EXPECT_EQ(std::make_tuple(moduleNameIsWhole(1, 260), moduleNameIsWhole(259, 260), moduleNameIsWhole(260, 260),
                              moduleNameIsWhole(0, 260)),
              std::make_tuple(true, true, false, false));
    // "\\tomel.lang.ini" is the longest name kept beside the program.
    EXPECT_TRUE(filesFitBeside(std::wstring(244, L'd')));
    EXPECT_FALSE(filesFitBeside(std::wstring(245, L'd')));
    struct Case { std::size_t size; const wchar_t* text; bool whole; std::wstring kept; };
    const Case cases[] = {{5, L"abcd", true, L"abcd"}, {5, L"abcde", false, L"abcd"}, {1, L"", true, L""},
                          {1, L"a", false, L""},        {0, L"", true, L"-"},            {0, L"a", false, L"-"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        wchar_t buffer[8] = L"-";
        EXPECT_EQ(copyToBuffer(buffer, c.size, c.text), c.whole);
        EXPECT_EQ(std::wstring(buffer), c.kept);
    }
}

TEST(BuiltInTexts, AreFoundByNumber)
{
    struct Case { const wchar_t* (*find)(std::int32_t); std::int32_t id; const wchar_t* text; };
    const Case cases[] = {
        {messageText, 0, L"Save Tomel Settings"}, {messageText, 6, L"Not a Tomel settings file, use Save As..."},
        {messageText, 7, nullptr},                {messageText, -1, nullptr},
        {dialogText, 0, L"Slideshow Timer"},      {dialogText, 11, L"Visit Palvik :: Donate"},
        {dialogText, 12, nullptr},
    };
    for (int id = 0; id < DIALOG_TEXT_COUNT; ++id) EXPECT_EQ(dialogText(id), dialogTexts[id].text) << id;  // rows by number
    for (int id = 0; id < MESSAGE_TEXT_COUNT; ++id) EXPECT_EQ(messageText(id), messageTexts[id].text) << id;
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const wchar_t* text = c.find(c.id);
        EXPECT_EQ(text ? std::wstring(text) : L"(none)", c.text ? std::wstring(c.text) : L"(none)");
    }
}

TEST(WindowRect, StaysOnTheScreen)
{
    const ScreenMetrics screen{1920, 1080, 112, 27};
    struct Case { std::int32_t l, t, r, b; WindowBox expected; bool tiny = false; };
    const Case cases[] = {
        {100, 100, 500, 300, {100, 100, 400, 200}},
        {5000, 100, 5400, 300, {1520, 100, 400, 200}},
        {1530, 100, 1930, 300, {1530, 100, 400, 200}},   // 10 beyond the right edge stays
        {1531, 100, 1931, 300, {1520, 100, 400, 200}},
        {100, 890, 500, 1090, {100, 890, 400, 200}},
        {100, 891, 500, 1091, {100, 880, 400, 200}},
        {-10, -10, 390, 190, {-10, -10, 400, 200}},      // 10 beyond the left and top edges stays
        {-11, -11, 389, 189, {0, 0, 400, 200}},
        {100, 100, 212, 127, {100, 100, 112, 27}},       // the minimum tracking size
        {100, 100, 211, 126, {100, 100, 100, 100}},
        {1831, 100, 1841, 300, {1820, 100, 100, 200}}, {100, 991, 500, 1001, {100, 980, 400, 100}},  // made 100, then moved
        {500, 300, 100, 100, {500, 300, 100, 100}},      // upside down
        // With a tiny minimum tracking size: starting at the right or bottom edge, ending at the left or top.
        {1920, 1080, 1925, 1085, {1920, 1080, 5, 5}, true}, {1921, 1081, 1926, 1086, {1915, 1075, 5, 5}, true},
        {-5, -5, 0, 0, {-5, -5, 5, 5}, true},              {-6, -6, -1, -1, {0, 0, 5, 5}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const WindowBox got = clampedWindowBox(c.l, c.t, c.r, c.b, c.tiny ? ScreenMetrics{1920, 1080, 1, 1} : screen);
        EXPECT_EQ(std::tie(got.left, got.top, got.width, got.height),
                  std::tie(c.expected.left, c.expected.top, c.expected.width, c.expected.height));
    }
    const std::int32_t values[] = {INT_MIN, INT_MIN + 1, -11, 0, 1, 1919, INT_MAX - 1, INT_MAX};
    for (std::int32_t l : values)
        for (std::int32_t t : values)
            for (std::int32_t r : values)
                for (std::int32_t b : values) {
                    const WindowBox got = clampedWindowBox(l, t, r, b, screen);  // UBSan checks the arithmetic
                    ASSERT_TRUE(got.width >= 0 && got.height >= 0 && got.left >= -10 && got.top >= -10)
                        << l << " " << t << " " << r << " " << b;
                }
}

}  // namespace
