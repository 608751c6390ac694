// The settings file in the real window: exact bytes, saving at the end of the session, saving safely
// (also when killed meanwhile) and telling when it cannot, what start-up keeps and finds, and
// reloading.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "core/app/commands.h"
#include "core/settings/written_file.h"
#include "harness.h"
#include "main/startup_win.h"
#include "shell/settings/saved_file_win.h"
#include "shell/settings/settings_place_win.h"
#include "shell/settings/settings_win.h"
#include "shell/text/text_loader_win.h"
#include "shell/ui/language_win.h"

namespace {
// A golden file is kept as UTF-8 text (with LF or CR LF line ends); the program writes UTF-16 LE with
// a byte-order mark and CR LF.
std::string goldenBytes(const std::string& name)
{
    const std::string utf8 = readFile(std::wstring(L"" TOMEL_TEST_DATA L"/") + std::wstring(name.begin(), name.end()));
    std::wstring text(utf8.size(), L'\0'), crlf;
    text.resize(std::size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &text[0], int(text.size()))));
    for (wchar_t c : text) crlf += c == L'\n' && (crlf.empty() || crlf.back() != L'\r') ? std::wstring(L"\r\n") : std::wstring(1, c);
    return utf16File(crlf);
}

void setPath(wchar_t* field, const std::wstring& value) { copyToBuffer(field, PATH_BUFFER, value); }

// Saves the settings to `path`: whether that went and the file holds `lines`.
bool savedWith(App& app, const std::wstring& path, const std::wstring& lines)
{
    setPath(app.settingsPath, path);
    return saveSettings(app) == SaveResult::Saved && readFile(path).find(utf16(lines)) != std::string::npos;
}
}  // namespace

// The child of KillsDuringSavesLeaveAWholeFileForTheNextStart: saves the settings it read, every time
// others in a file of another length, until it is killed.
int saveUntilKilled(const wchar_t* path, const wchar_t* readyEvent)
{
    static App app;
    setPath(app.settingsPath, path);
    loadSettings(app);
    app.transparent = false;   // a window's caption is no part of this
    for (std::uint32_t i = 0;; ++i) {
        app.slide.slideTime = i;
        setPath(app.bitmapPath, L"C:\\" + std::wstring(i % 2 ? 200 : 1, L'b') + L".bmp");
        if (saveSettings(app) != SaveResult::Saved) return 1;
        if (i == 0) SetEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, readyEvent));
    }
}

// The defaults are saved at the end of the session, also where a hand-edited file held numbers the
// program cannot use: those give way to the defaults as the file is read, take effect so and are saved
// so. A file with every key changed (extreme values, a Greek name) is read and written back unchanged.
// Its name has 259 characters, the temporary file's more; a new file, then one that stays hidden.
TEST(Settings, GoldenFilesAreWrittenByteForByteAndReadBack)
{
    const std::wstring base = testDirectory() + L"\\", path = base + std::wstring(255 - base.size(), L'k') + L".ini";
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    {
        TomelWindow w;
        App& app = w.app();
        w.drop({writeBytes(L"edited.ini", utf16File(L"[Tomel]\r\n[Slideshow]\r\ntimeslide=-1\r\ntimehide=4294967296\r\n"
                                                   L"[Alignment]\r\njustify=-1\r\ndocking=4\r\nbb caption adjust=-1\r\n"
                                                   L"bb window adjust=70000\r\n[Font]\r\nheight=-1\r\nweight=1001\r\n"
                                                   L"[Colours]\r\ntext=-1\r\nbackground=0\r\n"   // black on black
                                                   L"[Position]\r\nleft=100\r\ntop=200\r\nright=700\r\nbottom=525\r\n"))});
        LOGFONTW used = {};
        GetObjectW(app.font.get(), sizeof used, &used);
        EXPECT_EQ(std::make_pair(used.lfHeight, app.backgroundColour), std::make_pair(LONG(-13), COLORREF(0xFFFFFF)));
        // The fields the defaults leave to the machine, set to the values the golden file holds (the place
        // comes from the edited file, which shows that it was read).
        setPath(app.textFilePath, L"Z:\\tomel\\help\\Tomel.txt"), setPath(app.bitmapPath, L"C:\\windows\\Greenstone.bmp");
        setPath(app.soundFilePath, L"C:\\windows\\media\\ding.wav"), setPath(app.settingsPath, path);
        app.saveOnExit = true;
        SendMessageW(w.window(), WM_ENDSESSION, FALSE, 0);   // the session goes on after all
        EXPECT_FALSE(exists(path));
        SendMessageW(w.window(), WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(currentApp.get(), nullptr);
        EXPECT_EQ(readFile(path), goldenBytes("settings-default.txt"));
    }
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), kept));
    TomelWindow w;
    App& app = w.app();
    setPath(app.settingsPath, writeBytes(L"changed.ini", goldenBytes("settings-changed.txt")));
    loadSettings(app);
    wchar_t expected[MAX_PATH];   // the stored relative path resolved against the current drive
    GetFullPathNameW(L"\\tomels\\diamond.txt", MAX_PATH, expected, nullptr);
    EXPECT_STREQ(app.textFilePath, expected);
    setPath(app.settingsPath, path);
    ASSERT_EQ(saveSettings(app), SaveResult::Saved);
    EXPECT_EQ(std::make_pair(readFile(path), GetFileAttributesW(path.c_str()) & kept),
              std::make_pair(goldenBytes("settings-changed.txt"), kept));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The program's own settings file is saved whatever a hand wrote into it; other files may be refused.
