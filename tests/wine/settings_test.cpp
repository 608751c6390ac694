// The settings file in the real window: exact bytes, round trips, where it is read from, applying
// it, and saving safely.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/app/commands.h"
#include "harness.h"
#include "main/startup_win.h"
#include "shell/settings/settings_win.h"
#include "shell/text/text_loader_win.h"

namespace {
// A golden file is kept as UTF-8 text with LF line ends; the program writes UTF-16 LE with a
// byte-order mark and CR LF.
std::string goldenBytes(const char* name)
{
    std::ifstream in(std::string(TOMEL_TEST_DATA) + "/" + name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string utf8 = ss.str();
    std::wstring text(utf8.size(), L'\0');
    text.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0], static_cast<int>(text.size()))));
    std::wstring crlf;
    for (wchar_t c : text) crlf += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
    return utf16File(crlf);
}

void setPath(wchar_t* field, const std::wstring& value) { copyToBuffer(field, PATH_BUFFER, value); }

// Equal bytes, or where they first differ.
::testing::AssertionResult sameFile(const std::string& actual, const std::string& expected)
{
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    if (actual == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "differs at byte " << at << " of " << actual.size();
}
}  // namespace

TEST(Settings, GoldenFilesAreWrittenByteForByteAndReadBack)
{
    TomelWindow w;
    App& app = w.app();
    // The fields the defaults leave to the machine, set to the values the golden file holds.
    setPath(app.textFilePath, L"Z:\\tomel\\help\\Tomel.txt");
    setPath(app.bitmapPath, L"C:\\windows\\Greenstone.bmp");
    setPath(app.soundFilePath, L"C:\\windows\\media\\ding.wav");
    app.windowRect = RECT{100, 200, 700, 525};
    app.logFont.lfHeight = -13;
    app.saveOnExit = true;
    const std::wstring path = testDirectory() + L"\\default.ini";
    setPath(app.settingsPath, path);
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    EXPECT_TRUE(sameFile(readFile(path), goldenBytes("settings-default.txt")));
    EXPECT_FALSE(exists(path + L".new"));
    // A file with every key changed (extreme values, a Greek name) is read and written back unchanged.
    setPath(app.settingsPath, writeBytes(L"changed.ini", goldenBytes("settings-changed.txt")));
    app.justify = 0x10000;   // the upper half of a Short key's field is kept
    loadSettings(app);
    EXPECT_EQ(app.justify, 0x10000u + 40000u);
    app.justify = 40000;
    wchar_t expected[MAX_PATH];   // the stored relative path resolved against the current drive
    GetFullPathNameW(L"\\tomels\\diamond.txt", MAX_PATH, expected, nullptr);
    EXPECT_STREQ(app.textFilePath, expected);
    setPath(app.settingsPath, path);
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    EXPECT_TRUE(sameFile(readFile(path), goldenBytes("settings-changed.txt")));
}

TEST(Settings, ArgumentsAndDropsAreTakenInOrderAndApplied)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    const std::wstring a = writeBytes(L"a.txt", "a1\r\na2\r\n");
    const std::wstring b = writeBytes(L"b.txt", "b1\r\nb2\r\nb3\r\n");
    const std::wstring s = writeBytes(L"s.ini", utf16File(L"[Tomel]\r\n[Portable]\r\nfile=" + b +
                                                          L"\r\n[Display]\r\nmultiline=FALSE\r\n[Settings]\r\nbookmark=2\r\n"));
    const struct {
        std::wstring first, second, text;
        std::uint32_t index;
    } cases[] = {{a, s, b, 2}, {s, a, a, 0}};   // a text file before the settings is replaced, after them wins
    for (auto c : cases) {
        SCOPED_TRACE(c.index);
        wchar_t arg0[] = L"tomel.exe";
        wchar_t* args[] = {arg0, &c.first[0], &c.second[0]};
        handleArguments(app, args, 3);
        EXPECT_EQ(std::wstring(app.textFilePath), c.text);
        EXPECT_EQ(std::wstring(app.settingsPath), s);
        EXPECT_EQ(app.currentIndex, c.index);
    }
    // Saving goes to the settings file named on the command line.
    app.slide.slideTime = 7777;
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    EXPECT_NE(readFile(s).find(utf16(L"timeslide=7777")), std::string::npos);
    // A dropped settings file is loaded and applied: its text at its bookmark.
    const std::wstring dropped = writeBytes(L"drop.ini", utf16File(L"[Portable]\r\nfile=" + b +
                                                                   L"\r\n[Display]\r\nmultiline=FALSE\r\n[Settings]\r\nbookmark=1\r\n"));
    app.multiline = true;
    w.drop({dropped});
    EXPECT_EQ(std::wstring(app.settingsPath), dropped);
    EXPECT_EQ(w.text(), L"b2\n");
}

