#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/display/fitting.h"
#include "core/display/look.h"
#include "core/display/picture.h"
#include "core/display/placement.h"
#include "core/text/gong.h"

namespace {

// Ten pixels a character, fifteen a line; records what was measured.
struct FakeMeasure {
    std::vector<std::wstring>* seen;
    Extent operator()(std::wstring_view line) const
    {
        seen->emplace_back(line);
        return {static_cast<std::int64_t>(line.size()) * 10, 15};
    }
};

TEST(Fitting, MeasuresLinesAsTheWindowHasAlwaysSizedThem)
{
    struct Case {
        const char* what;
        std::vector<std::wstring> entries;
        bool multiline;
        TextBlock expected;
    };
    const std::wstring ten(10, L'a'), eleven(11, L'a'), twentyFive(25, L'a');
    const Case cases[] = {
        {"no entries", {}, true, {0, 0}},
        {"exactly the limit is one line", {ten + L"\n"}, false, {100, 15}},
        {"a pixel over wraps to two", {eleven + L"\n"}, false, {100, 30}},
        {"2.5 times the limit is three lines", {twentyFive + L"\n"}, false, {100, 45}},
        {"multiline: the tallest entry, not the sum", {L"ab\ncd\nef\n", L"abcd\n"}, true, {40, 45}},
        {"single line: the tallest line", {L"ab\n", twentyFive + L"\n", L"x\n"}, false, {100, 45}},
        {"text after the last line feed is not measured", {L"ab\n" + twentyFive}, true, {20, 15}},
        {"an entry starting with an empty line adds nothing", {L"\n" + twentyFive + L"\n"}, true, {0, 0}},
        {"an empty line ends the entry", {L"ab\n\ncdefgh\n"}, true, {20, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::wstring> seen;
        const TextBlock b = measureEntries(c.entries, 100, c.multiline, FakeMeasure{&seen});
        EXPECT_EQ(b.width, c.expected.width);
        EXPECT_EQ(b.height, c.expected.height);
        for (const std::wstring& line : seen) EXPECT_EQ(line.find(L'\n'), std::wstring::npos);
    }
}

TEST(Fitting, HugeLinesAndZeroLimitsNeitherOverflowNorDivideByZero)
{
    const std::vector<std::wstring> entries(3, L"x\n");
    const auto huge = [](std::wstring_view) { return Extent{std::int64_t(1) << 40, std::int64_t(1) << 31}; };
    const TextBlock b = measureEntries(entries, 0, true, huge);
    EXPECT_EQ(b.width, 1);
    EXPECT_EQ(b.height, MAX_WINDOW_EXTENT);
    FitMetrics m;
    m.fitWidth = true;
    m.clientWidth = 10;   // narrower than the margins: a limit below 1
    const ClientSize s = fitClientSize(m, b);
    EXPECT_EQ(s.height, MAX_WINDOW_EXTENT);
    EXPECT_GE(s.width, 0);
}

TEST(Fitting, ClientSizeFromTheText)
{
    FitMetrics m;
    m.fullScreenWidth = 1280;
    m.frameWidth = 4;
    m.frameHeight = 4;
    m.lineHeight = 16;
    m.clientWidth = 300;
    struct Case {
        const char* what;
        bool fitWidth, multiline;
        TextBlock text;
        std::int32_t width, height;
    };
    const Case cases[] = {
        {"single line scaled by 96/72", false, false, {100, 16}, 120, 21},
        {"multiline adds two frames", false, true, {100, 45}, 120, 53},
        {"nothing measured: one font line", false, false, {0, 0}, 20, 21},
        {"fit to width keeps the client width", true, true, {40, 15}, 300, 23},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m.fitWidth = c.fitWidth;
        m.multiline = c.multiline;
        const ClientSize s = fitClientSize(m, c.text);
        EXPECT_EQ(s.width, c.width);
        EXPECT_EQ(s.height, c.height);
    }
    m.fitWidth = false;
    EXPECT_EQ(fitLimit(m), 1272);
    m.fitWidth = true;
    EXPECT_EQ(fitLimit(m), 280);
}

TEST(Picture, ScalesIntoTheBoxKeepingItsShape)
{
    struct Case {
        PixelSize natural;
        std::int64_t boxW, boxH;
        PixelSize expected;
    };
    const Case cases[] = {
        {{400, 100}, 200, 200, {200, 50}},
        {{400, 100}, 1000, 50, {200, 50}},
        {{100, 400}, 1000, 200, {50, 200}},
        {{64, 48}, 1000, 1000, {64, 48}},   // never enlarged
        {{0, 48}, 100, 100, {0, 0}},
        {{64, 0}, 100, 100, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.natural.width << "x" << c.natural.height << " into " << c.boxW
                                        << "x" << c.boxH);
        const PixelSize s = scalePictureToBox(c.natural, c.boxW, c.boxH);
        EXPECT_EQ(s.width, c.expected.width);
        EXPECT_EQ(s.height, c.expected.height);
    }
    EXPECT_EQ(himetricToPixels(1693, 96), 64);
    EXPECT_EQ(himetricToPixels(1270, 96), 48);
    EXPECT_EQ(himetricToPixels(2147483647, 2147483647), MAX_WINDOW_EXTENT);
}

TEST(Picture, TilesFromTheTopLeft)
{
    std::vector<std::pair<int, int>> tiles;
    forEachTile(64, 64, 100, 70, [&](int x, int y) { tiles.emplace_back(x, y); });
    EXPECT_EQ(tiles, (std::vector<std::pair<int, int>>{{0, 0}, {64, 0}, {0, 64}, {64, 64}}));
    int count = 0;
    forEachTile(0, 64, 100, 70, [&](int, int) { ++count; });
    forEachTile(64, 64, 100, 0, [&](int, int) { ++count; });
    EXPECT_EQ(count, 0);
}

TEST(Placement, DocksInTheWorkArea)
{
    const ScreenRect work{0, 0, 1024, 768};
    struct Case {
        const char* what;
        std::uint32_t position;
        DockState s;
        ScreenPoint expected;
    };
    const DockState plain;
    const DockState blackbox{false, true, true, 4, 3};
    const DockState blackboxNoCaption{false, false, true, 4, 3};
    const DockState transparent{true, false, false, 4, 3};
    const Case cases[] = {
        {"top", 1, plain, {412, 0}},
        {"top, Blackbox with caption: raised", 1, blackbox, {412, -4}},
        {"top, Blackbox without caption", 1, blackboxNoCaption, {412, 0}},
        {"bottom", 2, plain, {412, 668}},
        {"bottom, transparent: two frames lower", 2, transparent, {412, 674}},
        {"centre", 3, plain, {412, 334}},
        {"any larger number: centre", 77, plain, {412, 334}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto p = dockPosition(c.position, work, 200, 100, c.s);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->x, c.expected.x);
        EXPECT_EQ(p->y, c.expected.y);
    }
    EXPECT_FALSE(dockPosition(0, work, 200, 100, plain));
    const DockState extreme{false, true, true, -2147483647 - 1, 2147483647};
    EXPECT_EQ(dockPosition(1, work, 200, 100, extreme)->y, 2147483647);
    EXPECT_EQ(dockPosition(2, ScreenRect{0, 0, 1024, 2147483647}, 200, -2147483647 - 1, transparent)->y, 2147483647);
}

TEST(Placement, BlackboxCaptionCorrections)
{
    struct Case {
        bool caption, blackbox;
        CaptionPlace expected;
    };
    const Case cases[] = {
        {true, false, {100, 200}},
        {false, false, {100, 200}},
        {true, true, {96, 202}},
        {false, true, {104, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "caption " << c.caption << " blackbox " << c.blackbox);
        const CaptionPlace p = captionPlace(100, 200, c.caption, c.blackbox, 4, 2);
        EXPECT_EQ(p.top, c.expected.top);
        EXPECT_EQ(p.height, c.expected.height);
    }
    EXPECT_EQ(captionPlace(-2147483647 - 1, 200, true, true, 4, -2147483647 - 1).height, 0);
}

TEST(Look, UnusableSettingsGiveWay)
{
    EXPECT_EQ(usableColour(0xFFFFFFFFu, 0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(usableColour(0x01000000u, 0), 0u);
    EXPECT_EQ(usableColour(0x00123456u, 0), 0x123456u);
    EXPECT_EQ(usableFontHeight(2147483647, -13), -13);
    EXPECT_EQ(usableFontHeight(-2147483647 - 1, -13), -13);
    EXPECT_EQ(usableFontHeight(-40, -13), -40);
    EXPECT_EQ(usableFontWeight(700), 700);
    EXPECT_EQ(usableFontWeight(-1), 0);
    EXPECT_EQ(usableDocking(9), 3u);
    EXPECT_EQ(usableDocking(2), 2u);
    const FitModes all = oneFitMode({true, true, true});
    EXPECT_TRUE(all.fitWidth && !all.fitFont && !all.fitGraphic);
    const FitModes fontAndGraphic = oneFitMode({true, false, true});
    EXPECT_TRUE(fontAndGraphic.fitFont && !fontAndGraphic.fitGraphic);
    EXPECT_EQ(alignmentFor(0), TextAlignment::Center);
    EXPECT_EQ(alignmentFor(1), TextAlignment::Left);
    EXPECT_EQ(alignmentFor(2), TextAlignment::Right);
    EXPECT_EQ(alignmentFor(3), std::nullopt);
}

TEST(Gong, OpenCommands)
{
    struct Case {
        std::wstring path, expected;
    };
    const Case cases[] = {
        {L"C:\\WINDOWS\\media\\ding.wav", L"open C:\\WINDOWS\\media\\ding.wav alias gong"},
        {L"C:\\my sounds\\gong.wav", L"open \"C:\\my sounds\\gong.wav\" alias gong"},
        {L"", L""},
        {L"C:\\" + std::wstring(243, L'x'), L""},   // "open " + 246 + " alias gong" is 262: no room
        {L"C:\\" + std::wstring(240, L'x'), L"open C:\\" + std::wstring(240, L'x') + L" alias gong"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        EXPECT_EQ(gongOpenCommand(c.path), c.expected);
    }
}

}  // namespace
