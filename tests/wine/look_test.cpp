// The window's look in the real window: the fast measure behind fitting the text, the caption,
// transparency and its clip, docking, the tray icon, the background picture and Fit To Graphic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>

#include "core/app/commands.h"
#include "harness.h"
#include "shell/app/platform_win.h"
#include "shell/display/fitting_win.h"
#include "shell/display/picture_win.h"

#include <psapi.h>

namespace {

// A picture made by ImageMagick for the tests, copied into the test folder.
std::wstring testPicture(const char* name)
{
    const std::wstring wide(name, name + std::strlen(name));
    return writeBytes(wide, readFile(std::wstring(L"" TOMEL_TEST_PICTURES L"/") + wide));
}
#define NEED_PICTURES() \
    if (!*TOMEL_TEST_PICTURES) GTEST_SKIP() << "ImageMagick was not there to make the test pictures"

// A 24-bit bitmap file of one colour.
std::wstring bitmapFile(const wchar_t* name, std::int32_t w, std::int32_t h)
{
    const std::uint32_t row = (std::uint32_t(w) * 3 + 3) & ~3u, size = 54 + row * std::uint32_t(h);
    std::string bytes(size, '\x40');
    const std::uint32_t header[] = {size, 0, 54, 40, std::uint32_t(w), std::uint32_t(h), 1 | 24 << 16, 0, 0, 0, 0, 0, 0};
    bytes[0] = 'B', bytes[1] = 'M';
    std::memcpy(&bytes[2], header, sizeof header);
    return writeBytes(name, bytes);
}

// Loads a picture as start-up does and waits until it has come.
bool showPicture(TomelWindow& w, const std::wstring& path)
{
    loadPicture(w.app(), path.c_str());
    return w.pump(60000, [&] { return bool(w.app().picture); });
}

std::uint64_t committedBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

// Paints the background over a green bitmap of the client area's size (the last entry's text, as
// far as the test is concerned) and gives the colour (0xRRGGBB) at (x, y), negatives from the far edges.
class PaintedClient {
public:
    explicit PaintedClient(TomelWindow& w)
    {
        GetClientRect(w.window(), &client_);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, client_.right, -client_.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
        FillRect(dc, &client_, green);
        paintBackground(w.app(), dc);
        GdiFlush();
        pixels_.assign(static_cast<std::uint32_t*>(bits), static_cast<std::uint32_t*>(bits) + client_.right * client_.bottom);
        DeleteObject(green);
        DeleteObject(SelectObject(dc, old));
        DeleteDC(dc);
    }
    std::uint32_t at(int x, int y) const
    {
        return pixels_[std::size_t((y < 0 ? client_.bottom + y : y) * client_.right + (x < 0 ? client_.right + x : x))] &
               0xFFFFFF;
    }
    int midX() const { return client_.right / 2; }
    int midY() const { return client_.bottom / 2; }

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

namespace {
BOOL CALLBACK confirmIfFontChooser(HWND dialog, LPARAM)
{
    wchar_t title[16] = {};
    GetWindowTextW(dialog, title, 16);
    if (wcscmp(title, L"Font") == 0) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// Confirms the font chooser as it opens, with the font it was given.
void CALLBACK confirmFont(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), confirmIfFontChooser, 0);
}
}  // namespace

// Whatever changes the size of a transparent window, its clip follows: it is the one that switching
// transparency anew gives. The caption stays off and the background colour keyed.
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
        {"a larger font", [&] {
             w.app().logFont.lfHeight = -30;
             const UINT_PTR timer = SetTimer(nullptr, 0, 200, confirmFont);
             w.command(CMD_FONT);
             KillTimer(nullptr, timer);
         }},
    };
    RECT before = {}, after = {}, clip = {}, anew = {};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        GetWindowRect(w.window(), &before);
        s.step();
        GetWindowRect(w.window(), &after);
        ASSERT_TRUE(w.app().transparent);
        EXPECT_NE(after.right - after.left, before.right - before.left);
        COLORREF key = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(w.window(), &key, nullptr, nullptr));
        EXPECT_EQ(key, w.app().backgroundColour);
        EXPECT_FALSE(GetWindowLongW(w.window(), GWL_STYLE) & WS_CAPTION);
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

