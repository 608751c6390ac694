// The main window made from the real resources: its template, the App's start state, the exit path.
#include <gtest/gtest.h>

#include "core/app/commands.h"
#include "main/message_loop_win.h"
#include "harness.h"
#include "res/resource.h"
#include "shell/app/app_info_win.h"

TEST(MainWindow, IsBuiltFromDialog1000WithOneStaticControl)
{
    TomelWindow w;
    ASSERT_TRUE(w.alive());
    const LONG style = GetWindowLongW(w.window(), GWL_STYLE);
    for (LONG bit : {WS_VISIBLE, WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX})
        EXPECT_EQ(style & bit, bit) << std::hex << bit;
    EXPECT_TRUE(GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    HWND text = GetDlgItem(w.window(), IDC_TEXT);
    ASSERT_NE(text, nullptr);
    wchar_t cls[32] = {};
    GetClassNameW(text, cls, 32);
    EXPECT_STREQ(cls, L"Static");
    const LONG textStyle = GetWindowLongW(text, GWL_STYLE);
    EXPECT_TRUE(textStyle & WS_GROUP);
    EXPECT_FALSE(textStyle & SS_NOPREFIX);   // an ampersand in an entry underlines
    EXPECT_FALSE(textStyle & SS_NOTIFY);     // clicks on the text reach the window
    EXPECT_EQ(GetWindow(w.window(), GW_OWNER) != nullptr, true);
}

TEST(MainWindow, StartsWithItsDefaults)
{
    TomelWindow w;
    App& app = w.app();
    EXPECT_EQ(app.window, w.window());
    EXPECT_EQ(app.textControl, GetDlgItem(w.window(), IDC_TEXT));
    EXPECT_EQ(app.textMargin, 5);
    EXPECT_EQ(app.timer.remainingMs > 0, true);
    EXPECT_EQ(app.timer.countdownTickMs, 1000u);
    EXPECT_EQ(app.pins.pinnedSubmenu, -1);
    EXPECT_EQ(app.textColour, 0u);
    EXPECT_EQ(app.backgroundColour, 0xFFFFFFu);
    // The start font: 10-point Courier New, fixed pitch, modern family.
    EXPECT_STREQ(app.logFont.lfFaceName, L"Courier New");
    EXPECT_EQ(app.logFont.lfPitchAndFamily, 17);
    HDC dc = GetDC(w.window());
    EXPECT_EQ(app.logFont.lfHeight, -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72));
    ReleaseDC(w.window(), dc);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(app.textControl, WM_GETFONT, 0, 0)), app.font.get());
    // The tray record, filled for later use: the version-2 size of this build.
    EXPECT_EQ(app.trayIconData.cbSize, sizeof(void*) == 8 ? 952u : 936u);
    EXPECT_EQ(app.trayIconData.uFlags, 7u);
    EXPECT_EQ(app.trayIconData.uCallbackMessage, 1025u);
    // The tip carries the status text, cut to 127 characters.
    EXPECT_EQ(std::wstring(app.trayIconData.szTip), std::wstring(app.statusText).substr(0, 127));
    EXPECT_NE(app.setLayeredAttributes, nullptr);
    // Paths beside the program.
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring dir(module);
    dir.resize(dir.rfind(L'\\'));
    EXPECT_EQ(std::wstring(app.exeDirectory), dir);
    EXPECT_EQ(std::wstring(app.settingsPath), dir + L"\\tomel.ini");
    EXPECT_EQ(std::wstring(app.languagePath), dir + L"\\tomel.lang.ini");
    EXPECT_EQ(std::wstring(app.helpPath), dir + L"\\Tomel.txt");
}

TEST(MainWindow, ShowsTheHelpTextWithNoArguments)
{
    TomelWindow w;
    EXPECT_EQ(std::wstring(w.app().textFilePath), std::wstring(w.app().helpPath));
    EXPECT_EQ(w.title().rfind(L"Tomel.txt - Tomel | 1/", 0), 0u) << narrow(w.title());
    EXPECT_FALSE(w.text().empty());
    EXPECT_GT(w.app().entries.size(), 10u);
}

