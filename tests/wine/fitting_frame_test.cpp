// The window's size and place in the real window: fitting, caption, transparency, docking,
// dragging, stay on top.
#include <gtest/gtest.h>

#include <random>

#include "core/app/commands.h"
#include "harness.h"
#include "shell/display/fitting_win.h"
#include "shell/display/frame_win.h"

namespace {

RECT clientRect(HWND w)
{
    RECT r = {};
    GetClientRect(w, &r);
    return r;
}

RECT windowRect(HWND w)
{
    RECT r = {};
    GetWindowRect(w, &r);
    return r;
}

RECT workArea()
{
    RECT r = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

// The widest line of `lines` in the window's font, measured line by line by the system.
int widest(App& app, const std::vector<std::wstring>& lines)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, app.font.get());
    int most = 0;
    for (const auto& l : lines) {
        SIZE s = {};
        GetTextExtentPoint32W(dc, l.c_str(), static_cast<int>(l.size()), &s);
        most = std::max<int>(most, s.cx);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return most;
}

void command(TomelWindow& w, unsigned id) { SendMessageW(w.window(), WM_COMMAND, id, 0); }

}  // namespace

TEST(Fitting, FitToFontSizesTheClientAreaToTheWidestLineAndDocks)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    w.open(writeBytes(L"fit.txt", "short\r\na somewhat longer line of text\r\nmid line\r\n"));
    app.docking = 3;
    command(w, CMD_FIT_FONT);
    EXPECT_TRUE(app.fitFont);
    const RECT c = clientRect(w.window());
    EXPECT_EQ(c.right, widest(app, {L"short", L"a somewhat longer line of text", L"mid line"}) + 20);
    TEXTMETRICW tm = {};
    HDC dc = GetDC(w.window());
    HGDIOBJ old = SelectObject(dc, app.font.get());
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    EXPECT_EQ(c.bottom, tm.tmHeight * GetDeviceCaps(dc, LOGPIXELSY) / 72);
    ReleaseDC(w.window(), dc);
    // The outer rectangle is the client area's, docked at the centre of the work area.
    const RECT r = windowRect(w.window()), work = workArea();
    EXPECT_TRUE(EqualRect(&r, &app.windowRect));
    EXPECT_EQ(r.left, (work.right - work.left - (r.right - r.left)) / 2 + work.left);
    EXPECT_EQ(r.top, (work.bottom - work.top - (r.bottom - r.top)) / 2 + work.top);

    // Fit To Width keeps the client width and fits the height; the other modes are cleared.
    SetWindowPos(w.window(), nullptr, 0, 0, 150, 200, SWP_NOMOVE | SWP_NOZORDER);
    app.multiline = true;
    const int width = clientRect(w.window()).right;
    command(w, CMD_FIT_WIDTH);
    EXPECT_TRUE(app.fitWidth && !app.fitFont);
    EXPECT_EQ(clientRect(w.window()).right, width);
    // A new load refits, docked again.
    app.docking = 1;
    w.open(writeBytes(L"fit2.txt", "one\r\ntwo\r\nthree\r\n"));
    EXPECT_EQ(windowRect(w.window()).top, workArea().top);
}

