// The popup menu's decisions without a window: pins, check marks and greyed items, the packed
// menu position, and the timer dialog's split of a period.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>

#include "core/app/commands.h"
#include "core/ui/menu_logic.h"
#include "core/ui/period_parts.h"

namespace {

PinState pins(bool main, int submenu, bool blackbox)
{
    return {main, submenu, blackbox ? 7 : -1, blackbox ? 18 : -1};
}
auto tied(const PinState& p) { return std::tie(p.menuPinned, p.pinnedSubmenu, p.pinnedLevel3, p.pinnedLevel3Parent); }
const MenuPost none{false, 0};
MenuPost show(int submenu) { return {true, submenu}; }

std::vector<unsigned> marked(const MenuFlags& f, MarkKind kind)
{
    std::vector<unsigned> out;
    for (const MenuMark& m : menuMarks(f))
        if (m.kind == kind) out.push_back(m.command);
    return out;
}

TEST(MenuPins, EveryStateShowsItsMenuAndFallsBackOneLevel)
{
    struct Case { PinState before; std::int32_t requested; MenuPath shown; std::optional<MenuPost> afterCommand;
                  std::vector<MenuPost> onDismissal; PinState after; };
    const Case cases[] = {
        {pins(false, -1, false), 0, {-1, -1}, std::nullopt, {none}, pins(false, -1, false)},
        {pins(true, -1, false), 0, {-1, -1}, show(0), {none}, pins(false, -1, false)},
        {pins(false, 6, false), 6, {-1, 6}, show(6), {none}, pins(false, -1, false)},
        {pins(false, 6, false), 0, {-1, 0}, show(6), {none}, pins(false, -1, false)},  // a right click asks for 0
        {pins(true, 29, false), 29, {-1, 29}, show(29), {show(0)}, pins(true, -1, false)},
        {pins(false, -1, true), 7, {18, 7}, show(7), {none}, pins(false, -1, false)},
        {pins(true, -1, true), 7, {18, 7}, show(7), {show(0)}, pins(true, -1, false)},
        {pins(false, 18, true), 7, {18, 7}, show(7), {show(18), none}, pins(false, 18, false)},
        {pins(true, 18, true), 7, {18, 7}, show(7), {show(18), show(0)}, pins(true, 18, false)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const MenuPath path = menuToShow(c.before, c.requested);
        EXPECT_EQ(std::tie(path.parent, path.position), std::tie(c.shown.parent, c.shown.position));
        EXPECT_EQ(menuAfterCommand(c.before), c.afterCommand);
        PinState p = c.before;
        EXPECT_EQ(dismissMenu(p), c.onDismissal);
        EXPECT_EQ(tied(p), tied(c.after));
    }
}

TEST(MenuPins, PinCommandsWalkThroughTheStates)
{
    // Pin "Timers", pin the main popup from it, leave both with two dismissals; pin "Dock", then
    // "Blackbox" inside it, and unpin it with its own Pin item; another submenu's pin moves the pin.
    struct Step { unsigned command; bool pinCommand; std::vector<MenuPost> posts; };  // 0: dismissed
    const Step steps[] = {
        {CMD_PIN_TIMERS, true, {show(6)}}, {CMD_COUNTDOWN, false, {show(6)}}, {CMD_PIN, true, {show(6)}},
        {0, false, {show(0)}},             {0, false, {none}},                 {CMD_PIN_DOCK, true, {show(18)}},
        {CMD_PIN_BLACKBOX, true, {show(7)}}, {CMD_PIN_BLACKBOX, true, {show(18)}}, {CMD_PIN_INFO, true, {show(29)}},
        {CMD_PIN_NAVIGATE, true, {show(7)}}, {CMD_PIN_NAVIGATE, true, {}},    {2001, false, {}},
        {CMD_PIN_SETTINGS, true, {show(28)}}, {CMD_PIN_JUSTIFY, true, {show(17)}}, {CMD_PIN_WINDOW, true, {show(19)}},
        {CMD_PIN_WINDOW, true, {}},
    };
    PinState p;
    for (const Step& s : steps) {
        SCOPED_TRACE(&s - steps);
        std::vector<MenuPost> posts;
        if (s.command == 0) {
            posts = dismissMenu(p);
        } else {
            EXPECT_EQ(applyPinCommand(p, s.command), s.pinCommand);
            if (const auto post = menuAfterCommand(p)) posts.push_back(*post);
        }
        EXPECT_EQ(posts, s.posts);
    }
    EXPECT_EQ(tied(p), tied(PinState{}));
}

TEST(MenuMarks, ChoicesAndPinsCheckOneItemEach)
{
    struct Case { bool fitFont, fitWidth, fitGraphic; std::uint32_t justify, docking; PinState pins;
                  std::vector<unsigned> checked; };
    const Case cases[] = {
        {false, false, false, 0, 0, {}, {CMD_JUSTIFY_CENTER}}, {true, true, true, 1, 1, {}, {CMD_FIT_FONT, CMD_JUSTIFY_LEFT, CMD_DOCK_TOP}},
        {false, true, true, 2, 2, {}, {CMD_FIT_WIDTH, CMD_JUSTIFY_RIGHT, CMD_DOCK_BOTTOM}},
        {false, false, true, 3, 3, {}, {CMD_FIT_GRAPHIC, CMD_DOCK_CENTER}}, {false, false, false, 0xFFFFFFFF, 4, {}, {}},
        {false, false, false, 3, 0, pins(true, -1, false), {CMD_PIN}}, {false, false, false, 3, 0, pins(false, 17, false), {CMD_PIN_JUSTIFY}},
        {false, false, false, 3, 0, pins(false, -1, true), {CMD_PIN_BLACKBOX}},
        {false, false, false, 3, 0, {false, -1, 7, 19}, {}},  // a level-3 pin under another parent
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        MenuFlags f;
        std::tie(f.fitFont, f.fitWidth, f.fitGraphic, f.justify, f.docking) =
            std::tie(c.fitFont, c.fitWidth, c.fitGraphic, c.justify, c.docking);
        f.pins = c.pins;
        EXPECT_EQ(marked(f, MarkKind::Check), c.checked);
    }
}

TEST(MenuMarks, GreyedItems)
{
    // While a dialog is open the items that open another are greyed; Bookmark needs "Save on Exit"
    // and makes no sense with random steps; transparency needs layered windows and hides the caption.
    struct Case { bool suspended, layered, saveOnExit, random, caption, transparent, savedCaption;
                  std::vector<unsigned> greyed; bool captionChecked; };
    const std::vector<unsigned> dialogs{1011, 1012, 1065, 1066, 1081, 1085, 1082, 1083, 1084, 1086, 1092, 1104};
    std::vector<unsigned> suspended = dialogs;
    suspended.push_back(CMD_BOOKMARK);
    const Case cases[] = {
        {false, true, true, false, false, false, false, {}, false}, {true, true, true, false, false, false, false, dialogs, false},
        {true, true, false, false, false, false, false, suspended, false},
        {false, false, true, false, false, false, false, {CMD_TRANSPARENT}, false},
        {false, true, true, true, false, false, false, {CMD_BOOKMARK}, false}, {false, true, false, true, false, false, false, {CMD_BOOKMARK}, false},
        {false, true, true, false, true, false, false, {}, true}, {false, true, true, false, false, false, true, {}, false},
        {false, true, true, false, false, true, true, {CMD_CAPTION}, true}, {false, true, true, false, false, true, false, {CMD_CAPTION}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        MenuFlags f;
        std::tie(f.timerSuspended, f.layeredWindows, f.saveOnExit, f.random, f.caption, f.transparent, f.savedCaption) =
            std::tie(c.suspended, c.layered, c.saveOnExit, c.random, c.caption, c.transparent, c.savedCaption);
        EXPECT_EQ(marked(f, MarkKind::Grey), c.greyed);
        const std::vector<unsigned> checks = marked(f, MarkKind::Check);
        EXPECT_EQ(std::count(checks.begin(), checks.end(), CMD_CAPTION), c.captionChecked ? 1 : 0);
        EXPECT_EQ(std::count(checks.begin(), checks.end(), CMD_TRANSPARENT), c.transparent ? 1 : 0);
    }
}

TEST(MenuPosition, PackedPositionsReadBackSigned)
{
    struct Case { std::int32_t x, y; std::uint64_t packed; std::int32_t readX, readY; };
    const Case cases[] = {
        {0, 0, 0x00640000, 0, 0}, {1279, 1023, 0x046304FF, 1279, 1023}, {-1500, -300, 0xFF38FA24, -1500, -300},
        {-1, -100, 0x0000FFFF, -1, -100}, {-32768, -32868, 0x80008000, -32768, -32868}, {32767, 32667, 0x7FFF7FFF, 32767, 32667},
        {INT_MAX, INT_MIN, 0x0064FFFF, -1, 0},   // each word cut to 16 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(packMenuPosition(c.x, c.y), c.packed);
        const MenuPoint p = unpackMenuPosition(c.packed | 0xABCDEF0100000000ull);  // bits above the words ignored
        EXPECT_EQ(std::tie(p.x, p.y), std::tie(c.readX, c.readY));
    }
}

TEST(PeriodParts, SplitAndJoin)
{
    struct Case { std::uint32_t ms; PeriodParts parts; bool splits; };  // splits: the parts are ms's own split
    const Case cases[] = {
        {5000, {0, 0, 5, 0}, true},       {999, {0, 0, 0, 999}, true},     {0, {0, 0, 0, 0}, true},
        {3723004, {1, 2, 3, 4}, true}, {3599999, {0, 59, 59, 999}, true}, {3540000, {0, 59, 0, 0}, true},    {UINT_MAX, {1193, 2, 47, 295}, true},
        {4500000, {0, 75, 0, 0}, false},  {1500, {0, 0, 0, 1500}, false},  // no part has an upper limit
        {4298400000u - 4294967296u, {1194, 0, 0, 0}, false},  // wraps modulo 2^32
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(joinPeriod(c.parts), c.ms);
        if (!c.splits) continue;
        const PeriodParts p = splitPeriod(c.ms);
        EXPECT_EQ(std::tie(p.hours, p.minutes, p.seconds, p.milliseconds),
                  std::tie(c.parts.hours, c.parts.minutes, c.parts.seconds, c.parts.milliseconds));
    }
}

}  // namespace
