#pragma once
// The popup menu: loaded, translated, checked, tracked and destroyed on every showing; pinned
// menus come back through MSG_SHOW_MENU. Also the tray icon's mouse callback.
#include "state/app_win.h"

// Shows the menu (the main popup, or the pinned submenu at `submenuPosition`) with its top-left
// corner at x, y in screen pixels, and carries out the choice. A request while a menu is already
// open is dropped: there is one popup menu at a time.
void showPopupMenu(App& app, int x, int y, std::int32_t submenuPosition);
// Sets the check marks and greys items in a freshly loaded menu, by command number.
void setMenuChecks(const App& app, HMENU menu);
// MSG_TRAY_NOTIFY: a left press shows or hides the window, a right release opens the menu at the
// cursor. Other mouse messages do nothing.
void onTrayNotify(App& app, LPARAM mouseMessage);
// Command 1101: at the cursor when it is in the window and "...at cursor" is on, otherwise two
// pixels into the client area.
void showMenuForCommand(App& app);
// MSG_SHOW_MENU: the position packed in wParam, the submenu position in lParam.
void onShowMenu(App& app, WPARAM packedPosition, LPARAM submenuPosition);
// WM_CONTEXTMENU: at the click; from the keyboard (no position) as command 1101 does.
void onContextMenu(App& app, LPARAM screenPoint);
