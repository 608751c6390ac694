// The window's look in the real window: the fast measure behind fitting the text, the caption,
// transparency and its clip, docking, and the tray icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "core/app/commands.h"
#include "harness.h"
#include "shell/app/platform_win.h"
#include "shell/display/fitting_win.h"

TEST(Fitting, SummedWidthsAreWhatTheSystemMeasuresLineByLine)
{
    TomelWindow w;
    std::mt19937 random(7);
    // Plain characters (summed from a table) and marks, joiners, other scripts and surrogate pairs.
    const std::wstring plain = L"AVAWTo.,;: iWlMx\tyV\x00C0\x00E9\x00DF\x03A9\x0416\x2014\x20AC";
    const std::wstring mixed = plain + L"\x0301\x05D0\x0627\xFB01\xD83D\xDE00\x4E2D";
    std::wstring text;
    for (int line = 0; line < 300; ++line) {
        const std::wstring& alphabet = line % 2 ? mixed : plain;
        for (int i = static_cast<int>(random() % 90); i > 0; --i) text += alphabet[random() % alphabet.size()];
        text += line % 7 == 6 ? L"\r\n\r\n" : L"\r\n";
    }
    w.drop({writeBytes(L"varied.txt", utf16File(text))});
    HDC dc = CreateCompatibleDC(nullptr);
    for (const wchar_t* face : {L"Courier New", L"Times New Roman", L"Arial"}) {
        LOGFONTW lf = {};
        lf.lfHeight = -17;
        lf.lfItalic = face[0] == L'T';
        wcscpy(lf.lfFaceName, face);
        HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&lf));
        for (std::int64_t limit : {1, 100000}) {
            SCOPED_TRACE(testing::Message() << face << " limit " << limit);
            const TextBlock fast = measureText(dc, w.app().entries, limit, true);
            const TextBlock system = measureText(dc, w.app().entries, limit, true, true);
            EXPECT_EQ(fast.width, system.width);
            EXPECT_EQ(fast.height, system.height);
        }
        DeleteObject(SelectObject(dc, old));
    }
    DeleteDC(dc);
}

TEST(Frame, TheCaptionKeepsTheClientAreaAndTransparencyKeysTheBackgroundWithoutIt)
{
    TomelWindow w;
    App& app = w.app();
    app.backgroundColour = 0x00336699;
    RECT client, now;
    GetClientRect(w.window(), &client);
    const auto style = [&](int which) { return GetWindowLongW(w.window(), which); };
    for (bool caption : {false, true}) {
        SCOPED_TRACE(caption);
        w.command(CMD_CAPTION);
        GetClientRect(w.window(), &now);
        EXPECT_TRUE(EqualRect(&client, &now));
        EXPECT_EQ((style(GWL_STYLE) & WS_CAPTION) == WS_CAPTION, caption);
        w.command(CMD_TRANSPARENT);
        COLORREF key = 0;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(w.window(), &key, nullptr, &flags));
        EXPECT_EQ(key, 0x00336699u);
        EXPECT_TRUE(flags & LWA_COLORKEY);
        EXPECT_FALSE(style(GWL_STYLE) & WS_CAPTION);
        w.command(CMD_CAPTION);   // does nothing while transparent
        w.command(CMD_TRANSPARENT);
        EXPECT_FALSE(style(GWL_EXSTYLE) & WS_EX_LAYERED);
        EXPECT_EQ((style(GWL_STYLE) & WS_CAPTION) == WS_CAPTION, caption);
    }
}

