// The main window from the real resources: the slideshow timer, the message loop, and a close while a
// modal loop runs on the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "core/app/commands.h"
#include "harness.h"
#include "main/commands_win.h"
#include "main/message_loop_win.h"
#include "res/resource.h"
#include "shell/app/app_info_win.h"
#include "shell/app/platform_win.h"
#include "shell/settings/settings_win.h"

TEST(Slideshow, TheRealTimerCountsDownAndSteps)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    app.slide.slideTime = 2500;
    w.drop({writeBytes(L"three.txt", "a\r\nb\r\nc\r\n")});
    EXPECT_EQ(w.title(), L"three.txt - Tomel | 1/3 | 00:00:02");
    EXPECT_TRUE(w.pump(1800, [&] { return w.title() == L"three.txt - Tomel | 1/3 | 00:00:01"; }));
    EXPECT_TRUE(w.pump(3000, [&] { return w.text() == L"b\n"; }));
    // The slideshow waits while the window is dragged, and goes on when it is let go.
    SendMessageW(w.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_FALSE(KillTimer(w.window(), IDT_SLIDESHOW));
    SendMessageW(w.window(), WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(KillTimer(w.window(), IDT_SLIDESHOW));
}

// The keyboard comes back with the window the hide cycle took away only when it had it then: once the
// user brought the window back and went on in another window, the end of the hide phase leaves that
// window the keyboard.
TEST(Slideshow, TheEndOfTheHidePhaseTakesTheKeyboardOnlyWhenTheWindowHadIt)
{
    TomelWindow w;
    App& app = w.app();
    std::tie(app.slide.hide, app.slide.countdown) = std::make_tuple(true, false);   // a tick ends a phase
    w.drop({writeBytes(L"hidden.txt", "a\r\n\r\nb\r\n")});
    const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                       nullptr, nullptr);
    const auto tick = [&] { SendMessageW(w.window(), WM_TIMER, IDT_SLIDESHOW, 0); };
    SetForegroundWindow(w.window());
    tick();   // the slide phase ends: hidden, with the keyboard
    tick();   // the hide phase ends: back, with the keyboard
    EXPECT_EQ(GetForegroundWindow(), w.window());
    tick();   // hidden again, with the keyboard
    ASSERT_FALSE(IsWindowVisible(w.window()));
    SendMessageW(w.window(), MSG_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);   // brought back by the user, with the keyboard
    ASSERT_TRUE(IsWindowVisible(w.window()));
    SetForegroundWindow(other);
    tick();   // the hide phase ends
    EXPECT_EQ(GetForegroundWindow(), other);
    tick();   // hidden again: the slideshow paused and resumed brings it back
    w.command(CMD_SLIDESHOW);
    w.command(CMD_SLIDESHOW);
    EXPECT_TRUE(IsWindowVisible(w.window()));
    DestroyWindow(other);
}

namespace {
// GetMessageW as a script: a failed call (-1) whose message holds a Next command that must not run,
// a real Next command, then WM_QUIT with code 3.
HWND scriptWindow;
int scriptStep;
BOOL WINAPI scriptedGetMessage(LPMSG msg, HWND, UINT, UINT)
{
    *msg = MSG{scriptWindow, WM_COMMAND, CMD_NEXT, 0, 0, {}};
    switch (scriptStep++) {
    case 0: return -1;
    case 1: return TRUE;
    default: msg->message = WM_QUIT; msg->wParam = 3; return FALSE;
    }
}
}  // namespace

TEST(MessageLoop, GoesOnAfterAFailedGetMessageAndEndsWithTheQuitCode)
{
    TomelWindow w;
    w.app().multiline = false;
    w.drop({writeBytes(L"loop.txt", "one\r\ntwo\r\nthree\r\n")});
    scriptWindow = w.window();
    scriptStep = 0;
    platform.getMessage = scriptedGetMessage;
    const int code = runMessageLoop(w.window(), nullptr);
    platform.getMessage = Platform().getMessage;
    EXPECT_EQ(code, 3);
    EXPECT_EQ(scriptStep, 3);
    EXPECT_EQ(w.app().currentIndex, 1u);   // only the real message was routed
}

