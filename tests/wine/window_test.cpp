// The main window from the real resources: the slideshow timer and the message loop.
#include <gtest/gtest.h>

#include "core/app/commands.h"
#include "harness.h"
#include "main/message_loop_win.h"

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
    EXPECT_EQ(runMessageLoop(w.window(), nullptr, scriptedGetMessage), 3);
    EXPECT_EQ(scriptStep, 3);
    EXPECT_EQ(w.app().currentIndex, 1u);   // only the real message was routed
}
