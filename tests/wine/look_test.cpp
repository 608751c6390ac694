// The window's look in the real window: the fast measure behind fitting the text; fits, caption,
// transparency, docking, the Blackbox shell and the user's mouse, step by step; the text's colours,
// the tray icon, the background picture and Fit To Graphic; and all of it at the screen's dpi.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <random>

#include "core/app/commands.h"
#include "core/display/dpi.h"
#include "harness.h"
#include "res/resource.h"
#include "shell/app/platform_win.h"
#include "shell/display/fitting_win.h"
#include "shell/display/frame_win.h"
#include "shell/display/picture_win.h"
#include "shell/display/tray_win.h"
#include "shell/settings/settings_win.h"

#include <psapi.h>

namespace {

// A picture made by ImageMagick for the tests, copied into the test folder.
std::wstring testPicture(const char* name)
{
    const std::wstring wide(name, name + std::strlen(name));
    return writeBytes(wide, readFile(L"" TOMEL_TEST_PICTURES L"/" + wide));
}
#define NEED_PICTURES() \
    if (!*TOMEL_TEST_PICTURES) GTEST_SKIP() << "ImageMagick was not there to make the test pictures"

// A bitmap file of one colour, 24 or 1 bits a pixel, cut after `kept` bytes.
std::wstring bitmapFile(const wchar_t* name, std::int32_t w, std::int32_t h, std::uint32_t bits = 24,
                        std::size_t kept = std::string::npos)
{
    const std::uint32_t start = bits == 1 ? 62 : 54, row = (std::uint32_t(w) * bits + 31) / 32 * 4;
    const std::uint32_t size = start + row * std::uint32_t(h);
    std::string bytes(size, '\x40');
    const std::uint32_t header[] = {size, 0, start, 40, std::uint32_t(w), std::uint32_t(h), 1 | bits << 16, 0, 0, 0, 0, 0, 0};
    bytes[0] = 'B', bytes[1] = 'M';
    std::memcpy(&bytes[2], header, sizeof header);
    return writeBytes(name, bytes.substr(0, kept));
}

// Loads a picture as start-up does and waits until it has come.
bool showPicture(TomelWindow& w, const std::wstring& path)
{
    loadPicture(w.app(), path.c_str());
    return w.pump(60000, [&] { return bool(w.app().picture); });
}

// A desktop of monitors made up by a test, answered in the system's place.
std::vector<MONITORINFO> madeUpMonitors;
BOOL WINAPI enumMadeUpMonitors(HDC, LPCRECT, MONITORENUMPROC visit, LPARAM data)
{
    for (std::size_t i = 0; i < madeUpMonitors.size(); ++i)
        if (!visit(reinterpret_cast<HMONITOR>(i + 1), nullptr, &madeUpMonitors[i].rcMonitor, data)) break;
    return TRUE;
}
BOOL WINAPI madeUpMonitorInfo(HMONITOR monitor, LPMONITORINFO info)
{
    const std::size_t i = reinterpret_cast<std::size_t>(monitor) - 1;
    if (i >= madeUpMonitors.size()) return FALSE;
    std::memcpy(info, &madeUpMonitors[i], sizeof(MONITORINFO));
    return TRUE;
}
RECT rectOf(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}
auto tied(const RECT& r) { return std::make_tuple(r.left, r.top, r.right, r.bottom); }

int screenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

struct FontFigures {
    int height, width;   // tmHeight + tmExternalLeading; the line's width
};
FontFigures measured(HFONT font, const std::wstring& line)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm = {};
    GetTextMetricsW(dc, &tm);
    SIZE size = {};
    GetTextExtentPoint32W(dc, line.c_str(), int(line.size()), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return {tm.tmHeight + tm.tmExternalLeading, size.cx};
}

// The text control's left edge in the client area: the text margin.
int textMargin(const App& app)
{
    RECT r = rectOf(app.textControl);
    MapWindowPoints(nullptr, app.window, reinterpret_cast<POINT*>(&r), 2);
    return r.left;
}

std::uint64_t committedBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters), counters.PagefileUsage;
}

