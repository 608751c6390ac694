// Keys, menu and slideshow in the real window: every accelerator reaches its command through the
// program's own message routing, the menu resource has the documented tree, and the timer steps.
#include <gtest/gtest.h>

#include <vector>

#include "core/app/commands.h"
#include "harness.h"
#include "main/commands_win.h"
#include "res/resource.h"
#include "shell/text/navigation_win.h"
#include "shell/text/text_loader_win.h"

namespace {

std::vector<unsigned> seenCommands;
bool recordOnly(unsigned command)
{
    seenCommands.push_back(command);
    return false;   // keep the command from running: Esc would end the test window
}

struct Accel {
    BYTE flags;   // FVIRTKEY, FSHIFT, FCONTROL, FALT
    WORD key;
    WORD command;
};
constexpr BYTE V = FVIRTKEY;
const Accel expectedTable[] = {
    {V, VK_PAUSE, 1001}, {V, VK_RETURN, 1001}, {V, 250, 1001}, {V, 'H', 1002}, {V, 'R', 1003}, {V, 'S', 1004},
    {V | FCONTROL, 'T', 1011}, {V | FCONTROL, 'H', 1012}, {V | FCONTROL | FSHIFT, 'T', 1013},
    {V | FALT | FSHIFT, 'T', 1014}, {V, VK_DOWN, 1021}, {V, VK_RIGHT, 1021}, {V, VK_UP, 1022},
    {V, VK_LEFT, 1022}, {V, VK_HOME, 1023}, {V, VK_END, 1024}, {V, VK_SPACE, 1025}, {V, VK_BACK, 1026},
    {V, VK_PRIOR, 1027}, {V, VK_NEXT, 1027}, {V, 'L', 1031}, {V, 'C', 1032}, {V, 'T', 1033}, {V, 'I', 1034},
    {V, 'F', 1041}, {V, 'W', 1042}, {V, 'G', 1043}, {V | FSHIFT, 'C', 1051}, {V | FSHIFT, 'L', 1052},
    {V | FSHIFT, 'R', 1053}, {V, '1', 1061}, {V, '2', 1062}, {V, '0', 1063}, {V, 'D', 1071},
    {V | FALT, 'I', 1072}, {V | FALT, 'T', 1073}, {V | FCONTROL, 'O', 1081}, {V | FCONTROL, 'F', 1082},
    {V | FCONTROL, 'C', 1083}, {V | FCONTROL, 'B', 1084}, {V | FCONTROL, 'I', 1085}, {V | FCONTROL, 'S', 1086},
    {V, 'M', 1101}, {V, VK_F1, 1101}, {0, '?', 1103}, {V, VK_ESCAPE, 1105}, {V, VK_HELP, 1101},
    {V, VK_APPS, 1101},
};

}  // namespace

TEST(Accelerators, TableHasTheDocumentedEntries)
{
    HRSRC res = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_MAIN), RT_ACCELERATOR);
    ASSERT_NE(res, nullptr);
    struct RawEntry {
        WORD flags, key, command, padding;
    };
    const auto* raw = static_cast<const RawEntry*>(LockResource(LoadResource(nullptr, res)));
    const std::size_t count = SizeofResource(nullptr, res) / sizeof(RawEntry);
    ASSERT_EQ(count, 48u);
    ASSERT_EQ(std::size(expectedTable), 48u);
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(raw[i].flags & 0x7F, expectedTable[i].flags);
        EXPECT_EQ(raw[i].key, expectedTable[i].key);
        EXPECT_EQ(raw[i].command, expectedTable[i].command);
        EXPECT_EQ((raw[i].flags & 0x80) != 0, i == count - 1);   // the end-of-table flag on the last
    }
}

TEST(Accelerators, EveryKeyReachesItsCommandThroughTheLoop)
{
    TomelWindow w;
    seenCommands.clear();
    commandFilter = recordOnly;
    for (const Accel& a : expectedTable) {
        SCOPED_TRACE(a.command);
        seenCommands.clear();
        if (a.flags & FVIRTKEY) {
            w.key(a.key, a.flags & FSHIFT, a.flags & FCONTROL, a.flags & FALT);
        } else {
            PostMessageW(w.window(), WM_CHAR, a.key, 1);   // a character entry: "?" however it is typed
            w.pump(30);
        }
        ASSERT_EQ(seenCommands.size(), 1u);
        EXPECT_EQ(seenCommands[0], a.command);
    }
    // A key without modifiers in the table does not fire while Ctrl is held for something else.
    seenCommands.clear();
    w.key('L', false, true, false);
    EXPECT_TRUE(seenCommands.empty());
    // "?" typed as Shift and the slash key becomes the character through the dialog manager.
    seenCommands.clear();
    w.key(VK_OEM_2, true);
    EXPECT_EQ(seenCommands, std::vector<unsigned>{1103});
    commandFilter = nullptr;
}

