// Pure helpers of the program's frame: paths and titles, built-in texts, the window's
// size, place and look, and the popup menu's decisions (pins, check marks and greyed items, the packed menu
// position) and the timer dialog's split of a period.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "core/app/autostart.h"
#include "core/ui/global_keys.h"
#include "core/app/commands.h"
#include "core/app/paths.h"
#include "core/display/dpi.h"
#include "core/display/fitting.h"
#include "core/display/look.h"
#include "core/display/picture.h"
#include "core/display/placement.h"
#include "core/settings/window_rect.h"
#include "core/text/gong.h"
#include "core/ui/menu_logic.h"
#include "core/ui/period_parts.h"
#include "core/ui/texts.h"

namespace {

PinState pins(bool main, int submenu, bool blackbox) { return {main, submenu, blackbox ? 7 : -1, blackbox ? 18 : -1}; }
auto tied(const PinState& p) { return std::tie(p.menuPinned, p.pinnedSubmenu, p.pinnedLevel3, p.pinnedLevel3Parent); }
const MenuPost none{false, 0};
MenuPost show(int submenu) { return {true, submenu}; }

// The fields of the program's small structs, to compare them whole.
auto fields(const WindowBox& b) { return std::make_tuple(b.left, b.top, b.width, b.height); }
auto fields(const ScreenPoint& p) { return std::make_pair(p.x, p.y); }
auto fields(const ScreenRect& r) { return std::make_tuple(r.left, r.top, r.right, r.bottom); }
auto fields(const PixelSize& s) { return std::make_pair(s.width, s.height); }

// The primary 1920 by 1080; beside it on the right the same, on the left a smaller one, or one above.
const Monitor primary{{0, 0, 1920, 1080}, {}}, onRight{{1920, 0, 3840, 1080}, {}}, onLeft{{-1280, 0, 0, 1024}, {}},
              above{{0, -1080, 1920, 0}, {}};

std::vector<unsigned> marked(const MenuState& f, MarkKind kind)
{
    std::vector<unsigned> out;
    for (const MenuMark& m : menuMarks(f))
        if (m.kind == kind) out.push_back(m.command);
    return out;
}

}  // namespace

TEST(Paths, NamesTitlesAndBuffers)
{
    struct Case { std::wstring path; bool settings; std::wstring directory, title; };
    const std::wstring n252(252, L'n');
    const Case cases[] = {
        {L"C:\\a\\b.ini", true, L"C:\\a", L"b.ini - Tomel"}, {L"C:\\a.b\\c.ini", true, L"C:\\a.b", L"c.ini - Tomel"},
        {L"C:\\a\\b.INI", false, L"C:\\a", L"b.INI - Tomel"}, {L"notes", false, L"notes", L"notes - Tomel"},
        {L"C:\\" + n252, false, L"C:", n252 + L" - Tome"},   // cut to the title buffer
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::make_tuple(isSettingsFileName(c.path), directoryPart(c.path), buildTitle(c.path, L"Tomel")),
                  std::make_tuple(c.settings, c.directory, c.title));
    EXPECT_EQ(std::make_pair(trimTrailingBlanks(L"notes.txt \t  "), trimTrailingBlanks(L"   ")),
              std::make_pair(std::wstring_view(L"notes.txt \t"), std::wstring_view()));   // tabs stay
    // GetModuleFileNameW fills the buffer when it had to cut the path; "\\tomel.lang.ini" is the longest name
    // kept beside the program.
    EXPECT_EQ(std::make_tuple(moduleNameIsWhole(1, 260), moduleNameIsWhole(260, 260), moduleNameIsWhole(0, 260),
                              filesFitBeside(std::wstring(244, L'd')), filesFitBeside(std::wstring(245, L'd'))),
              std::make_tuple(true, false, false, true, false));
    // The help text by its name, in any case, wherever it is stored.
    for (const auto& [path, help] : {std::pair{L"D:\\old\\TOMEL.TXT", true}, {L"tomel.txt", true}, {L"C:\\MyTomel.txt", false},
                                     {L"C:\\Tomel.txt\\notes.txt", false}, {L"C:\\Tomel.t\u0178t", false},
                                     {L"C:\\Xomel.txt", false}})
        EXPECT_EQ(namesHelpText(path), help) << path;
    EXPECT_TRUE(namesHelpText(std::wstring_view(L"C:\\Tomel.txt\\", 12)));   // the name ends where its view ends
    struct Copy { std::size_t size; const wchar_t* text; bool whole; std::wstring kept; };
    for (const Copy& c : {Copy{5, L"abcd", true, L"abcd"}, Copy{5, L"abcde", false, L"abcd"}, Copy{0, L"", true, L"-"},
                          Copy{0, L"a", false, L"-"}}) {
        wchar_t buffer[8] = L"-";
        const bool whole = copyToBuffer(buffer, c.size, c.text);
        EXPECT_EQ(std::make_pair(whole, std::wstring(buffer)), std::make_pair(c.whole, c.kept)) << c.size << c.text;
    }
}

