// The window's look in the real window: the background picture, the colours, the tray icon and the
// gong's commands.
#include <gtest/gtest.h>

#include "core/app/commands.h"
#include "harness.h"
#include "shell/display/colours_win.h"
#include "shell/display/picture_win.h"
#include "shell/display/tray_win.h"
#include "shell/text/gong_win.h"

namespace {

constexpr COLORREF RED = RGB(255, 0, 0), BLUE = RGB(0, 0, 255), WHITE = RGB(255, 255, 255);

// A 24-bit bitmap file, red in its top half and blue in its bottom half.
std::string twoColourBitmap(int width, int height)
{
    const int row = (width * 3 + 3) & ~3;
    const std::uint32_t size = 54 + row * height;
    std::string b(size, '\0');
    auto put32 = [&](int at, std::uint32_t v) { for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i)); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < height; ++y)          // bottom-up rows
        for (int x = 0; x < width; ++x) {
            char* p = &b[54 + y * row + x * 3];   // blue, green, red
            if (y < height / 2) p[0] = '\xff'; else p[2] = '\xff';
        }
    return b;
}

void command(TomelWindow& w, unsigned id) { SendMessageW(w.window(), WM_COMMAND, id, 0); }

void setClientSize(HWND w, int width, int height)
{
    RECT r = {0, 0, width, height};
    AdjustWindowRectEx(&r, GetWindowLongW(w, GWL_STYLE), FALSE, GetWindowLongW(w, GWL_EXSTYLE));
    SetWindowPos(w, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
}

// paintBackground into a white bitmap the size of the client area; the pixels asked for.
std::vector<COLORREF> painted(App& app, const std::vector<POINT>& at)
{
    RECT c = {};
    GetClientRect(app.window, &c);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, c.right, c.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    FillRect(dc, &c, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    paintBackground(app, dc);
    std::vector<COLORREF> colours;
    for (POINT p : at) colours.push_back(GetPixel(dc, p.x, p.y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return colours;
}

}  // namespace

TEST(Picture, TilesUprightFromTheTopLeftOrCentresInFitToGraphic)
{
    TomelWindow w;
    App& app = w.app();
    ASSERT_TRUE(loadPicture(app, writeBytes(L"tile.bmp", twoColourBitmap(64, 64)).c_str()));
    setClientSize(w.window(), 150, 100);
    // Tiles at (0,0), (64,0), (128,0), (0,64)...: red above blue in each.
    EXPECT_EQ(painted(app, {{5, 5}, {5, 40}, {70, 5}, {130, 40}, {5, 70}, {70, 98}}),
              (std::vector<COLORREF>{RED, BLUE, RED, BLUE, RED, BLUE}));
    // Not shown while transparent or switched off.
    command(w, CMD_BACKGROUND);
    EXPECT_EQ(painted(app, {{5, 5}}), std::vector<COLORREF>{WHITE});
    command(w, CMD_BACKGROUND);
    app.transparent = true;
    EXPECT_EQ(painted(app, {{5, 5}}), std::vector<COLORREF>{WHITE});
    app.transparent = false;

    // Fit To Graphic: the client area becomes the picture's size, and the picture is drawn once.
    ASSERT_TRUE(loadPicture(app, writeBytes(L"wide.bmp", twoColourBitmap(300, 160)).c_str()));
    command(w, CMD_FIT_GRAPHIC);
    RECT c = {};
    GetClientRect(w.window(), &c);
    EXPECT_EQ(c.right, 300);
    EXPECT_EQ(c.bottom, 160);
    // In a larger window it is centred at its natural size.
    setClientSize(w.window(), 400, 200);
    EXPECT_EQ(painted(app, {{45, 100}, {55, 30}, {55, 170}, {345, 170}, {355, 100}}),
              (std::vector<COLORREF>{WHITE, RED, BLUE, BLUE, WHITE}));
}

TEST(Picture, FilesThatAreNoPictureLeaveNone)
{
    TomelWindow w;
    App& app = w.app();
    const std::string good = twoColourBitmap(64, 64);
    struct Case {
        const wchar_t* name;
        std::string bytes;
    };
    const Case cases[] = {
        {L"text.bmp", "this is not a picture"},
        {L"empty.bmp", ""},
        {L"cut.bmp", good.substr(0, 60)},
        {L"huge.bmp", twoColourBitmap(64, 64).replace(18, 8, std::string("\x30\x75\0\0\x30\x75\0\0", 8))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.name));
        const std::wstring path = writeBytes(c.name, c.bytes);
        copyToBuffer(app.bitmapPath, PATH_BUFFER, path);
        loadPicture(app, app.bitmapPath);
        (void)painted(app, {{0, 0}});   // draws whatever the loader made of it, without harm
        EXPECT_STREQ(app.bitmapPath, path.c_str());
    }
    EXPECT_FALSE(loadPicture(app, (testDirectory() + L"\\missing.bmp").c_str()));
    EXPECT_FALSE(app.picture);
    command(w, CMD_FIT_GRAPHIC);   // nothing to fit to: nothing changes
    EXPECT_TRUE(app.fitGraphic);
}

TEST(Colours, TheTextControlIsHollowOverAPictureAndSolidOtherwise)
{
    TomelWindow w;
    App& app = w.app();
    app.textColour = RGB(1, 2, 3);
    ASSERT_TRUE(loadPicture(app, writeBytes(L"c.bmp", twoColourBitmap(8, 8)).c_str()));
    HDC dc = GetDC(w.window());
    const auto answer = [&] {
        return reinterpret_cast<HBRUSH>(SendMessageW(w.window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(app.textControl)));
    };
    EXPECT_EQ(answer(), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    command(w, CMD_BACKGROUND);
    EXPECT_EQ(answer(), app.backgroundBrush.get());
    command(w, CMD_BACKGROUND);
    app.transparent = true;
    EXPECT_EQ(answer(), app.backgroundBrush.get());
    app.transparent = false;
    ReleaseDC(w.window(), dc);
}

TEST(Colours, UnusableFontAndColoursFromTheSettingsGiveWayToTheDefaults)
{
    TomelWindow w;
    App& app = w.app();
    const LONG defaultHeight = app.logFont.lfHeight;
    app.logFont.lfHeight = 2147483647;
    app.logFont.lfWeight = -5;
    copyToBuffer(app.logFont.lfFaceName, LF_FACESIZE, L"No Such Face At All");
    app.textColour = 0xFFFFFFFFu;
    app.backgroundColour = 0x01000000u;
    applyFontAndBrush(app);
    EXPECT_EQ(app.logFont.lfHeight, defaultHeight);
    EXPECT_EQ(app.logFont.lfWeight, 0);
    EXPECT_EQ(app.textColour, 0u);
    EXPECT_EQ(app.backgroundColour, 0xFFFFFFu);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(app.textControl, WM_GETFONT, 0, 0));
    ASSERT_EQ(font, app.font.get());
    HDC dc = GetDC(w.window());
    HGDIOBJ old = SelectObject(dc, font);
    SIZE s = {};
    GetTextExtentPoint32W(dc, L"Hello", 5, &s);
    SelectObject(dc, old);
    ReleaseDC(w.window(), dc);
    EXPECT_GT(s.cx, 0);
    EXPECT_LT(s.cy, 100);
}

namespace {
struct NotifyCall {
    DWORD message;
    std::wstring tip;
};
std::vector<NotifyCall> notifyCalls;
BOOL notifyResult = TRUE;
BOOL WINAPI recordNotify(DWORD message, PNOTIFYICONDATAW data)
{
    notifyCalls.push_back({message, data->szTip});
    return notifyResult;
}
struct NotifySeam {
    NotifySeam() { notifyCalls.clear(); notifyResult = TRUE; notifyIcon = recordNotify; }
    ~NotifySeam() { notifyIcon = Shell_NotifyIconW; }
};
bool hasTaskbarButton(HWND w) { return (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0; }
}  // namespace

TEST(Tray, TheIconReplacesTheTaskbarButtonAndGoesAtExit)
{
    NotifySeam seam;
    {
        TomelWindow w;
        App& app = w.app();
        command(w, CMD_TRAY_ICON);
        ASSERT_EQ(notifyCalls.size(), 1u);
        EXPECT_EQ(notifyCalls[0].message, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(notifyCalls[0].tip, std::wstring(app.statusText).substr(0, 127));
        EXPECT_FALSE(hasTaskbarButton(w.window()));
        EXPECT_TRUE(IsWindowVisible(w.window()));
        // Switched on while hidden, the window stays hidden.
        command(w, CMD_TRAY_ICON);
        EXPECT_EQ(notifyCalls.back().message, static_cast<DWORD>(NIM_DELETE));
        EXPECT_TRUE(hasTaskbarButton(w.window()));
        ShowWindow(w.window(), SW_HIDE);
        command(w, CMD_TRAY_ICON);
        EXPECT_FALSE(IsWindowVisible(w.window()));
        // A shell that refuses the icon leaves the taskbar button, so the window stays in reach.
        command(w, CMD_TRAY_ICON);
        notifyResult = FALSE;
        command(w, CMD_TRAY_ICON);
        EXPECT_TRUE(app.trayIcon);
        EXPECT_TRUE(hasTaskbarButton(w.window()));
        notifyResult = TRUE;
        notifyCalls.clear();
    }
    ASSERT_EQ(notifyCalls.size(), 1u);
    EXPECT_EQ(notifyCalls[0].message, static_cast<DWORD>(NIM_DELETE));
}

namespace {
std::vector<std::wstring> mciCommands;
void recordMci(const wchar_t* command) { mciCommands.emplace_back(command); }
std::wstring shortPath(const std::wstring& path)
{
    wchar_t s[MAX_PATH] = {};
    GetShortPathNameW(path.c_str(), s, MAX_PATH);
    return s;
}
}  // namespace

TEST(Gong, CommandsFollowSoundStepsReloadsAndExit)
{
    MciSendFn saved = mciSend;
    mciSend = recordMci;
    mciCommands.clear();
    const std::wstring sound = writeBytes(L"a gong.wav", "RIFF");
    const std::wstring other = writeBytes(L"other.wav", "RIFF");
    {
        TomelWindow w;
        App& app = w.app();
        copyToBuffer(app.soundFilePath, PATH_BUFFER, sound);
        command(w, CMD_PLAY_SOUND);
        command(w, CMD_NEXT);
        command(w, CMD_NEXT);
        command(w, CMD_PLAY_SOUND);
        command(w, CMD_NEXT);
        const std::vector<std::wstring> expected = {L"open " + shortPath(sound) + L" alias gong", L"play gong from 0",
                                                    L"play gong from 0", L"close gong"};
        EXPECT_EQ(mciCommands, expected);
        // A dropped settings file that turns sound on opens the device with its sound file.
        mciCommands.clear();
        w.drop({writeBytes(L"sound.ini", utf16File(L"[Portable]\r\nsound=" + other + L"\r\n[Slideshow]\r\nsound=TRUE\r\n"))});
        ASSERT_FALSE(mciCommands.empty());
        EXPECT_EQ(mciCommands[0], L"open " + shortPath(other) + L" alias gong");
        // A missing sound file sends no open.
        mciCommands.clear();
        command(w, CMD_PLAY_SOUND);
        copyToBuffer(app.soundFilePath, PATH_BUFFER, testDirectory() + L"\\missing.wav");
        command(w, CMD_PLAY_SOUND);
        EXPECT_EQ(mciCommands, std::vector<std::wstring>{L"close gong"});
        mciCommands.clear();
    }
    EXPECT_EQ(mciCommands, std::vector<std::wstring>{L"close gong"});
    mciSend = saved;
}

namespace {
// Answers the dialog titled `title` from another thread: fills the given edit boxes, then OK.
struct DialogFill {
    const wchar_t* title;
    std::vector<std::pair<int, const wchar_t*>> edits;
};
DWORD WINAPI fillDialog(void* p)
{
    auto* f = static_cast<DialogFill*>(p);
    for (int i = 0; i < 200; ++i) {
        if (HWND dlg = FindWindowW(nullptr, f->title)) {
            Sleep(200);
            for (const auto& e : f->edits) SendMessageW(GetDlgItem(dlg, e.first), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(e.second));
            Sleep(50);
            PostMessageW(dlg, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}
bool answerDialog(TomelWindow& w, unsigned id, DialogFill fill)
{
    HANDLE thread = CreateThread(nullptr, 0, fillDialog, &fill, 0, nullptr);
    SendMessageW(w.window(), WM_COMMAND, id, 0);
    WaitForSingleObject(thread, 15000);
    DWORD code = 2;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    return code == 0;
}
}  // namespace

TEST(Colours, ANewBackgroundColourIsTheColourKeyAtOnce)
{
    TomelWindow w;
    App& app = w.app();
    command(w, CMD_TRANSPARENT);
    // The colour chooser's red, green and blue boxes.
    ASSERT_TRUE(answerDialog(w, CMD_BACKGROUND_COLOUR, {L"Color", {{706, L"10"}, {707, L"20"}, {708, L"30"}}}));
    EXPECT_EQ(app.backgroundColour, RGB(10, 20, 30));
    COLORREF key = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(w.window(), &key, nullptr, nullptr));
    EXPECT_EQ(key, RGB(10, 20, 30));
    LOGBRUSH brush = {};
    GetObjectW(app.backgroundBrush.get(), sizeof brush, &brush);
    EXPECT_EQ(brush.lbColor, RGB(10, 20, 30));
}

TEST(Colours, AChosenFontRefitsOnlyWhileAFitModeIsOn)
{
    TomelWindow w;
    App& app = w.app();
    app.docking = 0;
    MoveWindow(w.window(), 10, 10, 500, 300, TRUE);
    HFONT before = app.font.get();
    ASSERT_TRUE(answerDialog(w, CMD_FONT, {L"Font", {}}));
    EXPECT_NE(app.font.get(), before);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(app.textControl, WM_GETFONT, 0, 0)), app.font.get());
    RECT r = {};
    GetWindowRect(w.window(), &r);
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 300);
    app.fitFont = true;
    ASSERT_TRUE(answerDialog(w, CMD_FONT, {L"Font", {}}));
    GetWindowRect(w.window(), &r);
    EXPECT_NE(r.right - r.left, 500);
}

TEST(Picture, AChosenImageIsLoadedAndFittedInFitToGraphic)
{
    TomelWindow w;
    App& app = w.app();
    app.fitGraphic = true;
    const std::wstring path = writeBytes(L"chosen.bmp", twoColourBitmap(220, 130));
    ASSERT_TRUE(answerFileDialog(w, CMD_BACKGROUND_IMAGE, L"Open", path));
    EXPECT_STREQ(app.bitmapPath, path.c_str());
    ASSERT_TRUE(app.picture);
    RECT c = {};
    GetClientRect(w.window(), &c);
    EXPECT_EQ(c.right, 220);
    EXPECT_EQ(c.bottom, 130);
}

TEST(Gong, AChosenSoundFileReopensTheDeviceOnlyWhileSoundIsOn)
{
    MciSendFn saved = mciSend;
    mciSend = recordMci;
    const std::wstring first = writeBytes(L"first.wav", "RIFF"), second = writeBytes(L"second.wav", "RIFF");
    {
        TomelWindow w;
        App& app = w.app();
        mciCommands.clear();
        ASSERT_TRUE(answerFileDialog(w, CMD_SOUND_FILE, L"Open", first));
        EXPECT_STREQ(app.soundFilePath, first.c_str());
        EXPECT_TRUE(mciCommands.empty());
        command(w, CMD_PLAY_SOUND);
        mciCommands.clear();
        ASSERT_TRUE(answerFileDialog(w, CMD_SOUND_FILE, L"Open", second));
        EXPECT_EQ(mciCommands, (std::vector<std::wstring>{L"close gong", L"open " + shortPath(second) + L" alias gong"}));
    }
    mciSend = saved;
}

TEST(Colours, ADroppedSettingsFileKeysItsUsableColourAndShowsItsPicture)
{
    TomelWindow w;
    App& app = w.app();
    const std::wstring picture = writeBytes(L"dropped.bmp", twoColourBitmap(16, 16));
    w.drop({writeBytes(L"look.ini", utf16File(L"[Portable]\r\nbitmap=" + picture +
                                              L"\r\n[Display]\r\ntransparent=TRUE\r\n[Colours]\r\nbackground=-1\r\n"))});
    EXPECT_EQ(app.backgroundColour, 0xFFFFFFu);
    COLORREF key = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(w.window(), &key, nullptr, nullptr));
    EXPECT_EQ(key, 0xFFFFFFu);
    EXPECT_TRUE(app.picture);
}
