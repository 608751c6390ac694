#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/display/fitting.h"
#include "core/display/look.h"
#include "core/display/picture.h"
#include "core/display/placement.h"
#include "core/text/gong.h"

namespace {

constexpr std::int32_t MIN32 = -2147483647 - 1, MAX32 = 2147483647;

// Ten pixels a character, fifteen a line; a line feed reaching the measure fails the test.
Extent tenByFifteen(std::wstring_view line)
{
    EXPECT_EQ(line.find(L'\n'), std::wstring_view::npos);
    return {static_cast<std::int64_t>(line.size()) * 10, 15};
}

TEST(Fitting, MeasuredTextAndTheClientSizeItGives)
{
    const std::wstring eleven(11, L'a'), twentyFive(25, L'a');
    struct Case { const char* what; std::vector<std::wstring> entries; bool multiline; TextBlock expected; };
    for (const Case& c : {Case{"no entries", {}, true, {0, 0}}, Case{"exactly the limit is one line", {L"abcdefghij\n"}, false, {100, 15}},
                          Case{"a pixel over wraps to two", {eleven + L"\n"}, false, {100, 30}},
                          Case{"2.5 times the limit is three lines", {twentyFive + L"\n"}, false, {100, 45}},
                          Case{"multiline: the tallest entry, not the sum", {L"ab\ncd\nef\n", L"abcd\n"}, true, {40, 45}},
                          Case{"text after the last line feed is not measured", {L"ab\n" + twentyFive}, true, {20, 15}},
                          Case{"an empty line ends the entry", {L"ab\n\ncdefgh\n"}, true, {20, 15}}}) {
        SCOPED_TRACE(c.what);
        const TextBlock b = measureEntries(c.entries, 100, c.multiline, tenByFifteen);
        EXPECT_EQ(b.width, c.expected.width);
        EXPECT_EQ(b.height, c.expected.height);
    }
    FitMetrics m;
    m.fullScreenWidth = 1280, m.frameWidth = 4, m.frameHeight = 4, m.lineHeight = 16, m.clientWidth = 300;
    struct Size { const char* what; bool fitWidth, multiline; TextBlock text; std::int32_t width, height; };
    for (const Size& c : {Size{"single line scaled by 96/72", false, false, {100, 16}, 120, 21},
                          Size{"multiline adds two frames", false, true, {100, 45}, 120, 53},
                          Size{"nothing measured: one font line", false, false, {0, 0}, 20, 21},
                          Size{"fit to width keeps the client width", true, true, {40, 15}, 300, 23}}) {
        SCOPED_TRACE(c.what);
        m.fitWidth = c.fitWidth, m.multiline = c.multiline;
        EXPECT_EQ(fitClientSize(m, c.text).width, c.width);
        EXPECT_EQ(fitClientSize(m, c.text).height, c.height);
    }
}

TEST(Fitting, HugeLinesAndZeroLimitsNeitherOverflowNorDivideByZero)
{
    const TextBlock b = measureEntries(std::vector<std::wstring>(3, L"x\n"), 0, true,
                                       [](std::wstring_view) { return Extent{std::int64_t(1) << 40, std::int64_t(1) << 31}; });
    EXPECT_EQ(b.width, 1);
    EXPECT_EQ(b.height, MAX_WINDOW_EXTENT);
    FitMetrics m;
    m.fitWidth = true, m.clientWidth = 10;   // narrower than the margins
    EXPECT_EQ(fitClientSize(m, b).height, MAX_WINDOW_EXTENT);
    EXPECT_EQ(himetricToPixels(MAX32, MAX32), MAX_WINDOW_EXTENT);
}

TEST(Picture, ScalesIntoTheBoxKeepingItsShapeNeverEnlarged)
{
    struct Case { PixelSize natural; std::int64_t boxW, boxH; PixelSize expected; };
    for (const Case& c : {Case{{400, 100}, 200, 200, {200, 50}}, Case{{100, 400}, 1000, 200, {50, 200}},
                          Case{{64, 48}, 1000, 1000, {64, 48}}, Case{{0, 48}, 100, 100, {0, 0}}}) {
        SCOPED_TRACE(testing::Message() << c.natural.width << "x" << c.natural.height << " in " << c.boxW << "x" << c.boxH);
        EXPECT_EQ(scalePictureToBox(c.natural, c.boxW, c.boxH).width, c.expected.width);
        EXPECT_EQ(scalePictureToBox(c.natural, c.boxW, c.boxH).height, c.expected.height);
    }
}

TEST(Placement, BlackboxAndTransparencyCorrectDockingAndCaption)
{
    struct Case { const char* what; std::uint32_t position; DockState s; std::int32_t y; };
    for (const Case& c : {Case{"top, Blackbox with caption: raised", 1, {false, true, true, 4, 3}, -4},
                          Case{"top, Blackbox without caption", 1, {false, false, true, 4, 3}, 0},
                          Case{"bottom, transparent: two frames lower", 2, {true, false, false, 4, 3}, 674},
                          Case{"any larger number: centre", 77, {}, 334},
                          Case{"extreme adjustment saturates", 1, {false, true, true, MIN32, 3}, MAX32}}) {
        SCOPED_TRACE(c.what);
        const auto p = dockPosition(c.position, ScreenRect{0, 0, 1024, 768}, 200, 100, c.s);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->x, 412);
        EXPECT_EQ(p->y, c.y);
    }
    EXPECT_FALSE(dockPosition(0, ScreenRect{0, 0, 1024, 768}, 200, 100, {}));
    struct Caption { bool caption, blackbox; std::int32_t top, height; };
    for (const Caption& c : {Caption{true, false, 100, 200}, Caption{true, true, 96, 202}, Caption{false, true, 104, 200}}) {
        SCOPED_TRACE(testing::Message() << "caption " << c.caption << " blackbox " << c.blackbox);
        EXPECT_EQ(captionPlace(100, 200, c.caption, c.blackbox, 4, 2).top, c.top);
        EXPECT_EQ(captionPlace(100, 200, c.caption, c.blackbox, 4, 2).height, c.height);
    }
}