namespace {
// What a close from inside a modal loop found: the loop ran, and the window and App were still there
// after the close (it waits for the loop). `stuck`: the loop was still running a moment later.
struct LoopProbe { bool ran = false, alive = false, stuck = false, greyed = false, timer = false; } probe;
HWND probed;
UINT ending;   // WM_CLOSE, or WM_ENDSESSION: the session ends

BOOL WINAPI noteGreyedAndDismiss(HMENU menu, UINT, int, int, HWND, LPTPMPARAMS)
{
    probe.greyed = (GetMenuState(menu, CMD_FONT, MF_BYCOMMAND) & MF_GRAYED) != 0;
    return 0;
}

// As the tray icon's menu can over any dialog: Countdown (which releases a dialog's hold on the
// timer), then Exit (or the session's end).
void closeFromInside()
{
    probe.ran = true;
    SendMessageW(probed, WM_COMMAND, CMD_COUNTDOWN, 0);
    // The menu over the loop greys the commands that would open another dialog.
    const auto outer = platform.trackPopupMenu;
    platform.trackPopupMenu = noteGreyedAndDismiss;
    if (outer == Platform().trackPopupMenu) SendMessageW(probed, WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
    platform.trackPopupMenu = outer;
    probe.timer = KillTimer(probed, IDT_SLIDESHOW);   // a dialog's hold on the timer outlasts the menu and Countdown
    SendMessageW(probed, ending, TRUE, 0);
    probe.alive = IsWindow(probed) && currentApp.get();
}

int WINAPI closeAtMessage(HWND, LPCWSTR, LPCWSTR, UINT)
{
    closeFromInside();
    return IDOK;
}

BOOL WINAPI closeAtMenu(HMENU, UINT, int, int, HWND, LPTPMPARAMS)
{
    closeFromInside();
    return CMD_NEXT;
}

void CALLBACK onLoopTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (!probe.ran) return closeFromInside();
    probe.stuck = true;
    answerNextDialog([](HWND d) { PostMessageW(d, WM_COMMAND, IDCANCEL, 0); });
}
}  // namespace

// The session ends while a message box is up: the App ends there, but the code that showed the box
// goes on with it, so it is kept, with what it owns, until the process ends.
TEST(Close, WaitsForEveryModalLoopOnTheWindowAndThenEndsTheProgram)
{
    const std::wstring bigEndian = writeBytes(L"be.txt", std::string("\xFE\xFF\x00\x41", 4));
    // command 0: a dropped text that the program refuses with a message box; held: the loop holds the timer
    const struct { const char* loop; unsigned command; bool held; UINT ending = WM_CLOSE; } cases[] = {
        {"About box", CMD_ABOUT, true}, {"timer dialog", CMD_SLIDE_TIME, true}, {"number dialog", CMD_RAISE_CAPTION, true},
        {"Open dialog", CMD_OPEN_FILE, true},
        {"Save As dialog", CMD_SAVE_AS, false}, {"colour chooser", CMD_TEXT_COLOUR, true}, {"popup menu", CMD_MENU, false},
        {"message box", 0, false}, {"message box, the session ending", 0, false, WM_ENDSESSION}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.loop);
        TomelWindow w;
        probe = LoopProbe{};
        probed = w.window();
        ending = c.ending;
        const HFONT font = w.app().font.get();
        platform.messageBox = closeAtMessage;
        if (c.command == CMD_MENU) platform.trackPopupMenu = closeAtMenu;
        const UINT_PTR timer = c.command == CMD_MENU || !c.command ? 0 : SetTimer(nullptr, 0, 300, onLoopTimer);
        c.command ? w.command(c.command) : w.drop({bigEndian});
        if (timer) KillTimer(nullptr, timer);
        platform.trackPopupMenu = Platform().trackPopupMenu;
        const bool closed = c.ending == WM_CLOSE;
        EXPECT_EQ(std::make_tuple(probe.ran, probe.alive, probe.stuck, probe.greyed, probe.timer),
                  std::make_tuple(true, closed, false, c.command != CMD_MENU, !c.held));
        EXPECT_TRUE(!closed || w.pump(2000, [&] { return !IsWindow(w.window()); }));
        EXPECT_EQ(std::make_pair(currentApp.get(), GetObjectType(font)),
                  std::make_pair(static_cast<App*>(nullptr), DWORD(closed ? 0 : OBJ_FONT)));
    }
}

namespace {
// The window's procedure, wrapped: the commands that reach it are noted and not run.
std::vector<unsigned> commandsSeen;
WNDPROC windowProcedure;
LRESULT CALLBACK noteCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) return commandsSeen.push_back(LOWORD(wParam)), 0;
    return CallWindowProcW(windowProcedure, window, message, wParam, lParam);
}

constexpr int SHIFT = 1, CTRL = 2, ALT = 4, CHARACTER = 0x10000;
using Keys = std::map<std::pair<int, int>, unsigned>;   // modifiers and key: the command

