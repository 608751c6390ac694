#include "shell/display/fitting_win.h"

#include "core/display/look.h"
#include "core/display/placement.h"
#include "shell/display/frame_win.h"
#include "shell/display/picture_win.h"

void applyJustify(App& app, std::uint32_t value)
{
    static_assert(SS_LEFT == LONG(TextAlignment::Left) && SS_CENTER == LONG(TextAlignment::Center) &&
                  SS_RIGHT == LONG(TextAlignment::Right), "the alignments are the static control's style bits");
    app.justify = value;
    const std::optional<TextAlignment> alignment = alignmentFor(value);
    if (!alignment) return;
    const LONG style = GetWindowLongW(app.textControl, GWL_STYLE);
    SetWindowLongW(app.textControl, GWL_STYLE, (style & ~3L) | LONG(*alignment));
}

namespace {

// Moves the window to hold a client area of the given size at its present place, for the style it
// has (with a caption when `caption` is set), then docks it again or keeps its rectangle.
void resizeClient(App& app, std::int32_t width, std::int32_t height)
{
    RECT rc = {0, 0, width, height};
    LONG style = GetWindowLongW(app.window, GWL_STYLE);
    if (app.caption) style |= WS_CAPTION;
    AdjustWindowRectEx(&rc, style, FALSE, GetWindowLongW(app.window, GWL_EXSTYLE));
    MoveWindow(app.window, app.windowRect.left, app.windowRect.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
    if (app.docking)
        dock(app, app.docking);
    else
        GetWindowRect(app.window, &app.windowRect);
}

}  // namespace

void fitText(App& app)
{
    FitMetrics m;
    m.fitWidth = app.fitWidth;
    m.multiline = app.multiline;
    RECT client = {};
    GetClientRect(app.window, &client);
    m.clientWidth = client.right - client.left;
    m.fullScreenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    m.frameWidth = GetSystemMetrics(SM_CXFRAME);
    m.frameHeight = GetSystemMetrics(SM_CYFRAME);
    m.textMargin = app.textMargin;

    MemoryDC dc;
    SelectedObject font(dc.get(), app.font.get());
    TEXTMETRICW tm = {};
    GetTextMetricsW(dc.get(), &tm);
    m.lineHeight = std::int64_t(tm.tmHeight) + tm.tmExternalLeading;
    m.logPixelsY = GetDeviceCaps(dc.get(), LOGPIXELSY);
    const TextBlock text = app.entries.empty() ? TextBlock{} : measureText(dc.get(), app.entries, fitLimit(m), m.multiline);
    const ClientSize size = fitClientSize(m, text);
    resizeClient(app, size.width, size.height);
}

void fitToGraphic(App& app)
{
    if (!app.picture) return;
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const WindowDC dc(app.window);
    const PixelSize size = scalePictureToBox(app, dc.get(), work);
    resizeClient(app, size.width, size.height);
}

namespace {
void setFitModes(App& app, unsigned command)
{
    const FitModes m = fitModesFor(command);
    app.fitFont = m.fitFont;
    app.fitWidth = m.fitWidth;
    app.fitGraphic = m.fitGraphic;
}
}  // namespace

void fitToFontCommand(App& app)
{
    setFitModes(app, CMD_FIT_FONT);
    fitText(app);
}

void fitToWidthCommand(App& app)
{
    setFitModes(app, CMD_FIT_WIDTH);
    fitText(app);
}

void fitToGraphicCommand(App& app)
{
    setFitModes(app, CMD_FIT_GRAPHIC);
    fitToGraphic(app);
}
