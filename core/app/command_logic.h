#pragma once
// The parts of the commands that are plain logic on the App's fields.
#include <cstdint>

#include "core/app/commands.h"

// The one level-3 submenu, "Blackbox", stands at LEVEL3_POSITION inside "Dock", the submenu at
// LEVEL3_PARENT of the main popup. A level-2 Pin is CMD_PIN + its submenu's position, the
// level-3 Pin CMD_PIN_LEVEL3 + its submenu's position.
constexpr std::int32_t LEVEL3_PARENT = 18;
constexpr std::int32_t LEVEL3_POSITION = 7;
static_assert(CMD_PIN_DOCK == CMD_PIN + LEVEL3_PARENT && CMD_PIN_BLACKBOX == CMD_PIN_LEVEL3 + LEVEL3_POSITION,
              "the Pin commands follow the menu positions");

struct PinState {
    bool menuPinned = false;
    std::int32_t pinnedSubmenu = -1;       // position of the pinned level-2 submenu, or -1
    std::int32_t pinnedLevel3 = -1;        // position of the pinned level-3 submenu in its parent, or -1
    std::int32_t pinnedLevel3Parent = -1;  // that parent's position, or -1
};

// Commands 2000, 2006 ... 2029 and 3007: pin or unpin a menu. Other numbers change nothing and give false.
bool applyPinCommand(PinState& pins, unsigned command);

struct FitModes {
    bool fitFont = false;
    bool fitWidth = false;
    bool fitGraphic = false;
};
// Commands 1041 to 1043 leave exactly one sizing mode set.
FitModes fitModesFor(unsigned command);
// The one sizing mode that counts when several are set (a hand-edited file): Fit To Width before
// Fit To Font before Fit To Graphic, the order in which the window honours them. The window keeps
// to it and the menu marks it.
FitModes oneFitMode(FitModes modes);
