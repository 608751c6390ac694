// The popup menu's decisions without a window: the menu a pin state shows, what a command or a
// dismissal brings back, the check marks and greyed items, the packed menu position, and the
// timer dialog's split of a period.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "core/app/commands.h"
#include "core/ui/menu_logic.h"
#include "core/ui/period_parts.h"

namespace {
PinState pins(bool main, int submenu, bool blackbox)
{
    PinState p;
    p.menuPinned = main;
    p.pinnedSubmenu = submenu;
    if (blackbox) {
        p.pinnedLevel3 = 7;
        p.pinnedLevel3Parent = 18;
    }
    return p;
}
bool samePins(const PinState& a, const PinState& b)
{
    return a.menuPinned == b.menuPinned && a.pinnedSubmenu == b.pinnedSubmenu && a.pinnedLevel3 == b.pinnedLevel3 &&
           a.pinnedLevel3Parent == b.pinnedLevel3Parent;
}
const MenuPost nullPost{false, 0};
MenuPost show(int submenu) { return {true, submenu}; }
}  // namespace

TEST(MenuPins, EveryStateShowsItsMenuAndFallsBackOneLevel)
{
    struct Case {
        PinState before;
        std::int32_t requested;   // the submenu position the re-show asks for
        MenuPath shown;
        std::optional<MenuPost> afterCommand;
        std::vector<MenuPost> onDismissal;
        PinState after;
    } cases[] = {
        {pins(false, -1, false), 0, {-1, -1}, std::nullopt, {nullPost}, pins(false, -1, false)},
        {pins(true, -1, false), 0, {-1, -1}, show(0), {nullPost}, pins(false, -1, false)},
        {pins(false, 6, false), 6, {-1, 6}, show(6), {nullPost}, pins(false, -1, false)},
        {pins(true, 29, false), 29, {-1, 29}, show(29), {show(0)}, pins(true, -1, false)},
        {pins(false, -1, true), 7, {18, 7}, show(7), {nullPost}, pins(false, -1, false)},
        {pins(true, -1, true), 7, {18, 7}, show(7), {show(0)}, pins(true, -1, false)},
        {pins(false, 18, true), 7, {18, 7}, show(7), {show(18), nullPost}, pins(false, 18, false)},
        {pins(true, 18, true), 7, {18, 7}, show(7), {show(18), show(0)}, pins(true, 18, false)},
        // A right click while a submenu is pinned asks for position 0, which holds no submenu.
        {pins(false, 6, false), 0, {-1, 0}, show(6), {nullPost}, pins(false, -1, false)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before.menuPinned << " " << c.before.pinnedSubmenu << " "
                                        << c.before.pinnedLevel3 << " asking " << c.requested);
        const MenuPath path = menuToShow(c.before, c.requested);
        EXPECT_EQ(path.parent, c.shown.parent);
        EXPECT_EQ(path.position, c.shown.position);
        EXPECT_EQ(menuAfterCommand(c.before), c.afterCommand);
        PinState p = c.before;
        EXPECT_EQ(dismissMenu(p), c.onDismissal);
        EXPECT_TRUE(samePins(p, c.after));
    }
}

TEST(MenuPins, PinCommandsWalkThroughTheStates)
{
    // Pin "Timers", then pin the main popup from it, then leave both with two dismissals; pin
    // "Dock", then "Blackbox" inside it, and unpin "Blackbox" with its own Pin item.
    struct Step {
        unsigned command;   // 0: the menu is dismissed
        std::vector<MenuPost> posts;
    } steps[] = {
        {CMD_PIN_TIMERS, {show(6)}}, {CMD_COUNTDOWN, {show(6)}}, {CMD_PIN, {show(6)}}, {0, {show(0)}},
        {0, {nullPost}},             {CMD_PIN_DOCK, {show(18)}}, {CMD_PIN_BLACKBOX, {show(7)}},
        {CMD_PIN_BLACKBOX, {show(18)}}, {CMD_PIN_WINDOW, {show(19)}}, {CMD_PIN_WINDOW, {}},
    };
    PinState p;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.command);
        std::vector<MenuPost> posts;
        if (s.command == 0) {
            posts = dismissMenu(p);
        } else {
            applyPinCommand(p, s.command);
            if (const auto post = menuAfterCommand(p)) posts.push_back(*post);
        }
        EXPECT_EQ(posts, s.posts);
    }
    EXPECT_TRUE(samePins(p, PinState{}));
}