// Every key that the menu names after an item's tab ("Ctrl+Shift+T", "Page Up/Down", "?"), with the item's command.
void keysNamedIn(HMENU menu, Keys& keys)
{
    const std::map<std::wstring, std::vector<int>> named = {
        {L"Pause", {VK_PAUSE}}, {L"Down Arrow", {VK_DOWN}}, {L"Up Arrow", {VK_UP}}, {L"Home", {VK_HOME}},
        {L"End", {VK_END}}, {L"Space", {VK_SPACE}}, {L"Backspace", {VK_BACK}}, {L"Page Up/Down", {VK_PRIOR, VK_NEXT}},
        {L"F1", {VK_F1}}, {L"Esc", {VK_ESCAPE}}, {L"Insert", {VK_INSERT}}, {L"?", {CHARACTER | '?'}}};
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) keysNamedIn(sub, keys);
        wchar_t text[64] = {};
        GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
        const wchar_t* tab = wcschr(text, L'\t');
        if (GetSubMenu(menu, i) || !tab) continue;
        std::wstring key = tab + 1;
        int modifiers = 0;
        for (const auto& [name, bit] : {std::pair{L"Shift+", SHIFT}, {L"Ctrl+", CTRL}, {L"Alt+", ALT}})
            if (const std::size_t at = key.find(name); at != std::wstring::npos) key.erase(at, wcslen(name)), modifiers |= bit;
        for (int k : named.count(key) ? named.at(key) : std::vector<int>{key[0]})   // a letter or digit: its key
            keys[{modifiers, k}] = GetMenuItemID(menu, i);
    }
}
}  // namespace

// Each key the menu names gives its item's command, and so do the keys it does not name; a key held
// with a modifier more gives only the command of that combination. Enter and Esc never reach the
// dialog manager, and "?" is a character, whatever gives it.
TEST(Keys, TheMenuNamesEveryKeyAndNoKeyFiresWithAModifierMore)
{
    TomelWindow w;
    Keys keys = {{{0, VK_RETURN}, CMD_SLIDESHOW}, {{0, VK_PLAY}, CMD_SLIDESHOW}, {{0, VK_RIGHT}, CMD_NEXT},
                 {{0, VK_LEFT}, CMD_PREVIOUS}, {{0, 'M'}, CMD_MENU}, {{0, VK_HELP}, CMD_MENU}, {{0, VK_APPS}, CMD_MENU},
                 {{SHIFT, CHARACTER | '?'}, CMD_HELP}};
    const unique_hmenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN)));
    keysNamedIn(GetSubMenu(menu.get(), 0), keys);
    ASSERT_EQ(keys.size(), 51u);   // the 50 of the table, and "?" typed with Shift
    windowProcedure = WNDPROC(SetWindowLongPtrW(w.window(), GWLP_WNDPROC, LONG_PTR(noteCommands)));
    const auto press = [&](int modifiers, int key) {
        BYTE state[256] = {};
        std::tie(state[VK_SHIFT], state[VK_CONTROL], state[VK_MENU]) = std::make_tuple(modifiers & SHIFT ? 0x80 : 0, modifiers & CTRL ? 0x80 : 0, modifiers & ALT ? 0x80 : 0);
        SetKeyboardState(state);
        commandsSeen.clear();
        if (key & CHARACTER) w.route(WM_CHAR, key & 0xFFFF, 0);
        else w.route(modifiers & ALT ? WM_SYSKEYDOWN : WM_KEYDOWN, key, modifiers & ALT ? 1 << 29 : 0);
        return commandsSeen;
    };
    for (const auto& [combination, command] : keys) {
        const auto [modifiers, key] = combination;
        SCOPED_TRACE(testing::Message() << "modifiers " << modifiers << ", key " << key);
        EXPECT_EQ(press(modifiers, key), std::vector<unsigned>{command});
        for (int more : {SHIFT, CTRL, ALT}) {
            if ((modifiers & more) || (key & CHARACTER)) continue;
            const auto other = keys.find({modifiers | more, key});
            const std::vector<unsigned> seen = press(modifiers | more, key);
            EXPECT_EQ(std::count_if(seen.begin(), seen.end(), [](unsigned c) { return c > IDCANCEL; }), other != keys.end())
                << "with " << more;
            if (other != keys.end()) EXPECT_EQ(seen, std::vector<unsigned>{other->second}) << "with " << more;
        }
    }
    BYTE none[256] = {};
    SetKeyboardState(none);
    SetWindowLongPtrW(w.window(), GWLP_WNDPROC, LONG_PTR(windowProcedure));
}

