#include "shell/display/fitting_win.h"

#include "core/display/look.h"
#include "core/display/placement.h"
#include "shell/display/dpi_win.h"
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

// The outer size of the window around a client area of width by height, for the style it has (with
// a caption when `caption` is set).
SIZE outerSize(App& app, std::int32_t width, std::int32_t height)
{
    RECT rc = {0, 0, width, height};
    LONG style = GetWindowLongW(app.window, GWL_STYLE);
    if (app.caption) style |= WS_CAPTION;
    adjustWindowRect(app, rc, style, GetWindowLongW(app.window, GWL_EXSTYLE));
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

// Moves the window to hold a client area of the given size at its present place, then moves it
// into `keepIn` (when given) if it would leave it there, then docks it again or keeps its rectangle.
void resizeClient(App& app, std::int32_t width, std::int32_t height, const RECT* keepIn = nullptr)
{
    const SIZE outer = outerSize(app, width, height);
    MoveWindow(app.window, app.windowRect.left, app.windowRect.top, outer.cx, outer.cy, TRUE);
    if (keepIn) {
        // As the system made it: no window is smaller than its minimum tracking size.
        RECT now = {};
        GetWindowRect(app.window, &now);
        const ScreenRect work{keepIn->left, keepIn->top, keepIn->right, keepIn->bottom};
        const ScreenPoint at = keepInside(work, {now.left, now.top}, now.right - now.left, now.bottom - now.top);
        if (at.x != now.left || at.y != now.top)
            SetWindowPos(app.window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
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
    m.frameWidth = systemMetric(app, SM_CXFRAME);
    m.frameHeight = systemMetric(app, SM_CYFRAME);
    m.textMargin = app.textMargin;

    MemoryDC dc;
    SelectedObject font(dc.get(), app.font.get());
    TEXTMETRICW tm = {};
    GetTextMetricsW(dc.get(), &tm);
    m.lineHeight = std::int64_t(tm.tmHeight) + tm.tmExternalLeading;
    const TextBlock text = app.entries.empty() ? TextBlock{} : measureText(dc.get(), app.entries, fitLimit(m), m.multiline);
    const ClientSize size = fitClientSize(m, text);
    resizeClient(app, size.width, size.height);
}

void fitToGraphic(App& app)
{
    if (!app.picture) {
        if (pictureLoading(app)) app.pendingPicture.fitOnArrival = true;   // done when it comes
        return;
    }
    const RECT work = workAreaHolding(app.windowRect);
    // The whole window fits the work area: its frame and caption are counted with the picture.
    const SIZE frame = outerSize(app, 0, 0);
    const WindowDC dc(app.window);
    const PixelSize size = graphicClientSize(pictureSizePixels(app, dc.get()), std::int64_t(work.right) - work.left,
                                             std::int64_t(work.bottom) - work.top, frame.cx, frame.cy);
    resizeClient(app, size.width, size.height, &work);
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