namespace {
bool has(const std::vector<MenuMark>& marks, MarkKind kind, unsigned command)
{
    return std::find(marks.begin(), marks.end(), MenuMark{kind, command}) != marks.end();
}
std::vector<unsigned> all(const std::vector<MenuMark>& marks, MarkKind kind, unsigned from, unsigned to)
{
    std::vector<unsigned> out;
    for (const MenuMark& m : marks)
        if (m.kind == kind && m.command >= from && m.command <= to) out.push_back(m.command);
    return out;
}
}  // namespace

TEST(MenuMarks, FlagsCheckTheirItems)
{
    struct Case {
        bool MenuFlags::*flag;
        unsigned command;
    } cases[] = {
        {&MenuFlags::slideShow, CMD_SLIDESHOW},      {&MenuFlags::hide, CMD_HIDE},
        {&MenuFlags::random, CMD_RANDOM},            {&MenuFlags::playSound, CMD_PLAY_SOUND},
        {&MenuFlags::countdown, CMD_COUNTDOWN},      {&MenuFlags::statusInCaption, CMD_STATUS_IN_CAPTION},
        {&MenuFlags::multiline, CMD_MULTILINE},      {&MenuFlags::caption, CMD_CAPTION},
        {&MenuFlags::showBackground, CMD_BACKGROUND}, {&MenuFlags::draggable, CMD_DRAGGABLE},
        {&MenuFlags::trayIcon, CMD_TRAY_ICON},       {&MenuFlags::onTop, CMD_STAY_ON_TOP},
        {&MenuFlags::blackboxShell, CMD_BLACKBOX_SHELL}, {&MenuFlags::saveOnExit, CMD_SAVE_ON_EXIT},
        {&MenuFlags::saveFile, CMD_SAVE_FILE},       {&MenuFlags::resume, CMD_BOOKMARK},
        {&MenuFlags::atCursor, CMD_MENU_AT_CURSOR},
    };
    MenuFlags none;
    none.justify = 9;   // outside the table: checks nothing
    auto onlyCheck = [](const MenuFlags& f, unsigned command) {
        EXPECT_EQ(all(menuMarks(f), MarkKind::Check, 0, 0xFFFF), std::vector<unsigned>{command});
    };
    EXPECT_TRUE(all(menuMarks(none), MarkKind::Check, 0, 0xFFFF).empty());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        MenuFlags f = none;
        f.*c.flag = true;
        onlyCheck(f, c.command);
    }
    // The Pin items: of the main popup, of the pinned submenu, and of "Blackbox" inside "Dock".
    const PinState pinStates[] = {pins(true, -1, false), pins(false, 17, false), pins(false, -1, true)};
    const unsigned pinItems[] = {CMD_PIN, CMD_PIN_JUSTIFY, CMD_PIN_BLACKBOX};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(pinItems[i]);
        MenuFlags f = none;
        f.pins = pinStates[i];
        onlyCheck(f, pinItems[i]);
    }
    MenuFlags elsewhere = none;
    elsewhere.pins.pinnedLevel3 = 7;
    elsewhere.pins.pinnedLevel3Parent = 19;
    EXPECT_TRUE(all(menuMarks(elsewhere), MarkKind::Check, 0, 0xFFFF).empty());
}

TEST(MenuMarks, ChoicesOfOneCheckAtMost)
{
    struct Case {
        bool fitFont, fitWidth, fitGraphic;
        std::uint32_t justify, docking;
        std::vector<unsigned> checked;
    } cases[] = {
        {false, false, false, 0, 0, {CMD_JUSTIFY_CENTER}},
        {true, true, true, 1, 1, {CMD_FIT_FONT, CMD_JUSTIFY_LEFT, CMD_DOCK_TOP}},
        {false, true, true, 2, 2, {CMD_FIT_WIDTH, CMD_JUSTIFY_RIGHT, CMD_DOCK_BOTTOM}},
        {false, false, true, 3, 3, {CMD_FIT_GRAPHIC, CMD_DOCK_CENTER}},
        {false, false, false, 0xFFFFFFFF, 4, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.justify << " " << c.docking);
        MenuFlags f;
        f.fitFont = c.fitFont;
        f.fitWidth = c.fitWidth;
        f.fitGraphic = c.fitGraphic;
        f.justify = c.justify;
        f.docking = c.docking;
        EXPECT_EQ(all(menuMarks(f), MarkKind::Check, 0, 0xFFFF), c.checked);
    }
}