TEST(Accelerators, EnterTogglesTheSlideshowAndEscEnds)
{
    TomelWindow w;
    w.open(writeBytes(L"keys.txt", "a\r\n\r\nb\r\n"));
    ASSERT_TRUE(w.app().slide.slideShow);
    w.key(VK_RETURN);
    EXPECT_FALSE(w.app().slide.slideShow);
    EXPECT_EQ(w.title(), L"keys.txt - Tomel | 1/2 | Stop");
    w.key(VK_RETURN);
    EXPECT_TRUE(w.app().slide.slideShow);
    w.key(VK_DOWN);
    EXPECT_EQ(w.title(), L"keys.txt - Tomel | 2/2 | 00:00:05");
    w.key(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(w.window()));
    EXPECT_TRUE(w.quitSeen());
    EXPECT_EQ(w.quitCode(), 0);
}

namespace {
struct MenuItem {
    int position;
    const wchar_t* caption;   // nullptr: separator
    UINT id;                  // 0: submenu
};
void expectMenu(HMENU menu, const std::vector<MenuItem>& items)
{
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(items.size()));
    for (const MenuItem& item : items) {
        SCOPED_TRACE(item.position);
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STATE;
        ASSERT_TRUE(GetMenuItemInfoW(menu, item.position, TRUE, &info));
        if (!item.caption) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR);
            continue;
        }
        wchar_t text[64] = {};
        GetMenuStringW(menu, item.position, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, item.caption);
        if (item.id) {
            EXPECT_EQ(info.wID, item.id);
            EXPECT_EQ(info.hSubMenu, nullptr);
            const UINT expectedState = item.id == CMD_MENU ? (MFS_CHECKED | MF_DISABLED) : 0;
            EXPECT_EQ(info.fState & (MFS_CHECKED | MF_DISABLED | MF_GRAYED), expectedState);
        } else {
            EXPECT_NE(info.hSubMenu, nullptr);
        }
    }
}
}  // namespace