TEST(Fitting, FastMeasureGivesWhatTheSystemGivesLineByLine)
{
    TomelWindow w;
    std::mt19937 random(7);
    // Lines of plain characters only (summed from the table) and lines with marks, joiners, other
    // scripts and surrogate pairs (measured by the system), with kerning pairs in both.
    const std::wstring plain = L"AVAWTo.,;: iWlMx\tyV\x00C0\x00E9\x00DF\x03A9\x0416\x2014\x20AC";
    const std::wstring mixed = plain + L"\x0301\x05D0\x0627\xFB01\xD83D\xDE00\x4E2D";
    std::wstring text;
    for (int line = 0; line < 300; ++line) {
        const std::wstring& alphabet = line % 2 ? mixed : plain;
        const int length = static_cast<int>(random() % 90);
        for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        text += (line % 7 == 6) ? L"\r\n\r\n" : L"\r\n";
    }
    const std::wstring path = writeBytes(L"varied.txt", utf16File(text));
    struct Face {
        const wchar_t* name;
        int weight;
        BYTE italic;
    };
    for (const Face f : {Face{L"Courier New", 400, 0}, Face{L"Times New Roman", 700, 1}, Face{L"Arial", 400, 0}}) {
        SCOPED_TRACE(narrow(f.name));
        LOGFONTW lf = {};
        lf.lfHeight = -17;
        lf.lfWeight = f.weight;
        lf.lfItalic = f.italic;
        wcscpy(lf.lfFaceName, f.name);
        HFONT font = CreateFontIndirectW(&lf);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        for (bool multiline : {false, true}) {
            w.app().multiline = multiline;
            w.open(path);
            for (std::int64_t limit : {1, 150, 100000}) {
                const TextBlock fast = measureText(dc, w.app().entries, limit, multiline);
                const TextBlock exact = measureText(dc, w.app().entries, limit, multiline, true);
                EXPECT_EQ(fast.width, exact.width) << limit;
                EXPECT_EQ(fast.height, exact.height) << limit;
            }
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(font);
    }
}

TEST(Frame, CaptionTogglesAroundTheSameClientArea)
{
    TomelWindow w;
    App& app = w.app();
    app.docking = 0;
    const RECT before = clientRect(w.window());
    const RECT outer = windowRect(w.window());
    command(w, CMD_CAPTION);
    EXPECT_FALSE(app.caption);
    EXPECT_FALSE(GetWindowLongW(w.window(), GWL_STYLE) & WS_CAPTION);
    const RECT after = clientRect(w.window());
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(windowRect(w.window()).top, outer.top);
    command(w, CMD_CAPTION);
    const RECT back = windowRect(w.window());
    EXPECT_TRUE(EqualRect(&outer, &back));

    // Under the Blackbox shell: up by the frame and longer by the adjustment with the caption, down
    // by the frame without it; the shell's messages are posted once.
    app.blackboxShell = true;
    app.blackboxNotifyPending = true;
    command(w, CMD_CAPTION);
    const RECT off = windowRect(w.window());
    EXPECT_EQ(off.top, outer.top + GetSystemMetrics(SM_CYFRAME));
    command(w, CMD_CAPTION);
    const RECT on = windowRect(w.window());
    EXPECT_EQ(on.top, outer.top);
    EXPECT_EQ(on.bottom - on.top, outer.bottom - outer.top + app.bbWindowAdjust);
    EXPECT_FALSE(app.blackboxNotifyPending);
    MSG m;
    EXPECT_TRUE(PeekMessageW(&m, w.window(), shellMessages.windowMessage, shellMessages.windowMessage, PM_REMOVE));
    EXPECT_TRUE(PeekMessageW(&m, w.window(), shellMessages.skinMessage, shellMessages.skinMessage, PM_REMOVE));
}

TEST(Frame, TransparencyKeysTheBackgroundAndGivesTheCaptionBack)
{
    TomelWindow w;
    App& app = w.app();
    app.backgroundColour = 0x00336699;
    for (bool captionFirst : {true, false}) {
        SCOPED_TRACE(captionFirst ? "with caption" : "without caption");
        if (app.caption != captionFirst) command(w, CMD_CAPTION);
        command(w, CMD_TRANSPARENT);
        EXPECT_TRUE(GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_LAYERED);
        COLORREF key = 0;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(w.window(), &key, nullptr, &flags));
        EXPECT_EQ(key, 0x00336699u);
        EXPECT_EQ(flags & LWA_COLORKEY, static_cast<DWORD>(LWA_COLORKEY));
        EXPECT_FALSE(GetWindowLongW(w.window(), GWL_STYLE) & WS_CAPTION);
        command(w, CMD_CAPTION);   // does nothing while transparent
        EXPECT_FALSE(GetWindowLongW(w.window(), GWL_STYLE) & WS_CAPTION);
        command(w, CMD_TRANSPARENT);
        EXPECT_FALSE(GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_LAYERED);
        EXPECT_EQ(app.caption, captionFirst);
        EXPECT_EQ((GetWindowLongW(w.window(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION, captionFirst);
    }
}

TEST(Frame, DocksAtEachPlaceOfTheWorkArea)
{
    TomelWindow w;
    App& app = w.app();
    const RECT work = workArea();
    const RECT before = windowRect(w.window());
    const int width = before.right - before.left, height = before.bottom - before.top;
    struct Case {
        unsigned commandId;
        int top;
    };
    for (const Case c : {Case{CMD_DOCK_TOP, work.top}, Case{CMD_DOCK_BOTTOM, work.bottom - height},
                         Case{CMD_DOCK_CENTER, work.top + (work.bottom - work.top - height) / 2}}) {
        SCOPED_TRACE(c.commandId);
        command(w, c.commandId);
        const RECT r = windowRect(w.window());
        EXPECT_EQ(r.top, c.top);
        EXPECT_EQ(r.left, work.left + (work.right - work.left - width) / 2);
        EXPECT_EQ(r.right - r.left, width);
        EXPECT_EQ(app.docking, c.commandId - CMD_DOCK_TOP + 1);
    }
}

TEST(Frame, DragMovesTheWindowAndEndsDocking)
{
    TomelWindow w;
    App& app = w.app();
    app.docking = 3;
    MoveWindow(w.window(), 100, 100, 300, 150, TRUE);
    GetWindowRect(w.window(), &app.windowRect);
    SetCursorPos(200, 150);
    SendMessageW(w.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 30));
    EXPECT_EQ(GetCapture(), w.window());
    for (int step = 1; step <= 3; ++step) {
        SetCursorPos(200 + 10 * step, 150 + 5 * step);
        SendMessageW(w.window(), WM_MOUSEMOVE, MK_LBUTTON, 0);
    }
    SendMessageW(w.window(), WM_LBUTTONUP, 0, 0);
    const RECT r = windowRect(w.window());
    EXPECT_EQ(r.left, 130);
    EXPECT_EQ(r.top, 115);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_TRUE(EqualRect(&r, &app.windowRect));
    EXPECT_EQ(app.docking, 0u);
    EXPECT_NE(GetCapture(), w.window());
    // Not draggable: a press captures nothing, and the release still ends docking.
    app.draggable = false;
    app.docking = 2;
    SendMessageW(w.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_NE(GetCapture(), w.window());
    SendMessageW(w.window(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(app.docking, 0u);
}

TEST(Frame, StayOnTopFollowsTheCommandAndEveryShownEntry)
{
    TomelWindow w;
    command(w, CMD_STAY_ON_TOP);
    EXPECT_TRUE(GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Another topmost window comes above it; the next shown entry puts it back on top.
    HWND other = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
    const auto firstOfBoth = [&] {
        for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
            if (h == other || h == w.window()) return h;
        return HWND{};
    };
    EXPECT_EQ(firstOfBoth(), other);
    command(w, CMD_NEXT);
    EXPECT_EQ(firstOfBoth(), w.window());
    DestroyWindow(other);
    command(w, CMD_STAY_ON_TOP);
    EXPECT_FALSE(w.app().onTop);
    // Wine keeps an owned window's WS_EX_TOPMOST through HWND_NOTOPMOST.
    if (!runningUnderWine()) {
        EXPECT_FALSE(GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
}
