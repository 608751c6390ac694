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

// A 24-bit bitmap file, red in its top half and blue in its bottom half (rows stored bottom-up).
std::string twoColourBitmap(int width, int height)
{
    const int row = (width * 3 + 3) & ~3;
    std::string b(54 + row * height, '\0');
    auto put32 = [&](int at, std::uint32_t v) { for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i)); };
    b[0] = 'B', b[1] = 'M', b[26] = 1, b[28] = 24;
    put32(2, static_cast<std::uint32_t>(b.size())), put32(10, 54), put32(14, 40), put32(18, width), put32(22, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b[54 + y * row + x * 3 + (y < height / 2 ? 0 : 2)] = '\xff';
    return b;
}

void command(TomelWindow& w, std::initializer_list<int> ids) { for (int id : ids) SendMessageW(w.window(), WM_COMMAND, id, 0); }
RECT rectOf(HWND w, bool client = false)
{
    RECT r = {};
    client ? GetClientRect(w, &r) : GetWindowRect(w, &r);
    return r;
}

// paintBackground into a white bitmap the size of a client area `width` by `height`; the pixels asked for.
std::vector<COLORREF> painted(TomelWindow& w, int width, int height, const std::vector<POINT>& at)
{
    RECT r = {0, 0, width, height};
    AdjustWindowRectEx(&r, GetWindowLongW(w.window(), GWL_STYLE), FALSE, GetWindowLongW(w.window(), GWL_EXSTYLE));
    SetWindowPos(w.window(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, CreateBitmap(width, height, 1, 32, nullptr));
    PatBlt(dc, 0, 0, width, height, WHITENESS);
    paintBackground(w.app(), dc);
    std::vector<COLORREF> colours;
    for (POINT p : at) colours.push_back(GetPixel(dc, p.x, p.y));
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    return colours;
}

}  // namespace

TEST(Picture, TiledUprightHollowTextOverItNotShownWhenOffOrTransparentCentredInFitToGraphic)
{
    TomelWindow w;
    App& app = w.app();
    using Pixels = std::vector<COLORREF>;
    ASSERT_TRUE(loadPicture(app, writeBytes(L"tile.bmp", twoColourBitmap(64, 64)).c_str()));
    HDC dc = GetDC(w.window());
    for (int off : {0, CMD_BACKGROUND, CMD_TRANSPARENT}) {
        SCOPED_TRACE(off);
        if (off) command(w, {off});
        EXPECT_EQ(painted(w, 150, 100, {{5, 5}, {5, 40}, {70, 5}, {130, 40}, {5, 70}, {70, 98}}),
                  (off ? Pixels(6, WHITE) : Pixels{RED, BLUE, RED, BLUE, RED, BLUE}));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageW(w.window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                        reinterpret_cast<LPARAM>(app.textControl))),
                  off ? app.backgroundBrush.get() : GetStockObject(NULL_BRUSH));
        if (off) command(w, {off});
    }
    ReleaseDC(w.window(), dc);
    app.fitGraphic = true;
    ASSERT_TRUE(answerFileDialog(w, CMD_BACKGROUND_IMAGE, L"Open", writeBytes(L"wide chosen.bmp", twoColourBitmap(300, 160))));
    EXPECT_EQ(rectOf(w.window(), true).right, 300);
    EXPECT_EQ(rectOf(w.window(), true).bottom, 160);
    EXPECT_EQ(painted(w, 400, 200, {{45, 100}, {55, 30}, {55, 170}, {345, 170}, {355, 100}}),
              (Pixels{WHITE, RED, BLUE, BLUE, WHITE}));
}

