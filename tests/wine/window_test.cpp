// The main window from the real resources: the slideshow timer, the message loop, and a close while a
// modal loop runs on the window.
#include <gtest/gtest.h>

#include "core/app/commands.h"
#include "harness.h"
#include "main/message_loop_win.h"
#include "shell/app/app_info_win.h"
#include "shell/app/platform_win.h"

TEST(Slideshow, TheRealTimerCountsDownAndSteps)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    app.slide.slideTime = 2500;
    w.drop({writeBytes(L"three.txt", "a\r\nb\r\nc\r\n")});
    EXPECT_EQ(w.title(), L"three.txt - Tomel | 1/3 | 00:00:02");
    EXPECT_TRUE(w.pump(1800, [&] { return w.title() == L"three.txt - Tomel | 1/3 | 00:00:01"; }));
    EXPECT_TRUE(w.pump(3000, [&] { return w.text() == L"b\n"; }));
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
    w.drop({writeBytes(L"loop.txt", "one\r\ntwo\r\nthree\r\n")});
    scriptWindow = w.window();
    scriptStep = 0;
    platform.getMessage = scriptedGetMessage;
    const int code = runMessageLoop(w.window(), nullptr);
    platform.getMessage = Platform().getMessage;
    EXPECT_EQ(code, 3);
    EXPECT_EQ(scriptStep, 3);
    EXPECT_EQ(w.app().currentIndex, 1u);   // only the real message was routed
}

namespace {
// What a close from inside a modal loop found: the loop ran, and the window and App were still there
// after the close (it waits for the loop). `stuck`: the loop was still running a moment later.
struct LoopProbe {
    bool ran = false, alive = false, stuck = false, greyed = false;
};
LoopProbe probe;
HWND probed;

BOOL WINAPI noteGreyedAndDismiss(HMENU menu, UINT, int, int, HWND, LPTPMPARAMS)
{
    probe.greyed = (GetMenuState(menu, CMD_FONT, MF_BYCOMMAND) & MF_GRAYED) != 0;
    return 0;
}

// As the tray icon's menu can over any dialog: Countdown (which releases a dialog's hold on the
// timer), then Exit.
void closeFromInside()
{
    probe.ran = true;
    SendMessageW(probed, WM_COMMAND, CMD_COUNTDOWN, 0);
    // The menu over the loop greys the commands that would open another dialog.
    const auto outer = platform.trackPopupMenu;
    platform.trackPopupMenu = noteGreyedAndDismiss;
    if (outer == Platform().trackPopupMenu) SendMessageW(probed, WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
    platform.trackPopupMenu = outer;
    SendMessageW(probed, WM_CLOSE, 0, 0);
    probe.alive = IsWindow(probed) && currentApp.get();
}

int WINAPI closeAtMessage(HWND, LPCWSTR, LPCWSTR, UINT)
{
    closeFromInside();
    return IDOK;
}

BOOL WINAPI closeAtMenu(HMENU, UINT, int, int, HWND, LPTPMPARAMS)
{
    closeFromInside();
    return CMD_NEXT;
}

BOOL CALLBACK cancelDialog(HWND window, LPARAM)
{
    wchar_t name[8] = {};
    GetClassNameW(window, name, 8);
    if (wcscmp(name, L"#32770") == 0 && window != probed) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK onLoopTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (!probe.ran) return closeFromInside();
    probe.stuck = true;
    EnumThreadWindows(GetCurrentThreadId(), cancelDialog, 0);
}
}  // namespace

TEST(Close, WaitsForEveryModalLoopOnTheWindowAndThenEndsTheProgram)
{
    const std::wstring bigEndian = writeBytes(L"be.txt", std::string("\xFE\xFF\x00\x41", 4));
    const struct {
        const char* loop;
        unsigned command;   // 0: a dropped text that the program refuses with a message box
    } cases[] = {
        {"About box", CMD_ABOUT},      {"timer dialog", CMD_SLIDE_TIME}, {"Open dialog", CMD_OPEN_FILE},
        {"Save As dialog", CMD_SAVE_AS}, {"colour chooser", CMD_TEXT_COLOUR}, {"popup menu", CMD_MENU},
        {"message box", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.loop);
        TomelWindow w;
        probe = LoopProbe{};
        probed = w.window();
        platform.messageBox = closeAtMessage;
        if (c.command == CMD_MENU) platform.trackPopupMenu = closeAtMenu;
        const UINT_PTR timer = c.command == CMD_MENU || !c.command ? 0 : SetTimer(nullptr, 0, 300, onLoopTimer);
        if (c.command)
            w.command(c.command);
        else
            w.drop({bigEndian});
        if (timer) KillTimer(nullptr, timer);
        platform.trackPopupMenu = Platform().trackPopupMenu;
        EXPECT_TRUE(probe.ran);
        EXPECT_TRUE(probe.alive);
        EXPECT_FALSE(probe.stuck);
        EXPECT_EQ(probe.greyed, c.command != CMD_MENU);
        EXPECT_TRUE(w.pump(2000, [&] { return !IsWindow(w.window()); }));
        EXPECT_EQ(currentApp.get(), nullptr);
    }
}

namespace {
int WINAPI endSessionInside(HWND, LPCWSTR, LPCWSTR, UINT)
{
    probe.ran = true;
    SendMessageW(probed, WM_ENDSESSION, TRUE, 0);
    probe.alive = currentApp.get() != nullptr;
    return IDOK;
}
}  // namespace

// The session ends while a message box is up: the App ends there, but the code that showed the box
// goes on with it, so it is kept, with what it owns, until the process ends.
TEST(Close, AnAppWhoseSessionEndsUnderAModalLoopIsKeptForTheCodeThatStartedIt)
{
    TomelWindow w;
    probe = LoopProbe{};
    probed = w.window();
    const HFONT font = w.app().font.get();
    platform.messageBox = endSessionInside;
    w.drop({writeBytes(L"be.txt", std::string("\xFE\xFF\x00\x41", 4))});   // refused with a message box
    EXPECT_TRUE(probe.ran);
    EXPECT_FALSE(probe.alive);
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
}