TEST(Picture, PaintingCoversTheWholeClientAreaSoNoOldTextStays)
{
    NEED_PICTURES();
    // The red picture is 48 by 32; half.png is see-through in its left half. White is the background.
    enum Where { Corner, FarCorner, LeftHalf, RightHalf };
    struct Case { const char* picture; bool fitGraphic, background; std::vector<std::pair<Where, std::uint32_t>> colours; };
    const Case cases[] = {
        {"red.bmp", true, true, {{Corner, 0xFFFFFF}, {FarCorner, 0xFFFFFF}, {LeftHalf, 0xFF0000}, {RightHalf, 0xFF0000}}},
        {"red.bmp", false, true, {{Corner, 0xFF0000}, {FarCorner, 0xFF0000}}},
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
}

TEST(Picture, FitToGraphicKeepsTheWholeWindowInTheWorkArea)
{
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // A picture wider, higher or no larger than the work area, docked in the centre or left where it was.
    struct Case { std::int32_t w, h; std::uint32_t docking; POINT at; bool widthFills, heightFills; };
    const Case cases[] = {{2000, 100, 3, {0, 0}, true, false}, {2000, 100, 0, {300, 300}, true, false},
                          {100, 2000, 0, {600, 100}, false, true}, {64, 48, 0, {work.right - 30, work.bottom - 20}, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " docking " << c.docking);
        TomelWindow w;
        App& app = w.app();
        ASSERT_TRUE(showPicture(w, bitmapFile(L"fit.bmp", c.w, c.h)));
        app.docking = c.docking;
        SetWindowPos(w.window(), nullptr, c.at.x, c.at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        GetWindowRect(w.window(), &app.windowRect);
        w.command(CMD_FIT_GRAPHIC);
        RECT outer, client;
        GetWindowRect(w.window(), &outer);
        GetClientRect(w.window(), &client);
        EXPECT_TRUE(outer.left >= work.left && outer.top >= work.top && outer.right <= work.right &&
                    outer.bottom <= work.bottom) << outer.left << "," << outer.top << " " << outer.right << "," << outer.bottom;
        const LONG frameW = outer.right - outer.left - client.right, frameH = outer.bottom - outer.top - client.bottom;
        // As large as the work area allows, the shape kept (no window is narrower than SM_CXMINTRACK).
        if (c.widthFills) {
            EXPECT_EQ(client.right, work.right - work.left - frameW);
            EXPECT_EQ(client.bottom, client.right * c.h / c.w);
        }
        if (c.heightFills) {
            EXPECT_EQ(client.bottom, work.bottom - work.top - frameH);
        }
    }
}

TEST(Picture, ALargePhotoComesAfterTheWindowIsUpAndCostsWhatTheScreenShows)
{
    NEED_PICTURES();
    const std::wstring photo = testPicture("photo.jpg");
    TomelWindow w;
    App& app = w.app();
    const std::uint64_t before = committedBytes();
    loadPicture(app, photo.c_str());
    EXPECT_FALSE(app.picture) << "the window waited for the photo";
    ASSERT_TRUE(w.pump(60000, [&] { return bool(app.picture); }));
    // Its natural size is the photo's, so Fit To Graphic sizes the window as ever.
    const PixelSize size = pictureSizePixels(app, WindowDC(app.window).get());
    EXPECT_EQ(std::make_pair(size.width, size.height), std::make_pair(4000, 3000));
    // 4000 by 3000 pixels would be 46 MB; what a 1024 by 768 screen can show of it, twice, is 6 MB.
    EXPECT_LT(committedBytes() - before, std::uint64_t(16) << 20);
}

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
    struct Case { std::wstring path; bool decoded, system; PixelSize size; };
    const Case cases[] = {
        {testPicture("red.jpg"), true, false, {48, 32}}, {testPicture("red.bmp"), true, false, {48, 32}},
        {testPicture("red.gif"), true, false, {48, 32}}, {testPicture("red.png"), true, false, {48, 32}},
        {testPicture("red.ico"), true, false, {48, 32}},
        {testPicture("sizes.ico"), true, false, {32, 32}},   // of 48, 32 and 16: the system's icon size
        {metafile, false, true, {48, 32}},
        {testDirectory() + L"\\missing.jpg", false, false, {}}, {writeBytes(L"text.jpg", "no picture"), false, false, {}},
    };
    TomelWindow w;
    App& app = w.app();
    app.fitGraphic = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin() + c.path.rfind(L'\\') + 1, c.path.end()));
        loadPicture(app, c.path.c_str());
        ASSERT_TRUE(w.pump(10000, [&] { return !pictureLoading(app); }));
        EXPECT_EQ(std::make_pair(bool(app.picture.whole.bitmap), bool(app.picture.system)),
                  std::make_pair(c.decoded, c.system));
        const PixelSize size = pictureSizePixels(app, WindowDC(app.window).get());
        EXPECT_EQ(std::make_pair(size.width, size.height), std::make_pair(c.size.width, c.size.height));
        if (!app.picture) continue;
        const PaintedClient painted(w);
        const std::uint32_t centre = painted.at(painted.midX(), painted.midY());
        EXPECT_TRUE((centre >> 16) > 0xF0 && (centre & 0xFFFF) < 0x1010) << std::hex << centre;   // red, as JPEG keeps it
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
