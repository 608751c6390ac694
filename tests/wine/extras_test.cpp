// The extras in the real window: shuffled random steps, reloading an edited file, flash cards, the
// slideshow waiting under the pointer, copying the entry on show, global keys, and keeping quiet over
// full-screen programs. (UTF-8 text is with the loading of texts, the start-up list with the menu.)
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "core/app/commands.h"
#include "harness.h"
#include "shell/app/files_win.h"
#include "shell/app/global_keys_win.h"
#include "shell/app/platform_win.h"

namespace {
int gongCommands;
MCIERROR WINAPI countGong(LPCWSTR, LPWSTR, UINT, HWND)
{
    ++gongCommands;
    return 0;
}

// What the shell says of the user, answered in its place.
QUERY_USER_NOTIFICATION_STATE userState;
HRESULT userStateResult;
HRESULT WINAPI reportUserState(QUERY_USER_NOTIFICATION_STATE* state)
{
    *state = userState;
    return userStateResult;
}

bool topmost(HWND window) { return GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST; }

std::wstring clipboardText(HWND window)
{
    std::wstring text;
    if (!OpenClipboard(window)) return L"(no clipboard)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}
}  // namespace

// Shuffled random steps show every entry once a round (each round's order is the unit tests'); off,
// the round is forgotten.
TEST(Extras, ShuffleShowsEveryEntryOnceARound)
{
    TomelWindow w;
    w.app().multiline = false;
    w.drop({writeBytes(L"seven.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n")});
    w.command(CMD_SHUFFLE);
    std::set<std::wstring> round;
    for (int i = 0; i < 7; ++i) {
        w.command(CMD_RANDOM_ENTRY);
        round.insert(w.text());
    }
    EXPECT_EQ(std::make_pair(round.size(), w.app().shuffleRound.position), std::make_pair(std::size_t(7), 7u));
    w.command(CMD_SHUFFLE);
    EXPECT_EQ(w.app().shuffleRound.count, 0u);
}

// An edited text file is read again within about a second: the entry number stays, cut to the new
// count, without a gong or a new slide period; a file that is gone leaves the text on show.
TEST(Extras, ReloadWhenChangedFollowsEditsAndKeepsTheEntry)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    app.slide.slideTime = 60000;
    app.playSound = true;
    const std::wstring path = writeBytes(L"edited.txt", "one\r\ntwo\r\nthree\r\n");
    w.drop({path});
    w.command(CMD_LAST);
    platform.mciSendString = countGong;
    gongCommands = 0;
    const auto replaceBy = [&](const char* text) {   // as editors save: a new file renamed over the old
        MoveFileExW(writeBytes(L"edited.tmp", text).c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    };
    // changes: the text on show changes; else it is looked at for as long as a change would take.
    const struct { const char* name; std::function<void()> edit; const wchar_t* shown; bool on, changes; } steps[] = {
        {"off", [&] { writeBytes(path, "uno\r\ndos\r\ntres\r\n"); }, L"three\n", false, false},
        {"on, written in place", [&] { writeBytes(path, "uno\r\ndos\r\ntres\r\n"); }, L"tres\n", true, true},
        {"renamed over it, shorter", [&] { replaceBy("eins\r\nzwei\r\n"); }, L"zwei\n", true, true},
        {"gone", [&] { DeleteFileW(path.c_str()); }, L"zwei\n", true, false},
        {"back", [&] { replaceBy("un\r\ndeux\r\n"); }, L"deux\n", true, true},
        {"emptied", [&] { replaceBy(""); }, L"No data", true, true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.on != app.reloadWhenChanged) w.command(CMD_RELOAD_WHEN_CHANGED);
        const std::uint32_t remaining = app.timer.remainingMs;
        Sleep(20);   // a later write time, whatever the file system's step
        s.edit();
        EXPECT_EQ(w.pump(s.changes ? 4000 : 2500, [&] { return s.changes && w.text() == s.shown; }), s.changes);
        if (s.changes) EXPECT_TRUE(app.textWatch.loaded == fileStamp(path.c_str()));   // read once, not again and again
        EXPECT_EQ(w.text(), s.shown);
        EXPECT_LT(app.timer.remainingMs, remaining);
    }
    platform.mciSendString = Platform().mciSendString;
    EXPECT_EQ(gongCommands, 0);
}

// Reveal: an entry with a tab shows what comes before it, then the whole entry after half the slide
// period, or at once on V; entries without a tab show whole. Copy Entry puts the whole entry on the
// clipboard, without its last line end (its key, Ctrl+Insert, is in the key table's test).
TEST(Extras, RevealShowsTheFrontThenTheWholeCardAndCopyEntryCopiesItWhole)
{
    TomelWindow w;
    w.app().multiline = false;
    w.app().slide.slideTime = 600;
    w.drop({writeBytes(L"cards.txt", "front\tback\r\nplain\r\n")});
    ASSERT_TRUE(OpenClipboard(w.window()) && EmptyClipboard() && CloseClipboard());
    w.command(CMD_REVEAL);
    const struct { const char* name; std::function<void()> act; const wchar_t* shown; } steps[] = {
        {"Reveal on", [] {}, L"front"},
        {"Copy Entry", [&] { w.command(CMD_COPY_ENTRY); }, L"front"},
        {"Show Back (V)", [&] { w.command(CMD_SHOW_BACK); }, L"front\tback\n"},
        {"the next entry", [&] { w.command(CMD_NEXT); }, L"plain\n"},
        {"back again", [&] { w.command(CMD_PREVIOUS); }, L"front"},
        {"half the slide period", [&] { w.pump(1000, [&] { return w.text() != L"front"; }); }, L"front\tback\n"},
        {"the front again", [&] { w.command(CMD_NEXT), w.command(CMD_PREVIOUS); }, L"front"},
        {"Reveal off", [&] { w.command(CMD_REVEAL); }, L"front\tback\n"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        s.act();
        EXPECT_EQ(w.text(), s.shown);
    }
    EXPECT_EQ(clipboardText(w.window()), L"front\tback");
}

// Pause On Hover: the countdown stands still while the pointer is over the window and goes on from
// there when it leaves.
TEST(Extras, PauseOnHoverHoldsTheCountdownUnderThePointer)
{
    TomelWindow w;
    App& app = w.app();
    w.drop({writeBytes(L"hover.txt", "one\r\ntwo\r\n")});
    w.command(CMD_PAUSE_ON_HOVER);
    RECT r = {};
    GetWindowRect(w.window(), &r);
    ASSERT_TRUE(w.cursorTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    w.route(WM_MOUSEMOVE, 0, 0);
    const std::wstring held = w.title();
    const std::uint32_t remaining = app.timer.remainingMs;
    w.pump(1500);
    EXPECT_EQ(std::make_pair(w.title(), app.timer.remainingMs), std::make_pair(held, remaining));
    w.route(WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(w.pump(1500, [&] { return app.timer.remainingMs < remaining; }));
    // Held again, and Pause On Hover turned off under the pointer: the countdown goes on.
    w.route(WM_MOUSEMOVE, 0, 0);
    const std::uint32_t again = app.timer.remainingMs;
    w.command(CMD_PAUSE_ON_HOVER);
    EXPECT_TRUE(w.pump(1500, [&] { return app.timer.remainingMs < again; }));
}

// Global keys: each that can be had is registered for the window and does its part; one another
// program holds and one that names no key are told in one message, naming them. Wine hands a key to
// its hot keys only while one of its own windows has the keyboard, so WM_HOTKEY stands in for the
// key pressed in another program.
TEST(Extras, GlobalKeysWorkAndAKeyHeldElsewhereIsToldOnce)
{
    ASSERT_TRUE(RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT, VK_F10));   // another program's
    const auto free = [](UINT key) {   // nobody holds it
        const bool was = RegisterHotKey(nullptr, 78, MOD_CONTROL | MOD_ALT, key);
        return UnregisterHotKey(nullptr, 78), was;
    };
    {
        TomelWindow w;
        App& app = w.app();
        app.multiline = false;
        w.drop({writeBytes(L"keys.txt", "one\r\ntwo\r\n")});
        wcscpy(app.keyShow, L"Ctrl+Alt+F9"), wcscpy(app.keyNext, L"Ctrl+Alt+F10");
        wcscpy(app.keyPrevious, L"Bogus+X"), wcscpy(app.keyPause, L"Ctrl+Alt+F11");
        shownMessages.clear();
        registerGlobalKeys(app);
        EXPECT_EQ(shownMessages, std::vector<std::wstring>{L"Global key not available\nCtrl+Alt+F10\nBogus+X"});
        EXPECT_EQ(std::make_pair(free(VK_F9), free(VK_F11)), std::make_pair(false, false));
        const struct { WPARAM id; const wchar_t* shown; bool visible; const wchar_t* status; } steps[] = {
            {3, L"two\n", true, L"2/2 | 00:00:05"}, {4, L"two\n", true, L"2/2 | Stop"}, {1, L"two\n", false, L"2/2 | Stop"},
            {1, L"two\n", true, L"2/2 | Stop"}, {4, L"two\n", true, L"2/2 | 00:00:05"}, {9, L"two\n", true, L"2/2 | 00:00:05"}};
        for (const auto& s : steps) {
            SCOPED_TRACE(s.id);
            SendMessageW(w.window(), WM_HOTKEY, s.id, 0);
            EXPECT_EQ(std::make_tuple(w.text(), IsWindowVisible(w.window()) != FALSE, w.title().substr(w.title().rfind(L"2/2"))),
                      std::make_tuple(std::wstring(s.shown), s.visible, std::wstring(s.status)));
        }
        // A settings reload registers the keys anew: the first and the last taken out there are given back.
        app.keyShow[0] = app.keyPause[0] = L'\0';
        registerGlobalKeys(app);
        EXPECT_EQ(std::make_tuple(shownMessages.size(), free(VK_F9), free(VK_F11)), std::make_tuple(size_t(2), true, true));
    }
    EXPECT_EQ(std::make_pair(free(VK_F9), free(VK_F11)), std::make_pair(true, true));   // given back with the window
    UnregisterHotKey(nullptr, 77);
}

// Quiet In Full Screen: while the user runs a full-screen program, a game or a presentation, a step
// does not put the window on top and the hide cycle leaves it down; the first tick after the user is
// back brings it up with the next entry, on top.
TEST(Extras, QuietInFullScreenKeepsTheWindowDownWhileTheUserIsBusy)
{
    platform.queryUserNotificationState = reportUserState;
    // waits: the window stays down until the user is back
    const struct { const char* name; bool quiet; QUERY_USER_NOTIFICATION_STATE state; HRESULT result; bool waits; } cases[] = {
        {"a full-screen program", true, QUNS_BUSY, S_OK, true},
        {"the user free", true, QUNS_ACCEPTS_NOTIFICATIONS, S_OK, false},
        {"no answer", true, QUNS_BUSY, E_FAIL, false},
        {"the extra off", false, QUNS_BUSY, S_OK, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TomelWindow w;   // a fresh one: Wine keeps an owned window in the topmost band once it was put there
        App& app = w.app();
        app.multiline = false;
        w.drop({writeBytes(L"quiet.txt", "one\r\ntwo\r\nthree\r\n")});
        app.slide.hide = true, app.slide.countdown = false;   // every tick ends a phase
        app.onTop = true;   // as stored: a step puts the window on top
        if (c.quiet) w.command(CMD_QUIET_FULL_SCREEN);
        userState = c.state, userStateResult = c.result;
        w.command(CMD_NEXT);
        EXPECT_EQ(topmost(w.window()), !c.waits);
        w.route(WM_TIMER, IDT_SLIDESHOW, 0);   // the slide period ends: hidden
        EXPECT_FALSE(IsWindowVisible(w.window()));
        w.route(WM_TIMER, IDT_SLIDESHOW, 0);   // the hide period ends
        EXPECT_EQ(IsWindowVisible(w.window()), !c.waits);
        if (c.waits) {   // the user is back
            userState = QUNS_ACCEPTS_NOTIFICATIONS;
            w.route(WM_TIMER, IDT_SLIDESHOW, 0);
        }
        EXPECT_EQ(std::make_tuple(bool(IsWindowVisible(w.window())), w.text(), topmost(w.window())),
                  std::make_tuple(true, std::wstring(L"three\n"), true));
    }
    platform.queryUserNotificationState = Platform().queryUserNotificationState;
}