// Whatever changes the size of a transparent window, its clip follows: it is the one that switching
// transparency anew gives.
TEST(Frame, ATransparentWindowIsClippedAnewWhenItsSizeChanges)
{
    TomelWindow w;
    const std::wstring wide = writeBytes(L"wide.txt", std::string(80, 'w') + "\r\n");
    const std::wstring start = L"[Portable]\r\nfile=" + wide +
        L"\r\n[Display]\r\ntransparent=TRUE\r\n[Alignment]\r\nfitfont=TRUE\r\n";
    const struct {
        const char* name;
        std::function<void()> step;
    } steps[] = {
        {"a start on a wide text", [&] { w.drop({writeBytes(L"fit.ini", utf16File(start))}); }},
        {"a narrower text", [&] { w.drop({writeBytes(L"narrow.txt", "twenty-four characters..\r\n")}); }},
        {"the user's size", [&] { MoveWindow(w.window(), 10, 10, 500, 300, TRUE); }},
        {"Fit To Font", [&] { w.command(CMD_FIT_FONT); }},
    };
    RECT before = {}, after = {}, clip = {}, anew = {};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        GetWindowRect(w.window(), &before);
        s.step();
        GetWindowRect(w.window(), &after);
        ASSERT_TRUE(w.app().transparent);
        EXPECT_NE(after.right - after.left, before.right - before.left);
        GetWindowRgnBox(w.window(), &clip);
        w.command(CMD_TRANSPARENT);
        w.command(CMD_TRANSPARENT);
        GetWindowRgnBox(w.window(), &anew);
        EXPECT_TRUE(EqualRect(&clip, &anew)) << "clip ends at " << clip.right << ", anew at " << anew.right;
    }
}

// A docked window keeps to its place when the caption or transparency changes: docking it again
// does not move it.
TEST(Frame, ADockedWindowStaysDockedWhenTheCaptionOrTransparencyChanges)
{
    TomelWindow w;
    for (unsigned place : {CMD_DOCK_TOP, CMD_DOCK_BOTTOM, CMD_DOCK_CENTER}) {
        w.command(place);
        for (unsigned change : {CMD_TRANSPARENT, CMD_TRANSPARENT, CMD_CAPTION, CMD_CAPTION}) {
            SCOPED_TRACE(testing::Message() << "docked by " << place << ", then " << change);
            w.command(change);
            RECT changed = {}, docked = {};
            GetWindowRect(w.window(), &changed);
            w.command(place);
            GetWindowRect(w.window(), &docked);
            EXPECT_TRUE(EqualRect(&changed, &docked)) << "left, top, bottom " << changed.left << ", " << changed.top
                                                      << ", " << changed.bottom << "; docked " << docked.left << ", "
                                                      << docked.top << ", " << docked.bottom;
        }
    }
}

namespace {
std::vector<DWORD> trayCalls;
bool shellTakesIcons = true;
BOOL WINAPI watchedShell(DWORD message, PNOTIFYICONDATAW)
{
    trayCalls.push_back(message);
    return shellTakesIcons || message != NIM_ADD;
}
}  // namespace

// An icon the shell refuses stays the user's choice and comes when the shell starts (again); the
// taskbar button goes only while the icon is there, and only an icon that is there is changed or
// removed.
TEST(Tray, ARefusedIconStaysChosenAndComesWhenTheShellCanTakeIt)
{
    const struct Seam {
        Seam() { platform.notifyIcon = watchedShell; }
        ~Seam() { platform.notifyIcon = Platform().notifyIcon; }
    } seam;
    TomelWindow w;
    const auto shellStarts = [&] { SendMessageW(w.window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0); };
    const auto toggle = [&] { w.command(CMD_TRAY_ICON); };
    const auto step = [&] { w.command(CMD_NEXT); };
    const struct {
        const char* name;
        bool shellTakes;
        std::function<void()> action;
        std::vector<DWORD> calls;
        bool button;
    } steps[] = {
        {"chosen, refused", false, toggle, {NIM_ADD}, true},
        {"a step", false, step, {}, true},
        {"the shell starts", true, shellStarts, {NIM_ADD}, false},
        {"a step", true, step, {NIM_MODIFY}, false},
        {"the shell starts again, refusing", false, shellStarts, {NIM_ADD}, true},
        {"no longer chosen", true, toggle, {}, true},
        {"the shell starts again", true, shellStarts, {}, true},
        {"chosen", true, toggle, {NIM_ADD}, false},
        {"no longer chosen", true, toggle, {NIM_DELETE}, true},
        {"chosen, refused", false, toggle, {NIM_ADD}, true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        trayCalls.clear();
        shellTakesIcons = s.shellTakes;
        s.action();
        trayCalls.erase(std::unique(trayCalls.begin(), trayCalls.end()), trayCalls.end());   // a step tells thrice
        EXPECT_EQ(trayCalls, s.calls);
        EXPECT_EQ((GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0, s.button);
    }
    EXPECT_TRUE(w.app().trayIcon);   // checked, and saved so
    trayCalls.clear();
    SendMessageW(w.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(trayCalls, std::vector<DWORD>{});
}