TEST(Settings, RefusedSavesLeaveTheFileAndOnlySaveNowTells)
{
    const std::string tomel = "[Tomel]\r\nversion=0.9\r\n", foreign = "[Other]\r\nkey=value\r\n";
    const std::string handWritten = "[Slideshow]\r\nslide=FALSE\r\n";
    const std::wstring dir = testDirectory() + L"\\", perUser = perUserSettingsPath();
    wchar_t tmp[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TMP", tmp, MAX_PATH);
    // bytes empty: no file; message none: saved
    const struct { const char* name; std::wstring path; std::string bytes; const wchar_t* message; } cases[] = {
        {"locked", dir + L"locked.ini", tomel, L"Settings could not be saved\n"},
        {"read-only", dir + L"readonly.ini", tomel, L"Settings could not be saved\n"},
        {"rewritten in place with no copy kept", dir + L"nocopy.ini", tomel, L"Settings could not be saved\n"},
        {"no folder", dir + L"no such folder\\x.ini", "", L"Settings could not be saved\n"},
        {"another program's", dir + L"other.ini", foreign, L"Not a Tomel settings file, use Save As...\n"},
        {"the own one, hand-written", besideProgram(L"tomel.ini"), handWritten, nullptr},
        {"the user's own, hand-written", perUser, handWritten, nullptr},
    };
    CreateDirectoryW(perUser.substr(0, perUser.rfind(L'\\')).c_str(), nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            TomelWindow w;   // first: it clears a settings file away from beside the program
            if (!c.bytes.empty()) writeBytes(c.path, c.bytes);
            HANDLE lock = std::string(c.name) == "locked" ? CreateFileW(c.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr) : INVALID_HANDLE_VALUE;
            if (std::string(c.name) == "read-only") SetFileAttributesW(c.path.c_str(), FILE_ATTRIBUTE_READONLY);
            // A folder stands where the new file would be made, and the temporary folder is not there.
            const bool noCopy = std::string(c.name).find("no copy") != std::string::npos;
            if (noCopy) CreateDirectoryW((c.path + L".new").c_str(), nullptr), SetEnvironmentVariableW(L"TMP", (dir + L"none").c_str());
            w.drop({c.path});   // read as settings, as a named or opened one would be
            setPath(w.app().settingsPath, c.path);
            shownMessages.clear();
            const auto told = c.message ? std::vector<std::wstring>{c.message + c.path} : std::vector<std::wstring>{};
            EXPECT_EQ((w.command(CMD_SAVE_NOW), shownMessages), told);
            w.app().saveOnExit = true;
            EXPECT_EQ((SendMessageW(w.window(), WM_CLOSE, 0, 0), shownMessages), told);   // the save at the end passes over it silently
            if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
            if (noCopy) RemoveDirectoryW((c.path + L".new").c_str()), SetEnvironmentVariableW(L"TMP", tmp[0] ? tmp : nullptr);
        }
        SetFileAttributesW(c.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        const std::string now = readFile(c.path);
        EXPECT_EQ(std::make_pair(now == c.bytes, now.find(utf16(L"\r\nslide=FALSE\r\n")) != std::string::npos),
                  std::make_pair(c.message != nullptr, !c.message));
    }
    DeleteFileW(besideProgram(L"tomel.ini").c_str());
    const std::wstring userFolder = perUser.substr(0, perUser.rfind(L'\\'));
    DeleteFileW(perUser.c_str());
    RemoveDirectoryW(userFolder.c_str());
    {   // the user's own file, the first time, goes into a folder made for it
        TomelWindow w;
        setPath(w.app().settingsPath, perUser);
        EXPECT_EQ(saveSettings(w.app()), SaveResult::Saved);
    }
    DeleteFileW(perUser.c_str());
    RemoveDirectoryW(userFolder.c_str());
    // Nothing else is left behind.
    EXPECT_EQ(filesIn(dir), (std::set<std::wstring>{L"locked.ini", L"nocopy.ini", L"other.ini", L"readonly.ini"}));
}

TEST(Settings, WhatASaveCutShortLeftIsSortedOutWhenTheFileIsRead)
{
    TomelWindow w;
    App& app = w.app();
    const std::wstring path = testDirectory() + L"\\cut.ini", left = path + L".new";
    const std::string whole = utf16File(L"[Tomel]\r\n\r\n[Slideshow]\r\nslide=FALSE\r\n\r\n[Menu]\r\nat cursor=TRUE\r\n");
    const std::string old = utf16File(L"[Tomel]\r\n"), foreign = "[Other]\r\n";
    // A file of up to 16 MiB is read; a larger one is none the program wrote.
    const auto grown = [&](std::size_t size) {
        const std::size_t pad = (size - whole.size()) / 2;
        std::wstring lines(pad & ~std::size_t(1), L'\n');
        for (std::size_t i = 0; i < lines.size(); i += 2) lines[i] = L'\r';
        return whole + utf16(lines + std::wstring(pad % 2, L' '));
    };
    const std::string largest = grown(std::size_t(16) << 20), tooLarge = grown((std::size_t(16) << 20) + 2);
    // The file before ("": none) and what a save left beside it ("": nothing); the two afterwards, and
    // whether the file's slideshow setting was taken.
    const struct { std::string file, left, fileAfter, leftAfter; bool read; } cases[] = {
        {"", whole, whole, "", true}, {old, whole, old, "", false}, {"", whole.substr(0, 9), "", "", false},
        {old, foreign, old, foreign, false}, {largest, "", largest, "", true}, {tooLarge, "", tooLarge, "", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        DeleteFileW(path.c_str());
        DeleteFileW(left.c_str());
        if (!c.file.empty()) writeBytes(path, c.file);
        if (!c.left.empty()) writeBytes(left, c.left);
        setPath(app.settingsPath, path);
        app.slide.slideShow = true;
        loadSettings(app);
        EXPECT_EQ(std::make_tuple(readFile(path) == c.fileAfter, exists(left), readFile(left) == c.leftAfter),
                  std::make_tuple(true, !c.leftAfter.empty(), true));
        EXPECT_EQ(app.slide.slideShow, !c.read);
    }
}

// A path too long for its line is saved in its short form, which the App does not take; one that has
// none (it is not there) is saved empty, as any path cut short would name another file.
TEST(Settings, APathTooLongForItsLineIsSavedInItsShortForm)
{
    TomelWindow w;
    App& app = w.app();
    std::wstring folder = testDirectory();
    while (folder.size() < 200) CreateDirectoryW((folder += L"\\a folder with a long name").c_str(), nullptr);
    const std::wstring picture = writeBytes(folder + L"\\" + std::wstring(250 - folder.size(), L'p') + L".bmp", "BM");
    wchar_t shortForm[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(picture.c_str(), shortForm, MAX_PATH), 0u);
    for (const auto& [bitmap, saved] : {std::pair{picture, std::wstring(shortForm)}, {picture + L"x", L""}}) {
        SCOPED_TRACE(bitmap.size());
        setPath(app.bitmapPath, bitmap);
        EXPECT_TRUE(savedWith(app, testDirectory() + L"\\short.ini", L"\r\nbitmap=" + saved + L"\r\n"));
        EXPECT_EQ(app.bitmapPath, bitmap);
    }
}

// Minimised or maximised, the restored place is saved, with the caption that transparency has taken
// for the while; a start from it gives the window it was.
TEST(Settings, SavingStoresTheRestoredPlaceWithTheCaptionTransparencyTook)
{
    // workTop: the work area begins this far down (a taskbar at the top). Windows gives the restored
    // place in the work area's coordinates; Wine gives the screen's, so there the row passes either way.
    const struct { const char* name; int show; bool transparent; LONG workTop = 0; } cases[] = {
        {"maximized", SW_MAXIMIZE, false}, {"transparent", SW_SHOWNORMAL, true}, {"transparent, minimized", SW_MINIMIZE, true},
        {"transparent, maximized", SW_MAXIMIZE, true}, {"maximized below a taskbar", SW_MAXIMIZE, false, 40}};
    const std::wstring path = testDirectory() + L"\\place.ini";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RECT shown = {}, started = {}, work = {};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        RECT moved = {work.left, work.top + c.workTop, work.right, work.bottom};
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &moved, 0);
        {
            TomelWindow w;
            MoveWindow(w.window(), 50, 60, 400, 300, TRUE);
            w.app().docking = 0;   // it stays where it was put
            if (c.transparent) w.command(CMD_TRANSPARENT);
            GetWindowRect(w.window(), &shown);
            ShowWindow(w.window(), c.show);
            w.pump(50);
            EXPECT_TRUE(savedWith(w.app(), path, L"left=50\r\ntop=60\r\nright=450\r\nbottom=360\r\n"));
        }
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
        TomelWindow w;
        w.drop({path});
        GetWindowRect(w.window(), &started);
        EXPECT_TRUE(EqualRect(&shown, &started));
    }
}