TEST(Look, UnusableHandEditedValuesGiveWay)
{
    struct Case { std::int64_t got, expected; };
    const Case cases[] = {
        {usableColour(0xFFFFFFFFu, 0xFFFFFF), 0xFFFFFF}, {usableColour(0x01000000u, 0), 0}, {usableColour(0x123456u, 0), 0x123456},
        {usableFontHeight(MAX_FONT_HEIGHT + 1, -13), -13}, {usableFontHeight(-MAX_FONT_HEIGHT - 1, -13), -13},
        {usableFontHeight(-MAX_FONT_HEIGHT, -13), -MAX_FONT_HEIGHT}, {usableFontWeight(1000), 1000}, {usableFontWeight(1001), 0},
        {usableFontWeight(-1), 0}, {usableDocking(9), 3}, {usableDocking(2), 2}, {alignmentFor(3).has_value(), 0},
        {alignmentFor(2).value_or(TextAlignment::Left) == TextAlignment::Right, 1}, {oneFitMode({true, false, true}).fitGraphic, 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].got, cases[i].expected);
    }
}

TEST(Gong, OpenCommandQuotesAPathWithSpacesAndRefusesOneTooLong)
{
    const std::wstring fits = L"C:\\" + std::wstring(240, L'x');   // 259 characters with the rest of the command
    struct Case { std::wstring path, expected; };
    for (const Case& c : {Case{L"C:\\WINDOWS\\ding.wav", L"open C:\\WINDOWS\\ding.wav alias gong"},
                          Case{L"C:\\my sounds\\gong.wav", L"open \"C:\\my sounds\\gong.wav\" alias gong"},
                          Case{L"", L""}, Case{fits, L"open " + fits + L" alias gong"}, Case{fits + L"x", L""}}) {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        EXPECT_EQ(gongOpenCommand(c.path), c.expected);
    }
}

}  // namespace