TEST(Paths, LongAndPlainForms)
{
    // The temporary name is four characters longer than the file's, so it takes the long form.
    struct Case { const wchar_t* path; const wchar_t* longForm; const wchar_t* plain; };
    const Case cases[] = {
        {L"C:\\a\\tomel.ini", L"\\\\?\\C:\\a\\tomel.ini", L"C:\\a\\tomel.ini"}, {L"C:\\", L"\\\\?\\C:\\", L"C:\\"},
        {L"\\\\server\\share\\t.ini", L"\\\\?\\UNC\\server\\share\\t.ini", L"\\\\server\\share\\t.ini"},
        {L"\\\\?\\C:\\t.ini", L"\\\\?\\C:\\t.ini", L"C:\\t.ini"},
        {L"relative\\x.ini", L"relative\\x.ini", L"relative\\x.ini"}, {L"C:x.ini", L"C:x.ini", L"C:x.ini"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::make_pair(temporaryPathFor(c.path), plainPathForm(c.longForm)),
                  std::make_pair(std::wstring(c.longForm) + L".new", std::wstring(c.plain)));
}

TEST(Paths, TheSettingsFileStaysBesideTheProgramUnlessNothingCanBeWrittenThere)
{
    // The facts: a file can be made in the program's folder, its "tomel.ini" can be written, the
    // user's folder is known, the user's file is there.
    const SettingsPlace beside = SettingsPlace::BesideProgram, user = SettingsPlace::PerUser;
    struct Case { SettingsFolderFacts facts; SettingsPlace read, write; };
    const Case cases[] = {{{true, false, true, true}, beside, beside}, {{false, true, true, true}, beside, beside},
                          {{false, false, true, false}, beside, user}, {{false, false, true, true}, user, user},
                          {{false, false, false, false}, beside, beside}};
    for (const Case& c : cases) {
        const SettingsPlaces places = chooseSettingsPlaces(c.facts);
        EXPECT_EQ(std::make_pair(places.read, places.write), std::make_pair(c.read, c.write)) << &c - cases;
    }
}

TEST(WindowRect, StaysOnTheScreen)
{
    const ScreenMetrics screen{1920, 1080, 112, 27}, small{1920, 1080, 1, 1};
    struct Case { std::int32_t l, t, r, b; WindowBox expected; bool tiny = false; };
    const Case cases[] = {
        // Up to 10 pixels beyond an edge stay; a window narrower or lower than the minimum tracking size gets 100.
        {1530, 890, 1930, 1090, {1530, 890, 400, 200}}, {1531, 891, 1931, 1091, {1520, 880, 400, 200}},
        {-10, -10, 390, 190, {-10, -10, 400, 200}}, {-11, -11, 389, 189, {0, 0, 400, 200}},
        {100, 100, 212, 127, {100, 100, 112, 27}}, {100, 100, 211, 126, {100, 100, 100, 100}},
        {1831, 991, 1841, 1001, {1820, 980, 100, 100}}, {1830, 990, 1840, 1000, {1830, 990, 100, 100}},
        {500, 300, 100, 100, {500, 300, 100, 100}},  // upside down
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, {0, 0, INT_MAX, INT_MAX}},   // no overflow
        // Starting at the right or bottom edge, ending at the left or top edge.
        {1920, 1080, 1925, 1085, {1920, 1080, 5, 5}, true}, {1921, 1081, 1926, 1086, {1915, 1075, 5, 5}, true},
        {-5, -5, 0, 0, {-5, -5, 5, 5}, true}, {-6, -6, -1, -1, {0, 0, 5, 5}, true},
    };
    // The same on one monitor, named or not.
    for (const Case& c : cases)
        for (const std::vector<Monitor>& monitors : {std::vector<Monitor>{}, {primary}})
            EXPECT_EQ(fields(clampedWindowBox(c.l, c.t, c.r, c.b, c.tiny ? small : screen, monitors)), fields(c.expected))
                << "case " << &c - cases << ", monitors " << monitors.size();
}