TEST(Settings, SavingWhileMaximizedStoresTheRestoredPlace)
{
    TomelWindow w;
    App& app = w.app();
    MoveWindow(w.window(), 50, 60, 400, 300, TRUE);
    GetWindowRect(w.window(), &app.windowRect);
    ShowWindow(w.window(), SW_MAXIMIZE);
    w.pump(50);
    const std::wstring path = testDirectory() + L"\\max.ini";
    setPath(app.settingsPath, path);
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    EXPECT_NE(readFile(path).find(utf16(L"left=50\r\ntop=60\r\nright=450\r\nbottom=360\r\n")), std::string::npos);
}

TEST(Settings, RefusedSavesLeaveTheFileAndOnlySaveNowTells)
{
    const std::string tomel = "[Tomel]\r\nversion=0.9\r\n", foreign = "[Other]\r\nkey=value\r\n";
    const std::wstring dir = testDirectory() + L"\\";
    const struct {
        const char* name;
        std::wstring path;
        std::string bytes;   // empty: no file
        const wchar_t* message;
    } cases[] = {
        {"locked", dir + L"locked.ini", tomel, L"Settings could not be saved\n"},
        {"read-only", dir + L"readonly.ini", tomel, L"Settings could not be saved\n"},
        {"no folder", dir + L"no such folder\\x.ini", "", L"Settings could not be saved\n"},
        {"another program's", dir + L"other.ini", foreign, L"Not a Tomel settings file, use Save As...\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty()) writeBytes(c.path, c.bytes);
        HANDLE lock = std::string(c.name) == "locked"
            ? CreateFileW(c.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)
            : INVALID_HANDLE_VALUE;
        if (std::string(c.name) == "read-only") SetFileAttributesW(c.path.c_str(), FILE_ATTRIBUTE_READONLY);
        {
            TomelWindow w;
            w.drop({c.path});   // read as settings, as a named or opened one would be
            setPath(w.app().settingsPath, c.path);
            shownMessages.clear();
            w.command(CMD_SAVE_NOW);
            ASSERT_EQ(shownMessages.size(), 1u);
            EXPECT_EQ(shownMessages[0].text, c.message + c.path);
            EXPECT_EQ(shownMessages[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
            w.app().saveOnExit = true;
            SendMessageW(w.window(), WM_CLOSE, 0, 0);   // the save at the end passes over it silently
            EXPECT_EQ(shownMessages.size(), 1u);
        }
        if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
        SetFileAttributesW(c.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(readFile(c.path), c.bytes);
        EXPECT_FALSE(exists(c.path + L".new"));
    }
}

TEST(Settings, SavingKeepsLongNamesAndAttributes)
{
    TomelWindow w;
    App& app = w.app();
    const std::wstring base = testDirectory() + L"\\";
    // Names of up to 259 characters, whose temporary file's name is longer.
    for (std::size_t length : {base.size() + 10, std::size_t(256), std::size_t(259)}) {
        SCOPED_TRACE(length);
        const std::wstring path = base + std::wstring(length - base.size() - 4, L'k') + L".ini";
        setPath(app.settingsPath, path);
        ASSERT_EQ(saveSettings(app), SaveResult::Saved);   // a new file
        const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), kept));
        app.slide.slideTime = static_cast<std::uint32_t>(length);
        ASSERT_EQ(saveSettings(app), SaveResult::Saved);   // over the existing one
        EXPECT_EQ(GetFileAttributesW(path.c_str()) & kept, kept);
        EXPECT_NE(readFile(path).find(utf16(L"timeslide=" + std::to_wstring(length))), std::string::npos);
        EXPECT_FALSE(exists(path + L".new"));
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(Settings, ARefusedTextAtStartUpKeepsTheStoredFileAndBookmark)
{
    TomelWindow w;
    App& app = w.app();
    const std::wstring beside = besideProgram(L"tomel.ini");
    const std::wstring stored = writeBytes(L"stored.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n");
    const struct {
        const char* name;
        std::wstring file;
        const wchar_t* argument;
    } cases[] = {
        {"missing", testDirectory() + L"\\gone.txt", nullptr},
        {"a folder", testDirectory(), nullptr},
        {"refused encoding", writeBytes(L"utf8.txt", "\xEF\xBB\xBFtext"), nullptr},
        {"mistyped argument", stored, L"mistyped.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(beside, utf16File(L"[Tomel]\r\nversion=1.00\r\n[Portable]\r\nfile=" + c.file +
                                     L"\r\n[Settings]\r\nbookmark=7\r\n"));
        // Start-up as the program does it, with a text-file argument after the settings.
        locateFiles(app);
        if (c.argument) handleFileArgument(app, c.argument);
        openTextFile(app);
        ASSERT_EQ(saveSettings(app), SaveResult::Saved);
        const std::string saved = readFile(beside);
        EXPECT_NE(saved.find(utf16(L"\r\nfile=" + c.file + L"\r\n")), std::string::npos);
        EXPECT_NE(saved.find(utf16(L"\r\nbookmark=7\r\n")), std::string::npos);
    }
    DeleteFileW(beside.c_str());
}

TEST(Settings, ReloadingRepaintsOurWindowOnly)
{
    TomelWindow w;
    HWND other = CreateWindowExW(0, L"Static", L"another program", WS_POPUP | WS_VISIBLE, 600, 400, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    UpdateWindow(other);
    UpdateWindow(w.window());
    ASSERT_FALSE(GetUpdateRect(other, nullptr, FALSE));
    w.drop({writeBytes(L"repaint.ini", utf16File(L"[Tomel]\r\nversion=1.00\r\n"))});
    EXPECT_FALSE(GetUpdateRect(other, nullptr, FALSE));
    EXPECT_TRUE(GetUpdateRect(w.window(), nullptr, FALSE));
    DestroyWindow(other);
}

TEST(Settings, EndOfSessionSavesOnlyWhenSaveOnExitIsOn)
{
    for (bool on : {true, false}) {
        SCOPED_TRACE(on);
        const std::wstring path = testDirectory() + (on ? L"\\session.ini" : L"\\nosave.ini");
        TomelWindow w;
        setPath(w.app().settingsPath, path);
        w.app().saveOnExit = on;
        SendMessageW(w.window(), WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(exists(path), on);
    }
}

// Every key changed to a value the window can take, transparency with a caption among them: loaded,
// applied and saved again, the file is the same. (The bookmark stays 0: with resume off it is reset.)
TEST(Settings, AnAppliedFileIsSavedBackUnchanged)
{
    TomelWindow w;
    App& app = w.app();
    const std::string golden = goldenBytes("settings-applied.txt");
    setPath(app.settingsPath, writeBytes(L"applied.ini", golden));
    loadSettings(app);
    applySettings(app);
    EXPECT_TRUE(GetWindowLongW(w.window(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_FALSE(GetWindowLongW(w.window(), GWL_STYLE) & WS_CAPTION);
    const std::wstring path = testDirectory() + L"\\applied-again.ini";
    setPath(app.settingsPath, path);
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    EXPECT_TRUE(sameFile(readFile(path), golden));
    // Saving changed nothing in the running window.
    EXPECT_FALSE(app.caption);
    RECT r;
    GetWindowRect(w.window(), &r);
    EXPECT_TRUE(EqualRect(&r, &app.windowRect));
}

TEST(Settings, WithoutLayeredWindowsTransparencyStillSavesTheCaption)
{
    TomelWindow w;
    App& app = w.app();
    app.setLayeredAttributes = nullptr;
    SendMessageW(w.window(), WM_COMMAND, CMD_TRANSPARENT, 0);
    EXPECT_TRUE(app.transparent);
    EXPECT_TRUE(GetWindowLongW(w.window(), GWL_STYLE) & WS_CAPTION);
    const std::wstring path = testDirectory() + L"\\unlayered.ini";
    setPath(app.settingsPath, path);
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    auto fresh = std::make_unique<App>();
    fresh->caption = false;
    setPath(fresh->settingsPath, path);
    loadSettings(*fresh);
    EXPECT_TRUE(fresh->caption);
}
