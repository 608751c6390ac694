#include "shell/display/dpi_win.h"

#include <utility>

#include "core/display/dpi.h"
#include "shell/display/colours_win.h"
#include "shell/display/fitting_win.h"

namespace {

// Windows 10's per-dpi functions, looked up: Windows 7 and 8 have none of them.
struct DpiFunctions {
    UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
    int(WINAPI* metricForDpi)(int, UINT) = nullptr;
    BOOL(WINAPI* adjustForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
    BOOL(WINAPI* dialogBehaviour)(HWND, int, int) = nullptr;
    BOOL(WINAPI* controlBehaviour)(HWND, int, int) = nullptr;
};

template <class Fn>
void lookUp(HMODULE module, const char* name, Fn& fn)
{
    fn = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

const DpiFunctions& dpiFunctions()
{
    static const DpiFunctions functions = [] {
        DpiFunctions f;
        const HMODULE user32 = GetModuleHandleW(L"user32");
        lookUp(user32, "GetDpiForWindow", f.dpiForWindow);
        lookUp(user32, "GetSystemMetricsForDpi", f.metricForDpi);
        lookUp(user32, "AdjustWindowRectExForDpi", f.adjustForDpi);
        lookUp(user32, "SetDialogDpiChangeBehavior", f.dialogBehaviour);
        lookUp(user32, "SetDialogControlDpiChangeBehavior", f.controlBehaviour);
        return f;
    }();
    return functions;
}

}  // namespace

std::uint32_t windowDpi(HWND window)
{
    if (const auto dpiForWindow = dpiFunctions().dpiForWindow)
        if (const UINT dpi = dpiForWindow(window)) return usableDpi(dpi);
    const WindowDC screen(nullptr);
    return usableDpi(static_cast<std::uint32_t>(GetDeviceCaps(screen.get(), LOGPIXELSY)));
}

std::int32_t scaled(const App& app, std::int32_t size) { return scaleToDpi(size, app.dpi); }

int systemMetric(const App& app, int index)
{
    if (const auto metricForDpi = dpiFunctions().metricForDpi) return metricForDpi(index, app.dpi);
    return GetSystemMetrics(index);
}

void adjustWindowRect(const App& app, RECT& rc, DWORD style, DWORD exStyle)
{
    if (const auto adjustForDpi = dpiFunctions().adjustForDpi)
        adjustForDpi(&rc, style, FALSE, exStyle, app.dpi);
    else
        AdjustWindowRectEx(&rc, style, FALSE, exStyle);
}

void initDpi(App& app)
{
    app.dpi = windowDpi(app.window);
    app.textMargin = scaled(app, TEXT_MARGIN);
    const DpiFunctions& f = dpiFunctions();
    if (f.dialogBehaviour) f.dialogBehaviour(app.window, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    constexpr int own = DCDC_DISABLE_FONT_UPDATE | DCDC_DISABLE_RELAYOUT;   // the text control's font and place
    if (f.controlBehaviour) f.controlBehaviour(app.textControl, own, own);
}

void onDpiChanged(App& app, std::uint32_t dpi, const RECT& suggested)
{
    const std::uint32_t was = app.dpi;
    app.dpi = usableDpi(dpi);
    app.textMargin = scaled(app, TEXT_MARGIN);
    app.logFont.lfHeight = rescaleDpi(app.logFont.lfHeight, was, app.dpi);
    remakeFont(app);
    // Dragged to the other screen, the window keeps its fit mode: its new size is no sizing by the frame.
    const bool inSizeMove = std::exchange(app.inSizeMove, false);
    SetWindowPos(app.window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (app.fitFont || app.fitWidth)
        fitText(app);
    else if (app.fitGraphic)
        fitToGraphic(app);
    app.inSizeMove = inSizeMove;
    InvalidateRect(app.window, nullptr, TRUE);
}