TEST(MainWindow, CloseEndsWithQuitCodeZeroAndFreesTheApp)
{
    TomelWindow w;
    SendMessageW(w.window(), WM_CLOSE, 0, 0);
    w.pump(100);
    EXPECT_FALSE(IsWindow(w.window()));
    EXPECT_EQ(currentApp, nullptr);
    EXPECT_TRUE(w.quitSeen());
    EXPECT_EQ(w.quitCode(), 0);
}

TEST(MainWindow, EndSessionFalseChangesNothingTrueEnds)
{
    TomelWindow w;
    SendMessageW(w.window(), WM_ENDSESSION, FALSE, 0);
    EXPECT_NE(currentApp, nullptr);
    SendMessageW(w.window(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(currentApp, nullptr);
    w.pump(50);
    EXPECT_TRUE(w.quitSeen());
    // A WM_DESTROY after the session ended finds no App and does nothing.
    DestroyWindow(w.window());
    EXPECT_EQ(currentApp, nullptr);
}

TEST(MainWindow, ColourMessagesAnswerWithTheBackgroundBrush)
{
    TomelWindow w;
    HDC dc = GetDC(w.window());
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(w.window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(w.app().textControl)));
    EXPECT_EQ(brush, w.app().backgroundBrush.get());
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    // Another control's colour request is left to the system.
    HWND other = CreateWindowExW(0, L"Static", L"x", WS_CHILD, 0, 0, 5, 5, w.window(), reinterpret_cast<HMENU>(555),
                                 nullptr, nullptr);
    EXPECT_EQ(mainDialogProc(w.window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(other)),
              FALSE);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageW(w.window(), WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0)),
              w.app().backgroundBrush.get());
    ReleaseDC(w.window(), dc);
}

TEST(MainWindow, TextControlFillsTheClientAreaLessItsMargins)
{
    TomelWindow w;
    SetWindowPos(w.window(), nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    RECT client, text;
    GetClientRect(w.window(), &client);
    GetWindowRect(w.app().textControl, &text);
    MapWindowPoints(nullptr, w.window(), reinterpret_cast<POINT*>(&text), 2);
    EXPECT_EQ(text.left, 5);
    EXPECT_EQ(text.top, 0);
    EXPECT_EQ(text.right, client.right - 5);
    EXPECT_EQ(text.bottom, client.bottom);
    RECT outer;
    GetWindowRect(w.window(), &outer);
    EXPECT_TRUE(EqualRect(&outer, &w.app().windowRect));
}

namespace {
// GetMessageW as a script: a failed call (-1) whose message holds a Next command that must not run,
// a real Next command, then WM_QUIT with code 3.
HWND scriptWindow;
int scriptStep;
BOOL WINAPI scriptedGetMessage(LPMSG msg, HWND, UINT, UINT)
{
    *msg = MSG{scriptWindow, WM_COMMAND, CMD_NEXT, 0, 0, {}};
    switch (scriptStep++) {
    case 0: return -1;
    case 1: return TRUE;
    default: msg->message = WM_QUIT; msg->wParam = 3; return FALSE;
    }
}
}  // namespace

TEST(MessageLoop, GoesOnAfterAFailedGetMessageAndEndsWithTheQuitCode)
{
    TomelWindow w;
    w.app().multiline = false;
    w.open(writeBytes(L"loop.txt", "one\r\ntwo\r\nthree\r\n"));
    scriptWindow = w.window();
    scriptStep = 0;
    EXPECT_EQ(runMessageLoop(w.window(), nullptr, scriptedGetMessage), 3);
    EXPECT_EQ(scriptStep, 3);
    EXPECT_EQ(w.app().currentIndex, 1u);   // only the real message was routed
}
