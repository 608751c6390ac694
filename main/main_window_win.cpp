#include "main/main_window_win.h"

#include <memory>

#include "main/commands_win.h"
#include "main/startup_win.h"
#include "res/resource.h"
#include "shell/app/app_info_win.h"
#include "shell/app/global_keys_win.h"
#include "shell/display/colours_win.h"
#include "shell/display/dpi_win.h"
#include "shell/display/frame_win.h"
#include "shell/display/picture_win.h"
#include "shell/display/tray_win.h"
#include "shell/settings/settings_win.h"
#include "shell/text/extras_win.h"
#include "shell/text/gong_win.h"
#include "shell/text/navigation_win.h"
#include "shell/text/text_loader_win.h"
#include "shell/ui/popup_menu_win.h"

AppOwner currentApp;

App& AppOwner::take(std::unique_ptr<App> app)
{
    live_ = std::move(app);
    return *live_;
}

void AppOwner::end()
{
    // When the session ends while a modal loop still runs on the App (a dialog, a message box, the
    // menu), the code that started the loop uses the App again when the loop returns: it is kept.
    if (appInfo.nestedLoops > 0)
        kept_.push_back(std::move(live_));
    else
        live_.reset();
}

namespace {

void endApp()
{
    App* app = currentApp.get();
    if (!app) return;
    shutDown(*app);
    currentApp.end();
}

BOOL CALLBACK closeOwnedDialog(HWND window, LPARAM owner)
{
    wchar_t name[8] = {};
    GetClassNameW(window, name, 8);
    if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner) && wcscmp(name, L"#32770") == 0)
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// A close that comes while a modal loop runs on the App (Exit in the tray icon's menu over a dialog,
// for one) waits until every loop has returned: the open menu and dialogs are cancelled, and the
// last loop to end posts the close again.
bool deferClose(App& app)
{
    if (appInfo.nestedLoops == 0) return false;
    appInfo.closePending = true;
    app.pins = PinState{};   // nothing pinned comes back
    if (app.menuShowing) EndMenu();
    EnumThreadWindows(GetCurrentThreadId(), closeOwnedDialog, reinterpret_cast<LPARAM>(app.window));
    return true;
}

}  // namespace

void initApp(App& app, HWND window)
{
    // The App is new: every setting is at its default from the settings table, and every run-time
    // field at its own.
    app.window = window;
    app.backgroundBrush.reset(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    app.textControl = GetDlgItem(window, IDC_TEXT);
    app.ole = oleInitialize();
    HICON icon = LoadIconW(appInfo.instance, MAKEINTRESOURCEW(IDR_MAIN));
    SetClassLongPtrW(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_APPWINDOW);
    initTrayIcon(app, icon);
    DragAcceptFiles(window, TRUE);
    app.randomGenerator.seed(GetTickCount());
    initDpi(app);
    initFont(app);
    detectShell(app);
}

void shutDown(App& app)
{
    closeGong(app);
    if (app.saveOnExit) saveSettings(app);
    removeTrayIcon(app);
    PostQuitMessage(0);
    // The picture, OLE and the entries go with the App.
}

HWND createMainWindow(HINSTANCE instance, HWND& owner)
{
    appInfo.instance = instance;
    registerShellMessages();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAIN));
    wc.lpszClassName = appInfo.programName;
    RegisterClassW(&wc);   // fails harmlessly when the class is already there
    owner = CreateWindowExW(0, appInfo.programName, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    appInfo.mainWindow = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDR_MAIN), owner, mainDialogProc, 0);
    return appInfo.mainWindow;
}

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto app = std::make_unique<App>();   // a failed allocation ends in the out-of-memory handler
        initApp(*app, window);
        startUp(currentApp.take(std::move(app)));
        return TRUE;
    }
    App* app = currentApp.get();
    if (!app) return FALSE;

    switch (message) {
    case WM_COMMAND:
        runCommand(*app, LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        if (wParam == IDT_REVEAL)
            showBack(*app);
        else if (wParam == IDT_WATCH)
            onWatchTimer(*app);
        else
            onTimer(*app, wParam);
        return TRUE;
    case WM_MOVE:
        onMove(*app);
        return TRUE;
    case WM_SIZE:
        onSize(*app, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_DPICHANGED:
        onDpiChanged(*app, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_PAINT:
        paintBackground(*app, PaintDC(app->window).get());
        return FALSE;
    case WM_CLOSE:
        if (!deferClose(*app)) DestroyWindow(app->window);
        return TRUE;
    case WM_DESTROY:
        unregisterGlobalKeys(window);
        endApp();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) endApp();
        return TRUE;
    case WM_HOTKEY:
        if (const std::optional<GlobalAction> action = globalActionOf(wParam)) runGlobalAction(*app, *action);
        return TRUE;
    case WM_CONTEXTMENU:
        onContextMenu(*app, lParam);
        return TRUE;
    case MSG_TRAY_NOTIFY:
        onTrayNotify(*app, lParam);
        return TRUE;
    case MSG_SHOW_MENU:
        onShowMenu(*app, wParam, lParam);
        return TRUE;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(dialogBrush(*app));
    case WM_CTLCOLORSTATIC:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_TEXT)
            return reinterpret_cast<INT_PTR>(textControlColours(*app, reinterpret_cast<HDC>(wParam)));
        return FALSE;
    case WM_MOUSEMOVE:
        drag(*app);
        onPointerOver(*app);
        return TRUE;
    case WM_MOUSELEAVE:
        onPointerLeft(*app);
        return TRUE;
    case WM_LBUTTONDOWN:
        // The slideshow waits while the window is dragged.
        if (beginDrag(*app)) suspendTimer(*app, false);
        return TRUE;
    case WM_LBUTTONUP:
        endDrag(*app);
        resumeTimer(*app);   // still held while the pointer holds it (Pause On Hover)
        return TRUE;
    case WM_ENTERSIZEMOVE:
        app->inSizeMove = true;
        return TRUE;
    case WM_EXITSIZEMOVE:
        app->inSizeMove = false;
        return TRUE;
    case WM_DROPFILES:
        onDropFiles(*app, reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case MSG_PICTURE_READY:
        onPictureReady(*app);
        return TRUE;
    default:
        // The shell has started (again): the tray icon can be added now.
        if (isTaskbarCreated(message)) {
            onTaskbarCreated(*app);
            return TRUE;
        }
        return FALSE;
    }
}
