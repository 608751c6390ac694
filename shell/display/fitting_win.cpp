#include "shell/display/fitting_win.h"

void applyJustify(App& app, std::uint32_t value)
{
    app.justify = value;
    LONG bits;
    switch (value) {
    case 0: bits = SS_CENTER; break;
    case 1: bits = SS_LEFT; break;
    case 2: bits = SS_RIGHT; break;
    default: return;
    }
    const LONG style = GetWindowLongW(app.textControl, GWL_STYLE);
    SetWindowLongW(app.textControl, GWL_STYLE, (style & ~3L) | bits);
}
