#include "shell/ui/popup_menu_win.h"

#include <windowsx.h>

#include "core/ui/menu_logic.h"
#include "res/resource.h"
#include "shell/app/app_info_win.h"
#include "shell/app/autostart_win.h"
#include "shell/app/platform_win.h"
#include "shell/text/navigation_win.h"
#include "shell/ui/language_win.h"

namespace {

HMENU menuAt(HMENU main, const MenuPath& path)
{
    if (path.position == -1) return main;
    HMENU parent = path.parent == -1 ? main : GetSubMenu(main, path.parent);
    // A position that holds no submenu (the "Pin" item at 0, or anything out of range) gives none.
    return parent ? GetSubMenu(parent, path.position) : nullptr;
}

void postMenu(HWND window, const MenuPost& post, WPARAM where)
{
    if (post.showMenu)
        PostMessageW(window, MSG_SHOW_MENU, where, post.submenu);
    else
        PostMessageW(window, WM_NULL, 0, 0);
}

MenuState menuState(const App& app)
{
    MenuState s;
    s.layeredWindows = app.setLayeredAttributes != nullptr;
    // A dialog, message box or file chooser is open under the menu (the tray icon's menu can open
    // over one): the commands that would open another are greyed, whoever holds the timer.
    s.timerSuspended = app.timer.timerSuspended || appInfo.nestedLoops > 0;
    s.saveOnExit = app.saveOnExit;
    s.random = app.slide.random;
    s.caption = app.caption;
    s.transparent = app.transparent;
    s.savedCaption = app.savedCaption;
    s.fit = {app.fitFont, app.fitWidth, app.fitGraphic};
    s.justify = app.justify;
    s.docking = app.docking;
    s.blackboxShell = app.blackboxShell;
    s.startsWithWindows = listedAtStartUp();
    s.pins = app.pins;
    return s;
}

// Tracks the menu; 0 when it was dismissed or nothing could be shown.
UINT trackChosenMenu(App& app, int x, int y, std::int32_t submenuPosition)
{
    unique_hmenu loaded(LoadMenuW(appInfo.instance, MAKEINTRESOURCEW(IDR_MAIN)));
    HMENU main = loaded ? GetSubMenu(loaded.get(), 0) : nullptr;
    if (!main) return 0;
    translateMenu(main);
    HMENU shown = menuAt(main, menuToShow(app.pins, submenuPosition));
    if (!shown) return 0;
    setMenuChecks(app, shown);
    SetForegroundWindow(app.window);
    const NestedLoop loop;
    app.menuShowing = true;
    const UINT command = static_cast<UINT>(
        platform.trackPopupMenu(shown, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, app.window, nullptr));
    app.menuShowing = false;
    // A close that came meanwhile dismissed the menu: its choice is not carried out.
    return appInfo.closePending ? 0 : command;
}

}  // namespace

void setMenuChecks(const App& app, HMENU menu)
{
    for (const MenuMark& mark : menuMarks(menuState(app))) {
        if (mark.kind == MarkKind::Grey)
            EnableMenuItem(menu, mark.command, MF_BYCOMMAND | MF_GRAYED);
        else
            CheckMenuItem(menu, mark.command, MF_BYCOMMAND | MF_CHECKED);
    }
    for (unsigned command : checkedCommands(settingTable, static_cast<const Settings*>(&app)))
        CheckMenuItem(menu, command, MF_BYCOMMAND | MF_CHECKED);
}

void showPopupMenu(App& app, int x, int y, std::int32_t submenuPosition)
{
    // A second menu on top of an open one (a posted re-show, a command sent while the menu is up)
    // would be read as a dismissal and undo pins the open menu still uses.
    if (app.menuShowing) return;
    HWND window = app.window;
    // The menu that opens now replaces any re-show still waiting: when a dismissal falls back two
    // levels it posts both, and the outer one comes again when the inner one is dismissed.
    MSG stale;
    while (PeekMessageW(&stale, window, MSG_SHOW_MENU, MSG_SHOW_MENU, PM_REMOVE)) {
    }
    suspendTimer(app, false);
    const UINT command = trackChosenMenu(app, x, y, submenuPosition);
    const WPARAM where = packMenuPosition(x, y);
    if (command == CMD_EXIT) {
        // The window and the App end here; nothing of them is touched again.
        SendMessageW(window, WM_CLOSE, 0, 0);
        trimWorkingSet();
        return;
    }
    if (command != 0) {
        // The command runs now, so a Pin command has changed the pins before they are read.
        SendMessageW(window, WM_COMMAND, command, 0);
        if (const auto post = menuAfterCommand(app.pins)) postMenu(window, *post, where);
    } else {
        for (const MenuPost& post : dismissMenu(app.pins)) postMenu(window, post, where);
    }
    // A command's modal dialog holds the timer; the menu does not restart it under the dialog.
    if (!app.timer.timerSuspended) resumeTimer(app);
    trimWorkingSet();
}

void onTrayNotify(App& app, LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDOWN) {
        toggleWindowVisibility(app);
    } else if (mouseMessage == WM_RBUTTONUP) {
        HWND window = app.window;   // Exit in the menu ends the App
        POINT p = {};
        GetCursorPos(&p);
        showPopupMenu(app, p.x, p.y, 0);
        PostMessageW(window, WM_USER, 0, 0);
    }
}

void showMenuForCommand(App& app)
{
    POINT p = {};
    GetCursorPos(&p);
    if (!(PtInRect(&app.windowRect, p) && app.atCursor)) {
        p = {2, 2};
        ClientToScreen(app.window, &p);
    }
    showPopupMenu(app, p.x, p.y, 0);
}

void onShowMenu(App& app, WPARAM packedPosition, LPARAM submenuPosition)
{
    const MenuPoint p = unpackMenuPosition(packedPosition);
    showPopupMenu(app, p.x, p.y, static_cast<std::int32_t>(submenuPosition));
}

void onContextMenu(App& app, LPARAM screenPoint)
{
    const int x = GET_X_LPARAM(screenPoint);
    const int y = GET_Y_LPARAM(screenPoint);
    if (x == -1 && y == -1) {
        showMenuForCommand(app);
        return;
    }
    showPopupMenu(app, x, y, 0);
}
