#include "shell/display/frame_win.h"

#include "core/display/placement.h"
#include "shell/app/platform_win.h"
#include "shell/display/dpi_win.h"

ShellMessages shellMessages;

void registerShellMessages()
{
    shellMessages.windowMessage = RegisterWindowMessageW(L"BBLEANSKIN_WINDOWMSG");
    shellMessages.skinMessage = RegisterWindowMessageW(L"BBLEANSKIN_MSG");
}

void detectShell(App& app)
{
    HMODULE user32 = LoadLibraryW(L"user32");
    app.setLayeredAttributes = user32 ? reinterpret_cast<SetLayeredWindowAttributesFn>(
                                            reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")))
                                      : nullptr;
    if (FindWindowW(L"BlackboxClass", L"Blackbox")) {
        app.blackboxShell = true;
        app.blackboxNotifyPending = true;
    }
}

namespace {

ScreenRect screenRect(const RECT& r) { return ScreenRect{r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!platform.getMonitorInfo(monitor, &info)) return TRUE;
    // The primary's work area as the system's setting gives it: the same on Windows, and under Wine,
    // whose monitor does not follow a changed setting, the one a single monitor always had.
    if (info.dwFlags & MONITORINFOF_PRIMARY) SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    reinterpret_cast<std::vector<Monitor>*>(data)->push_back({screenRect(info.rcMonitor), screenRect(info.rcWork)});
    return TRUE;
}

void keepWindowRect(App& app) { GetWindowRect(app.window, &app.windowRect); }

LONG_PTR exStyle(HWND w) { return GetWindowLongPtrW(w, GWL_EXSTYLE); }

}  // namespace

std::vector<Monitor> monitorLayout()
{
    std::vector<Monitor> monitors;
    platform.enumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

RECT workAreaHolding(const RECT& window)
{
    const std::vector<Monitor> monitors = monitorLayout();
    if (const Monitor* m = monitorHolding(screenRect(window), monitors))
        return RECT{m->work.left, m->work.top, m->work.right, m->work.bottom};
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

void notifyBlackbox(App& app)
{
    PostMessageW(app.window, shellMessages.windowMessage, 2, 0);
    PostMessageW(app.window, shellMessages.skinMessage, 5, 0);
}

void applyCaption(App& app)
{
    RECT rc = {};
    GetClientRect(app.window, &rc);
    LONG style = GetWindowLongW(app.window, GWL_STYLE);
    style = app.caption ? (style | WS_CAPTION) : (style & ~WS_CAPTION);
    SetWindowLongW(app.window, GWL_STYLE, style);
    adjustWindowRect(app, rc, style, 0);
    if (app.blackboxShell && app.caption && app.blackboxNotifyPending) {
        notifyBlackbox(app);
        app.blackboxNotifyPending = false;
    }
    const CaptionPlace place = captionPlace(app.windowRect.top, clampTo32(std::int64_t(rc.bottom) - rc.top), app.caption,
                                            app.blackboxShell, systemMetric(app, SM_CYFRAME), scaled(app, app.bbWindowAdjust));
    app.windowRect.top = place.top;
    // SWP_FRAMECHANGED: the frame is drawn anew for the changed style.
    SetWindowPos(app.window, nullptr, app.windowRect.left, place.top, rc.right - rc.left, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    keepWindowRect(app);
}

RECT placeToKeep(const App& app, bool caption)
{
    RECT r = app.windowRect;
    // Minimised or maximised, the place to come back to is the restored one.
    if (IsIconic(app.window) || IsZoomed(app.window)) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        if (GetWindowPlacement(app.window, &placement)) r = placement.rcNormalPosition;
        // That place is given in the work area's coordinates, which are not the screen's when the
        // taskbar stands at the top or the left.
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromWindow(app.window, MONITOR_DEFAULTTONEAREST), &monitor))
            OffsetRect(&r, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    }
    const LONG style = GetWindowLongW(app.window, GWL_STYLE);
    if (!caption || (style & WS_CAPTION) == WS_CAPTION) return r;
    // The caption's share of the frame alone: it does not depend on the client area, which a
    // minimised window does not have.
    RECT with = {}, without = {};
    adjustWindowRect(app, with, style | WS_CAPTION, 0);
    adjustWindowRect(app, without, style & ~WS_CAPTION, 0);
    const std::int64_t height =
        std::int64_t(r.bottom) - r.top + (with.bottom - with.top) - (without.bottom - without.top);
    const CaptionPlace place = captionPlace(r.top, clampTo32(height), true, app.blackboxShell,
                                            systemMetric(app, SM_CYFRAME), scaled(app, app.bbWindowAdjust));
    r.right = clampTo32(std::int64_t(r.right) + (with.right - with.left) - (without.right - without.left));
    r.top = place.top;
    r.bottom = clampTo32(std::int64_t(place.top) + place.height);
    return r;
}

namespace {

// Clips the window to its client part, as large as the window is now.
void setRegion(App& app)
{
    RECT rc = {};
    GetClientRect(app.window, &rc);
    const RECT wanted = {systemMetric(app, SM_CXFRAME), systemMetric(app, SM_CYFRAME),
                         systemMetric(app, SM_CXDLGFRAME) + rc.right, rc.bottom};
    // A clip that fits is left alone, so that setting one never leads to setting it again.
    RECT now = {};
    if (GetWindowRgnBox(app.window, &now) == SIMPLEREGION && EqualRect(&now, &wanted)) return;
    unique_hrgn region(CreateRectRgnIndirect(&wanted));
    // The window owns the region once it is set; one it refused is still ours.
    if (region && SetWindowRgn(app.window, region.get(), TRUE)) region.release();
}

}  // namespace

void applyRegion(App& app, bool on)
{
    if (!on) {
        SetWindowRgn(app.window, nullptr, TRUE);
        return;
    }
    const KeepKeyboard keyboard(app.window);
    ShowWindow(app.window, SW_HIDE);
    setRegion(app);
    ShowWindow(app.window, SW_SHOW);
}

void applyTransparency(App& app)
{
    if (!app.setLayeredAttributes) {
        // Nothing changes on the screen; the caption the user chose is still the one to save.
        if (app.transparent) app.savedCaption = app.caption;
        return;
    }
    if (app.transparent) {
        app.savedCaption = app.caption;
        if (app.caption) {
            app.caption = false;
            applyCaption(app);
        }
        applyRegion(app, true);
        SetWindowLongPtrW(app.window, GWL_EXSTYLE, exStyle(app.window) | WS_EX_LAYERED);
        app.setLayeredAttributes(app.window, app.backgroundColour, 0, LWA_COLORKEY);
    } else {
        SetWindowLongPtrW(app.window, GWL_EXSTYLE, exStyle(app.window) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        applyRegion(app, false);
        app.caption = app.savedCaption;
        if (app.caption) applyCaption(app);
    }
}

void dock(App& app, std::uint32_t position)
{
    DockState s;
    s.transparent = app.transparent;
    s.caption = app.caption;
    s.blackboxShell = app.blackboxShell;
    s.bbCaptionAdjust = scaled(app, app.bbCaptionAdjust);
    s.cyDlgFrame = systemMetric(app, SM_CYDLGFRAME);
    const RECT& r = app.windowRect;
    const std::int32_t w = clampTo32(std::int64_t(r.right) - r.left), h = clampTo32(std::int64_t(r.bottom) - r.top);
    const auto at = dockPosition(position, screenRect(workAreaHolding(r)), w, h, s);
    if (!at) return;
    MoveWindow(app.window, at->x, at->y, w, h, TRUE);
    keepWindowRect(app);
    app.docking = position;
}

bool hasKeyboard(HWND window) { return window && GetForegroundWindow() == window; }

void giveKeyboard(HWND window)
{
    if (!IsWindowVisible(window)) return;
    SetForegroundWindow(window);
    SetFocus(window);
}

bool keyboardTakenElsewhere()
{
    HWND foreground = GetForegroundWindow();
    if (!foreground || foreground == GetDesktopWindow() || foreground == GetShellWindow()) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(foreground, &process);
    return process != GetCurrentProcessId();
}

KeepKeyboard::KeepKeyboard(HWND window)
    : window_(window), had_(hasKeyboard(window)), altHeld_(GetKeyState(VK_MENU) < 0)
{
}

KeepKeyboard::~KeepKeyboard()
{
    if (!had_) return;
    giveKeyboard(window_);
    // A key released while the window was hidden does not reach it. After an Alt+key command the
    // release of Alt alone may then come, which opens the window menu and holds the keys; a key
    // release in place of the lost one keeps it an Alt+key.
    if (altHeld_) DefWindowProcW(window_, WM_SYSKEYUP, 0, 0);
}

void applyStayOnTop(App& app)
{
    SetWindowPos(app.window, app.onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool beginDrag(App& app)
{
    if (!app.draggable) return false;
    GetCursorPos(&app.dragStart);
    SetCapture(app.window);
    return true;
}

void drag(App& app)
{
    if (GetCapture() != app.window) return;
    POINT p = {};
    GetCursorPos(&p);
    const RECT& r = app.windowRect;
    MoveWindow(app.window, clampTo32(std::int64_t(r.left) + p.x - app.dragStart.x),
               clampTo32(std::int64_t(r.top) + p.y - app.dragStart.y), r.right - r.left, r.bottom - r.top, TRUE);
}

void endDrag(App& app)
{
    ReleaseCapture();
    keepWindowRect(app);
    app.docking = DOCK_NONE;
}

void onMove(App& app)
{
    if (!app.inSizeMove) return;
    keepWindowRect(app);
    app.docking = DOCK_NONE;
}

void onSize(App& app, int clientWidth, int clientHeight)
{
    keepWindowRect(app);
    MoveWindow(app.textControl, app.textMargin, 0, clientWidth - 2 * app.textMargin, clientHeight, FALSE);
    InvalidateRect(app.window, nullptr, TRUE);
    // A transparent window that changed its size (a fit, a new text, the frame) is clipped anew, or
    // its text would be cut off at the old size. A minimised one has no client area to clip to.
    if (app.transparent && app.setLayeredAttributes && !IsIconic(app.window)) setRegion(app);
    if (app.inSizeMove) {
        // Sizing by the frame makes the size the user's own.
        app.fitFont = false;
        app.fitWidth = false;
        app.fitGraphic = false;
        app.docking = DOCK_NONE;
    }
}

void toggleCaption(App& app)
{
    if (app.transparent) return;
    app.caption = !app.caption;
    applyCaption(app);
    if (app.docking) dock(app, app.docking);
}

void toggleTransparency(App& app)
{
    app.transparent = !app.transparent;
    applyTransparency(app);
    // The caption came or went, and a docked window keeps to its place in the work area.
    if (app.docking) dock(app, app.docking);
}
