#include "core/ui/menu_logic.h"

#include "core/app/commands.h"
#include "core/display/placement.h"

MenuPath menuToShow(const PinState& pins, std::int32_t submenuPosition)
{
    if (pins.pinnedLevel3Parent != -1) return {pins.pinnedLevel3Parent, submenuPosition};
    if (pins.pinnedSubmenu != -1) return {-1, submenuPosition};
    return {};
}

std::optional<MenuPost> menuAfterCommand(const PinState& pins)
{
    if (pins.pinnedLevel3 != -1) return MenuPost{true, pins.pinnedLevel3};
    if (pins.pinnedSubmenu != -1) return MenuPost{true, pins.pinnedSubmenu};
    if (pins.menuPinned) return MenuPost{true, 0};
    return std::nullopt;
}

std::vector<MenuPost> dismissMenu(PinState& pins)
{
    std::vector<MenuPost> posts;
    if (pins.pinnedLevel3 != -1) {
        pins.pinnedLevel3Parent = -1;
        pins.pinnedLevel3 = -1;
        if (pins.pinnedSubmenu != -1) posts.push_back({true, pins.pinnedSubmenu});
    } else if (pins.pinnedSubmenu != -1) {
        pins.pinnedSubmenu = -1;
    } else {
        pins.menuPinned = false;
        posts.push_back({false, 0});
        return posts;
    }
    posts.push_back(pins.menuPinned ? MenuPost{true, 0} : MenuPost{false, 0});
    return posts;
}

std::vector<MenuMark> menuMarks(const MenuState& f)
{
    std::vector<MenuMark> marks;
    auto grey = [&](unsigned command) { marks.push_back({MarkKind::Grey, command}); };
    auto check = [&](unsigned command, bool on) {
        if (on) marks.push_back({MarkKind::Check, command});
    };

    if (!f.layeredWindows) grey(CMD_TRANSPARENT);
    if (f.timerSuspended) {
        for (unsigned c : {CMD_SLIDE_TIME, CMD_HIDE_TIME, CMD_RAISE_CAPTION, CMD_LENGTHEN_WINDOW, CMD_OPEN_FILE,
                           CMD_BACKGROUND_IMAGE, CMD_FONT, CMD_TEXT_COLOUR, CMD_BACKGROUND_COLOUR, CMD_SOUND_FILE,
                           CMD_SAVE_AS, CMD_ABOUT})
            grey(c);
    }
    if (!f.saveOnExit || f.random) grey(CMD_BOOKMARK);

    // With transparency on the caption is gone; its item shows whether it comes back.
    check(CMD_CAPTION, f.caption);
    if (f.transparent) {
        check(CMD_CAPTION, f.savedCaption);
        check(CMD_TRANSPARENT, true);
        grey(CMD_CAPTION);
    }

    const FitModes fit = oneFitMode(f.fit);
    check(CMD_FIT_FONT, fit.fitFont);
    check(CMD_FIT_WIDTH, fit.fitWidth);
    check(CMD_FIT_GRAPHIC, fit.fitGraphic);

    if (f.justify <= 2) check(CMD_JUSTIFY_CENTER + f.justify, true);
    check(CMD_DOCK_TOP, f.docking == DOCK_TOP);
    check(CMD_DOCK_BOTTOM, f.docking == DOCK_BOTTOM);
    check(CMD_DOCK_CENTER, f.docking == DOCK_CENTER);

    check(CMD_BLACKBOX_SHELL, f.blackboxShell);
    check(CMD_START_WITH_WINDOWS, f.startsWithWindows);
    check(CMD_PIN, f.pins.menuPinned);
    if (f.pins.pinnedSubmenu != -1) check(CMD_PIN + static_cast<unsigned>(f.pins.pinnedSubmenu), true);
    if (f.pins.pinnedLevel3 != -1 && f.pins.pinnedLevel3Parent == LEVEL3_PARENT)
        check(CMD_PIN_LEVEL3 + static_cast<unsigned>(f.pins.pinnedLevel3), true);
    return marks;
}

std::uint32_t packMenuPosition(std::int32_t x, std::int32_t y)
{
    const std::uint32_t high = (static_cast<std::uint32_t>(y) + 100u) & 0xFFFFu;
    return (high << 16) | (static_cast<std::uint32_t>(x) & 0xFFFFu);
}

MenuPoint unpackMenuPosition(std::uint64_t wParam)
{
    const auto low = static_cast<std::int16_t>(static_cast<std::uint16_t>(wParam & 0xFFFFu));
    const auto high = static_cast<std::int16_t>(static_cast<std::uint16_t>((wParam >> 16) & 0xFFFFu));
    return {low, high - 100};
}