// Each command as the window shows it: the entry, the caption with the status, the text's alignment
// and the topmost band. The commands that only flip a setting are checked with their menu items.
TEST(Commands, EachCommandDoesWhatItsItemSays)
{
    TomelWindow w;
    App& app = w.app();
    w.drop({writeBytes(L"commands.txt", "a1\r\na2\r\n\r\nb\r\n\r\nc\r\n\r\nd\r\n")});
    // The text, the caption after the file's name ("?" when that is not there), the alignment, the topmost band.
    const auto shown = [&] {
        const LONG align = GetWindowLongW(app.textControl, GWL_STYLE) & 3;
        const bool top = GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_TOPMOST;
        const std::wstring title = w.title(), name = L"commands.txt - Tomel";
        const std::wstring status = title.compare(0, name.size(), name) ? L"?" : title.substr(name.size());
        return w.text() + L"|" + status + L"|" + L"LCR"[align] + (top ? L"|top" : L"");
    };
    const struct { unsigned command; std::wstring shown; } cases[] = {
        {CMD_NEXT, L"b\n| | 2/4 | 00:00:05|L"}, {CMD_PREVIOUS, L"a1\na2\n| | 1/4 | 00:00:05|L"},
        {CMD_PREVIOUS, L"d\n| | 4/4 | 00:00:05|L"}, {CMD_FIRST, L"a1\na2\n| | 1/4 | 00:00:05|L"},
        {CMD_LAST, L"d\n| | 4/4 | 00:00:05|L"}, {CMD_SLIDE_NEXT, L"a1\na2\n| | 1/4 | 00:00:05|L"},
        {CMD_SLIDE_PREVIOUS, L"d\n| | 4/4 | 00:00:05|L"}, {CMD_SLIDESHOW, L"d\n| | 4/4 | Stop|L"},
        {CMD_SLIDESHOW, L"d\n| | 4/4 | 00:00:05|L"}, {CMD_COUNTDOWN, L"d\n| | 4/4|L"},
        {CMD_COUNTDOWN, L"d\n| | 4/4 | 00:00:05|L"}, {CMD_STATUS_IN_CAPTION, L"d\n||L"},
        {CMD_STATUS_IN_CAPTION, L"d\n| | 4/4 | 00:00:05|L"}, {CMD_MULTILINE, L"c\n| | 4/5 | 00:00:05|L"},
        {CMD_MULTILINE, L"d\n| | 4/4 | 00:00:05|L"}, {CMD_JUSTIFY_CENTER, L"d\n| | 4/4 | 00:00:05|C"},
        {CMD_JUSTIFY_RIGHT, L"d\n| | 4/4 | 00:00:05|R"}, {CMD_JUSTIFY_LEFT, L"d\n| | 4/4 | 00:00:05|L"},
        {CMD_STAY_ON_TOP, L"d\n| | 4/4 | 00:00:05|L|top"}, {CMD_NEXT, L"a1\na2\n| | 1/4 | 00:00:05|L|top"},
        {CMD_STAY_ON_TOP, L"a1\na2\n| | 1/4 | 00:00:05|L"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        w.command(c.command);
        // Wine keeps an owned window in the topmost band once it was put there.
        std::wstring now = shown();
        if (runningUnderWine() && !app.onTop) now = now.substr(0, now.find(L"|top"));
        EXPECT_EQ(now, c.shown);
    }
    // Random steps reach every entry; so does a slide step with random order.
    for (unsigned command : {CMD_RANDOM_ENTRY, CMD_SLIDE_NEXT}) {
        std::set<std::wstring> seen;
        if (command == CMD_SLIDE_NEXT) w.command(CMD_RANDOM);
        for (int i = 0; i < 60; ++i) w.command(command), seen.insert(w.text());
        EXPECT_EQ(seen.size(), 4u) << command;
    }
    // A period typed into a timer dialog is the slide or the hide period, the slide's shown at once;
    // cancelled, it is not.
    for (const auto& [command, seconds, button, slide, hide] : {std::tuple{CMD_SLIDE_TIME, L"7", IDOK, 7000u, 1000u},
                                                             {CMD_HIDE_TIME, L"3", IDOK, 7000u, 3000u},
                                                             {CMD_SLIDE_TIME, L"9", IDCANCEL, 7000u, 3000u}}) {
        answerNextDialog([=](HWND d) { SetDlgItemTextW(d, 313, seconds), PostMessageW(d, WM_COMMAND, button, 0); });
        w.command(command);
        EXPECT_EQ(std::make_tuple(app.slide.slideTime, app.slide.hideTime, w.title().substr(w.title().size() - 8)),
                  std::make_tuple(slide, hide, std::wstring(L"00:00:07")));
    }
    w.command(CMD_EXIT);
    EXPECT_FALSE(IsWindow(w.window()));
}
