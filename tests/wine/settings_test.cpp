// The settings file in the real window: exact bytes, round trips, loading from arguments and
// drops, applying, saving safely.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "core/app/commands.h"
#include "harness.h"
#include "main/startup_win.h"
#include "shell/settings/settings_win.h"
#include "shell/settings/typed_ini_file_win.h"
#include "shell/text/text_loader_win.h"

namespace {

std::string readFile(const std::wstring& path)
{
    std::string bytes;
    if (FILE* f = _wfopen(path.c_str(), L"rb")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
        std::fclose(f);
    }
    return bytes;
}

// A golden file is kept as UTF-8 text with LF line ends; the program writes UTF-16 LE with a
// byte-order mark and CR LF.
std::string goldenBytes(const char* name)
{
    std::ifstream in(std::string(TOMEL_TEST_DATA) + "/" + name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string utf8 = ss.str();
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0], n);
    std::wstring crlf;
    for (wchar_t c : text) {
        if (c == L'\n') crlf += L'\r';
        crlf += c;
    }
    return utf16File(crlf);
}

void setPath(wchar_t* field, const std::wstring& value) { copyToBuffer(field, PATH_BUFFER, value); }

// The fields the defaults leave to the machine, set to the values the golden file holds.
void setMachineFields(App& app)
{
    setPath(app.textFilePath, L"Z:\\tomel\\help\\Tomel.txt");
    setPath(app.bitmapPath, L"C:\\windows\\Greenstone.bmp");
    setPath(app.soundFilePath, L"C:\\windows\\media\\ding.wav");
    app.windowRect = RECT{100, 200, 700, 525};
    app.logFont.lfHeight = -13;
    app.saveOnExit = true;   // the default; the test harness switches it off
}

// Equal bytes, or the first line that differs (readable, unlike a dump of both files).
::testing::AssertionResult sameFile(const std::string& actual, const std::string& expected)
{
    if (actual == expected) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    auto lineAt = [at](const std::string& bytes) {
        std::size_t begin = at - at % 2;
        while (begin >= 2 && !(bytes[begin - 2] == '\n' && bytes[begin - 1] == 0)) begin -= 2;
        std::string line;
        for (std::size_t i = begin; i + 1 < bytes.size() && bytes[i] != '\r'; i += 2) line += bytes[i];
        return line;
    };
    return ::testing::AssertionFailure() << "differs at byte " << at << ": written \"" << lineAt(actual)
                                         << "\", expected \"" << lineAt(expected) << "\"";
}

void changeEverything(App& app)
{
    app.saveFile = false;
    setPath(app.storedTextPath, L"\\tomels\\diamond.txt");
    setPath(app.bitmapPath, L"D:\\pictures\\\u0395\u03bb\u03bb\u03ac\u03b4\u03b1.jpg");
    setPath(app.soundFilePath, L"D:\\sounds\\gong 2.wav");
    app.slide.slideShow = false;
    app.slide.hide = true;
    app.slide.random = true;
    app.playSound = true;
    app.slide.slideTime = 3723004;
    app.slide.hideTime = 0xFFFFFFFFu;
    app.slide.countdown = false;
    app.slide.statusInCaption = false;
    app.multiline = false;
    app.caption = true;          // while transparent, the caption the user chose is the saved one
    app.savedCaption = false;
    app.transparent = true;
    app.showBackground = false;
    app.fitFont = app.fitWidth = app.fitGraphic = true;
    app.justify = 40000;
    app.docking = 2;
    app.bbCaptionAdjust = -7;
    app.bbWindowAdjust = 300;
    app.draggable = false;
    app.trayIcon = true;
    app.onTop = true;
    app.windowRect = RECT{INT_MIN, -5, INT_MAX, 70000};
    app.logFont.lfHeight = -27;
    app.logFont.lfWeight = 700;
    app.logFont.lfItalic = 1;
    app.logFont.lfPitchAndFamily = 34;
    copyToBuffer(app.logFont.lfFaceName, LF_FACESIZE, L"Times New Roman");
    app.textColour = 255;
    app.backgroundColour = 0xFF000000u;
    app.saveOnExit = false;
    app.resume = false;
    app.currentIndex = 41;
    app.atCursor = false;
}

}  // namespace

