// The settings file in the real window: exact bytes, saving at the end of the session, saving safely
// and telling when it cannot, what start-up keeps, and reloading.
#include <gtest/gtest.h>

#include "core/app/commands.h"
#include "harness.h"
#include "main/startup_win.h"
#include "shell/settings/settings_win.h"
#include "shell/text/text_loader_win.h"

namespace {
// A golden file is kept as UTF-8 text with LF line ends; the program writes UTF-16 LE with a
// byte-order mark and CR LF.
std::string goldenBytes(const std::string& name)
{
    const std::string utf8 = readFile(std::wstring(L"" TOMEL_TEST_DATA L"/") + std::wstring(name.begin(), name.end()));
    std::wstring text(utf8.size(), L'\0');
    text.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                             &text[0], static_cast<int>(text.size()))));
    std::wstring crlf;
    for (wchar_t c : text) crlf += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
    return utf16File(crlf);
}

void setPath(wchar_t* field, const std::wstring& value) { copyToBuffer(field, PATH_BUFFER, value); }
}  // namespace

// The defaults are saved at the end of the session; a file with every key changed (extreme values, a
// Greek name) is read and written back unchanged.
TEST(Settings, GoldenFilesAreWrittenByteForByteAndReadBack)
{
    const std::wstring path = testDirectory() + L"\\default.ini";
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
        setPath(app.settingsPath, path);
        SendMessageW(w.window(), WM_ENDSESSION, FALSE, 0);   // the session goes on after all
        EXPECT_FALSE(exists(path));
        SendMessageW(w.window(), WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(currentApp, nullptr);
        EXPECT_EQ(readFile(path), goldenBytes("settings-default.txt"));
    }
    TomelWindow w;
    App& app = w.app();
    setPath(app.settingsPath, writeBytes(L"changed.ini", goldenBytes("settings-changed.txt")));
    loadSettings(app);
    wchar_t expected[MAX_PATH];   // the stored relative path resolved against the current drive
    GetFullPathNameW(L"\\tomels\\diamond.txt", MAX_PATH, expected, nullptr);
    EXPECT_STREQ(app.textFilePath, expected);
    setPath(app.settingsPath, path);
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    EXPECT_EQ(readFile(path), goldenBytes("settings-changed.txt"));
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
            EXPECT_EQ(shownMessages, std::vector<std::wstring>{c.message + c.path});
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
    for (std::size_t length : {256u, 259u}) {
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
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// Minimised or maximised, the restored place is saved, with the caption that transparency has taken
// for the while; a start from it gives the window it was.
TEST(Settings, SavingStoresTheRestoredPlaceWithTheCaptionTransparencyTook)
{
    const struct {
        const char* name;
        int show;
        bool transparent;
    } cases[] = {
        {"maximized", SW_MAXIMIZE, false}, {"transparent", SW_SHOWNORMAL, true},
        {"transparent, minimized", SW_MINIMIZE, true}, {"transparent, maximized", SW_MAXIMIZE, true},
    };
    const std::wstring path = testDirectory() + L"\\place.ini";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RECT shown = {}, started = {};
        {
            TomelWindow w;
            MoveWindow(w.window(), 50, 60, 400, 300, TRUE);
            w.app().docking = 0;   // it stays where it was put
            if (c.transparent) w.command(CMD_TRANSPARENT);
            GetWindowRect(w.window(), &shown);
            ShowWindow(w.window(), c.show);
            w.pump(50);
            setPath(w.app().settingsPath, path);
            ASSERT_EQ(saveSettings(w.app()), SaveResult::Saved);
            EXPECT_NE(readFile(path).find(utf16(L"left=50\r\ntop=60\r\nright=450\r\nbottom=360\r\n")),
                      std::string::npos);
        }
        TomelWindow w;
        w.drop({path});
        GetWindowRect(w.window(), &started);
        EXPECT_TRUE(EqualRect(&shown, &started));
    }
}

TEST(Settings, ARefusedTextAtStartUpKeepsTheStoredFileAndBookmark)
{
    TomelWindow w;
    App& app = w.app();
    const std::wstring beside = besideProgram(L"tomel.ini");
    const std::wstring stored = writeBytes(L"stored.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n");
    writeBytes(beside, utf16File(L"[Tomel]\r\nversion=1.00\r\n[Portable]\r\nfile=" + stored +
                                 L"\r\n[Settings]\r\nbookmark=7\r\n"));
    // Start-up as the program does it, with a mistyped text-file argument after the settings.
    locateFiles(app);
    handleFileArgument(app, L"mistyped.txt");
    openTextFile(app);
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    const std::string saved = readFile(beside);
    DeleteFileW(beside.c_str());
    EXPECT_NE(saved.find(utf16(L"\r\nfile=" + stored + L"\r\n")), std::string::npos);
    EXPECT_NE(saved.find(utf16(L"\r\nbookmark=7\r\n")), std::string::npos);
}

TEST(Settings, ADroppedSettingsFileIsAppliedAndRepaintsOurWindowOnly)
{
    TomelWindow w;
    HWND other = CreateWindowExW(0, L"Static", L"another program", WS_POPUP | WS_VISIBLE, 600, 400, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    UpdateWindow(other);
    UpdateWindow(w.window());
    ASSERT_FALSE(GetUpdateRect(other, nullptr, FALSE));
    const std::wstring text = writeBytes(L"b.txt", "b1\r\nb2\r\nb3\r\n");
    w.drop({writeBytes(L"drop.ini", utf16File(L"[Portable]\r\nfile=" + text +
                                              L"\r\n[Display]\r\nmultiline=FALSE\r\n[Settings]\r\nbookmark=1\r\n"))});
    EXPECT_EQ(w.text(), L"b2\n");
    EXPECT_FALSE(GetUpdateRect(other, nullptr, FALSE));
    EXPECT_TRUE(GetUpdateRect(w.window(), nullptr, FALSE));
    DestroyWindow(other);
}