// A mistyped text named after the settings, or a stored text that is missing, leaves the stored text
// and bookmark to the next save; a help text stored where it is no more is the one beside the program.
TEST(Settings, StartUpKeepsTheStoredTextAndBookmarkOrFindsAMovedHelpText)
{
    const std::wstring beside = besideProgram(L"tomel.ini"), gone = L"Z:\\no such folder\\";
    const std::string lines = "1\r\n\r\n2\r\n\r\n3\r\n\r\n4\r\n\r\n5\r\n\r\n6\r\n\r\n7\r\n\r\n8\r\n\r\n9\r\n";
    // argument: a text file named on the command line; help: the help text is stored, else the stored one is kept
    const struct { const char* name; std::wstring stored; const wchar_t* argument; bool help; } cases[] = {
        {"a mistyped argument", writeBytes(L"stored.txt", lines), L"mistyped.txt", false},
        {"the help text, moved", gone + L"TOMEL.TXT", nullptr, true},
        {"another text, moved", gone + L"notes.txt", nullptr, false},
        {"a help text still there", writeBytes(L"Tomel.txt", lines), nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TomelWindow w;
        App& app = w.app();
        writeBytes(beside, utf16File(L"[Tomel]\r\nversion=1.00\r\n[Portable]\r\nfile=" + c.stored + L"\r\n[Settings]\r\nbookmark=7\r\n"));
        // Start-up as the program does it.
        locateFiles(app);
        if (c.argument) handleFileArgument(app, c.argument);
        openTextFile(app);
        EXPECT_TRUE(savedWith(app, beside, L"\r\nfile=" + (c.help ? std::wstring(app.helpPath) : c.stored) + L"\r\n"));
        EXPECT_NE(readFile(beside).find(utf16(L"\r\nbookmark=7\r\n")), std::string::npos);
        DeleteFileW(beside.c_str());
    }
    // With no settings file yet, it is to be made beside the program, whose folder can be written.
    TomelWindow w;
    locateFiles(w.app());
    EXPECT_EQ(std::wstring(w.app().settingsPath), beside);
}

// A kept copy is put back only into a file the program can have to itself and read whole: while
// another program reads the file, or while it is larger than any the program writes, the copy waits
// for a later start.
TEST(Settings, AKeptCopyWaitsWhileItsFileIsInUseOrTooLarge)
{
    const std::wstring temporary = std::filesystem::temp_directory_path().wstring();
    const std::string old = goldenBytes("settings-default.txt");
    const struct { const wchar_t* name; bool held, large, waits; } cases[] = {
        {L"free", false, false, false}, {L"held", true, false, true}, {L"large", false, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string cut = c.large ? std::string((16u << 20) + 2, 'x') : old.substr(0, 20);
        const std::wstring target = writeBytes(std::wstring(c.name) + L".ini", cut);
        const std::wstring copy = writeBytes(temporary + L"\\tomel-kept-" + c.name + L".tmp", keptCopyBytes(target, old));
        const HANDLE reader = c.held ? CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                   OPEN_EXISTING, 0, nullptr)
                                     : INVALID_HANDLE_VALUE;
        putBackInterruptedRewrites();
        if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
        EXPECT_EQ(std::make_pair(exists(copy), readFile(target) == (c.waits ? cut : old)), std::make_pair(c.waits, true));
        DeleteFileW(copy.c_str());
    }
}

// The arguments in their order: a settings file is read at once, so the text it names gives way to a
// text named after it but not to one named before; the last text wins, from its first entry; ".INI"
// is a text; blanks at the end of a name go; options other than "-translate" are ignored.
TEST(Settings, ArgumentsAreTakenInTheirOrder)
{
    TomelWindow w;
    App& app = w.app();
    const std::wstring a = writeBytes(L"a.txt", ""), b = writeBytes(L"b.txt", ""), upper = writeBytes(L"C.INI", "");
    const std::wstring ini = writeBytes(L"s.ini", utf16File(L"[Portable]\r\nfile=" + a + L"\r\n[Settings]\r\nbookmark=4\r\n"));
    const std::wstring own = app.settingsPath, help = app.textFilePath;
    SetCurrentDirectoryW(testDirectory().c_str());
    setPath(app.languagePath, testDirectory() + L"\\no folder\\tomel.lang.ini");   // "-translate" would end the test, failing
    const struct { std::vector<std::wstring> args; std::wstring settings, text; std::uint32_t index; } cases[] = {
        {{b, ini}, ini, a, 4}, {{ini, b}, ini, b, 0}, {{b, a}, own, a, 0}, {{upper}, own, upper, 0},
        {{L"b.txt  "}, own, b, 0}, {{L"-unknown", L"-Translate", L"-", L"  ", L""}, own, help, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        setPath(app.settingsPath, own), setPath(app.textFilePath, help), app.currentIndex = 7;
        std::vector<std::wstring> args = {L"tomel.exe"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::vector<wchar_t*> argv;
        for (std::wstring& arg : args) argv.push_back(&arg[0]);
        handleArguments(app, argv.data(), int(argv.size()));
        EXPECT_EQ(std::make_tuple(std::wstring(app.settingsPath), std::wstring(app.textFilePath), app.currentIndex),
                  std::make_tuple(c.settings, c.text, c.index));
    }
}

TEST(Settings, ADroppedSettingsFileIsAppliedAndRepaintsOurWindowOnly)
{
    TomelWindow w;
    HWND other = CreateWindowExW(0, L"Static", L"another program", WS_POPUP | WS_VISIBLE, 600, 400, 200, 100, nullptr, nullptr, nullptr, nullptr);
    w.command(CMD_TRANSPARENT);   // the file's word (not transparent) is taken over it
    UpdateWindow(other), UpdateWindow(w.window());
    ASSERT_FALSE(GetUpdateRect(other, nullptr, FALSE));
    const std::wstring text = writeBytes(L"b.txt", "b1\r\nb2\r\nb3\r\n");
    w.drop({writeBytes(L"drop.ini", utf16File(L"[Portable]\r\nfile=" + text + L"\r\n[Display]\r\nmultiline=FALSE\r\n[Settings]\r\nbookmark=1\r\n"))});
    RECT clip = {};
    EXPECT_EQ(std::make_tuple(w.text(), GetUpdateRect(other, nullptr, FALSE), GetUpdateRect(w.window(), nullptr, FALSE),
                              GetWindowRgnBox(w.window(), &clip), w.app().transparent),
              std::make_tuple(std::wstring(L"b2\n"), FALSE, TRUE, ERROR, false));
    DestroyWindow(other);
}

// Killed at random moments while saving, again and again: the next start finds the old file or the
// new one, whole, and nothing else is left, beside it or in the temporary folder.
TEST(Settings, KillsDuringSavesLeaveAWholeFileForTheNextStart)
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const unsigned seed = GetTickCount();
    SCOPED_TRACE(seed);
    std::minstd_rand random(seed);
    const std::wstring event = L"tomel-saving-" + std::to_wstring(GetCurrentProcessId()), temporary = std::filesystem::temp_directory_path().wstring();
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
    // Rewritten in place: a folder stands where the new file would be made beside the old one.
    for (const auto& [name, inPlace, kills] : {std::tuple{L"replaced", false, 100}, {L"rewritten in place", true, 30}}) {
        SCOPED_TRACE(name);
        const std::wstring folder = testDirectory() + L"\\" + name, path = folder + L"\\tomel.ini";
        static App read;
        CreateDirectoryW(folder.c_str(), nullptr);
        writeBytes(path, goldenBytes("settings-changed.txt"));
        if (inPlace) CreateDirectoryW((path + L".new").c_str(), nullptr);
        const auto filesBefore = std::make_pair(filesIn(folder), filesIn(temporary));
        for (int kill = 0; kill < kills; ++kill) {
            SCOPED_TRACE(kill);
            std::wstring command = L"\"" + std::wstring(program) + L"\" --save-until-killed \"" + path + L"\" " + event;
            STARTUPINFOW startup = {sizeof startup};
            PROCESS_INFORMATION child = {};
            ResetEvent(ready);
            ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
                << GetLastError();
            const bool saving = WaitForSingleObject(ready, 10000) == WAIT_OBJECT_0;
            Sleep(random() % 25);
            TerminateProcess(child.hProcess, 9), WaitForSingleObject(child.hProcess, 10000);
            CloseHandle(child.hProcess), CloseHandle(child.hThread);
            ASSERT_TRUE(saving);
            // What the next start does; a whole file then reads back into every setting it holds.
            putBackInterruptedRewrites();
            setPath(read.settingsPath, path);
            loadSettings(read);
            setPath(read.settingsPath, testDirectory() + L"\\read back.ini");
            ASSERT_EQ(saveSettings(read), SaveResult::Saved);
            const std::string file = readFile(path);
            ASSERT_TRUE(file == readFile(read.settingsPath)) << "not whole: " << file.size() << " bytes";
            ASSERT_EQ(std::make_pair(filesIn(folder), filesIn(temporary)), filesBefore);
        }
        // Saved to the end, the file holds what was saved.
        setPath(read.settingsPath, path);
        read.slide.slideTime = 4321;
        ASSERT_EQ(saveSettings(read), SaveResult::Saved);
        EXPECT_NE(readFile(path).find(utf16(L"\r\ntimeslide=4321\r\n")), std::string::npos);
    }
    CloseHandle(ready);
}

// "-translate" writes the English language file only once the present one is safe in its backup;
// when either cannot be written, both stay as they were.
TEST(Settings, TheLanguageFileIsReplacedOnlyOnceItIsKeptInItsBackup)
{
    TomelWindow w;   // its menu's English texts captured at start-up
    const std::wstring path = testDirectory() + L"\\tomel.lang.ini", backup = path + L".bak";
    const std::string english = goldenBytes("language-english.txt"), mine = utf16File(L"mine"), older = utf16File(L"older");
    const std::string huge(std::size_t(16 << 20) + 1, 'x');   // a backup too large to be put back after a failure
    // The two files before ("": none), the one held open by another program, and the two afterwards.
    const struct { std::string file, kept; const std::wstring* locked; bool written; std::string fileAfter, keptAfter; } cases[] = {
        {"", "", nullptr, true, english, ""}, {mine, older, nullptr, true, english, mine},
        {mine, older, &path, false, mine, older}, {mine, older, &backup, false, mine, older}, {mine, huge, nullptr, false, mine, huge}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        DeleteFileW(path.c_str()), DeleteFileW(backup.c_str());
        if (!c.file.empty()) writeBytes(path, c.file);
        if (!c.kept.empty()) writeBytes(backup, c.kept);
        HANDLE lock = c.locked ? CreateFileW(c.locked->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
        EXPECT_EQ(writeLanguageFile(path.c_str()), c.written);
        if (lock) CloseHandle(lock);
        EXPECT_EQ(std::make_tuple(readFile(path), exists(backup), readFile(backup)), std::make_tuple(c.fileAfter, !c.keptAfter.empty(), c.keptAfter));
    }
    EXPECT_FALSE(writeLanguageFile(L""));   // a program with no folder for its files has none to write
    // A save cut short left a whole file where there is none: reading puts it in place.
    DeleteFileW(path.c_str()), DeleteFileW(backup.c_str());
    writeBytes(path + L".new", english);
    EXPECT_TRUE(readLanguageFile(path.c_str(), IniOpenMode::Read));
    EXPECT_EQ(std::make_pair(readFile(path), exists(path + L".new")), std::make_pair(english, false));
}
