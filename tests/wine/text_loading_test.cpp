// Opening text files in the real window: encodings, refusals, bad input, drops.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "harness.h"
#include "core/app/commands.h"
#include "main/startup_win.h"
#include "shell/app/app_info_win.h"
#include "shell/text/text_loader_win.h"

namespace {
std::wstring entry(const TomelWindow& w, std::size_t i) { return std::wstring(w.app().entries[i]); }

// The program's own allocation-failure handler, as its entry routine installs it: a failure left to
// it ends this test program with exit code 1.
struct ProgramOutOfMemoryHandler {
    std::new_handler before = std::set_new_handler([] { onOutOfMemory(); });
    ~ProgramOutOfMemoryHandler() { std::set_new_handler(before); }
};

// Refuses every block over a megabyte, as a machine short of memory would.
void* allocateUpToAMegabyte(std::size_t bytes) { return bytes > (1u << 20) ? nullptr : std::malloc(bytes); }
void releaseBlock(void* block) { std::free(block); }

std::wstring sparseFile(const wchar_t* name, long long bytes)
{
    const std::wstring path = testDirectory() + L"\\" + name;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = bytes;
    SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    return path;
}

// Opens `bad` in a window that shows the second of three entries; the window must look as before.
struct ShownBefore {
    std::wstring path, title, text;
};
ShownBefore showSecondOfThree(TomelWindow& w)
{
    w.app().multiline = false;
    w.open(writeBytes(L"kept.txt", "one\r\ntwo\r\nthree\r\n"));
    SendMessageW(w.window(), WM_COMMAND, CMD_NEXT, 0);
    return {w.app().textFilePath, w.title(), w.text()};
}
}  // namespace

TEST(TextLoading, AnsiFileInParagraphsAndLines)
{
    TomelWindow w;
    const std::wstring path = writeBytes(L"a.txt", "a\r\nb\r\n\r\nc\xe9");
    w.open(path);
    ASSERT_EQ(w.app().entries.size(), 2u);
    EXPECT_EQ(entry(w, 0), L"a\nb\n");
    EXPECT_EQ(entry(w, 1), L"c\u00e9\n");   // the user's code page (1252 here)
    EXPECT_EQ(w.title().rfind(L"a.txt - Tomel | 1/2 | ", 0), 0u) << narrow(w.title());
    EXPECT_EQ(w.text(), L"a\nb\n");
    w.app().multiline = false;
    openTextFile(w.app());
    ASSERT_EQ(w.app().entries.size(), 3u);
    EXPECT_EQ(entry(w, 2), L"c\u00e9\n");
}

TEST(TextLoading, Utf16FileKeepsCarriageReturns)
{
    TomelWindow w;
    w.open(writeBytes(L"u.txt", utf16File(L"\u03b1\u03b2\r\n\r\nx")));
    ASSERT_EQ(w.app().entries.size(), 2u);
    EXPECT_EQ(entry(w, 0), L"\u03b1\u03b2\r\n");
    EXPECT_EQ(entry(w, 1), L"x\n");
    // FF FE 00 00 is still little-endian UTF-16: the NUL is shown as a blank.
    w.open(writeBytes(L"z.txt", std::string("\xFF\xFE\0\0", 4)));
    ASSERT_EQ(w.app().entries.size(), 1u);
    EXPECT_EQ(entry(w, 0), L" \n");
}

