// The window's look in the real window: the fast measure behind fitting the text; fits, caption,
// transparency, docking, the Blackbox shell and the user's mouse, step by step; the text's colours,
// the picture and the tray icon.
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
        for (int i = static_cast<int>(random() % 90); i > 0; --i) text += (line % 2 ? mixed : plain)[random() % (line % 2 ? mixed : plain).size()];
        text += line % 7 == 6 ? L"\r\n\r\n" : L"\r\n";
    }
    w.drop({writeBytes(L"varied.txt", utf16File(text))});
    HDC dc = CreateCompatibleDC(nullptr);
    for (const wchar_t* face : {L"Courier New", L"Times New Roman", L"Arial"}) {
        LOGFONTW lf = {-17, 0, 0, 0, 0, face[0] == L'T'};
        wcscpy(lf.lfFaceName, face);
        HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&lf));
        for (std::int64_t limit : {1, 100000}) {
            const TextBlock fast = measureText(dc, w.app().entries, limit, true), system = measureText(dc, w.app().entries, limit, true, true);
            EXPECT_EQ(std::make_pair(fast.width, fast.height), std::make_pair(system.width, system.height)) << face << " " << limit;
        }
        DeleteObject(SelectObject(dc, old));
    }
    DeleteDC(dc);
}

// The window through a run of steps: what each changes, and what holds after every one: the place the
// program keeps is the window's; a docked window stands where docking puts it; the caption is there
// when chosen; a transparent window is keyed on the background colour and clipped as switching
// transparency anew clips it, any other is not clipped. Fits give the client area the measured text
// (Fit To Width keeps the width, Fit To Graphic takes the picture's size); under the Blackbox shell a
// caption moves the window up by the frame and lengthens it, docking at the top raises it, and the
// shell is told once; the user's drag, click, sizing and moving end docking, sizing the fit modes too.
TEST(Frame, EveryStepKeepsThePlaceDockingCaptionAndClip)
{
    TomelWindow w;
    App& app = w.app();
    app.backgroundColour = 0x336699;
    app.blackboxNotifyPending = true;   // as when the shell was found at start-up
    TEXTMETRICW tm = {};
    SIZE x = {};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, app.font.get());
    GetTextMetricsW(dc, &tm);
    GetTextExtentPoint32W(dc, L"x", 1, &x);   // a fixed-pitch font: every character as wide
    const LONG line = tm.tmHeight + tm.tmExternalLeading, dpi = GetDeviceCaps(dc, LOGPIXELSY), frame = GetSystemMetrics(SM_CYFRAME);
    SelectObject(dc, old), DeleteDC(dc);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const auto command = [&](unsigned id) { return [&, id] { w.command(id); }; };
    const auto drop = [&](const wchar_t* name, const char* text) { return [&, name, text] { w.drop({writeBytes(name, text)}); }; };
    const auto sized = [&](LONG width, LONG height, bool userLoop) {   // to a client area of that size
        return [&, width, height, userLoop] {
            RECT r = {0, 0, width, height};
            AdjustWindowRectEx(&r, GetWindowLongW(w.window(), GWL_STYLE), FALSE, GetWindowLongW(w.window(), GWL_EXSTYLE));
            if (userLoop) SendMessageW(w.window(), WM_ENTERSIZEMOVE, 0, 0);
            SetWindowPos(w.window(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
            if (userLoop) SendMessageW(w.window(), WM_EXITSIZEMOVE, 0, 0);
        };
    };
    const auto moved = [&](int dx, int dy, bool userLoop) {
        return [&, dx, dy, userLoop] {
            RECT r = {};
            GetWindowRect(w.window(), &r);
            if (userLoop) SendMessageW(w.window(), WM_ENTERSIZEMOVE, 0, 0);
            SetWindowPos(w.window(), nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            if (userLoop) SendMessageW(w.window(), WM_EXITSIZEMOVE, 0, 0);
        };
    };
    const auto mouse = [&](int dx, int dy, bool draggable) {
        return [&, dx, dy, draggable] {
            app.draggable = draggable;
            ASSERT_TRUE(w.cursorTo({400, 300}));
            SendMessageW(w.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
            ASSERT_TRUE(w.cursorTo({400 + dx, 300 + dy}));
            SendMessageW(w.window(), WM_MOUSEMOVE, MK_LBUTTON, 0);
            SendMessageW(w.window(), WM_LBUTTONUP, 0, 0);
        };
    };
    const auto answer = [&](const wchar_t* number, int button, unsigned id) {
        return [&, number, button, id] {
            answerNextDialog([=](HWND d) { SetDlgItemTextW(d, 302, number), PostMessageW(d, WM_COMMAND, button, 0); });
            w.command(id);
        };
    };
    const std::wstring picture = writeBitmap(L"picture.bmp", 300, 100, 0x404040, 0x404040);
    const SIZE paragraphs = {24 * x.cx + 20, 3 * line + 2 * frame}, lines = {24 * x.cx + 20, line * dpi / 72};
    const SIZE wrapped = {140, 2 * line * dpi / 72};   // a line of 24 or 27 wrapped once at 120 pixels
    const bool wine = runningUnderWine();   // Wine sizes and places a window whose caption came or went its own way
    struct Step {
        const char* name;
        std::function<void()> act;
        std::optional<SIZE> client = {};
        std::optional<POINT> move = {};
        std::optional<LONG> top = {};
        bool docked = true, fitting = true;   // docking and a fit mode left
        std::vector<WPARAM> told = {};        // the Blackbox shell's two messages
        LONG lengthened = 0;                  // beyond the caption's own height
        bool own = true;                      // false: moved by another program, which the window's record does not follow
    };
    const Step steps[] = {
        {"Fit To Font: the widest line, the tallest paragraph", [&] {
             drop(L"fit.txt", "twenty-four characters..\r\nshort\r\n\r\none\r\ntwo\r\nthree\r\n")();
             w.command(CMD_FIT_FONT); }, paragraphs},
        {"docked at the top", command(CMD_DOCK_TOP), paragraphs, {}, work.top},
        {"no caption", command(CMD_CAPTION), paragraphs, {}, work.top},
        {"transparent", command(CMD_TRANSPARENT), paragraphs, {}, work.top},
        {"a caption, which a transparent window does not take", command(CMD_CAPTION), paragraphs},
        {"not transparent, still without a caption", command(CMD_TRANSPARENT), paragraphs},
        {"a caption", command(CMD_CAPTION), paragraphs, {}, work.top},
        {"transparent, without the caption", command(CMD_TRANSPARENT), paragraphs},
        {"a narrower text, transparent", drop(L"narrow.txt", "twenty characters...\r\n"), SIZE{20 * x.cx + 20, line + 2 * frame}},
        {"sized by the user, transparent", sized(500, 300, true), SIZE{500, 300}, {}, {}, false, false},
        {"Fit To Font, transparent", command(CMD_FIT_FONT), SIZE{20 * x.cx + 20, line + 2 * frame}, {}, {}, false},
        {"not transparent: the caption is back", command(CMD_TRANSPARENT), {}, {}, {}, false},
        {"lines: the tallest, scaled by the resolution over 72", [&] {
             drop(L"fit.txt", "twenty-four characters..\r\nshort\r\n\r\none\r\ntwo\r\nthree\r\n")();
             w.command(CMD_MULTILINE); }, lines, {}, {}, false},
        {"docked at the bottom", command(CMD_DOCK_BOTTOM), lines},
        {"Fit To Width: the width stays and the widest line wraps", [&] { sized(140, 100, false)(); w.command(CMD_FIT_WIDTH); }, wrapped},
        {"docked in the centre", command(CMD_DOCK_CENTER), wrapped},
        {"a new text", drop(L"two.txt", "two lines of twenty-eight..\r\n\r\nx\r\n"), wrapped},
        {"Fit To Graphic", [&] { loadPicture(app, picture.c_str()), w.command(CMD_FIT_GRAPHIC); }, SIZE{300, 100}},
        {"another program's size and move", [&] { sized(320, 120, false)(), moved(25, 15, false)(); }, SIZE{320, 120},
         POINT{25, 15}, {}, true, true, {}, 0, false},
        {"docked in the centre", command(CMD_DOCK_CENTER)},
        {"a drag", mouse(30, 20, true), {}, POINT{30, 20}, {}, false},
        {"docked in the centre", command(CMD_DOCK_CENTER)},
        {"a click", mouse(0, 0, true), {}, POINT{0, 0}, {}, false},
        {"docked in the centre", command(CMD_DOCK_CENTER)},
        {"a drag, not draggable", mouse(30, 20, false), {}, POINT{0, 0}, {}, false},
        {"docked in the centre", command(CMD_DOCK_CENTER)},
        {"moving by the caption", moved(25, 15, true), SIZE{320, 120}, POINT{25, 15}, {}, false},
        {"sizing by the frame", sized(330, 130, true), SIZE{330, 130}, POINT{0, 0}, {}, false, false},
        {"Blackbox Shell", command(CMD_BLACKBOX_SHELL), SIZE{330, 130}, POINT{0, 0}, {}, false, false},
        {"no caption", command(CMD_CAPTION), SIZE{330, 130}, wine ? std::optional<POINT>() : POINT{0, frame}, {}, false, false},
        {"a caption", command(CMD_CAPTION), {}, wine ? std::optional<POINT>() : POINT{0, -frame}, {}, false, false, {2, 5}, 2},
        {"no caption again", command(CMD_CAPTION), {}, wine ? std::optional<POINT>() : POINT{0, frame}, {}, false, false},
        {"a caption again", command(CMD_CAPTION), {}, wine ? std::optional<POINT>() : POINT{0, -frame}, {}, false, false, {}, 2},
        {"docked at the top, raised", command(CMD_DOCK_TOP), {}, {}, work.top - 4, true, false, {}, 2},
        {"Raise Caption 9", answer(L"9", IDOK, CMD_RAISE_CAPTION), {}, {}, work.top - 9, true, false, {}, 2},
        {"Lengthen Window, cancelled", answer(L"7", IDCANCEL, CMD_LENGTHEN_WINDOW), {}, {}, work.top - 9, true, false, {}, 2},
        {"no Blackbox Shell, docked", [&] { w.command(CMD_BLACKBOX_SHELL), w.command(CMD_DOCK_TOP); }, {}, {}, work.top, true, false, {}, 2},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        RECT before = {}, after = {}, client = {}, plain = {};
        GetWindowRect(w.window(), &before);
        s.act();
        GetWindowRect(w.window(), &after);
        GetClientRect(w.window(), &client);
        if (s.client) EXPECT_EQ(std::make_pair(client.right, client.bottom), std::make_pair(s.client->cx, s.client->cy));
        if (s.move) EXPECT_EQ(std::make_pair(after.left - before.left, after.top - before.top), std::make_pair(s.move->x, s.move->y));
        if (s.top) EXPECT_EQ(after.top, *s.top);
        EXPECT_EQ(std::make_pair(app.docking != 0, app.fitFont || app.fitWidth || app.fitGraphic), std::make_pair(s.docked, s.fitting));
        AdjustWindowRect((plain = client, &plain), GetWindowLongW(w.window(), GWL_STYLE), FALSE);
        if (!wine) EXPECT_EQ((after.bottom - after.top) - (plain.bottom - plain.top), s.lengthened);
        std::vector<WPARAM> told;
        for (UINT message : {shellMessages.windowMessage, shellMessages.skinMessage})
            for (MSG m; PeekMessageW(&m, w.window(), message, message, PM_REMOVE);) told.push_back(m.wParam);
        EXPECT_EQ(told, s.told);
        // What holds after every step.
        EXPECT_TRUE(EqualRect(&after, &app.windowRect) || !s.own);
        if (app.docking && s.own) {
            w.command(CMD_DOCK_TOP + app.docking - 1);
            RECT docked = {};
            GetWindowRect(w.window(), &docked);
            EXPECT_TRUE(EqualRect(&after, &docked)) << after.left << ", " << after.top << " docked at " << docked.left << ", " << docked.top;
        }
        EXPECT_EQ((GetWindowLongW(w.window(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION, app.caption && !app.transparent);
        RECT clip = {}, anew = {};
        if (!app.transparent) {
            EXPECT_EQ(GetWindowRgnBox(w.window(), &clip), ERROR);
            continue;
        }
        COLORREF key = 0;
        DWORD flags = 0;
        EXPECT_TRUE(GetLayeredWindowAttributes(w.window(), &key, nullptr, &flags) && (flags & LWA_COLORKEY));
        EXPECT_EQ(key, 0x336699u);
        GetWindowRgnBox(w.window(), &clip);
        w.command(CMD_TRANSPARENT), w.command(CMD_TRANSPARENT);
        GetWindowRgnBox(w.window(), &anew);
        EXPECT_TRUE(EqualRect(&clip, &anew)) << "clip ends at " << clip.right << ", anew at " << anew.right;
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
    const struct { bool picture, background, transparent; HBRUSH brush; } cases[] = {   // brush null: the background's
        {false, true, false, nullptr}, {true, true, false, none}, {true, false, false, nullptr}, {true, true, true, nullptr}};
    for (const auto& c : cases) {
        if (c.picture) loadPicture(app, picture.c_str()); else releasePicture(app);
        std::tie(app.showBackground, app.transparent) = std::tie(c.background, c.transparent);
        SetTextColor(dc, 0);
        const auto brush = SendMessageW(w.window(), WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(GetDlgItem(w.window(), IDC_TEXT)));
        EXPECT_EQ(std::make_tuple(reinterpret_cast<HBRUSH>(brush), GetTextColor(dc), GetBkMode(dc)),
                  std::make_tuple(c.brush ? c.brush : app.backgroundBrush.get(), COLORREF(0x123456), TRANSPARENT)) << &c - cases;
    }
    app.transparent = false;
    EXPECT_EQ(SendMessageW(w.window(), WM_CTLCOLORDLG, WPARAM(dc), LPARAM(w.window())), LRESULT(app.backgroundBrush.get()));
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
    const struct { bool fitGraphic; POINT at; COLORREF colour; } cases[] = {
        {false, {2, 2}, red}, {false, {2, 7}, blue}, {false, {22, 2}, red}, {false, {195, 12}, red}, {false, {195, 58}, blue},
        {true, {92, 27}, red}, {true, {108, 33}, blue}, {true, {88, 27}, green}, {true, {112, 33}, green}, {true, {92, 23}, green}};
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, CreateCompatibleBitmap(screen, 200, 60));
    HBRUSH fill = CreateSolidBrush(green);
    for (const auto& c : cases) {
        app.fitGraphic = c.fitGraphic;
        FillRect(dc, &r, fill);
        paintBackground(app, dc);
        EXPECT_EQ(GetPixel(dc, c.at.x, c.at.y), c.colour) << &c - cases;
    }
    DeleteObject(fill);
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
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
    const struct { const char* name; bool shellTakes; std::function<void()> action; std::vector<DWORD> calls; bool button, visible = true; } steps[] = {
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
        EXPECT_EQ(std::make_tuple(trayCalls, (GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0, IsWindowVisible(w.window()) != FALSE),
                  std::make_tuple(s.calls, s.button, s.visible));
        if (!s.calls.empty() && currentApp) EXPECT_EQ(trayTip, std::wstring(w.app().statusText).substr(0, 127));
    }
    EXPECT_EQ(trayTip, (std::wstring(150, L'n') + L".txt - Tomel | 1/2 | 00:00:05").substr(0, 127));
}
