#include "shell/display/colours_win.h"

#include <commdlg.h>

#include "core/display/dpi.h"
#include "core/display/look.h"
#include "shell/app/app_info_win.h"
#include "shell/display/fitting_win.h"
#include "shell/display/frame_win.h"
#include "shell/display/picture_win.h"

namespace {

constexpr std::int32_t DEFAULT_POINTS = 10;

void setBrush(App& app) { app.backgroundBrush.reset(CreateSolidBrush(app.backgroundColour)); }

// The colour chooser, starting from `colour`; false when cancelled.
bool chooseColour(App& app, COLORREF& colour)
{
    CHOOSECOLORW cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = app.window;
    cc.rgbResult = colour;
    cc.lpCustColors = app.customColours;
    cc.Flags = CC_RGBINIT;
    const NestedLoop loop;
    if (!ChooseColorW(&cc)) return false;
    colour = cc.rgbResult;
    return true;
}

}  // namespace

// The new font goes to the control before the old one is deleted.
void remakeFont(App& app)
{
    unique_hfont next(CreateFontIndirectW(&app.logFont));
    if (!next) next.reset(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    SendMessageW(app.textControl, WM_SETFONT, reinterpret_cast<WPARAM>(next.get()), FALSE);
    app.font = std::move(next);
}

void initFont(App& app)
{
    // The rest of the font is the settings' default; only its height needs the screen.
    app.logFont.lfHeight = fontHeightForPoints(DEFAULT_POINTS, app.dpi);
    remakeFont(app);
}

void applyFontAndBrush(App& app)
{
    const Colours colours = usableColours({app.textColour, app.backgroundColour});
    app.textColour = colours.text;
    app.backgroundColour = colours.background;
    // Judged as the file holds it, so that every screen keeps the same heights.
    const std::int32_t stored = scaleFromDpi(app.logFont.lfHeight, app.dpi);
    app.logFont.lfHeight = scaleToDpi(usableFontHeight(stored, fontHeightForPoints(DEFAULT_POINTS, BASE_DPI)), app.dpi);
    app.logFont.lfFaceName[LF_FACESIZE - 1] = L'\0';
    setBrush(app);
    remakeFont(app);
}

void chooseFont(App& app)
{
    CHOOSEFONTW cf = {};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = app.window;
    cf.lpLogFont = &app.logFont;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_FORCEFONTEXIST;
    {
        const NestedLoop loop;
        if (!ChooseFontW(&cf)) return;
    }
    remakeFont(app);
    if (app.fitFont || app.fitWidth) fitText(app);
    InvalidateRect(app.window, nullptr, TRUE);
    // A transparent window keeps its caption off and its colour key; a new size gets its clip anew
    // as it comes (onSize).
}

void chooseTextColour(App& app)
{
    if (!chooseColour(app, app.textColour)) return;
    InvalidateRect(app.window, nullptr, TRUE);
}

void chooseBackgroundColour(App& app)
{
    if (!chooseColour(app, app.backgroundColour)) return;
    setBrush(app);
    if (app.transparent && app.setLayeredAttributes)
        app.setLayeredAttributes(app.window, app.backgroundColour, 0, LWA_COLORKEY);
    InvalidateRect(app.window, nullptr, TRUE);
}

HBRUSH dialogBrush(App& app) { return app.backgroundBrush.get(); }

HBRUSH textControlColours(App& app, HDC dc)
{
    SetTextColor(dc, app.textColour);
    SetBkMode(dc, TRANSPARENT);
    if (pictureShown(app)) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    return app.backgroundBrush.get();
}