TEST(TextLoading, RefusedEncodingsTellTheUserAndKeepTheTextOnShow)
{
    TomelWindow w;
    w.app().multiline = false;
    const std::wstring good = writeBytes(L"good.txt", "one\r\ntwo\r\nthree\r\n");
    w.open(good);
    w.app().currentIndex = 2;
    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* message;
    } cases[] = {
        {"be.txt", std::string("\xFE\xFF\0A", 4), L"Unicode big endian unsupported"},
        {"u8.txt", "\xEF\xBB\xBFhello", L"UTF-8 unsupported"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shownMessages.clear();
        const std::wstring before = w.title();
        rememberShownText(w.app());
        copyToBuffer(w.app().textFilePath, PATH_BUFFER, writeBytes(std::wstring(c.name, c.name + strlen(c.name)), c.bytes));
        openTextFile(w.app());
        ASSERT_EQ(shownMessages.size(), 1u);
        EXPECT_EQ(shownMessages[0].text, c.message);
        EXPECT_EQ(shownMessages[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(std::wstring(w.app().textFilePath), good);
        EXPECT_EQ(w.app().entries.size(), 3u);
        EXPECT_EQ(w.app().currentIndex, 2u);
        EXPECT_EQ(w.title().substr(0, 12), before.substr(0, 12));
    }
    // FE FF followed by anything but a zero byte is ANSI text.
    w.open(writeBytes(L"feff.txt", "\xFE\xFF" "A"));
    ASSERT_EQ(w.app().entries.size(), 1u);
    EXPECT_EQ(entry(w, 0), L"\u00fe\u00ff" L"A\n");
}

TEST(TextLoading, FilesThatCannotBeOpenedShowNoInputFile)
{
    TomelWindow w;
    w.app().multiline = false;
    const std::wstring good = writeBytes(L"good.txt", "one\r\ntwo\r\n");
    w.open(good);
    const std::wstring dir = testDirectory() + L"\\folder.txt";
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring locked = writeBytes(L"locked.txt", "secret\r\n");
    HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    for (const std::wstring& bad : {testDirectory() + L"\\missing.txt", dir, locked}) {
        SCOPED_TRACE(narrow(bad));
        SetWindowTextW(w.app().textControl, L"");
        rememberShownText(w.app());
        copyToBuffer(w.app().textFilePath, PATH_BUFFER, bad);
        openTextFile(w.app());
        EXPECT_EQ(w.text(), L"No input file");
        EXPECT_EQ(std::wstring(w.app().textFilePath), good);
        EXPECT_EQ(w.app().entries.size(), 2u);
        EXPECT_TRUE(shownMessages.empty());
    }
    CloseHandle(lock);
}

TEST(TextLoading, FilesWithoutEntriesShowNoData)
{
    TomelWindow w;
    for (const std::string& bytes : {std::string(), std::string("\xFF\xFE", 2), std::string("\r\n\r\n\n"),
                                     std::string("\xFF\xFE\r\0\n\0", 6)}) {
        SCOPED_TRACE(bytes.size());
        w.open(writeBytes(L"empty.txt", bytes));
        EXPECT_TRUE(w.app().entries.empty());
        EXPECT_EQ(w.text(), L"No data");
        // The title is set after the countdown was armed, and an empty list shows no entry, so the
        // caption is the plain title.
        EXPECT_EQ(w.title(), L"empty.txt - Tomel");
    }
}

TEST(TextLoading, CtrlZEndsAnAnsiFile)
{
    TomelWindow w;
    w.app().multiline = false;
    w.open(writeBytes(L"dos.txt", "a\r\nb\r\n\x1A"));   // the end mark old editors wrote
    ASSERT_EQ(w.app().entries.size(), 2u);
    EXPECT_EQ(entry(w, 1), L"b\n");
}

TEST(TextLoading, OddLengthUtf16DropsTheLoneLastByte)
{
    TomelWindow w;
    w.open(writeBytes(L"odd.txt", std::string("\xFF\xFEh\0i\0!", 7)));
    ASSERT_EQ(w.app().entries.size(), 1u);
    EXPECT_EQ(entry(w, 0), L"hi\n");
}

TEST(TextLoading, NulCharactersDoNotHideTheRestOfTheLine)
{
    TomelWindow w;
    w.open(writeBytes(L"zeros.txt", std::string("ab\0cd\r\n", 7)));
    ASSERT_EQ(w.app().entries.size(), 1u);
    EXPECT_EQ(w.text(), L"ab cd\n");
}

TEST(TextLoading, LongLinesComeInPiecesOf4095)
{
    TomelWindow w;
    std::string line(10000, 'x');
    line += "\r\nend\r\n";
    w.app().multiline = false;
    w.open(writeBytes(L"long.txt", line));
    ASSERT_EQ(w.app().entries.size(), 4u);
    EXPECT_EQ(w.app().entries[0].size(), 4095u);
    EXPECT_EQ(w.app().entries[1].size(), 4095u);
    EXPECT_EQ(entry(w, 2), std::wstring(1810, L'x') + L"\n");
    w.app().multiline = true;
    openTextFile(w.app());
    ASSERT_EQ(w.app().entries.size(), 1u);
    EXPECT_EQ(w.app().entries[0].size(), 10000u + 1 + 4);
    EXPECT_EQ(w.app().entries[0].substr(10000), L"\nend\n");
}

TEST(TextLoading, TenMegabyteLineAndTwoMillionLines)
{
    TomelWindow w;
    std::string big(10u << 20, 'y');
    w.open(writeBytes(L"big.txt", big));
    ASSERT_EQ(w.app().entries.size(), 1u);   // in paragraph mode the pieces join into one entry
    EXPECT_EQ(w.app().entries[0].size(), big.size() + 1);
    EXPECT_EQ(w.text().size(), big.size() + 1);
    w.app().multiline = false;
    openTextFile(w.app());
    EXPECT_EQ(w.app().entries.size(), (big.size() + 4094) / 4095);
    std::string many;
    many.reserve(2000000 * 4);
    for (int i = 0; i < 2000000; ++i) many += "l\r\n";
    w.app().multiline = false;
    w.open(writeBytes(L"many.txt", many));
    EXPECT_EQ(w.app().entries.size(), 2000000u);
    w.app().currentIndex = 1999999;
    SendMessageW(w.window(), WM_COMMAND, 1024, 0);   // Last
    EXPECT_NE(w.title().find(L"| 2000000/2000000"), std::wstring::npos) << narrow(w.title());
}

TEST(TextLoading, BookmarkBeyondTheEndStartsAtTheFirstEntry)
{
    TomelWindow w;
    const std::wstring five = writeBytes(L"five.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n");
    w.app().multiline = false;
    w.app().slide.random = false;
    copyToBuffer(w.app().textFilePath, PATH_BUFFER, five);
    w.app().currentIndex = 7;
    openTextFile(w.app());
    EXPECT_EQ(w.app().currentIndex, 0u);
    w.app().currentIndex = 4;
    openTextFile(w.app());
    EXPECT_EQ(w.app().currentIndex, 4u);
    EXPECT_EQ(w.text(), L"5\n");
}

TEST(TextLoading, LongAndForeignPaths)
{
    TomelWindow w;
    // A name outside the ANSI code page opens through its wide path.
    const std::wstring greek = writeBytes(L"\u03ba\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1.txt", "hello\r\n");
    w.open(greek);
    EXPECT_EQ(w.text(), L"hello\n");
    EXPECT_EQ(w.title().rfind(L"\u03ba\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1.txt - Tomel", 0), 0u);
    // Arguments whose full path does not fit 259 characters are ignored; up to 259 they work.
    const std::wstring before(w.app().textFilePath);
    const std::wstring base = testDirectory() + L"\\";
    for (std::size_t length : {259u, 260u, 300u}) {
        SCOPED_TRACE(length);
        std::wstring path = base + std::wstring(length - base.size() - 4, L'p') + L".txt";
        ASSERT_EQ(path.size(), length);
        if (length == 259) writeBytes(path, "long name\r\n");
        copyToBuffer(w.app().textFilePath, PATH_BUFFER, before);
        w.open(path);
        if (length == 259) {
            EXPECT_EQ(std::wstring(w.app().textFilePath), path);
            EXPECT_EQ(w.text(), L"long name\n");
        } else {
            EXPECT_EQ(std::wstring(w.app().textFilePath), before);
        }
    }
}

TEST(TextLoading, DroppedFiles)
{
    TomelWindow w;
    const std::wstring first = writeBytes(L"first.txt", "first\r\n");
    const std::wstring second = writeBytes(L"second.txt", "second\r\n");
    w.app().currentIndex = 3;
    w.drop({first, second});
    EXPECT_EQ(std::wstring(w.app().textFilePath), first);
    EXPECT_EQ(w.text(), L"first\n");
    EXPECT_EQ(w.app().currentIndex, 0u);
    // A name ending in ".INI" is a text file: the test is case-sensitive.
    const std::wstring upper = writeBytes(L"notes.INI", "upper\r\n");
    w.drop({upper});
    EXPECT_EQ(w.text(), L"upper\n");
    // ".ini" is a settings file: the text stays, the settings path follows.
    const std::wstring settings = writeBytes(L"other.ini", "\xFF\xFE");
    w.drop({settings});
    EXPECT_EQ(std::wstring(w.app().settingsPath), settings);
    EXPECT_EQ(std::wstring(w.app().textFilePath), upper);
    // A refused drop goes back to the file before it, which stays loaded.
    const std::wstring be = writeBytes(L"be.txt", std::string("\xFE\xFF\0x", 4));
    w.drop({be});
    EXPECT_EQ(std::wstring(w.app().textFilePath), upper);
    EXPECT_EQ(w.app().entries.size(), 1u);
    EXPECT_EQ(w.app().currentIndex, 0u);
}

TEST(TextLoading, ADropWithoutAFileNameShowsNoInputFileAndKeepsTheText)
{
    TomelWindow w;
    const ShownBefore before = showSecondOfThree(w);
    w.drop({});
    EXPECT_EQ(w.text(), L"No input file");
    EXPECT_EQ(std::wstring(w.app().textFilePath), before.path);
    EXPECT_EQ(w.app().entries.size(), 3u);
    EXPECT_EQ(w.app().currentIndex, 1u);   // a refusal keeps the bookmark
    EXPECT_EQ(w.title(), before.title);
}

namespace {
bool runOpenFile(TomelWindow& w, const std::wstring& answer) { return answerFileDialog(w, 1081, L"Open", answer); }
}  // namespace

TEST(TextLoading, OpenFileDialog)
{
    TomelWindow w;
    App& app = w.app();
    const std::wstring before(app.textFilePath);
    // Cancelled: nothing changes, and the slideshow timer runs again.
    ASSERT_TRUE(runOpenFile(w, L""));
    EXPECT_EQ(std::wstring(app.textFilePath), before);
    EXPECT_FALSE(app.timer.timerSuspended);
    // A text file opens from its first entry.
    const std::wstring text = writeBytes(L"chosen.txt", "chosen\r\n\r\nsecond\r\n");
    app.currentIndex = 1;
    ASSERT_TRUE(runOpenFile(w, text));
    EXPECT_EQ(std::wstring(app.textFilePath), text);
    EXPECT_EQ(std::wstring(app.previousTextPath), before);
    EXPECT_EQ(w.text(), L"chosen\n");
    // A settings file is loaded into the running window; the text follows what it stores.
    const std::wstring ini = writeBytes(L"chosen.ini", utf16File(L"[Settings]\r\nbookmark=1\r\n"));
    ASSERT_TRUE(runOpenFile(w, ini));
    EXPECT_EQ(std::wstring(app.settingsPath), ini);
    EXPECT_EQ(std::wstring(app.textFilePath), text);
    EXPECT_EQ(w.text(), L"second\n");
}

TEST(TextLoading, UnusableArgumentsAreIgnored)
{
    TomelWindow w;
    const std::wstring before(w.app().textFilePath);
    w.app().currentIndex = 1;
    std::wstring empty, blanks = L"    ", option = L"-unknown";
    wchar_t arg0[] = L"tomel.exe";
    wchar_t* args[] = {arg0, &empty[0], &blanks[0], &option[0]};
    handleArguments(w.app(), args, 4);
    EXPECT_EQ(std::wstring(w.app().textFilePath), before);
    EXPECT_EQ(w.app().currentIndex, 1u);
    // A relative name with trailing blanks is resolved against the current folder.
    const std::wstring file = writeBytes(L"relative.txt", "rel\r\n");
    wchar_t saved[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, saved);
    SetCurrentDirectoryW(testDirectory().c_str());
    w.open(L"relative.txt  ");
    SetCurrentDirectoryW(saved);
    EXPECT_EQ(std::wstring(w.app().textFilePath), file);
    EXPECT_EQ(w.text(), L"rel\n");
}

TEST(TextLoading, TooLargeForTheMemoryTellsTheUserAndKeepsTheTextOnShow)
{
    ProgramOutOfMemoryHandler handler;
    TomelWindow w;
    struct Case {
        const char* name;
        std::wstring path;
        EntryAllocator allocator;
    } cases[] = {
        // More characters than the list can index, on either build: refused from its size at once.
        {"64 GiB", sparseFile(L"huge.txt", 64ll << 30), systemAllocator()},
        // Small enough to try, but its two megabytes of characters are refused by the allocator.
        {"refused memory", writeBytes(L"large.txt", std::string(1u << 20, 'x')), {allocateUpToAMegabyte, releaseBlock}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.app().entries = EntryList(c.allocator);
        const ShownBefore before = showSecondOfThree(w);
        shownMessages.clear();
        w.drop({c.path});
        ASSERT_EQ(shownMessages.size(), 1u);
        EXPECT_EQ(shownMessages[0].text, L"Out Of Memory");
        EXPECT_EQ(shownMessages[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(std::wstring(w.app().textFilePath), before.path);
        EXPECT_EQ(w.app().entries.size(), 3u);
        EXPECT_EQ(w.title(), before.title);
        EXPECT_EQ(w.text(), before.text);
        SendMessageW(w.window(), WM_COMMAND, CMD_NEXT, 0);   // and the program goes on
        EXPECT_EQ(w.text(), L"three\n");
    }
    DeleteFileW(cases[0].path.c_str());
}

TEST(TextLoading, ABlockThatCannotBeDecodedLoadsNothing)
{
    TomelWindow w;
    const ShownBefore before = showSecondOfThree(w);
    // Three blocks of lines, the second of which the code page cannot decode.
    std::string lines;
    while (lines.size() < (3u << 20)) lines += "a line of text\r\n";
    const std::wstring path = writeBytes(L"undecodable.txt", lines);
    static int calls;
    calls = 0;
    ansiDecoder = [](UINT cp, const char* bytes, int count, wchar_t* out, int room) {
        return ++calls == 2 ? 0 : MultiByteToWideChar(cp, 0, bytes, count, out, room);
    };
    w.drop({path});
    ansiDecoder = [](UINT cp, const char* bytes, int count, wchar_t* out, int room) {
        return MultiByteToWideChar(cp, 0, bytes, count, out, room);
    };
    EXPECT_GE(calls, 2);
    EXPECT_EQ(w.text(), L"No input file");   // as for a file that cannot be read
    EXPECT_EQ(std::wstring(w.app().textFilePath), before.path);
    EXPECT_EQ(w.app().entries.size(), 3u);
    EXPECT_EQ(w.title(), before.title);
    EXPECT_TRUE(shownMessages.empty());
}