TEST(Menu, ResourceHasTheDocumentedTree)
{
    HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    HMENU main = GetSubMenu(bar, 0);
    expectMenu(main, {{0, L"Pin", 2000}, {1, nullptr, 0}, {2, L"SlideShow\tPause", 1001}, {3, L"Hide (Popup)\tH", 1002},
                      {4, L"Random\tR", 1003}, {5, L"Play Sound\tS", 1004}, {6, L"Timers", 0}, {7, L"Navigate", 0},
                      {8, nullptr, 0}, {9, L"Multi&line\tL", 1031}, {10, L"Caption\tC", 1032},
                      {11, L"Transparent\tT", 1033}, {12, L"Background Image\tI", 1034}, {13, nullptr, 0},
                      {14, L"Fit To Font\tF", 1041}, {15, L"Fit To Width\tW", 1042}, {16, L"Fit To Graphic\tG", 1043},
                      {17, L"Justify", 0}, {18, L"Dock", 0}, {19, L"Window", 0}, {20, nullptr, 0},
                      {21, L"Open File...\tCtrl+O", 1081}, {22, L"Font...\tCtrl+F", 1082},
                      {23, L"Text Colour...\tCtrl+C", 1083}, {24, L"Background Colour...\tCtrl+B", 1084},
                      {25, L"Background Image...\tCtrl+I", 1085}, {26, L"Sound File...\tCtrl+S", 1086},
                      {27, nullptr, 0}, {28, L"Settings", 0}, {29, L"Info", 0}, {30, L"E&xit\tEsc", 1105}});
    expectMenu(GetSubMenu(main, 6), {{0, L"Pin", 2006}, {1, nullptr, 0}, {2, L"Slide...\tCtrl+T", 1011},
                                     {3, L"Hide...\tCtrl+H", 1012}, {4, nullptr, 0},
                                     {5, L"Countdown\tCtrl+Shift+T", 1013}, {6, L"... in caption\tAlt+Shift+T", 1014}});
    expectMenu(GetSubMenu(main, 7), {{0, L"Pin", 2007}, {1, nullptr, 0}, {2, L"Next\tDown Arrow", 1021},
                                     {3, L"P&revious\tUp Arrow", 1022}, {4, L"First\tHome", 1023}, {5, L"Last\tEnd", 1024},
                                     {6, nullptr, 0}, {7, L"Slide Next\tSpace", 1025},
                                     {8, L"Slide Previous\tBackspace", 1026}, {9, nullptr, 0},
                                     {10, L"Random\tPage Up/Down", 1027}});
    expectMenu(GetSubMenu(main, 17), {{0, L"Pin", 2017}, {1, nullptr, 0}, {2, L"Center\tShift+C", 1051},
                                      {3, L"Left\tShift+L", 1052}, {4, L"Right\tShift+R", 1053}});
    HMENU dock = GetSubMenu(main, 18);
    expectMenu(dock, {{0, L"Pin", 2018}, {1, nullptr, 0}, {2, L"Top Center\t1", 1061}, {3, L"Bottom Center\t2", 1062},
                      {4, nullptr, 0}, {5, L"Center\t0", 1063}, {6, nullptr, 0}, {7, L"Blackbox\t(Alt Shell)", 0}});
    expectMenu(GetSubMenu(dock, 7), {{0, L"Pin", 3007}, {1, nullptr, 0}, {2, L"Blackbox Shell", 1064}, {3, nullptr, 0},
                                     {4, L"Raise Caption...", 1065}, {5, L"Lengthen Window...", 1066}});
    expectMenu(GetSubMenu(main, 19), {{0, L"Pin", 2019}, {1, nullptr, 0}, {2, L"Draggable\tD", 1071},
                                      {3, L"Tray Icon\tAlt+I", 1072}, {4, L"Stay On Top\tAlt+T", 1073}});
    expectMenu(GetSubMenu(main, 28), {{0, L"Pin", 2028}, {1, nullptr, 0}, {2, L"Save Now", 1091}, {3, L"Save As...", 1092},
                                      {4, L"Save on Exit", 1093}, {5, nullptr, 0}, {6, L"Save File", 1094},
                                      {7, L"Bookmark", 1095}});
    expectMenu(GetSubMenu(main, 29), {{0, L"Pin", 2029}, {1, nullptr, 0}, {2, L"Menu\tF1", 1101},
                                      {3, L"...at cursor", 1102}, {4, nullptr, 0}, {5, L"Help\t?", 1103},
                                      {6, L"About...", 1104}});
    DestroyMenu(bar);
}

TEST(Navigation, StepsWrapAtBothEnds)
{
    TomelWindow w;
    w.app().multiline = false;
    w.open(writeBytes(L"ten.txt", "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n"));
    struct Step {
        unsigned command;
        const wchar_t* text;
    } steps[] = {{CMD_PREVIOUS, L"9\n"}, {CMD_NEXT, L"0\n"}, {CMD_LAST, L"9\n"}, {CMD_NEXT, L"0\n"},
                 {CMD_SLIDE_PREVIOUS, L"9\n"}, {CMD_SLIDE_NEXT, L"0\n"}, {CMD_FIRST, L"0\n"}, {CMD_NEXT, L"1\n"}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.command);
        SendMessageW(w.window(), WM_COMMAND, s.command, 0);
        EXPECT_EQ(w.text(), s.text);
    }
    EXPECT_EQ(w.title(), L"ten.txt - Tomel | 2/10 | 00:00:05");
    // Random picks land inside the list.
    for (int i = 0; i < 20; ++i) {
        SendMessageW(w.window(), WM_COMMAND, CMD_RANDOM_ENTRY, 0);
        EXPECT_LT(w.app().currentIndex, 10u);
    }
}

TEST(Navigation, AnEmptyFileIgnoresEveryStep)
{
    TomelWindow w;
    w.open(writeBytes(L"none.txt", "\r\n\r\n"));
    const std::wstring title = w.title();
    for (unsigned c = CMD_NEXT; c <= CMD_RANDOM_ENTRY; ++c) SendMessageW(w.window(), WM_COMMAND, c, 0);
    EXPECT_EQ(w.text(), L"No data");
    EXPECT_EQ(w.title(), title);
    EXPECT_EQ(w.app().currentIndex, 0u);
}

TEST(Slideshow, RealTimerAdvancesTheEntriesAndTheCaption)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    app.slide.countdown = false;
    app.slide.slideTime = 150;
    w.open(writeBytes(L"three.txt", "a\r\nb\r\nc\r\n"));
    EXPECT_EQ(w.title(), L"three.txt - Tomel | 1/3");
    EXPECT_TRUE(w.pump(2000, [&] { return app.currentIndex == 2; }));
    EXPECT_EQ(w.text(), L"c\n");
    EXPECT_EQ(w.title(), L"three.txt - Tomel | 3/3");
    EXPECT_TRUE(w.pump(2000, [&] { return app.currentIndex == 0; }));   // wraps to the first
}