TEST(WindowRect, StaysOnItsMonitorOrComesBackToThePrimary)
{
    using Layout = std::vector<Monitor>;
    const ScreenMetrics screen{1920, 1080, 112, 27};
    // A window of 400 by 200 stored with its top left corner at `at`; where it starts.
    struct Case { const char* name; Layout monitors; ScreenPoint at, expected; };
    const Case cases[] = {
        {"on the right one", {primary, onRight}, {2000, 100}, {2000, 100}},
        {"that one unplugged", {primary}, {2000, 100}, {1520, 100}},
        {"across the two", {primary, onRight}, {1800, 100}, {1800, 100}},
        {"beyond the right one's right edge", {primary, onRight}, {3700, 100}, {3440, 100}},
        {"beyond the right one's bottom", {primary, onRight}, {2000, 1000}, {2000, 880}},
        {"left one unplugged", {primary}, {-1000, 500}, {0, 500}},
        {"beyond the left one's left edge", {onLeft, primary}, {-1300, 500}, {-1280, 500}},
        {"across the stacked two", {primary, above}, {100, -50}, {100, -50}},
        {"above, unplugged", {primary}, {100, -50}, {100, 0}},
        {"far off every one", {primary, onRight, onLeft}, {9000, -5000}, {1520, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fields(clampedWindowBox(c.at.x, c.at.y, c.at.x + 400, c.at.y + 200, screen, c.monitors)),
                  std::make_tuple(c.expected.x, c.expected.y, 400, 200)) << c.name;
}

TEST(Fitting, TheClientSizeOfTheMeasuredText)
{
    FitMetrics m;
    m.fullScreenWidth = 1280, m.frameWidth = 4, m.frameHeight = 4, m.lineHeight = 16, m.clientWidth = 300;
    EXPECT_EQ(fitLimit(m), 1272);
    struct Size { bool fitWidth, multiline; TextBlock text; std::int32_t width, height; };
    for (const Size& c : {Size{false, false, {100, 50}, 120, 66},      // one line, scaled by 96/72
                          Size{false, true, {100, 45}, 120, 53},       // two frames around a paragraph
                          Size{false, false, {0, 0}, 20, 21},          // nothing measured: one font line
                          Size{true, true, {40, 15}, 300, 23}}) {      // Fit To Width keeps the client width
        m.fitWidth = c.fitWidth, m.multiline = c.multiline;
        const ClientSize size = fitClientSize(m, c.text);
        EXPECT_EQ(std::make_pair(size.width, size.height), std::make_pair(c.width, c.height));
    }
    m.clientWidth = 10;   // narrower than the margins: no size comes out negative or beyond the limit
    EXPECT_EQ(fitClientSize(m, {1, std::int64_t(1) << 40}).height, MAX_WINDOW_EXTENT);
}

TEST(Fitting, EveryLineCountsAndALineWiderThanTheLimitWraps)
{
    // Characters 10 pixels wide and lines 16 high, wrapped at 100 pixels: ten characters.
    using Entries = std::vector<std::wstring>;
    const auto measure = [](std::wstring_view line) { return Extent{10 * std::int64_t(line.size()), 16}; };
    struct Case { Entries entries; bool multiline; std::int64_t width, height; };
    const Case cases[] = {
        {{L"0123456789\n"}, false, 100, 16},                        // exactly at the limit: one line
        {{L"0123456789a\n"}, false, 100, 32},                       // a character more: two, as wide as the limit
        {{std::wstring(25, L'x') + L"\n"}, false, 100, 48},        // 2.5 times the limit: three
        {{L"ab\nabc\n", L"a\n", L"a\na\na\n"}, true, 30, 48},      // the tallest paragraph
        {{L"ab\nabc\n", L"a\n", L"a\na\na\n"}, false, 30, 16},     // or line
        {{L"ab\n\nabcdefgh\n", L"\nabcd\n", L"abcdef"}, true, 20, 16},   // an empty line, or none, ends the measure
        {{}, true, 0, 0},
    };
    for (const Case& c : cases) {
        const TextBlock block = measureEntries(c.entries, 100, c.multiline, measure);
        EXPECT_EQ(std::make_pair(block.width, block.height), std::make_pair(c.width, c.height)) << &c - cases;
    }
}

TEST(Placement, DockingAndTheCaption)
{
    // A window of 200 by 100 docked in a work area of 1024 by 768 from (10, 20): centred across at x = 422.
    struct Case { std::uint32_t position; DockState s; std::int32_t y; };
    for (const Case& c : {Case{1, {false, true, true, 4, 3}, 16},        // top, Blackbox with caption: raised
                          Case{1, {false, false, true, 4, 3}, 20}, Case{1, {true, true, true, 4, 3}, 20},
                          Case{2, {true, false, false, 4, 3}, 694},      // bottom, transparent: two frames lower
                          Case{2, {}, 688}, Case{77, {}, 354},           // any larger number: centre
                          Case{1, {false, true, true, INT_MIN, 3}, INT_MAX}}) {
        const auto p = dockPosition(c.position, ScreenRect{10, 20, 1034, 788}, 200, 100, c.s);
        EXPECT_EQ(fields(p.value_or(ScreenPoint{-1, -1})), std::make_pair(422, c.y)) << c.position << " " << c.y;
    }
    EXPECT_FALSE(dockPosition(0, ScreenRect{0, 0, 1024, 768}, 200, 100, {}));
    // A window that would leave the work area moves in as far as it must; a larger one to the edge.
    struct Inside { ScreenPoint at; std::int32_t w, h; ScreenPoint expected; };
    for (const Inside& c : {Inside{{-4, 50}, 1032, 100, {10, 50}}, Inside{{900, 700}, 200, 100, {834, 688}},
                            Inside{{100, 30}, 200, 100, {100, 30}}, Inside{{5, 0}, 2000, 900, {10, 20}},
                            Inside{{INT_MAX, INT_MIN}, 1, 1, {1033, 20}}})
        EXPECT_EQ(fields(keepInside(ScreenRect{10, 20, 1034, 788}, c.at, c.w, c.h)), fields(c.expected)) << c.at.x;
    // The work area to dock in is that of the monitor holding the window: the one it overlaps most, else the nearest.
    struct Holding { const char* name; std::vector<Monitor> monitors; ScreenRect window; std::size_t expected; };
    const Holding holding[] = {
        {"more on the right one", {primary, onRight}, {1800, 100, 2200, 300}, 1},
        {"more on the primary", {primary, onRight}, {1700, 100, 2100, 300}, 0},
        {"off to the right", {primary, onRight}, {5000, 100, 5400, 300}, 1},
        {"off to the left", {primary, onRight}, {-3000, 100, -2600, 300}, 0},
        {"below the smaller left one", {primary, onLeft}, {-500, 1100, -100, 1200}, 1},   // nearer than across
        {"below both, as near to each", {primary, onRight}, {1720, 2000, 2120, 2100}, 0},   // the first: the primary
        // A column or a row of pixels on a monitor is on it, though another touches the window.
        {"a column on the primary", {{{-1280, 300, -400, 1000}, {}}, primary}, {-400, 100, 1, 300}, 1},
        {"a row on the primary", {{{300, -1280, 1000, -400}, {}}, primary}, {100, -400, 300, 1}, 1},
        {"a pixel on the primary", {{{-1280, 1, -400, 1000}, {}}, primary}, {-400, -300, 1, 1}, 1},
        {"off up and to the left", {primary, onRight}, {-3000, -3000, -2600, -2800}, 0},
        // Distances are straight lines: 5 below as near as 3 across and 4 below; 10 below farther than 8 across.
        {"as near below as across", {{{0, 105, 100, 200}, {}}, {{103, 104, 200, 200}, {}}}, {0, 0, 100, 100}, 0},
        {"nearer across than below", {{{0, 110, 100, 200}, {}}, {{108, 0, 200, 100}, {}}}, {0, 0, 100, 100}, 1},
    };
    for (const Holding& c : holding) EXPECT_EQ(monitorHolding(c.window, c.monitors), &c.monitors[c.expected]) << c.name;
    EXPECT_EQ(monitorHolding({0, 0, 10, 10}, {}), nullptr);
    struct Caption { bool caption, blackbox; std::int32_t top, height; };
    for (const Caption& c : {Caption{true, false, 100, 200}, Caption{true, true, 96, 202}, Caption{false, true, 104, 200}}) {
        const CaptionPlace place = captionPlace(100, 200, c.caption, c.blackbox, 4, 2);
        EXPECT_EQ(std::make_pair(place.top, place.height), std::make_pair(c.top, c.height));
    }
}

TEST(Dpi, SizesScaleToTheScreenAndTheFileKeepsThe96DpiSizes)
{
    struct Case { std::int32_t size; std::uint32_t dpi; std::int32_t up, down; };
    const Case cases[] = {
        {13, 96, 13, 13}, {5, 144, 8, 3},                   // halves round away from zero, as MulDiv
        {-13, 144, -20, -9}, {-13, 120, -16, -10}, {600, 192, 1200, 300},
        {7, 72, 7, 7}, {7, 0, 7, 7},                        // below 96 dpi (or none) is taken as 96
        {INT32_MAX, 144, INT32_MAX, 1431655765}, {INT32_MIN, 0xFFFFFFFF, INT32_MIN, -3145776},   // no overflow
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::make_pair(scaleToDpi(c.size, c.dpi), scaleFromDpi(c.size, c.dpi)), std::make_pair(c.up, c.down))
            << c.size << " at " << c.dpi;
    // What the file holds comes back unchanged from every screen; a window moved to another screen and
    // back keeps its sizes.
    for (std::uint32_t dpi : {96u, 97u, 120u, 144u, 168u, 250u})
        for (std::int32_t size = -3000; size <= 3000; ++size) {
            ASSERT_EQ(scaleFromDpi(scaleToDpi(size, dpi), dpi), size) << size << " at " << dpi;
            ASSERT_EQ(rescaleDpi(rescaleDpi(scaleToDpi(size, 144), 144, dpi), dpi, 144), scaleToDpi(size, 144));
        }
    // A rectangle's place and size scale each: 1.5 times as large at 144 dpi, and back the same.
    const ScreenRect stored{100, 201, 701, 526};
    EXPECT_EQ(fields(rectToDpi(stored, 144)), std::make_tuple(150, 302, 1052, 790));   // 902 by 488
    EXPECT_EQ(fields(rectFromDpi(rectToDpi(stored, 144), 144)), fields(stored));
    EXPECT_EQ(fields(rectToDpi(ScreenRect{-7, 0, 5, 3}, 144)), std::make_tuple(-11, 0, 7, 5));
    const ScreenRect far{INT32_MIN, -5, INT32_MAX, 70000};   // hand-edited: kept as it is at 96 dpi
    EXPECT_EQ(std::make_pair(fields(rectToDpi(far, 96)), fields(rectFromDpi(far, 96))), std::make_pair(fields(far), fields(far)));
    EXPECT_EQ(std::make_tuple(fontHeightForPoints(10, 96), fontHeightForPoints(10, 144), fontHeightForPoints(10, 120)),
              std::make_tuple(-13, -20, -17));
}

TEST(Look, UnusableHandEditedValuesGiveWay)
{
    const auto colours = [](Colours c) { return std::make_pair(c.text, c.background); };
    EXPECT_EQ(colours(usableColours({0, 0})), std::make_pair(0x000000u, 0xFFFFFFu));   // black on black
    EXPECT_EQ(colours(usableColours({0x123456, 0x123456})), std::make_pair(0x000000u, 0xFFFFFFu));
    EXPECT_EQ(colours(usableColours({0x123456, 0x123457})), std::make_pair(0x123456u, 0x123457u));
    struct Height { std::int32_t stored, used; };
    for (const Height& h : {Height{MAX_FONT_HEIGHT, MAX_FONT_HEIGHT}, Height{MAX_FONT_HEIGHT + 1, -13}, Height{0, 0},
                            Height{-MAX_FONT_HEIGHT - 1, -13}, Height{5, -13}, Height{-MIN_FONT_HEIGHT, -MIN_FONT_HEIGHT},
                            Height{MIN_FONT_HEIGHT, MIN_FONT_HEIGHT}, Height{INT32_MIN, -13}})
        EXPECT_EQ(usableFontHeight(h.stored, -13), h.used) << h.stored;
    using Align = std::optional<TextAlignment>;   // the stored justify: centre, left, right; others unchanged
    EXPECT_EQ(std::make_tuple(alignmentFor(0), alignmentFor(1), alignmentFor(2), alignmentFor(3)),
              std::make_tuple(Align(TextAlignment::Center), Align(TextAlignment::Left), Align(TextAlignment::Right),
                              Align()));
    // Several sizing modes from a hand-edited file: Fit To Width first, then Fit To Font.
    const auto modes = [](FitModes m) { return std::make_tuple(m.fitFont, m.fitWidth, m.fitGraphic); };
    EXPECT_EQ(modes(oneFitMode({true, true, true})), std::make_tuple(false, true, false));
    EXPECT_EQ(modes(oneFitMode({true, false, true})), std::make_tuple(true, false, false));
    EXPECT_EQ(modes(oneFitMode({false, false, true})), std::make_tuple(false, false, true));
}

TEST(MenuPins, EveryStateShowsItsMenuAndADismissalUndoesOneLevel)
{
    struct Case { PinState before; std::int32_t requested; MenuPath shown; std::optional<MenuPost> afterCommand;
                  std::vector<MenuPost> onDismissal; PinState after; };
    const Case cases[] = {
        {pins(true, -1, false), 0, {-1, -1}, show(0), {none}, pins(false, -1, false)},
        {pins(true, 29, false), 29, {-1, 29}, show(29), {show(0)}, pins(true, -1, false)},
        {pins(false, -1, true), 7, {18, 7}, show(7), {none}, pins(false, -1, false)},
        {pins(true, 18, true), 7, {18, 7}, show(7), {show(18), show(0)}, pins(true, 18, false)},
    };
    for (const Case& c : cases) {
        const MenuPath path = menuToShow(c.before, c.requested);
        PinState p = c.before;
        EXPECT_EQ(std::make_tuple(path.parent, path.position, menuAfterCommand(c.before), dismissMenu(p)),
                  std::make_tuple(c.shown.parent, c.shown.position, c.afterCommand, c.onDismissal)) << &c - cases;
        EXPECT_EQ(tied(p), tied(c.after)) << &c - cases;
    }
    // Pin "Timers", pin the main popup from it, leave both with two dismissals; pin "Dock", then
    // "Blackbox" inside it, and unpin it with its own Pin item; another submenu's pin moves the pin.
    struct Step { unsigned command; bool pinCommand; std::vector<MenuPost> posts; };  // 0: dismissed
    const Step steps[] = {
        {CMD_PIN_TIMERS, true, {show(6)}}, {CMD_COUNTDOWN, false, {show(6)}}, {CMD_PIN, true, {show(6)}},
        {0, false, {show(0)}}, {0, false, {none}}, {CMD_PIN_DOCK, true, {show(18)}},
        {CMD_PIN_BLACKBOX, true, {show(7)}}, {CMD_PIN_BLACKBOX, true, {show(18)}}, {CMD_PIN_INFO, true, {show(29)}},
        {CMD_PIN_INFO, true, {}},
    };
    PinState p;
    for (const Step& s : steps) {
        std::vector<MenuPost> posts;
        if (s.command == 0) {
            posts = dismissMenu(p);
        } else {
            EXPECT_EQ(applyPinCommand(p, s.command), s.pinCommand) << &s - steps;
            if (const auto post = menuAfterCommand(p)) posts.push_back(*post);
        }
        EXPECT_EQ(posts, s.posts) << &s - steps;
    }
    EXPECT_EQ(tied(p), tied(PinState{}));
}

TEST(MenuMarks, ChoicesPinsAndGreyedItems)
{
    // One sizing mode (the one the window keeps to), justification and docking are checked, each pin of its own
    // menu. Bookmark needs "Save on Exit" and makes no sense with random steps; transparency needs layered
    // windows and hides the caption, whose item then shows whether the caption comes back.
    struct Case { bool fitFont, fitWidth, fitGraphic; std::uint32_t justify, docking; PinState pins;
                  bool layered, saveOnExit, random, caption, transparent, savedCaption;
                  std::vector<unsigned> checked, greyed; };
    const Case cases[] = {
        {false, false, false, 0, 0, pins(true, -1, false), false, true, false, true, false, true,
         {CMD_CAPTION, CMD_JUSTIFY_CENTER, CMD_PIN}, {CMD_TRANSPARENT}},
        {true, true, true, 1, 1, pins(false, 17, false), true, false, false, false, false, false,
         {CMD_FIT_WIDTH, CMD_JUSTIFY_LEFT, CMD_DOCK_TOP, CMD_PIN_JUSTIFY}, {CMD_BOOKMARK}},   // the window's mode
        {false, true, true, 2, 2, pins(false, -1, true), true, true, true, false, true, true,
         {CMD_CAPTION, CMD_TRANSPARENT, CMD_FIT_WIDTH, CMD_JUSTIFY_RIGHT, CMD_DOCK_BOTTOM, CMD_PIN_BLACKBOX},
         {CMD_BOOKMARK, CMD_CAPTION}},
        {false, false, true, 3, 3, {false, -1, 7, 19}, true, true, false, false, true, false,   // Blackbox elsewhere
         {CMD_TRANSPARENT, CMD_FIT_GRAPHIC, CMD_DOCK_CENTER}, {CMD_CAPTION}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        MenuState f;
        std::tie(f.fit.fitFont, f.fit.fitWidth, f.fit.fitGraphic, f.justify, f.docking, f.pins) =
            std::tie(c.fitFont, c.fitWidth, c.fitGraphic, c.justify, c.docking, c.pins);
        std::tie(f.layeredWindows, f.saveOnExit, f.random, f.caption, f.transparent, f.savedCaption) =
            std::tie(c.layered, c.saveOnExit, c.random, c.caption, c.transparent, c.savedCaption);
        EXPECT_EQ(marked(f, MarkKind::Check), c.checked);
        EXPECT_EQ(marked(f, MarkKind::Grey), c.greyed);
    }
}

TEST(MenuPosition, PackedPositionsReadBackSigned)
{
    struct Case { std::int32_t x, y; std::uint32_t packed; std::int32_t readX, readY; };
    const Case cases[] = {{1279, 1023, 0x046304FF, 1279, 1023}, {-1, -100, 0x0000FFFF, -1, -100},
                          {-32768, -32868, 0x80008000, -32768, -32868},
                          {INT_MAX, INT_MIN, 0x0064FFFF, -1, 0}};   // each word cut to 16 bits
    for (const Case& c : cases) {
        const MenuPoint p = unpackMenuPosition(c.packed | 0xABCDEF0100000000ull);  // bits above the words ignored
        EXPECT_EQ(std::make_tuple(packMenuPosition(c.x, c.y), p.x, p.y), std::make_tuple(c.packed, c.readX, c.readY));
    }
}

TEST(PeriodParts, SplitAndJoin)
{
    for (PeriodParts p : {PeriodParts{0, 0, 5, 0}, {1, 2, 3, 4}, {2, 1, 0, 0}, {0, 59, 59, 999}, {0, 59, 0, 0}, {1, 0, 0, 0}}) {
        const PeriodParts back = splitPeriod(static_cast<std::uint32_t>(joinPeriod(p)));
        EXPECT_EQ(std::tie(back.hours, back.minutes, back.seconds, back.milliseconds),
                  std::tie(p.hours, p.minutes, p.seconds, p.milliseconds));
    }
    EXPECT_EQ(joinPeriod({0, 75, 0, 1500}), 4501500u);   // no part has an upper limit
    EXPECT_EQ(joinPeriod({1200, 0, 0, 0}), 4320000000u);   // nor does the sum
    EXPECT_EQ(joinPeriod({UINT32_MAX, UINT32_MAX, UINT32_MAX, UINT32_MAX}), 4294967295ull * 3661001);
}

TEST(Gong, OpenCommandQuotesAPathWithSpacesAndRefusesOneTooLong)
{
    const std::wstring fits = L"C:\\" + std::wstring(240, L'x');   // 259 characters with the rest of the command
    struct Case { std::wstring path, expected; };
    for (const Case& c : {Case{L"C:\\WINDOWS\\ding.wav", L"open C:\\WINDOWS\\ding.wav alias gong"},
                          Case{L"C:\\my sounds\\gong.wav", L"open \"C:\\my sounds\\gong.wav\" alias gong"},
                          Case{L"", L""}, Case{fits, L"open " + fits + L" alias gong"}, Case{fits + L"x", L""}}) {
        EXPECT_EQ(gongOpenCommand(c.path), c.expected) << std::string(c.path.begin(), c.path.end());
    }
}

TEST(Picture, SizesRoundToPixelsAndScaleIntoTheBoxKeepingTheShapeNeverEnlarged)
{
    // 1/100 mm to pixels, rounded half away from zero: 26 at 96 dpi is 0.98, 27 at 47 dpi is 0.4996.
    EXPECT_EQ(std::make_tuple(himetricToPixels(26, 96), himetricToPixels(-26, 96), himetricToPixels(27, 47),
                              himetricToPixels(-27, 47), himetricToPixels(1270, 1), himetricToPixels(-1270, 1),
                              himetricToPixels(254000, 96)),
              std::make_tuple(1, -1, 0, 0, 1, -1, 9600));
    // And back, as the system's picture object sizes a bitmap: 64 by 48 pixels at 96 dpi are 1693 by 1270;
    // 1 pixel at 40 dpi is 63.5, at 97 dpi 26.18556.
    EXPECT_EQ(std::make_tuple(pixelsToHimetric(64, 96), pixelsToHimetric(48, 96), pixelsToHimetric(1, 40),
                              pixelsToHimetric(-1, 40), pixelsToHimetric(1, 97), pixelsToHimetric(5, 0)),
              std::make_tuple(1693, 1270, 64, -64, 26, 0));
    for (std::int32_t dpi : {72, 96, 120, 144, 192})
        for (std::int32_t pixels : {1, 7, 64, 1023, 8000})
            EXPECT_EQ(himetricToPixels(pixelsToHimetric(pixels, dpi), dpi), pixels) << pixels << " at " << dpi;
    struct Case { PixelSize natural; std::int64_t boxW, boxH; PixelSize expected; };
    for (const Case& c : {Case{{400, 100}, 200, 200, {200, 50}}, Case{{100, 400}, 1000, 200, {50, 200}},
                          Case{{64, 48}, 1000, 1000, {64, 48}}, Case{{0, 48}, 100, 100, {0, 0}},
                          Case{{48, 0}, 100, 100, {0, 0}}, Case{{1, 1}, 100, 100, {1, 1}}})
        EXPECT_EQ(fields(scalePictureToBox(c.natural, c.boxW, c.boxH)), fields(c.expected)) << c.natural.width << " " << c.boxW;
}

TEST(Picture, FitToGraphicCountsTheFrameAndOnlyWhatTheScreenShowsIsKept)
{
    // A work area of 1024 by 768 and a frame with caption of 8 by 27: the client area may be 1016 by 741.
    struct Fit { PixelSize natural, client; };
    for (const Fit& c : {Fit{{2000, 100}, {1016, 50}}, Fit{{100, 2000}, {37, 741}}, Fit{{1016, 741}, {1016, 741}},
                         Fit{{64, 48}, {64, 48}}})
        EXPECT_EQ(fields(graphicClientSize(c.natural, 1024, 768, 8, 27)), fields(c.client)) << c.natural.width;
    // On a screen where no client area exceeds 1036 by 780: the whole picture shrunk, and its top-left part
    // for tiles; a picture within the screen is kept once, whole.
    struct Views { PixelSize pixels; PictureViews expected; };
    for (const Views& c : {Views{{8000, 8000}, {{780, 780}, {1036, 780}}}, Views{{2000, 100}, {{1036, 51}, {1036, 100}}},
                           Views{{100, 2000}, {{39, 780}, {100, 780}}}, Views{{1036, 780}, {{1036, 780}, {0, 0}}},
                           Views{{64, 48}, {{64, 48}, {0, 0}}}, Views{{100000, 10}, {{1036, 1}, {1036, 10}}}}) {
        const PictureViews v = pictureViews(c.pixels, {1036, 780});
        EXPECT_EQ(std::make_pair(fields(v.whole), fields(v.corner)), std::make_pair(fields(c.expected.whole),
                                                                                fields(c.expected.corner))) << c.pixels.width;
    }
    // Of an icon file, the image as wide as the system's icons, else the first.
    EXPECT_EQ(std::make_tuple(iconFrameToUse({48, 32, 16}, 32), iconFrameToUse({48, 16}, 32), iconFrameToUse({}, 32),
                              iconFrameToUse({16, 32, 32}, 32)),
              std::make_tuple(std::size_t(1), std::size_t(0), std::size_t(0), std::size_t(1)));
}

TEST(Picture, ShrinkingAveragesEachChannelOfTheSourcePixelsThatFallOnAPixel)
{
    struct Case { const char* name; PixelSize source; std::vector<std::uint32_t> pixels; PixelSize size;
                  std::vector<std::uint32_t> expected; };
    const std::vector<std::uint32_t> white(8000, 0xFFFFFFFF);
    const Case cases[] = {
        {"two by two boxes", {4, 2}, {0x00000000, 0x04080C10, 0x10203040, 0x10203040,
                                      0x0C18243C, 0x04080C10, 0x10203040, 0x30201000}, {2, 1},
         {0x050A0F17, 0x18202830}},
        {"uneven columns", {3, 1}, {0x00000002, 0x00000004, 0x00000009}, {2, 1}, {0x00000003, 0x00000009}},
        {"halves round up, channels stay apart", {2, 1}, {0xFF000001, 0x00FFFF02}, {1, 1}, {0x80808002}},
        {"uneven rows", {1, 3}, {0x10, 0x20, 0x70}, {1, 2}, {0x18, 0x70}},
        {"same size is a copy", {2, 2}, {1, 2, 3, 4}, {2, 2}, {1, 2, 3, 4}},
        {"never enlarged", {2, 1}, {1, 3}, {4, 4}, {1, 3}},
        {"a long row without overflow", {8000, 1}, white, {1, 1}, {0xFFFFFFFF}},
        {"nothing to make", {2, 1}, {1, 3}, {0, 5}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint32_t> out(c.expected.size() + 1, 0xDEADBEEF);   // one more: nothing written past
        BoxShrinker shrinker(c.source, c.size, out.data());
        for (std::int32_t y = 0; y <= c.source.height; ++y)   // a row too many is ignored
            shrinker.addRow(c.pixels.data() + std::size_t(std::min(y, c.source.height - 1)) * std::size_t(c.source.width));
        EXPECT_EQ(std::vector<std::uint32_t>(out.begin(), out.end() - 1), c.expected);
        EXPECT_EQ(out.back(), 0xDEADBEEF);
        EXPECT_EQ(std::size_t(shrinker.size().width) * std::size_t(shrinker.size().height), c.expected.size());
    }
}

TEST(GlobalKeys, KeysAreReadAsTheMenuWritesThem)
{
    using K = std::optional<GlobalKey>;
    const std::pair<const wchar_t*, K> cases[] = {
        {L"Ctrl+Alt+T", GlobalKey{KEY_CTRL | KEY_ALT, 'T'}}, {L" shift + win + f12 ", GlobalKey{KEY_SHIFT | KEY_WIN, 0x7B}},
        {L"Alt+Page Down", GlobalKey{KEY_ALT, 0x22}}, {L"Control+Down Arrow", GlobalKey{KEY_CTRL, 0x28}},
        {L"F1", GlobalKey{0, 0x70}}, {L"Ctrl+7", GlobalKey{KEY_CTRL, '7'}}, {L"ctrl+space", GlobalKey{KEY_CTRL, 0x20}},
        {L"F24", GlobalKey{0, 0x87}}, {L"Alt+Insert", GlobalKey{KEY_ALT, 0x2D}},
        {L"Ctrl+0", GlobalKey{KEY_CTRL, '0'}}, {L"Ctrl+9", GlobalKey{KEY_CTRL, '9'}}, {L"Ctrl+Z", GlobalKey{KEY_CTRL, 'Z'}},
        {L"Ctrl+a", GlobalKey{KEY_CTRL, 'A'}},
        // Names of no key: nothing is registered for them.
        {L"", K{}}, {L"Ctrl+", K{}}, {L"Ctrl++", K{}}, {L"Ctrl+Ctrl+T", K{}}, {L"Hyper+T", K{}}, {L"F25", K{}},
        {L"F0", K{}}, {L"F01", K{}}, {L"Ctrl+TT", K{}}, {L"Ctrl+?", K{}}, {L"Ctrl+Alt", K{}}, {L"F1:", K{}}, {L"Xtrl+T", K{}},
    };
    for (const auto& [text, key] : cases) EXPECT_EQ(parseGlobalKey(text), key) << std::wstring(text).size();
}

TEST(StartWithWindows, TheListNamesTheProgramQuotedAndFollowsAMovedFolder)
{
    EXPECT_EQ(startUpCommand(L"C:\\Program Files\\Tomel\\tomel.exe"), L"\"C:\\Program Files\\Tomel\\tomel.exe\"");
    for (const auto& [command, program] : {std::pair{L"\"C:\\a b\\tomel.exe\" -x \"y\"", L"C:\\a b\\tomel.exe"},
                                           {L"   C:\\tomel.exe -x -y", L"C:\\tomel.exe"}, {L"\"C:\\open", L"C:\\open"}})
        EXPECT_EQ(programOfCommand(command), program);
    // listed, self, whether the listed one is there: stale
    const std::tuple<const wchar_t*, const wchar_t*, bool, bool> cases[] = {
        {L"C:\\old\\tomel.exe", L"D:\\new\\tomel.exe", false, true}, {L"C:\\old\\tomel.exe", L"D:\\new\\tomel.exe", true, false},
        {L"c:\\TOMEL\\Tomel.exe", L"C:\\tomel\\tomel.exe", false, false}, {L"C:\\tomel.exe", L"C:\\tomel.ex", false, true},
        {L"D:\\tomel.exe", L"C:\\tomel.exe", false, true}};
    for (const auto& [listed, self, there, stale] : cases) EXPECT_EQ(listingIsStale(listed, self, there), stale) << listed;
    // The listed name is a part of the command: it ends where its view ends.
    EXPECT_FALSE(listingIsStale(std::wstring_view(L"C:\\tomel.exe\"", 12), std::wstring_view(L"C:\\tomel.exe-", 12), false));
}

// Each built-in text is found, and translated from the language file, by its row's number: the rows
// are numbered by their places.
TEST(Texts, EveryRowIsNumberedByItsPlace)
{
    for (int i = 0; i < DIALOG_TEXT_COUNT; ++i) EXPECT_EQ(dialogTexts[i].id, i);
    for (int i = 0; i < MESSAGE_TEXT_COUNT; ++i) EXPECT_EQ(messageTexts[i].id, i);
}
