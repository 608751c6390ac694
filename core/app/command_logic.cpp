#include "core/app/command_logic.h"

bool applyPinCommand(PinState& pins, unsigned command)
{
    switch (command) {
    case CMD_PIN:
        pins.menuPinned = !pins.menuPinned;
        return true;
    case CMD_PIN_TIMERS:
    case CMD_PIN_NAVIGATE:
    case CMD_PIN_JUSTIFY:
    case CMD_PIN_DOCK:
    case CMD_PIN_WINDOW:
    case CMD_PIN_SETTINGS:
    case CMD_PIN_INFO: {
        const std::int32_t k = static_cast<std::int32_t>(command) - CMD_PIN;
        pins.pinnedSubmenu = pins.pinnedSubmenu == k ? -1 : k;
        return true;
    }
    case CMD_PIN_BLACKBOX:
        if (pins.pinnedLevel3 == LEVEL3_POSITION) {
            pins.pinnedLevel3 = -1;
            pins.pinnedLevel3Parent = -1;
        } else {
            pins.pinnedLevel3 = LEVEL3_POSITION;
            pins.pinnedLevel3Parent = LEVEL3_PARENT;
        }
        return true;
    default:
        return false;
    }
}

FitModes fitModesFor(unsigned command)
{
    FitModes m;
    m.fitFont = command == CMD_FIT_FONT;
    m.fitWidth = command == CMD_FIT_WIDTH;
    m.fitGraphic = command == CMD_FIT_GRAPHIC;
    return m;
}

FitModes oneFitMode(FitModes m)
{
    if (m.fitWidth) return fitModesFor(CMD_FIT_WIDTH);
    if (m.fitFont) return fitModesFor(CMD_FIT_FONT);
    return m;
}