TEST(Slideshow, CountdownTicksInTheCaption)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    app.slide.slideTime = 2500;
    w.open(writeBytes(L"two.txt", "a\r\nb\r\n"));
    EXPECT_EQ(w.title(), L"two.txt - Tomel | 1/2 | 00:00:02");
    EXPECT_TRUE(w.pump(1800, [&] { return w.title() == L"two.txt - Tomel | 1/2 | 00:00:01"; }));
    EXPECT_TRUE(w.pump(3000, [&] { return app.currentIndex == 1; }));
    EXPECT_EQ(w.title(), L"two.txt - Tomel | 2/2 | 00:00:02");
}

TEST(Slideshow, HideCycleHidesAndShowsTheWindow)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    app.slide.countdown = false;
    app.slide.slideTime = 150;
    app.slide.hideTime = 150;
    w.open(writeBytes(L"hide.txt", "a\r\nb\r\n"));
    SendMessageW(w.window(), WM_COMMAND, CMD_HIDE, 0);
    ASSERT_TRUE(app.slide.hide);
    EXPECT_TRUE(w.pump(2000, [&] { return !IsWindowVisible(w.window()); }));
    EXPECT_EQ(w.text(), L"");
    EXPECT_TRUE(w.pump(2000, [&] { return IsWindowVisible(w.window()); }));
    EXPECT_EQ(w.text(), L"b\n");
    // Turning the hide cycle off while hidden brings the window back at once.
    EXPECT_TRUE(w.pump(2000, [&] { return !IsWindowVisible(w.window()); }));
    SendMessageW(w.window(), WM_COMMAND, CMD_HIDE, 0);
    EXPECT_TRUE(IsWindowVisible(w.window()));
    EXPECT_EQ(app.timer.timerPhase, TimerPhase::SlidePhase);
}

TEST(Commands, FlagsAndStayOnTop)
{
    TomelWindow w;
    App& app = w.app();
    struct Flag {
        unsigned command;
        bool* flag;
    } flags[] = {{CMD_RANDOM, &app.slide.random}, {CMD_DRAGGABLE, &app.draggable}, {CMD_SAVE_ON_EXIT, &app.saveOnExit},
                 {CMD_SAVE_FILE, &app.saveFile}, {CMD_BOOKMARK, &app.resume}, {CMD_MENU_AT_CURSOR, &app.atCursor},
                 {CMD_BLACKBOX_SHELL, &app.blackboxShell}, {CMD_STATUS_IN_CAPTION, &app.slide.statusInCaption}};
    for (const Flag& f : flags) {
        SCOPED_TRACE(f.command);
        const bool before = *f.flag;
        SendMessageW(w.window(), WM_COMMAND, f.command, 0);
        EXPECT_EQ(*f.flag, !before);
        SendMessageW(w.window(), WM_COMMAND, f.command, 0);
        EXPECT_EQ(*f.flag, before);
    }
    SendMessageW(w.window(), WM_COMMAND, CMD_STAY_ON_TOP, 0);
    EXPECT_TRUE(app.onTop);
    // Wine 8 does not reliably move an owned dialog in and out of the topmost band.
    if (!runningUnderWine()) {
        EXPECT_TRUE(GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
    SendMessageW(w.window(), WM_COMMAND, CMD_STAY_ON_TOP, 0);
    EXPECT_FALSE(app.onTop);
    if (!runningUnderWine()) {
        EXPECT_FALSE(GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
    // Justify changes the text control's alignment and shows the entry again.
    SendMessageW(w.window(), WM_COMMAND, CMD_JUSTIFY_RIGHT, 0);
    EXPECT_EQ(GetWindowLongW(app.textControl, GWL_STYLE) & 3, SS_RIGHT);
    EXPECT_EQ(app.justify, 2u);
    // Multiline re-reads the text with the other rule.
    w.open(writeBytes(L"ml.txt", "a\r\nb\r\n\r\nc\r\n"));
    EXPECT_EQ(app.entries.size(), 2u);
    SendMessageW(w.window(), WM_COMMAND, CMD_MULTILINE, 0);
    EXPECT_EQ(app.entries.size(), 3u);
    // Numbers that are no command do nothing.
    SendMessageW(w.window(), WM_COMMAND, 1234, 0);
    EXPECT_TRUE(w.alive());
}