TEST(Settings, DefaultFileIsWrittenByteForByte)
{
    TomelWindow w;
    App& app = w.app();
    setMachineFields(app);
    const std::wstring path = testDirectory() + L"\\default.ini";
    setPath(app.settingsPath, path);
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    EXPECT_TRUE(sameFile(readFile(path), goldenBytes("settings-default.txt")));
    // Nothing is left beside it.
    EXPECT_EQ(GetFileAttributesW((path + L".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Settings, EveryKeyChangedIsWrittenAndReadBack)
{
    TomelWindow w;
    App& app = w.app();
    changeEverything(app);
    const std::wstring path = testDirectory() + L"\\changed.ini";
    setPath(app.settingsPath, path);
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    EXPECT_TRUE(sameFile(readFile(path), goldenBytes("settings-changed.txt")));

    // Read back into an App with its defaults (loading needs no window): every field comes back.
    auto fresh = std::make_unique<App>();
    App& b = *fresh;
    b.justify = 0x10000;   // the upper half of a Short key's field is kept
    setPath(b.settingsPath, path);
    loadSettings(b);
    EXPECT_FALSE(b.saveFile);
    EXPECT_STREQ(b.storedTextPath, L"\\tomels\\diamond.txt");
    EXPECT_STREQ(b.bitmapPath, app.bitmapPath);
    EXPECT_STREQ(b.soundFilePath, L"D:\\sounds\\gong 2.wav");
    EXPECT_FALSE(b.slide.slideShow);
    EXPECT_TRUE(b.slide.hide);
    EXPECT_TRUE(b.slide.random);
    EXPECT_TRUE(b.playSound);
    EXPECT_EQ(b.slide.slideTime, 3723004u);
    EXPECT_EQ(b.slide.hideTime, 0xFFFFFFFFu);
    EXPECT_FALSE(b.slide.countdown);
    EXPECT_FALSE(b.slide.statusInCaption);
    EXPECT_FALSE(b.multiline);
    EXPECT_FALSE(b.caption);
    EXPECT_TRUE(b.transparent);
    EXPECT_FALSE(b.showBackground);
    EXPECT_TRUE(b.fitFont && b.fitWidth && b.fitGraphic);
    EXPECT_EQ(b.justify, 0x10000u + 40000u);
    EXPECT_EQ(b.docking, 2u);
    EXPECT_EQ(b.bbCaptionAdjust & 0xFFFF, 0xFFF9);
    EXPECT_EQ(b.bbWindowAdjust, 300);
    EXPECT_FALSE(b.draggable);
    EXPECT_TRUE(b.trayIcon);
    EXPECT_TRUE(b.onTop);
    EXPECT_EQ(b.windowRect.left, INT_MIN);
    EXPECT_EQ(b.windowRect.right, INT_MAX);
    EXPECT_EQ(b.windowRect.bottom, 70000);
    EXPECT_EQ(b.logFont.lfHeight, -27);
    EXPECT_EQ(b.logFont.lfWeight, 700);
    EXPECT_EQ(b.logFont.lfItalic, 1);
    EXPECT_EQ(b.logFont.lfPitchAndFamily, 34);
    EXPECT_STREQ(b.logFont.lfFaceName, L"Times New Roman");
    EXPECT_EQ(b.textColour, 255u);
    EXPECT_EQ(b.backgroundColour, 0xFF000000u);
    EXPECT_FALSE(b.saveOnExit);
    EXPECT_FALSE(b.resume);
    EXPECT_EQ(b.currentIndex, 41u);
    EXPECT_FALSE(b.atCursor);
    // The stored relative path becomes the text to show, resolved against the current drive.
    wchar_t expected[MAX_PATH];
    GetFullPathNameW(L"\\tomels\\diamond.txt", MAX_PATH, expected, nullptr);
    EXPECT_STREQ(b.textFilePath, expected);
}

TEST(Settings, HandEditedValuesAreReadAsTheFormatSays)
{
    TomelWindow w;
    App& app = w.app();
    const std::wstring path = writeBytes(L"edited.ini",
        utf16File(L"[Alignment]\r\nbb caption adjust=70000\r\njustify=2\r\n[Slideshow]\r\nSLIDE=false\r\nhide=yes\r\n"
                  L"[Font]\r\nfacename=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\r\n[Settings]\r\nbookmark=3\r\n"));
    setPath(app.settingsPath, path);
    app.bbCaptionAdjust = 4;
    loadSettings(app);
    EXPECT_EQ(app.bbCaptionAdjust, 4464);
    EXPECT_EQ(app.justify, 2u);
    EXPECT_FALSE(app.slide.slideShow);
    EXPECT_FALSE(app.slide.hide);   // "yes" is not a Bool value: unchanged
    EXPECT_STREQ(app.logFont.lfFaceName, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");   // cut to 31
    EXPECT_EQ(app.logFont.lfHeight, -MulDiv(10, 96, 72));   // [Font] without height keeps it
    EXPECT_EQ(app.currentIndex, 3u);
    // A file saved by hand without byte-order mark (ANSI) is read too.
    const std::wstring ansi = writeBytes(L"ansi.ini", "[Slideshow]\r\ntimeslide=1234\r\n");
    setPath(app.settingsPath, ansi);
    loadSettings(app);
    EXPECT_EQ(app.slide.slideTime, 1234u);
}

TEST(Settings, ArgumentsAreTakenInOrder)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    const std::wstring a = writeBytes(L"a.txt", "a1\r\na2\r\n");
    const std::wstring b = writeBytes(L"b.txt", "b1\r\nb2\r\nb3\r\n");
    const std::wstring s =
        writeBytes(L"s.ini", utf16File(L"[Tomel]\r\n[Portable]\r\nfile=" + b + L"\r\n[Settings]\r\nbookmark=2\r\n"));
    // A text file before the settings file is replaced by the path the settings store.
    {
        std::wstring x = a, y = s;
        wchar_t arg0[] = L"tomel.exe";
        wchar_t* args[] = {arg0, &x[0], &y[0]};
        handleArguments(app, args, 3);
        EXPECT_EQ(std::wstring(app.textFilePath), b);
        EXPECT_EQ(std::wstring(app.settingsPath), s);
        EXPECT_EQ(app.currentIndex, 2u);
    }
    // A text file after it wins, from its first entry.
    {
        std::wstring x = s, y = a;
        wchar_t arg0[] = L"tomel.exe";
        wchar_t* args[] = {arg0, &x[0], &y[0]};
        handleArguments(app, args, 3);
        EXPECT_EQ(std::wstring(app.textFilePath), a);
        EXPECT_EQ(app.currentIndex, 0u);
    }
    // Saving now goes to the settings file named on the command line.
    app.slide.slideTime = 7777;
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    EXPECT_NE(readFile(s).find(std::string("7\0" "7\0" "7\0" "7\0", 8)), std::string::npos);
}

TEST(Settings, ApplyingClampsThePositionAndSetsFontAndJustification)
{
    TomelWindow w;
    App& app = w.app();
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    app.windowRect = RECT{5000, 100, 5400, 300};
    app.justify = 2;
    app.resume = false;
    app.currentIndex = 9;
    copyToBuffer(app.logFont.lfFaceName, LF_FACESIZE, L"Times New Roman");
    applySettings(app);
    RECT r;
    GetWindowRect(w.window(), &r);
    EXPECT_EQ(r.right, sw);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_TRUE(EqualRect(&r, &app.windowRect));
    EXPECT_EQ(GetWindowLongW(app.textControl, GWL_STYLE) & 3, SS_RIGHT);
    EXPECT_EQ(app.currentIndex, 0u);
    LOGFONTW used = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(app.textControl, WM_GETFONT, 0, 0)), sizeof used, &used);
    EXPECT_STREQ(used.lfFaceName, L"Times New Roman");
    // Near the 32-bit limits nothing overflows.
    app.windowRect = RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    applySettings(app);
    GetWindowRect(w.window(), &r);
    EXPECT_GE(r.left, -10);
    EXPECT_GE(r.top, -10);
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
    ShowWindow(w.window(), SW_RESTORE);
    auto fresh = std::make_unique<App>();
    setPath(fresh->settingsPath, path);
    loadSettings(*fresh);
    EXPECT_EQ(fresh->windowRect.left, 50);
    EXPECT_EQ(fresh->windowRect.top, 60);
    EXPECT_EQ(fresh->windowRect.right, 450);
    EXPECT_EQ(fresh->windowRect.bottom, 360);
}

TEST(Settings, AFileThatCannotBeReplacedIsLeftAsItWas)
{
    TomelWindow w;
    App& app = w.app();
    const std::string old = "[Tomel]\r\nversion=0.9\r\n";
    const std::wstring path = writeBytes(L"locked.ini", old);
    setPath(app.settingsPath, path);
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_EQ(saveSettings(app), SaveResult::Failed);
    CloseHandle(lock);
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(GetFileAttributesW((path + L".new").c_str()), INVALID_FILE_ATTRIBUTES);
    // A read-only file is not written either.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(saveSettings(app), SaveResult::Failed);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readFile(path), old);
    // Save Now tells the user; the save at the end of the program does not.
    setPath(app.settingsPath, testDirectory() + L"\\no such folder\\x.ini");
    SendMessageW(w.window(), WM_COMMAND, CMD_SAVE_NOW, 0);
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_EQ(shownMessages[0].text, L"Settings could not be saved\n" + std::wstring(app.settingsPath));
    EXPECT_EQ(shownMessages[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
    app.saveOnExit = true;
    SendMessageW(w.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(shownMessages.size(), 1u);
}

TEST(Settings, AnotherProgramsIniFileIsNeverWrittenOver)
{
    TomelWindow w;
    App& app = w.app();
    const std::string foreign = "[Other]\r\nkey=value\r\n";
    const std::wstring path = writeBytes(L"other.ini", foreign);
    w.drop({path});   // read as settings, as a named or opened one would be
    EXPECT_EQ(std::wstring(app.settingsPath), path);
    SendMessageW(w.window(), WM_COMMAND, CMD_SAVE_NOW, 0);
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_EQ(shownMessages[0].text, L"Not a Tomel settings file, use Save As...\n" + path);
    app.saveOnExit = true;
    SendMessageW(w.window(), WM_CLOSE, 0, 0);   // the save at the end passes over it without a word
    EXPECT_EQ(shownMessages.size(), 1u);
    EXPECT_EQ(readFile(path), foreign);
}

TEST(Settings, SavingKeepsTheFileAndItsAttributes)
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
        EXPECT_NE(readFile(path).find(utf16File(L"timeslide=" + std::to_wstring(length)).substr(2)), std::string::npos);
        EXPECT_EQ(GetFileAttributesW((path + L".new").c_str()), INVALID_FILE_ATTRIBUTES);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(Settings, ADroppedSettingsFileIsLoadedAndApplied)
{
    TomelWindow w;
    App& app = w.app();
    const std::wstring text = writeBytes(L"lines.txt", "one\r\ntwo\r\nthree\r\n");
    const std::wstring ini = writeBytes(L"drop.ini", utf16File(L"[Portable]\r\nfile=" + text +
                                                               L"\r\n[Display]\r\nmultiline=FALSE\r\n[Settings]\r\nbookmark=2\r\n"));
    w.drop({ini});
    EXPECT_EQ(std::wstring(app.settingsPath), ini);
    EXPECT_EQ(std::wstring(app.textFilePath), text);
    EXPECT_FALSE(app.multiline);
    EXPECT_EQ(app.entries.size(), 3u);
    EXPECT_EQ(w.text(), L"three\n");
}

TEST(Settings, ARefusedTextAtStartUpKeepsTheStoredFileAndBookmark)
{
    TomelWindow w;
    App& app = w.app();
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring beside(module);
    beside.resize(beside.rfind(L'\\'));
    beside += L"\\tomel.ini";
    const std::wstring stored = writeBytes(L"stored.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n");
    struct Case {
        const char* name;
        std::wstring file;
        const wchar_t* argument;
    } cases[] = {
        {"missing", testDirectory() + L"\\gone.txt", nullptr},
        {"a folder", testDirectory(), nullptr},
        {"refused encoding", writeBytes(L"utf8.txt", "\xEF\xBB\xBFtext"), nullptr},
        {"mistyped argument", stored, L"mistyped.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(beside, utf16File(L"[Tomel]\r\nversion=1.00\r\n[Portable]\r\nfile=" + c.file +
                                     L"\r\n[Settings]\r\nbookmark=7\r\n"));
        // Start-up as the program does it, with a text-file argument after the settings.
        locateFiles(app);
        if (c.argument) handleFileArgument(app, c.argument);
        openTextFile(app);
        ASSERT_EQ(saveSettings(app), SaveResult::Saved);
        const std::string saved = readFile(beside);
        EXPECT_NE(saved.find(utf16File(L"\r\nfile=" + c.file + L"\r\n").substr(2)), std::string::npos);
        EXPECT_NE(saved.find(utf16File(L"\r\nbookmark=7\r\n").substr(2)), std::string::npos);
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

TEST(Settings, EndOfSessionSavesWhenSaveOnExitIsOn)
{
    const std::wstring path = testDirectory() + L"\\session.ini";
    {
        TomelWindow w;
        setPath(w.app().settingsPath, path);
        w.app().saveOnExit = true;
        SendMessageW(w.window(), WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(readFile(path).substr(0, 2), "\xFF\xFE");
    }
    const std::wstring other = testDirectory() + L"\\nosave.ini";
    {
        TomelWindow v;
        setPath(v.app().settingsPath, other);
        v.app().saveOnExit = false;
        SendMessageW(v.window(), WM_CLOSE, 0, 0);
        EXPECT_EQ(GetFileAttributesW(other.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST(Settings, SaveNowAndSaveAs)
{
    TomelWindow w;
    App& app = w.app();
    const std::wstring first = testDirectory() + L"\\first.ini";
    setPath(app.settingsPath, first);
    SendMessageW(w.window(), WM_COMMAND, CMD_SAVE_NOW, 0);
    EXPECT_EQ(readFile(first).substr(0, 2), "\xFF\xFE");

    // Save As, cancelled: nothing changes. Confirmed: the settings go to the chosen file.
    const std::wstring chosen = testDirectory() + L"\\saved-as.ini";
    for (bool confirm : {false, true}) {
        SCOPED_TRACE(confirm);
        EXPECT_TRUE(answerFileDialog(w, CMD_SAVE_AS, L"Save Tomel Settings", confirm ? chosen : L""))
            << "the Save As dialog did not appear";
        if (confirm) {
            EXPECT_EQ(std::wstring(app.settingsPath), chosen);
            EXPECT_EQ(readFile(chosen).substr(0, 2), "\xFF\xFE");
        } else {
            EXPECT_EQ(std::wstring(app.settingsPath), first);
            EXPECT_EQ(GetFileAttributesW(chosen.c_str()), INVALID_FILE_ATTRIBUTES);
        }
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
