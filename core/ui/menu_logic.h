#pragma once
// The popup menu's decisions, apart from any window: which menu a pin state shows, what happens
// after a command or a dismissal, which items are checked and greyed, and how a menu position
// travels in a message.
#include <cstdint>
#include <optional>
#include <vector>

#include "core/app/command_logic.h"

// The menu to show. parent -1 and position -1: the main popup itself; parent -1: the submenu at
// `position` of the main popup; otherwise the submenu at `position` inside the submenu at `parent`.
struct MenuPath {
    std::int32_t parent = -1;
    std::int32_t position = -1;
};
MenuPath menuToShow(const PinState& pins, std::int32_t submenuPosition);

// What the window posts itself once a menu has closed: MSG_SHOW_MENU with `submenu`, or WM_NULL.
struct MenuPost {
    bool showMenu = false;
    std::int32_t submenu = 0;
    bool operator==(const MenuPost& o) const { return showMenu == o.showMenu && submenu == o.submenu; }
};
// After a chosen command (other than Exit) has run: the innermost pinned menu, shown again.
std::optional<MenuPost> menuAfterCommand(const PinState& pins);
// After the menu was dismissed (or nothing could be shown): one pin level is undone, and the
// outer pinned menus come back, in this order.
std::vector<MenuPost> dismissMenu(PinState& pins);

// What the greyed items and the marks beyond the settings' own flags are read from. (A setting that
// is a flag with a menu item of its own is checked from the settings table.)
struct MenuState {
    bool layeredWindows = true;   // SetLayeredWindowAttributes exists
    bool timerSuspended = false;  // a command's modal dialog is open
    bool saveOnExit = false, random = false;   // Bookmark makes sense only with both saved and in order
    bool caption = false, transparent = false, savedCaption = false;
    FitModes fit;
    std::uint32_t justify = 0;
    std::uint32_t docking = 0;
    bool blackboxShell = false;   // not a setting: found at start-up
    bool startsWithWindows = false;   // not a setting: the user's start-up list holds the program
    PinState pins;
};

enum class MarkKind { Grey, Check };
struct MenuMark {
    MarkKind kind;
    unsigned command;
    bool operator==(const MenuMark& o) const { return kind == o.kind && command == o.command; }
};
// Every grey and check for a freshly loaded menu, by command number, in the order they are set.
std::vector<MenuMark> menuMarks(const MenuState& state);

// A menu position packed into MSG_SHOW_MENU's wParam: x in the low word, y + 100 in the high word,
// each cut to 16 bits and read back as signed, so a menu left of or above the primary monitor
// opens again where it was.
std::uint32_t packMenuPosition(std::int32_t x, std::int32_t y);
struct MenuPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};
MenuPoint unpackMenuPosition(std::uint64_t wParam);