// Paints the background over a green bitmap of the client area's size (the last entry's text, as
// far as the test is concerned) and gives the colour (0xRRGGBB) at (x, y), negatives from the far edges.
class PaintedClient {
public:
    explicit PaintedClient(TomelWindow& w)
    {
        GetClientRect(w.window(), &client_);
        BITMAPINFO info = {{sizeof info.bmiHeader, client_.right, -client_.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0}};
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
        FillRect(dc, &client_, green), paintBackground(w.app(), dc), GdiFlush();
        pixels_.assign(static_cast<std::uint32_t*>(bits), static_cast<std::uint32_t*>(bits) + client_.right * client_.bottom);
        DeleteObject(green), DeleteObject(SelectObject(dc, old)), DeleteDC(dc);
    }
    std::uint32_t at(int x, int y) const
    {
        return pixels_[std::size_t((y < 0 ? client_.bottom + y : y) * client_.right + (x < 0 ? client_.right + x : x))] & 0xFFFFFF;
    }
    // The place of a centred picture `size` pixels across; by default the middle.
    int midX(int size = 0) const { return (client_.right - size) / 2; }
    int midY(int size = 0) const { return (client_.bottom - size) / 2; }

private:
    RECT client_ = {};
    std::vector<std::uint32_t> pixels_;
};

}  // namespace

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
    const FontFigures x = measured(app.font.get(), L"x");   // a fixed-pitch font: every character as wide
    const LONG line = x.height, dpi = screenDpi(), frame = GetSystemMetrics(SM_CYFRAME);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const auto command = [&](unsigned id) { return [&, id] { w.command(id); }; };
    const auto drop = [&](const wchar_t* name, const char* text) { return [&, name, text] { w.drop({writeBytes(name, text)}); }; };
    // To a client area of that size (0: as it is), moved by (dx, dy); by the user: in the sizing and moving loop.
    const auto reshaped = [&](LONG width, LONG height, int dx, int dy, bool userLoop) {
        return [&, width, height, dx, dy, userLoop] {
            RECT r = {0, 0, width, height}, now = rectOf(w.window());
            AdjustWindowRectEx(&r, GetWindowLongW(w.window(), GWL_STYLE), FALSE, GetWindowLongW(w.window(), GWL_EXSTYLE));
            const UINT flags = SWP_NOZORDER | (width ? 0 : SWP_NOSIZE) | (dx || dy ? 0 : SWP_NOMOVE);
            if (userLoop) SendMessageW(w.window(), WM_ENTERSIZEMOVE, 0, 0);
            SetWindowPos(w.window(), nullptr, now.left + dx, now.top + dy, r.right - r.left, r.bottom - r.top, flags);
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
    // A dialog answered with a number typed (or the font chooser, with this font height chosen) and a button.
    const auto answer = [&](const wchar_t* number, int button, unsigned id, LONG height = 0) {
        return [&, number, button, id, height] {
            if (height) app.logFont.lfHeight = height;
            answerNextDialog([=](HWND d) { SetDlgItemTextW(d, 302, number), PostMessageW(d, WM_COMMAND, button, 0); });
            w.command(id);
        };
    };
    const LONG fontHeight = app.logFont.lfHeight;
    const std::wstring picture = bitmapFile(L"picture.bmp", 300, 100);
    const SIZE paragraphs = {24 * x.width + 20, 3 * line + 2 * frame}, lines = {24 * x.width + 20, line * dpi / 72};
    const SIZE wrapped = {140, 2 * line * dpi / 72};   // a line of 24 or 27 wrapped once at 120 pixels
    const SIZE narrow = {20 * x.width + 20, line + 2 * frame};
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
        {"a narrower text, transparent", drop(L"narrow.txt", "twenty characters...\r\n"), narrow},
        {"sized by the user, transparent", reshaped(500, 300, 0, 0, true), SIZE{500, 300}, {}, {}, false, false},
        {"Fit To Font, transparent", command(CMD_FIT_FONT), narrow, {}, {}, false},
        {"a larger font, transparent", answer(L"", IDOK, CMD_FONT, -30), {}, {}, {}, false},
        {"the font as it was, transparent", answer(L"", IDOK, CMD_FONT, fontHeight), narrow, {}, {}, false},
        {"not transparent: the caption is back", command(CMD_TRANSPARENT), {}, {}, {}, false},
        {"lines: the tallest, scaled by the resolution over 72", [&] {
             drop(L"fit.txt", "twenty-four characters..\r\nshort\r\n\r\none\r\ntwo\r\nthree\r\n")();
             w.command(CMD_MULTILINE); }, lines, {}, {}, false},
        {"docked at the bottom", command(CMD_DOCK_BOTTOM), lines},
        {"Fit To Width: the width stays and the widest line wraps", [&] {
             reshaped(140, 100, 0, 0, false)();
             w.command(CMD_FIT_WIDTH); }, wrapped},
        {"docked in the centre", command(CMD_DOCK_CENTER), wrapped},
        {"a new text", drop(L"two.txt", "two lines of twenty-eight..\r\n\r\nx\r\n"), wrapped},
        {"Fit To Graphic, chosen while the picture is on its way", [&] {
             loadPicture(app, picture.c_str());
             w.command(CMD_FIT_GRAPHIC);
             ASSERT_TRUE(w.pump(60000, [&] { return bool(app.picture); })); }, SIZE{300, 100}},
        {"another program's size and move", reshaped(320, 120, 25, 15, false), SIZE{320, 120},
         POINT{25, 15}, {}, true, true, {}, 0, false},
        {"docked in the centre", command(CMD_DOCK_CENTER)},
        {"a drag", mouse(30, 20, true), {}, POINT{30, 20}, {}, false},
        {"docked in the centre", command(CMD_DOCK_CENTER)},
        {"a click", mouse(0, 0, true), {}, POINT{0, 0}, {}, false},
        {"docked in the centre", command(CMD_DOCK_CENTER)},
        {"a drag, not draggable", mouse(30, 20, false), {}, POINT{0, 0}, {}, false},
        {"docked in the centre", command(CMD_DOCK_CENTER)},
        {"moving by the caption", reshaped(0, 0, 25, 15, true), SIZE{320, 120}, POINT{25, 15}, {}, false},
        {"sizing by the frame", reshaped(330, 130, 0, 0, true), SIZE{330, 130}, POINT{0, 0}, {}, false, false},
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
        const RECT before = rectOf(w.window());
        s.act();
        const RECT after = rectOf(w.window());
        RECT client = {}, plain = {};
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
        // What holds after every step: the text fills the client area within its margins.
        RECT text = rectOf(app.textControl);
        MapWindowPoints(nullptr, w.window(), reinterpret_cast<POINT*>(&text), 2);
        const RECT within = {app.textMargin, 0, client.right - app.textMargin, client.bottom};
        EXPECT_TRUE(EqualRect(&text, &within)) << text.left << "," << text.top << " " << text.right << "," << text.bottom;
        EXPECT_TRUE(EqualRect(&after, &app.windowRect) || !s.own);
        if (app.docking && s.own) {
            w.command(CMD_DOCK_TOP + app.docking - 1);
            const RECT docked = rectOf(w.window());
            EXPECT_TRUE(EqualRect(&after, &docked)) << after.left << ", " << after.top << " docked at " << docked.left << ", " << docked.top;
        }
        EXPECT_EQ((GetWindowLongW(w.window(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION, app.caption && !app.transparent);
        RECT clip = {}, anew = {};
        if (!app.transparent) { EXPECT_EQ(GetWindowRgnBox(w.window(), &clip), ERROR); continue; }
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

namespace {
// A window stored at (100, 50) of the monitor `second`, 400 by 200, starts there, fits to a tall picture
// inside that monitor's work area, and docks at its bottom; with that monitor gone (`unplugged`) it starts
// on the primary screen, at its nearer edge.
void startOnMonitor(const MONITORINFO& second, bool unplugged)
{
    const RECT area = second.rcMonitor, work = second.rcWork;
    const std::string ini = "[Position]\r\nleft=" + std::to_string(area.left + 100) + "\r\ntop=" +
                            std::to_string(area.top + 50) + "\r\nright=" + std::to_string(area.left + 500) +
                            "\r\nbottom=" + std::to_string(area.top + 250) + "\r\n";
    TomelWindow w;
    w.drop({writeBytes(L"second.ini", ini)});
    RECT r = rectOf(w.window());
    if (unplugged) {
        const LONG left = area.left > 0 ? GetSystemMetrics(SM_CXSCREEN) - 400 : 0;
        EXPECT_EQ(std::make_pair(r.left, r.right), std::make_pair(left, left + 400));
        return;
    }
    EXPECT_EQ(tied(r), std::make_tuple(area.left + 100, area.top + 50, area.left + 500, area.top + 250));
    // Not docked: as high as the work area allows with the frame counted, moved in where it stood out.
    w.app().docking = 0;
    ASSERT_TRUE(showPicture(w, bitmapFile(L"tall.bmp", 100, 2000)));
    w.command(CMD_FIT_GRAPHIC);
    r = rectOf(w.window());
    EXPECT_EQ(std::make_tuple(r.left, r.top, r.bottom), std::make_tuple(area.left + 100, work.top, work.bottom));
    w.command(CMD_DOCK_BOTTOM);
    const LONG left = work.left + (work.right - work.left - (r.right - r.left)) / 2;
    EXPECT_EQ(tied(rectOf(w.window())), std::make_tuple(left, work.top, left + r.right - r.left, work.bottom));
}
}  // namespace

// Monitors made up beside the primary: a smaller one on the right with a taskbar, or one on the left
// and higher up; each there and then unplugged.
TEST(Frame, OnASecondMonitorTheWindowStartsFitsAndDocksThere)
{
    MONITORINFO primary = {sizeof primary, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, {},
                           MONITORINFOF_PRIMARY};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary.rcWork, 0);
    const LONG sw = primary.rcMonitor.right;
    const MONITORINFO right = {sizeof right, {sw, 0, sw + 900, 700}, {sw, 0, sw + 900, 660}, 0};
    const MONITORINFO left = {sizeof left, {-800, -300, 0, 300}, {-800, -260, 0, 300}, 0};
    platform.enumDisplayMonitors = enumMadeUpMonitors, platform.getMonitorInfo = madeUpMonitorInfo;
    for (const MONITORINFO& second : {right, left})
        for (bool unplugged : {false, true}) {
            SCOPED_TRACE(testing::Message() << "at " << second.rcMonitor.left << (unplugged ? ", unplugged" : ""));
            madeUpMonitors = unplugged ? std::vector<MONITORINFO>{primary} : std::vector<MONITORINFO>{primary, second};
            startOnMonitor(second, unplugged);
        }
    platform.enumDisplayMonitors = Platform().enumDisplayMonitors, platform.getMonitorInfo = Platform().getMonitorInfo;
    // On the primary, the work area follows the system's setting (a taskbar at the top).
    RECT moved = primary.rcWork;
    moved.top += 40;
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &moved, 0);
    TomelWindow w;
    w.command(CMD_DOCK_TOP);
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &primary.rcWork, 0);
    EXPECT_EQ(rectOf(w.window()).top, moved.top);
}

// The window at the screen's dpi: the settings file's 96-dpi sizes scaled to it, the text drawn in a font
// as many times taller, a fit as many times larger, and the file saved again just as it was read. Under
// the test display the screen has 96 dpi; tests/e2e/test_dpi.sh runs this again on one of 144 dpi.
// (Wine takes every program as per-monitor aware, manifest or not: tests/pe checks the manifest.)
TEST(Dpi, TheWindowFontAndFitScaleToTheScreenAndTheFileKeepsItsSizes)
{
    const int dpi = screenDpi();
    if (const char* expected = std::getenv("TOMEL_EXPECT_DPI")) ASSERT_EQ(dpi, std::atoi(expected));
    const auto at = [](int size, int dpi) { return MulDiv(size, dpi, 96); };
    // The default settings with a window of 600 by 325 at (10, 20), a 10-point font 13 pixels high.
    std::wstring text;
    for (char c : readFile(L"" TOMEL_TEST_DATA L"/settings-default.txt"))
        if (c != '\r') text += c == '\n' ? std::wstring(L"\r\n") : std::wstring(1, wchar_t(c));
    const std::wstring stock = L"left=100\r\ntop=200\r\nright=700\r\nbottom=525";
    text.replace(text.find(stock), stock.size(), L"left=10\r\ntop=20\r\nright=610\r\nbottom=345");   // throws when not there
    ASSERT_NE(text.find(L"height=-13\r\n"), std::wstring::npos);
    const std::string stored = utf16File(text);

    TomelWindow w;
    ASSERT_TRUE(IsWindow(w.window()) && currentApp.get());
    App& app = w.app();
    copyToBuffer(app.settingsPath, PATH_BUFFER, writeBytes(L"dpi.ini", stored));
    reloadSettings(app);
    EXPECT_EQ(tied(rectOf(w.window())), std::make_tuple(at(10, dpi), at(20, dpi), at(610, dpi), at(345, dpi)));
    EXPECT_EQ(textMargin(app), at(TEXT_MARGIN, dpi));
    const std::wstring line = L"Twenty-four characters..";
    LOGFONTW design = app.logFont;
    design.lfHeight = -13;
    const HFONT designFont = CreateFontIndirectW(&design);
    const FontFigures at96 = measured(designFont, line);
    DeleteObject(designFont);
    const auto drawn = [&] { return measured(reinterpret_cast<HFONT>(SendMessageW(app.textControl, WM_GETFONT, 0, 0)), line); };
    EXPECT_NEAR(drawn().height, at(at96.height, dpi), 1);
    EXPECT_NEAR(drawn().width, at(at96.width, dpi), 2);
    copyToBuffer(app.settingsPath, PATH_BUFFER, testDirectory() + L"\\saved.ini");
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    EXPECT_EQ(readFile(app.settingsPath), stored);

    // Under the Blackbox shell the window docks its caption adjustment (4) above the work area, and grows
    // by its window adjustment (2) when the caption comes.
    app.blackboxShell = true;
    w.command(CMD_DOCK_TOP);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT docked = rectOf(w.window());
    EXPECT_EQ(docked.top, work.top - at(4, dpi));
    w.command(CMD_CAPTION), w.command(CMD_CAPTION);
    const RECT grown = rectOf(w.window());
    EXPECT_EQ(grown.bottom - grown.top, docked.bottom - docked.top + at(2, dpi));
    app.blackboxShell = false;

    // Fit To Font on one line: as wide as the line and four margins, as high as 96 / 72 font lines.
    w.drop({writeBytes(L"line.txt", std::string(line.begin(), line.end()) + "\r\n")});
    app.multiline = false;
    w.command(CMD_FIT_FONT);
    RECT client = {};
    GetClientRect(w.window(), &client);
    EXPECT_NEAR(client.right, at(at96.width + 4 * TEXT_MARGIN, dpi), 2);
    EXPECT_NEAR(client.bottom, at(at96.height * 96 / 72, dpi), 2);

    // Moved to a screen of twice the dpi and back: the font, the margins and the fit follow, and come back.
    const FontFigures before = drawn();
    const RECT place = rectOf(w.window());
    RECT suggested = {place.left, place.top + 30, place.left + 2 * (place.right - place.left),
                      place.top + 30 + 2 * (place.bottom - place.top)};
    app.fitFont = false;
    SendMessageW(w.window(), WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(tied(rectOf(w.window())), tied(suggested));
    EXPECT_NEAR(drawn().height, at(at96.height, 2 * dpi), 1);
    EXPECT_EQ(textMargin(app), at(TEXT_MARGIN, 2 * dpi));
    app.fitFont = true;
    app.inSizeMove = true;   // dragged back: the fit mode stays
    SendMessageW(w.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    app.inSizeMove = false;
    EXPECT_EQ(std::make_pair(drawn().height, drawn().width), std::make_pair(before.height, before.width));
    EXPECT_EQ(tied(rectOf(w.window())), tied(place));   // fitted again, not the suggested size
    EXPECT_TRUE(app.fitFont);
}

// The text is drawn in the text colour on the background brush, or on the picture while one shows;
// the window's background is the brush.
TEST(Colours, TheTextIsDrawnInItsColourOnTheBackgroundOrOnThePicture)
{
    TomelWindow w;
    App& app = w.app();
    app.textColour = 0x123456;
    const std::wstring picture = bitmapFile(L"colours.bmp", 20, 10);
    HDC dc = CreateCompatibleDC(nullptr);
    const HBRUSH none = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    const struct { bool picture, background, transparent; HBRUSH brush; } cases[] = {   // brush null: the background's
        {false, true, false, nullptr}, {true, true, false, none}, {true, false, false, nullptr}, {true, true, true, nullptr}};
    for (const auto& c : cases) {
        if (c.picture) ASSERT_TRUE(showPicture(w, picture)); else releasePicture(app);
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
        Seam() { platform.notifyIcon = watchedShell; }
        ~Seam() { platform.notifyIcon = Platform().notifyIcon; }
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
        if (!s.calls.empty() && currentApp.get()) EXPECT_EQ(trayTip, std::wstring(w.app().statusText).substr(0, 127));
    }
    EXPECT_EQ(trayTip, (std::wstring(150, L'n') + L".txt - Tomel | 1/2 | 00:00:05").substr(0, 127));
}

TEST(Picture, PaintingCoversTheWholeClientAreaSoNoOldTextStays)
{
    NEED_PICTURES();
    // The red picture is 48 by 32; half.png is see-through in its left half. White is the background.
    enum Where { Corner, FarCorner, LeftHalf, RightHalf };
    struct Case { const char* picture; bool fitGraphic, background; std::vector<std::pair<Where, std::uint32_t>> colours; };
    const Case cases[] = {
        {"red.bmp", true, true, {{Corner, 0xFFFFFF}, {FarCorner, 0xFFFFFF}, {LeftHalf, 0xFF0000}, {RightHalf, 0xFF0000}}},
        {"red.bmp", false, true, {{Corner, 0xFF0000}, {FarCorner, 0xFF0000}}},
        {"banded.bmp", false, true, {{Corner, 0x0000FF}}},   // each tile from its top row
        {"half.png", true, true, {{Corner, 0xFFFFFF}, {LeftHalf, 0xFFFFFF}, {RightHalf, 0xFF0000}}},
        {"half.png", false, true, {{Corner, 0xFFFFFF}, {FarCorner, 0xFFFFFF}}},
        {"red.bmp", true, false, {{Corner, 0x00FF00}, {RightHalf, 0x00FF00}}},   // nothing drawn
    };
    TomelWindow w;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture << (c.fitGraphic ? " centred" : " tiled") << c.background);
        ASSERT_TRUE(showPicture(w, testPicture(c.picture)));
        w.app().fitGraphic = c.fitGraphic;
        w.app().showBackground = c.background;
        const PaintedClient painted(w);
        for (const auto& [where, colour] : c.colours) {
            const int x = where == Corner ? 1 : where == FarCorner ? -2 : painted.midX() + (where == LeftHalf ? -12 : 12);
            const int y = where == Corner ? 1 : where == FarCorner ? -2 : painted.midY();
            // The x of a tile's halves: the first tile of the row.
            const int tileX = where == LeftHalf ? 5 : where == RightHalf ? 30 : x;
            EXPECT_EQ(painted.at(c.fitGraphic ? x : tileX, y), colour) << where;
        }
    }
    // Fitted to the picture, the window shows it to its last row.
    w.app().showBackground = true;
    w.command(CMD_FIT_GRAPHIC);
    const PaintedClient fitted(w);
    EXPECT_EQ(std::make_pair(fitted.at(fitted.midX(), 0), fitted.at(fitted.midX(), -1)), std::make_pair(0xFF0000u, 0xFF0000u));
    // A picture of a single pixel is drawn too.
    ASSERT_TRUE(showPicture(w, bitmapFile(L"dot.bmp", 1, 1)));
    const PaintedClient dot(w);
    EXPECT_EQ(dot.at(dot.midX(1), dot.midY(1)), 0x404040u);
}

// A large photo comes after the window is up, and costs only what the screen shows of it.
TEST(Picture, TheImagingComponentReadsEachFormatAndMetafilesComeThroughTheSystem)
{
    NEED_PICTURES();
    // A metafile of a red 48 by 32 rectangle (0.1 mm units at 96 dpi: 1270 by 847).
    const std::wstring metafile = testDirectory() + L"\\red.emf";
    const RECT frame = {0, 0, 1270, 847};
    HDC recorder = CreateEnhMetaFileW(nullptr, metafile.c_str(), &frame, nullptr);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT all = {0, 0, 48, 32};
    FillRect(recorder, &all, red);
    DeleteEnhMetaFile(CloseEnhMetaFile(recorder));
    DeleteObject(red);
    const RECT none = {0, 0, 0, 847};   // a metafile of no width: no picture to show
    const std::wstring noWidth = testDirectory() + L"\\line.emf";
    DeleteEnhMetaFile(CloseEnhMetaFile(CreateEnhMetaFileW(nullptr, noWidth.c_str(), &none, nullptr)));
    struct Case { std::wstring path; bool decoded, system; PixelSize size; std::uint32_t centre = 0xFF0000; };   // 0: not looked at
    const Case cases[] = {
        {testPicture("photo.jpg"), true, false, {4000, 3000}, 0x80007F},   // red to blue downwards: its size as ever, shown whole
        {testPicture("red.jpg"), true, false, {48, 32}}, {testPicture("red.bmp"), true, false, {48, 32}},
        {testPicture("red.gif"), true, false, {48, 32}}, {testPicture("red.png"), true, false, {48, 32}},
        {testPicture("red.ico"), true, false, {48, 32}},
        {testPicture("sizes.ico"), true, false, {32, 32}},   // of 48, 32 and 16: the system's icon size
        {metafile, false, true, {48, 32}}, {noWidth, false, false, {}}, {bitmapFile(L"dot.bmp", 1, 1), true, false, {1, 1}, 0},
        {bitmapFile(L"tall.bmp", 1, (1 << 23) + 1), true, false, {1, (1 << 23) + 1}, 0},   // up to 2^24 a side
        {bitmapFile(L"wide.bmp", (1 << 24) + 1, 1, 1), false, false, {}}, {bitmapFile(L"cut.bmp", 64, 64, 24, 600), false, false, {}},
        {testDirectory() + L"\\missing.jpg", false, false, {}}, {writeBytes(L"text.jpg", "no picture"), false, false, {}},
    };
    TomelWindow w;
    App& app = w.app();
    app.fitGraphic = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin() + c.path.rfind(L'\\') + 1, c.path.end()));
        const std::uint64_t before = committedBytes();
        loadPicture(app, c.path.c_str());
        const bool large = c.size.width > 1000;
        if (large) EXPECT_FALSE(app.picture) << "the window waited for the photo";
        ASSERT_TRUE(w.pump(60000, [&] { return !pictureLoading(app); }));
        // 4000 by 3000 pixels would be 46 MB; what a 1024 by 768 screen can show of it, twice, is 6 MB.
        if (large) EXPECT_LT(std::int64_t(committedBytes() - before), std::int64_t(16) << 20);
        EXPECT_EQ(std::make_pair(bool(app.picture.whole.bitmap), bool(app.picture.system)),
                  std::make_pair(c.decoded, c.system));
        const PixelSize size = pictureSizePixels(app, WindowDC(app.window).get());
        EXPECT_EQ(std::make_pair(size.width, size.height), std::make_pair(c.size.width, c.size.height));
        if (!app.picture || !c.centre) continue;
        const PaintedClient painted(w);
        const std::uint32_t centre = painted.at(painted.midX(), painted.midY());
        for (int shift : {0, 8, 16})   // each channel as near as JPEG keeps it
            EXPECT_NEAR(int(centre >> shift & 0xFF), int(c.centre >> shift & 0xFF), 0x18) << std::hex << centre;
    }
    EXPECT_TRUE(shownMessages.empty());
}

TEST(Picture, AWindowGoneBeforeItsPictureCameLeavesNothingBehind)
{
    NEED_PICTURES();
    std::weak_ptr<PictureHandOver> left;
    HBITMAP decoded = nullptr;
    {
        TomelWindow w;
        loadPicture(w.app(), testPicture("red.bmp").c_str());
        const std::shared_ptr<PictureHandOver> handOver = w.app().pendingPicture.handOver;
        left = handOver;
        // The worker is done, but the window goes before it takes the picture.
        for (int i = 0; i < 1000 && !handOver->result; ++i) Sleep(10);
        ASSERT_TRUE(handOver->result);
        decoded = handOver->result.load()->picture.whole.bitmap.get();
        EXPECT_EQ(GetObjectType(decoded), DWORD(OBJ_BITMAP));
    }
    for (int i = 0; i < 1000 && !left.expired(); ++i) Sleep(10);
    EXPECT_TRUE(left.expired());
    EXPECT_EQ(GetObjectType(decoded), 0u);
}