TEST(MenuMarks, GreyedItems)
{
    MenuFlags f;
    f.saveOnExit = true;
    EXPECT_TRUE(all(menuMarks(f), MarkKind::Grey, 0, 0xFFFF).empty());
    f.timerSuspended = true;
    EXPECT_EQ(all(menuMarks(f), MarkKind::Grey, 0, 0xFFFF),
              (std::vector<unsigned>{1011, 1012, 1065, 1066, 1081, 1085, 1082, 1083, 1084, 1086, 1092, 1104}));
    f.timerSuspended = false;
    f.layeredWindows = false;
    EXPECT_EQ(all(menuMarks(f), MarkKind::Grey, 0, 0xFFFF), std::vector<unsigned>{CMD_TRANSPARENT});
    // Bookmark needs "Save on Exit" and makes no sense with random steps.
    for (const bool saveOnExit : {false, true})
        for (const bool random : {false, true}) {
            MenuFlags b;
            b.saveOnExit = saveOnExit;
            b.random = random;
            EXPECT_EQ(has(menuMarks(b), MarkKind::Grey, CMD_BOOKMARK), !saveOnExit || random);
        }
}

TEST(MenuMarks, TransparencyGreysTheCaption)
{
    struct Case {
        bool caption, transparent, savedCaption;
        bool captionChecked, captionGreyed;
    } cases[] = {
        {true, false, false, true, false},
        {false, false, true, false, false},
        {false, true, true, true, true},
        {false, true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.caption << c.transparent << c.savedCaption);
        MenuFlags f;
        f.caption = c.caption;
        f.transparent = c.transparent;
        f.savedCaption = c.savedCaption;
        const auto marks = menuMarks(f);
        EXPECT_EQ(has(marks, MarkKind::Check, CMD_CAPTION), c.captionChecked);
        EXPECT_EQ(has(marks, MarkKind::Grey, CMD_CAPTION), c.captionGreyed);
        EXPECT_EQ(has(marks, MarkKind::Check, CMD_TRANSPARENT), c.transparent);
    }
}

TEST(MenuPosition, PackedPositionsReadBackSigned)
{
    struct Case {
        std::int32_t x, y;
    } cases[] = {{0, 0}, {2, 2}, {1279, 1023}, {-1500, -300}, {-1, -100}, {-32768, -32868}, {32767, 32667}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        const MenuPoint p = unpackMenuPosition(packMenuPosition(c.x, c.y));
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
    EXPECT_EQ(packMenuPosition(-1500, -300), 0xFF38FA24u);
    // Whatever arrives in wParam is read as two 16-bit words, the bits above them ignored.
    const MenuPoint far = unpackMenuPosition(0xABCDEF01FFFFFFFFull);
    EXPECT_EQ(far.x, -1);
    EXPECT_EQ(far.y, -101);
    const MenuPoint wrapped = unpackMenuPosition(packMenuPosition(INT_MAX, INT_MIN));
    EXPECT_EQ(wrapped.x, -1);
    EXPECT_EQ(wrapped.y, 0);
}

TEST(PeriodParts, SplitAndJoin)
{
    struct Case {
        std::uint32_t ms;
        PeriodParts parts;
    } cases[] = {
        {5000, {0, 0, 5, 0}},      {999, {0, 0, 0, 999}},     {0, {0, 0, 0, 0}},
        {3723004, {1, 2, 3, 4}},   {UINT_MAX, {1193, 2, 47, 295}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        const PeriodParts p = splitPeriod(c.ms);
        EXPECT_EQ(p.hours, c.parts.hours);
        EXPECT_EQ(p.minutes, c.parts.minutes);
        EXPECT_EQ(p.seconds, c.parts.seconds);
        EXPECT_EQ(p.milliseconds, c.parts.milliseconds);
        EXPECT_EQ(joinPeriod(p), c.ms);
    }
    EXPECT_EQ(joinPeriod({0, 75, 0, 0}), 4500000u);   // no part has an upper limit
    EXPECT_EQ(joinPeriod({0, 0, 0, 1500}), 1500u);
    EXPECT_EQ(joinPeriod({1194, 0, 0, 0}), 1194u * 3600000u);   // wraps modulo 2^32
    EXPECT_EQ(joinPeriod({1194, 0, 0, 0}), 4298400000ull - 4294967296ull);
}
