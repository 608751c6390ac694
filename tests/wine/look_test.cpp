// The window's look in the real window: the fast measure behind fitting the text, the caption,
// transparency and its clip, docking, and the tray icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <random>

#include "core/app/commands.h"
#include "harness.h"
#include "res/resource.h"
#include "shell/display/fitting_win.h"
#include "shell/display/frame_win.h"
#include "shell/display/picture_win.h"
#include "shell/display/tray_win.h"

TEST(Fitting, SummedWidthsAreWhatTheSystemMeasuresLineByLine)
{
    TomelWindow w;
    std::mt19937 random(7);
    // Plain characters (summed from a table) and marks, joiners, other scripts and surrogate pairs.
    const std::wstring plain = L"AVAWTo.,;: iWlMx\tyV\x00C0\x00E9\x00DF\x03A9\x0416\x2014\x20AC";
    const std::wstring mixed = plain + L"\x0301\x05D0\x0627\xFB01\xD83D\xDE00\x4E2D";
    std::wstring text = std::wstring(70000, L'W') + L"\r\n";   // first, and longer than a chunk of the sums
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

// Each fit gives the client area the measured text needs (Fit To Width keeps its width; Fit To
// Graphic takes the picture's size), and docks the window again where it was docked.
TEST(Fitting, EachFitSizesTheClientAreaAndDocksTheWindowAgain)
{
    TomelWindow w;
    App& app = w.app();
    TEXTMETRICW tm = {};
    SIZE x = {};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, app.font.get());
    GetTextMetricsW(dc, &tm);
    GetTextExtentPoint32W(dc, L"x", 1, &x);   // a fixed-pitch font: every character as wide
    const LONG line = tm.tmHeight + tm.tmExternalLeading, dpi = GetDeviceCaps(dc, LOGPIXELSY), frame = GetSystemMetrics(SM_CYFRAME);
    SelectObject(dc, old);
    DeleteDC(dc);
    const std::string paragraphs = "twenty-four characters..\r\nshort\r\n\r\none\r\ntwo\r\nthree\r\n";
    const std::wstring picture = writeBitmap(L"picture.bmp", 300, 100, 0x404040, 0x404040);
    const auto narrow = [&] {   // a client area 120 pixels wider than the margins: a line of 24 wraps once
        RECT r = {0, 0, 140, 100};
        AdjustWindowRectEx(&r, GetWindowLongW(w.window(), GWL_STYLE), FALSE, GetWindowLongW(w.window(), GWL_EXSTYLE));
        SetWindowPos(w.window(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    };
    const struct {
        const char* name;
        unsigned dockedBy;
        std::function<void()> step;
        LONG width, height;   // of the client area
    } cases[] = {
        {"Fit To Font: the widest line, the tallest paragraph", CMD_DOCK_TOP,
         [&] { w.drop({writeBytes(L"fit.txt", paragraphs)}); w.command(CMD_FIT_FONT); }, 24 * x.cx + 20, 3 * line + 2 * frame},
        {"lines: the tallest, scaled by the resolution over 72", CMD_DOCK_BOTTOM, [&] { w.command(CMD_MULTILINE); },
         24 * x.cx + 20, line * dpi / 72},
        {"Fit To Width: the width stays and the widest line wraps", CMD_DOCK_CENTER,
         [&] { narrow(); w.command(CMD_FIT_WIDTH); }, 140, 2 * line * dpi / 72},
        {"a new text", CMD_DOCK_TOP, [&] { w.drop({writeBytes(L"two.txt", "two lines of twenty-eight..\r\n\r\nx\r\n")}); },
         140, 2 * line * dpi / 72},
        {"Fit To Graphic", CMD_DOCK_BOTTOM, [&] { loadPicture(app, picture.c_str()); w.command(CMD_FIT_GRAPHIC); }, 300, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.command(c.dockedBy);
        c.step();
        RECT client = {}, fitted = {}, docked = {};
        GetClientRect(w.window(), &client);
        EXPECT_EQ(std::make_pair(client.right, client.bottom), std::make_pair(c.width, c.height));
        GetWindowRect(w.window(), &fitted);
        w.command(c.dockedBy);
        GetWindowRect(w.window(), &docked);
        EXPECT_TRUE(EqualRect(&fitted, &docked)) << fitted.left << ", " << fitted.top << " docked at " << docked.left << ", " << docked.top;
        EXPECT_TRUE(EqualRect(&fitted, &app.windowRect));
        EXPECT_EQ(GetWindowRgnBox(w.window(), &client), ERROR);   // only a transparent window is clipped
    }
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

// Under the Blackbox shell a caption moves the window up by the frame's height and lengthens it by
// "Lengthen Window", and its loss moves it down again; docking at the top raises a window with a
// caption by "Raise Caption". The shell, found at start-up, is told once, at the first caption.
TEST(Frame, TheBlackboxShellMovesTheCaptionAndIsToldOnce)
{
    TomelWindow w;
    App& app = w.app();
    app.blackboxNotifyPending = true;   // as when the shell was found at start-up
    const LONG frame = GetSystemMetrics(SM_CYFRAME);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const auto answer = [&](const wchar_t* number, int button) {
        answerNextDialog([=](HWND d) { SetDlgItemTextW(d, 302, number), PostMessageW(d, WM_COMMAND, button, 0); });
    };
    const struct {
        const char* name;
        std::function<void()> step;
        LONG moved, lengthened;                // the top's move; the height beyond the caption's own
        std::optional<LONG> top = {};          // or where the top is
        std::vector<WPARAM> told = {};         // the shell's two messages
    } steps[] = {
        {"Blackbox Shell", [&] { w.command(CMD_BLACKBOX_SHELL); }, 0, 0},
        {"no caption", [&] { w.command(CMD_CAPTION); }, frame, 0},
        {"a caption", [&] { w.command(CMD_CAPTION); }, -frame, 2, {}, {2, 5}},
        {"no caption again", [&] { w.command(CMD_CAPTION); }, frame, 0},
        {"a caption again", [&] { w.command(CMD_CAPTION); }, -frame, 2},
        {"docked at the top", [&] { w.command(CMD_DOCK_TOP); }, 0, 2, work.top - 4},
        {"Raise Caption 9", [&] { answer(L"9", IDOK), w.command(CMD_RAISE_CAPTION); }, 0, 2, work.top - 9},
        {"Lengthen Window 7, cancelled", [&] { answer(L"7", IDCANCEL), w.command(CMD_LENGTHEN_WINDOW); }, 0, 2, work.top - 9},
        {"no Blackbox Shell, docked", [&] { w.command(CMD_BLACKBOX_SHELL), w.command(CMD_DOCK_TOP); }, 0, 2, work.top},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        RECT before = {}, after = {}, plain = {};
        GetWindowRect(w.window(), &before);
        s.step();
        GetWindowRect(w.window(), &after);
        GetClientRect(w.window(), &plain);
        AdjustWindowRect(&plain, GetWindowLongW(w.window(), GWL_STYLE), FALSE);
        // Wine sizes and places a window whose caption came or went by a measure of its own.
        if (s.top || !runningUnderWine()) EXPECT_EQ(after.top, s.top ? *s.top : before.top + s.moved);
        if (!runningUnderWine()) EXPECT_EQ((after.bottom - after.top) - (plain.bottom - plain.top), s.lengthened);
        std::vector<WPARAM> told;
        for (UINT message : {shellMessages.windowMessage, shellMessages.skinMessage})
            for (MSG m; PeekMessageW(&m, w.window(), message, message, PM_REMOVE);) told.push_back(m.wParam);
        EXPECT_EQ(told, s.told);
    }
    EXPECT_EQ(std::make_pair(app.bbCaptionAdjust, app.bbWindowAdjust), std::make_pair(9, 2));
}

// The text is drawn in the text colour on the background brush, or on the picture while one shows;
// the window's background is the brush.
TEST(Colours, TheTextIsDrawnInItsColourOnTheBackgroundOrOnThePicture)
{
    TomelWindow w;
    App& app = w.app();
    app.textColour = 0x123456;
    const std::wstring picture = writeBitmap(L"colours.bmp", 20, 10, 0x0000FF, 0xFF0000);
    HDC dc = CreateCompatibleDC(nullptr);
    const HBRUSH none = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    const struct {
        bool picture, background, transparent;
        HBRUSH brush;   // none: the background's
    } cases[] = {{false, true, false, nullptr}, {true, true, false, none}, {true, false, false, nullptr},
                 {true, true, true, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        if (c.picture) loadPicture(app, picture.c_str()); else releasePicture(app);
        app.showBackground = c.background;
        app.transparent = c.transparent;
        SetTextColor(dc, 0);
        const auto brush = SendMessageW(w.window(), WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(GetDlgItem(w.window(), IDC_TEXT)));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), c.brush ? c.brush : app.backgroundBrush.get());
        EXPECT_EQ(std::make_pair(GetTextColor(dc), GetBkMode(dc)), std::make_pair(COLORREF(0x123456), TRANSPARENT));
    }
    app.transparent = false;
    EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageW(w.window(), WM_CTLCOLORDLG, WPARAM(dc), LPARAM(w.window()))),
              app.backgroundBrush.get());
    EXPECT_EQ(mainDialogProc(w.window(), WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(w.window())), FALSE);   // not the text's
    DeleteDC(dc);
}

// The picture is drawn upright, in tiles over the client area, or with Fit To Graphic scaled into it
// (never enlarged) and centred.
TEST(Picture, IsDrawnUprightInTilesOrScaledAndCentred)
{
    TomelWindow w;
    App& app = w.app();
    const COLORREF red = 0x0000FF, blue = 0xFF0000, green = 0x00FF00;
    ASSERT_TRUE(loadPicture(app, writeBitmap(L"tiles.bmp", 20, 10, red, blue).c_str()));
    RECT r = {0, 0, 200, 60};   // a client area of 200 by 60
    AdjustWindowRectEx(&r, GetWindowLongW(w.window(), GWL_STYLE), FALSE, GetWindowLongW(w.window(), GWL_EXSTYLE));
    SetWindowPos(w.window(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    const struct {
        bool fitGraphic;
        POINT at;
        COLORREF colour;
    } cases[] = {
        {false, {2, 2}, red}, {false, {2, 7}, blue}, {false, {22, 2}, red}, {false, {195, 12}, red}, {false, {195, 58}, blue},
        {true, {92, 27}, red}, {true, {108, 33}, blue}, {true, {88, 27}, green}, {true, {112, 33}, green}, {true, {92, 23}, green},
    };
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 60);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        app.fitGraphic = c.fitGraphic;
        const RECT all = {0, 0, 200, 60};
        HBRUSH fill = CreateSolidBrush(green);
        FillRect(dc, &all, fill);
        DeleteObject(fill);
        paintBackground(app, dc);
        EXPECT_EQ(GetPixel(dc, c.at.x, c.at.y), c.colour);
    }
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

// The user's drag, click, sizing and moving make the place the user's own: docking ends, and sizing
// by the frame ends the fit modes too. The program's own moves change neither.
TEST(Frame, TheUsersDragClickSizingAndMovingEndDockingAndSizingTheFitModes)
{
    TomelWindow w;
    App& app = w.app();
    const auto mouse = [&](POINT by) {
        return [&, by] {
            POINT p = {400, 300};
            ASSERT_TRUE(w.cursorTo(p));
            SendMessageW(w.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
            ASSERT_TRUE(w.cursorTo({p.x + by.x, p.y + by.y}));
            SendMessageW(w.window(), WM_MOUSEMOVE, MK_LBUTTON, 0);
            SendMessageW(w.window(), WM_LBUTTONUP, 0, 0);
        };
    };
    const auto frame = [&](RECT by, bool userLoop) {
        return [&, by, userLoop] {
            RECT r = {};
            GetWindowRect(w.window(), &r);
            if (userLoop) SendMessageW(w.window(), WM_ENTERSIZEMOVE, 0, 0);
            MoveWindow(w.window(), r.left + by.left, r.top + by.top, r.right - r.left + by.right, r.bottom - r.top + by.bottom, TRUE);
            if (userLoop) SendMessageW(w.window(), WM_EXITSIZEMOVE, 0, 0);
        };
    };
    const struct {
        const char* name;
        bool draggable;
        std::function<void()> act;
        POINT moved;
        bool docked, fitting;   // afterwards
    } cases[] = {
        {"a drag", true, mouse({30, 20}), {30, 20}, false, true},
        {"a click", true, mouse({0, 0}), {0, 0}, false, true},
        {"a drag, not draggable", false, mouse({30, 20}), {0, 0}, false, true},
        {"sizing by the frame", true, frame({0, 0, 40, 30}, true), {0, 0}, false, false},
        {"moving by the caption", true, frame({25, 15, 0, 0}, true), {25, 15}, false, true},
        {"the program's own move", true, frame({25, 15, 40, 30}, false), {25, 15}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w.command(CMD_DOCK_CENTER);
        app.fitFont = true;
        app.draggable = c.draggable;
        RECT before = {}, after = {};
        GetWindowRect(w.window(), &before);
        c.act();
        GetWindowRect(w.window(), &after);
        EXPECT_EQ(std::make_pair(after.left - before.left, after.top - before.top), std::make_pair(c.moved.x, c.moved.y));
        EXPECT_TRUE(EqualRect(&after, &app.windowRect));
        EXPECT_EQ(std::make_pair(app.docking != 0, app.fitFont), std::make_pair(c.docked, c.fitting));
    }
}

namespace {
std::vector<DWORD> trayCalls;
std::wstring trayTip;
bool shellTakesIcons = true;
BOOL WINAPI watchedShell(DWORD message, PNOTIFYICONDATAW icon)
{
    trayCalls.push_back(message);
    trayTip = icon->szTip;
    return shellTakesIcons || message != NIM_ADD;
}
}  // namespace

// An icon the shell refuses stays the user's choice and comes when the shell starts (again); the
// taskbar button goes only while the icon is there, and only an icon that is there is changed or
// removed. A hidden window stays hidden; the tip is the status text, cut to 127 characters.
TEST(Tray, ARefusedIconStaysChosenAndComesWhenTheShellCanTakeIt)
{
    const struct Seam {
        NotifyIconFn real = notifyIcon;
        Seam() { notifyIcon = watchedShell; }
        ~Seam() { notifyIcon = real; }
    } seam;
    TomelWindow w;
    const auto shellStarts = [&] { SendMessageW(w.window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0); };
    const auto toggle = [&] { w.command(CMD_TRAY_ICON); };
    const auto step = [&] { w.command(CMD_NEXT); };
    const auto click = [&] { SendMessageW(w.window(), MSG_TRAY_NOTIFY, 0, WM_LBUTTONDOWN); };
    const std::wstring longName = writeBytes(std::wstring(150, L'n') + L".txt", "a\r\n\r\nb\r\n");
    const struct {
        const char* name;
        bool shellTakes;
        std::function<void()> action;
        std::vector<DWORD> calls;
        bool button, visible = true;
    } steps[] = {
        {"chosen, refused", false, toggle, {NIM_ADD}, true},
        {"a step", false, step, {}, true},
        {"the shell starts", true, shellStarts, {NIM_ADD}, false},
        {"a step", true, step, {NIM_MODIFY}, false},
        {"the shell starts again, refusing", false, shellStarts, {NIM_ADD}, true},
        {"no longer chosen", true, toggle, {}, true},
        {"the shell starts again", true, shellStarts, {}, true},
        {"chosen", true, toggle, {NIM_ADD}, false},
        {"hidden", true, click, {}, false, false},
        {"no longer chosen while hidden", true, toggle, {NIM_DELETE}, true, false},
        {"chosen while hidden", true, toggle, {NIM_ADD}, false, false},
        {"shown", true, click, {}, false},
        {"a text with a long name", true, [&] { w.drop({longName}); }, {NIM_MODIFY}, false},
        {"the end", true, [&] { SendMessageW(w.window(), WM_CLOSE, 0, 0); }, {NIM_DELETE}, false, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        trayCalls.clear();
        shellTakesIcons = s.shellTakes;
        s.action();
        trayCalls.erase(std::unique(trayCalls.begin(), trayCalls.end()), trayCalls.end());   // a step tells thrice
        EXPECT_EQ(trayCalls, s.calls);
        EXPECT_EQ((GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0, s.button);
        EXPECT_EQ(IsWindowVisible(w.window()) != FALSE, s.visible);
        if (!s.calls.empty() && currentApp) EXPECT_EQ(trayTip, std::wstring(w.app().statusText).substr(0, 127));
    }
    EXPECT_EQ(trayTip, (std::wstring(150, L'n') + L".txt - Tomel | 1/2 | 00:00:05").substr(0, 127));
}
