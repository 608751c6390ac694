// The window's size and place in the real window: fitting, caption, transparency, docking, dragging.
#include <gtest/gtest.h>

#include <random>

#include "core/app/commands.h"
#include "harness.h"
#include "shell/display/fitting_win.h"

namespace {

RECT rectOf(HWND w, bool client)
{
    RECT r = {};
    client ? GetClientRect(w, &r) : GetWindowRect(w, &r);
    return r;
}

void command(TomelWindow& w, std::initializer_list<int> ids) { for (int id : ids) SendMessageW(w.window(), WM_COMMAND, id, 0); }

// The text as the system measures it, line by line, with GetTextExtentPoint32W in the font `font`.
TextBlock measuredBySystem(HFONT font, const EntryList& entries, std::int64_t limit, bool multiline, bool fast = false)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const TextBlock b = fast ? measureText(dc, entries, limit, multiline) : measureEntries(entries, limit, multiline, [&](std::wstring_view l) {
        SIZE s = {};
        GetTextExtentPoint32W(dc, l.data(), static_cast<int>(l.size()), &s);
        return Extent{s.cx, s.cy};
    });
    SelectObject(dc, old);
    DeleteDC(dc);
    return b;
}

}  // namespace

TEST(Fitting, FitToFontTakesTheWidestLineAndDocksInTheWorkArea)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    app.docking = 3;
    w.open(writeBytes(L"fit.txt", "short\r\na somewhat longer line of text\r\nmid line\r\n"));
    command(w, {CMD_FIT_FONT});
    EXPECT_EQ(rectOf(w.window(), true).right, measuredBySystem(app.font.get(), app.entries, 100000, false).width + 4 * app.textMargin);
    RECT r = rectOf(w.window(), false), work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(r.left, work.left + (work.right - work.left - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, work.top + (work.bottom - work.top - (r.bottom - r.top)) / 2);
    for (int dock : {CMD_DOCK_TOP, CMD_DOCK_BOTTOM}) {
        command(w, {dock});
        r = rectOf(w.window(), false);
        EXPECT_EQ(dock == CMD_DOCK_TOP ? r.top : r.bottom, dock == CMD_DOCK_TOP ? work.top : work.bottom) << dock;
        EXPECT_EQ(app.docking, unsigned(dock - CMD_DOCK_TOP + 1));
    }
}

TEST(Fitting, FastMeasureGivesWhatTheSystemGivesLineByLine)
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
        text += (line % 7 == 6) ? L"\r\n\r\n" : L"\r\n";
    }
    const std::wstring path = writeBytes(L"varied.txt", utf16File(text));
    for (const wchar_t* face : {L"Courier New", L"Times New Roman", L"Arial"}) {
        LOGFONTW lf = {};
        lf.lfHeight = -17;
        lf.lfItalic = face[0] == L'T';
        wcscpy(lf.lfFaceName, face);
        HFONT font = CreateFontIndirectW(&lf);
        for (bool multiline : {false, true}) {
            w.app().multiline = multiline;
            w.open(path);
            for (std::int64_t limit : {1, 150, 100000}) {
                SCOPED_TRACE(testing::Message() << narrow(face) << " multiline " << multiline << " limit " << limit);
                const TextBlock fast = measuredBySystem(font, w.app().entries, limit, multiline, true);
                const TextBlock system = measuredBySystem(font, w.app().entries, limit, multiline);
                EXPECT_EQ(fast.width, system.width);
                EXPECT_EQ(fast.height, system.height);
            }
        }
        DeleteObject(font);
    }
}

TEST(Frame, CaptionKeepsTheClientAreaTransparencyKeysTheBackgroundAndGivesTheCaptionBack)
{
    TomelWindow w;
    App& app = w.app();
    app.backgroundColour = 0x00336699;
    const RECT client = rectOf(w.window(), true);
    for (bool caption : {true, false}) {
        SCOPED_TRACE(caption ? "with caption" : "without caption");
        if (app.caption != caption) command(w, {CMD_CAPTION});
        const RECT now = rectOf(w.window(), true);
        EXPECT_TRUE(EqualRect(&client, &now));
        command(w, {CMD_TRANSPARENT});
        COLORREF key = 0;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(w.window(), &key, nullptr, &flags));
        EXPECT_EQ(key, 0x00336699u);
        EXPECT_TRUE(flags & LWA_COLORKEY);
        command(w, {CMD_CAPTION});   // does nothing while transparent
        EXPECT_FALSE(GetWindowLongW(w.window(), GWL_STYLE) & WS_CAPTION);
        command(w, {CMD_TRANSPARENT});
        EXPECT_FALSE(GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_LAYERED);
        EXPECT_EQ((GetWindowLongW(w.window(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION, caption);
    }
}

// Where the pointer goes is left out: under Wine a moved pointer can slip back to where X has it.
TEST(Frame, APressCapturesOnlyWhenDraggableAndTheReleaseEndsDocking)
{
    TomelWindow w;
    App& app = w.app();
    for (bool draggable : {false, true}) {
        SCOPED_TRACE(draggable);
        app.draggable = draggable;
        app.docking = 3;
        MoveWindow(w.window(), 100, 100, 300, 150, TRUE);
        app.windowRect = RECT{};   // the release keeps the rectangle anew
        SendMessageW(w.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 30));
        EXPECT_EQ(GetCapture() == w.window(), draggable);
        SendMessageW(w.window(), WM_LBUTTONUP, 0, 0);
        const RECT r = rectOf(w.window(), false);
        EXPECT_TRUE(EqualRect(&r, &app.windowRect));
        EXPECT_EQ(app.docking, 0u);
        EXPECT_NE(GetCapture(), w.window());
    }
}
