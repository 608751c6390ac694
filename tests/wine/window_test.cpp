// The main window from the real resources: keys through the program's own routing, the slideshow
// timer, the message loop and the ways the program ends.
#include <gtest/gtest.h>

#include <vector>

#include "core/app/commands.h"
#include "harness.h"
#include "main/commands_win.h"
#include "main/message_loop_win.h"
#include "shell/text/text_loader_win.h"

namespace {
std::vector<unsigned> seenCommands;
bool recordOnly(unsigned command)
{
    seenCommands.push_back(command);
    return false;   // keep the command from running: Esc would end the test window
}
}  // namespace

TEST(Keys, EveryKeyReachesItsCommandThroughTheLoop)
{
    TomelWindow w;
    commandFilter = recordOnly;
    constexpr BYTE S = FSHIFT, C = FCONTROL, A = FALT;
    const struct {
        BYTE modifiers;
        WORD key;
        unsigned command;   // 0: no command
    } keys[] = {
        {0, VK_PAUSE, 1001}, {0, VK_RETURN, 1001}, {0, 250, 1001}, {0, 'H', 1002}, {0, 'R', 1003}, {0, 'S', 1004},
        {C, 'T', 1011}, {C, 'H', 1012}, {C | S, 'T', 1013}, {A | S, 'T', 1014}, {0, VK_DOWN, 1021},
        {0, VK_RIGHT, 1021}, {0, VK_UP, 1022}, {0, VK_LEFT, 1022}, {0, VK_HOME, 1023}, {0, VK_END, 1024},
        {0, VK_SPACE, 1025}, {0, VK_BACK, 1026}, {0, VK_PRIOR, 1027}, {0, VK_NEXT, 1027}, {0, 'L', 1031},
        {0, 'C', 1032}, {0, 'T', 1033}, {0, 'I', 1034}, {0, 'F', 1041}, {0, 'W', 1042}, {0, 'G', 1043},
        {S, 'C', 1051}, {S, 'L', 1052}, {S, 'R', 1053}, {0, '1', 1061}, {0, '2', 1062}, {0, '0', 1063},
        {0, 'D', 1071}, {A, 'I', 1072}, {A, 'T', 1073}, {C, 'O', 1081}, {C, 'F', 1082}, {C, 'C', 1083},
        {C, 'B', 1084}, {C, 'I', 1085}, {C, 'S', 1086}, {0, 'M', 1101}, {0, VK_F1, 1101}, {0, VK_HELP, 1101},
        {0, VK_APPS, 1101}, {0, VK_ESCAPE, 1105},
        {S, VK_OEM_2, 1103},   // "?" becomes the character accelerator through the dialog manager
        {C, 'L', 0},           // a plain key does not fire while Ctrl is held
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(k.command);
        seenCommands.clear();
        w.key(k.key, k.modifiers & S, k.modifiers & C, k.modifiers & A);
        EXPECT_EQ(seenCommands, k.command ? std::vector<unsigned>{k.command} : std::vector<unsigned>{});
    }
    commandFilter = nullptr;
}

TEST(Keys, EnterTogglesTheSlideshowAndEscEndsWithCodeZero)
{
    TomelWindow w;
    w.open(writeBytes(L"keys.txt", "a\r\n\r\nb\r\n"));
    w.key(VK_RETURN);
    EXPECT_EQ(w.title(), L"keys.txt - Tomel | 1/2 | Stop");
    w.key(VK_RETURN);
    w.key(VK_DOWN);
    EXPECT_EQ(w.title(), L"keys.txt - Tomel | 2/2 | 00:00:05");
    w.key(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(w.window()));
    EXPECT_EQ(currentApp, nullptr);
    EXPECT_TRUE(w.quitSeen());
    EXPECT_EQ(w.quitCode(), 0);
}

TEST(Slideshow, RealTimerCountsDownStepsAndWraps)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    app.slide.slideTime = 2500;
    w.open(writeBytes(L"three.txt", "a\r\nb\r\nc\r\n"));
    EXPECT_EQ(w.title(), L"three.txt - Tomel | 1/3 | 00:00:02");
    EXPECT_TRUE(w.pump(1800, [&] { return w.title() == L"three.txt - Tomel | 1/3 | 00:00:01"; }));
    // The next periods are short and uncounted.
    app.slide.countdown = false;
    app.slide.slideTime = 150;
    EXPECT_TRUE(w.pump(3000, [&] { return app.currentIndex == 1; }));
    EXPECT_EQ(w.text(), L"b\n");
    EXPECT_TRUE(w.pump(4000, [&] { return app.currentIndex == 2; }));
    EXPECT_EQ(w.title(), L"three.txt - Tomel | 3/3");
    EXPECT_TRUE(w.pump(2000, [&] { return app.currentIndex == 0; }));
}

TEST(MainWindow, ShowsTheHelpBesideItAndFitsTheTextToTheClientArea)
{
    TomelWindow w;
    EXPECT_EQ(std::wstring(w.app().textFilePath), besideProgram(L"Tomel.txt"));
    EXPECT_EQ(w.title().rfind(L"Tomel.txt - Tomel | 1/", 0), 0u) << narrow(w.title());
    SetWindowPos(w.window(), nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    RECT client, text, outer;
    GetClientRect(w.window(), &client);
    GetWindowRect(w.app().textControl, &text);
    MapWindowPoints(nullptr, w.window(), reinterpret_cast<POINT*>(&text), 2);
    const RECT inside = {5, 0, client.right - 5, client.bottom};
    EXPECT_TRUE(EqualRect(&text, &inside));
    GetWindowRect(w.window(), &outer);
    EXPECT_TRUE(EqualRect(&outer, &w.app().windowRect));
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
    DestroyWindow(w.window());   // a WM_DESTROY after the end finds no App
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
