#include "shell/display/colours_win.h"

HBRUSH dialogBrush(App& app) { return app.backgroundBrush.get(); }

HBRUSH textControlColours(App& app, HDC dc)
{
    SetTextColor(dc, app.textColour);
    SetBkMode(dc, TRANSPARENT);
    return app.backgroundBrush.get();
}