TEST(Picture, FilesThatAreNoPictureLeaveNoneAndNothingToFit)
{
    TomelWindow w;
    for (const std::wstring& path : {writeBytes(L"text.bmp", "no picture"), testDirectory() + L"\\missing.bmp"}) {
        SCOPED_TRACE(narrow(path));
        EXPECT_FALSE(loadPicture(w.app(), path.c_str()));
    }
    const RECT before = rectOf(w.window()), after = (command(w, {CMD_FIT_GRAPHIC}), rectOf(w.window()));
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST(Colours, UnusableValuesOfADroppedSettingsFileGiveWayAndAChosenColourKeysAtOnce)
{
    TomelWindow w;
    App& app = w.app();
    const LONG defaultHeight = app.logFont.lfHeight;
    w.drop({writeBytes(L"look.ini", utf16File(L"[Display]\r\ntransparent=TRUE\r\n[Colours]\r\nbackground=-1\r\ntext=-1\r\n"
                                              L"[Font]\r\nheight=2147483647\r\nweight=-5\r\n"))});
    EXPECT_EQ(app.textColour, 0u);
    EXPECT_EQ(app.logFont.lfHeight, defaultHeight);
    EXPECT_EQ(app.logFont.lfWeight, 0);
    const auto key = [&] { COLORREF k = 1; return GetLayeredWindowAttributes(w.window(), &k, nullptr, nullptr), k; };
    EXPECT_EQ(key(), RGB(255, 255, 255));
    app.backgroundColour = RGB(10, 20, 30);   // the colour chooser answered with OK gives back the colour it began with
    ASSERT_TRUE(answerFileDialog(w, CMD_BACKGROUND_COLOUR, L"Color", L"-"));
    EXPECT_EQ(key(), RGB(10, 20, 30));
}

namespace {
BOOL notifyResult = TRUE;
std::vector<DWORD> notifyCalls;
BOOL WINAPI recordNotify(DWORD message, PNOTIFYICONDATAW) { return notifyCalls.push_back(message), notifyResult; }
bool hasTaskbarButton(HWND w) { return GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW; }

std::vector<std::wstring> mciCommands;
void recordMci(const wchar_t* command) { mciCommands.emplace_back(command); }
std::wstring openCommand(const std::wstring& path)
{
    wchar_t s[MAX_PATH] = {};
    GetShortPathNameW(path.c_str(), s, MAX_PATH);
    return L"open " + std::wstring(s) + L" alias gong";
}
}  // namespace

TEST(Tray, TheIconReplacesTheTaskbarButtonUnlessRefusedAndGoesAtExit)
{
    notifyIcon = recordNotify;
    {
        TomelWindow w;
        for (BOOL accepted : {TRUE, FALSE}) {
            SCOPED_TRACE(accepted);
            notifyResult = accepted;
            notifyCalls.clear();
            command(w, {CMD_TRAY_ICON});
            EXPECT_EQ(notifyCalls, std::vector<DWORD>{NIM_ADD});
            EXPECT_EQ(hasTaskbarButton(w.window()), !accepted);
            EXPECT_TRUE(IsWindowVisible(w.window()));
            command(w, {CMD_TRAY_ICON});
            EXPECT_EQ(notifyCalls.back(), static_cast<DWORD>(NIM_DELETE));
            EXPECT_TRUE(hasTaskbarButton(w.window()));
        }
        ShowWindow(w.window(), SW_HIDE);
        command(w, {CMD_TRAY_ICON});
        EXPECT_FALSE(IsWindowVisible(w.window()));
        notifyCalls.clear();
    }
    EXPECT_EQ(notifyCalls, std::vector<DWORD>{NIM_DELETE});
    notifyIcon = Shell_NotifyIconW;
}

TEST(Gong, CommandsFollowSoundStepsChoicesReloadsAndExit)
{
    MciSendFn saved = mciSend;
    mciSend = recordMci;
    const std::wstring sound = writeBytes(L"a gong.wav", ""), other = writeBytes(L"o.wav", ""), dropped = writeBytes(L"d.wav", "");
    const auto sent = [](std::vector<std::wstring> expected) { EXPECT_EQ(mciCommands, expected); mciCommands.clear(); };
    {
        TomelWindow w;
        mciCommands.clear();
        ASSERT_TRUE(answerFileDialog(w, CMD_SOUND_FILE, L"Open", sound));   // while off: nothing sent
        sent({});
        command(w, {CMD_PLAY_SOUND, CMD_NEXT, CMD_NEXT});
        sent({openCommand(sound), L"play gong from 0", L"play gong from 0"});
        ASSERT_TRUE(answerFileDialog(w, CMD_SOUND_FILE, L"Open", other));
        sent({L"close gong", openCommand(other)});
        command(w, {CMD_PLAY_SOUND, CMD_NEXT});
        sent({L"close gong"});
        w.drop({writeBytes(L"sound.ini", utf16File(L"[Portable]\r\nsound=" + dropped + L"\r\n[Slideshow]\r\nsound=TRUE\r\n"))});
        sent({openCommand(dropped), L"play gong from 0"});   // and the reloaded entry sounds
        command(w, {CMD_PLAY_SOUND});
        copyToBuffer(w.app().soundFilePath, PATH_BUFFER, testDirectory() + L"\\missing.wav");
        command(w, {CMD_PLAY_SOUND});   // a missing file: no open
        sent({L"close gong"});
    }
    sent({L"close gong"});
    mciSend = saved;
}
