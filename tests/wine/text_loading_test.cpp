// Opening text files in the real window: encodings, refusals that keep what is on show, bad input,
// drops and the Open dialog.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "core/app/commands.h"
#include "harness.h"
#include "main/startup_win.h"
#include "shell/app/app_info_win.h"
#include "shell/text/text_loader_win.h"

namespace {
// Every entry, each followed by "|".
std::wstring entries(const TomelWindow& w)
{
    std::wstring all;
    for (std::size_t i = 0; i < w.app().entries.size(); ++i) all += std::wstring(w.app().entries[i]) + L"|";
    return all;
}

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

int decoderCalls;
int failSecondBlock(UINT cp, const char* bytes, int count, wchar_t* out, int room)
{
    return ++decoderCalls == 2 ? 0 : MultiByteToWideChar(cp, 0, bytes, count, out, room);
}
}  // namespace

TEST(TextLoading, EncodingsAndSplitting)
{
    TomelWindow w;
    const struct {
        std::string bytes;
        const wchar_t* entries;
    } cases[] = {
        {"a\r\nb\r\n\r\nc\xe9", L"a\nb\n|c\u00e9\n|"},   // the user's code page (1252 here)
        {utf16File(L"\u03b1\u03b2\r\n\r\nx"), L"\u03b1\u03b2\r\n|x\n|"},   // UTF-16 keeps CR
        {std::string("\xFF\xFE\0\0", 4), L" \n|"},      // still UTF-16 LE; the NUL shown as a blank
        {std::string("\xFF\xFEh\0i\0!", 7), L"hi\n|"},   // the lone last byte dropped
        {std::string("ab\0cd\r\n", 7), L"ab cd\n|"},     // a NUL does not hide the rest
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(narrow(c.entries));
        w.open(writeBytes(L"enc.txt", c.bytes));
        EXPECT_EQ(entries(w), c.entries);
        EXPECT_EQ(w.text() + L"|", std::wstring(w.app().entries[0]) + L"|");
    }
    for (const std::string& bytes : {std::string(), std::string("\xFF\xFE", 2), std::string("\r\n\r\n\n"),
                                     std::string("\xFF\xFE\r\0\n\0", 6)}) {
        SCOPED_TRACE(bytes.size());
        w.open(writeBytes(L"empty.txt", bytes));
        EXPECT_TRUE(w.app().entries.empty());
        EXPECT_EQ(w.text(), L"No data");
        EXPECT_EQ(w.title(), L"empty.txt - Tomel");
    }
}

TEST(TextLoading, RefusalsKeepTheTextOnShowAndItsBookmark)
{
    std::new_handler before = std::set_new_handler([] { onOutOfMemory(); });   // as the program installs it
    const std::wstring folder = testDirectory() + L"\\folder.txt";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring locked = writeBytes(L"locked.txt", "secret\r\n");
    HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string lines;
    while (lines.size() < (3u << 20)) lines += "a line of text\r\n";
    const struct {
        const char* name;
        std::vector<std::wstring> dropped;
        const wchar_t* message;   // nullptr: none, and "No input file" on show
        EntryAllocator allocator = {nullptr, nullptr};
        bool decodeFails = false;
    } cases[] = {
        {"big endian", {writeBytes(L"be.txt", std::string("\xFE\xFF\0A", 4))}, L"Unicode big endian unsupported"},
        {"UTF-8", {writeBytes(L"u8.txt", "\xEF\xBB\xBFhello")}, L"UTF-8 unsupported"},
        {"missing", {testDirectory() + L"\\missing.txt"}, nullptr},
        {"a folder", {folder}, nullptr},
        {"locked", {locked}, nullptr},
        {"an empty drop", {}, nullptr},
        {"a block that cannot be decoded", {writeBytes(L"undecodable.txt", lines)}, nullptr, {}, true},
        // More characters than the list can index, on either build: refused from its size at once.
        {"64 GiB", {sparseFile(L"huge.txt", 64ll << 30)}, L"Out Of Memory"},
        // Small enough to try, but its two megabytes of characters are refused by the allocator.
        {"refused memory", {writeBytes(L"large.txt", std::string(1u << 20, 'x'))}, L"Out Of Memory",
         {allocateUpToAMegabyte, releaseBlock}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TomelWindow w;
        w.app().multiline = false;
        if (c.allocator.allocate) w.app().entries = EntryList(c.allocator);
        const std::wstring good = writeBytes(L"kept.txt", "one\r\ntwo\r\nthree\r\n");
        w.open(good);
        w.command(CMD_NEXT);
        const std::wstring title = w.title();
        shownMessages.clear();
        decoderCalls = 0;
        const AnsiDecoder decoder = ansiDecoder;
        if (c.decodeFails) ansiDecoder = failSecondBlock;
        w.drop(c.dropped);
        ansiDecoder = decoder;
        if (c.decodeFails) {
            EXPECT_GE(decoderCalls, 2);
        }
        if (c.message) {
            ASSERT_EQ(shownMessages.size(), 1u);
            EXPECT_EQ(shownMessages[0].text, c.message);
            EXPECT_EQ(shownMessages[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
            EXPECT_EQ(w.text(), L"two\n");
        } else {
            EXPECT_TRUE(shownMessages.empty());
            EXPECT_EQ(w.text(), L"No input file");
        }
        EXPECT_EQ(std::wstring(w.app().textFilePath), good);
        EXPECT_EQ(entries(w), L"one\n|two\n|three\n|");
        EXPECT_EQ(w.app().currentIndex, 1u);
        EXPECT_EQ(w.title(), title);
        w.command(CMD_NEXT);   // and the program goes on
        EXPECT_EQ(w.text(), L"three\n");
    }
    CloseHandle(lock);
    DeleteFileW((testDirectory() + L"\\huge.txt").c_str());
    std::set_new_handler(before);
}

TEST(TextLoading, BookmarkBeyondTheEndStartsAtTheFirstEntry)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    copyToBuffer(app.textFilePath, PATH_BUFFER, writeBytes(L"five.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n"));
    for (std::uint32_t bookmark : {7u, 4u}) {
        SCOPED_TRACE(bookmark);
        app.currentIndex = bookmark;
        openTextFile(app);
        EXPECT_EQ(app.currentIndex, bookmark < 5 ? bookmark : 0u);
    }
    EXPECT_EQ(w.text(), L"5\n");
}

TEST(TextLoading, PathsAndArguments)
{
    TomelWindow w;
    App& app = w.app();
    // Arguments whose full path does not fit 259 characters are ignored; up to 259 they work.
    const std::wstring before(app.textFilePath), shown = w.text(), base = testDirectory() + L"\\";
    for (std::size_t length : {259u, 260u, 300u}) {
        SCOPED_TRACE(length);
        const std::wstring path = base + std::wstring(length - base.size() - 4, L'p') + L".txt";
        if (length == 259) writeBytes(path, "long name\r\n");
        copyToBuffer(app.textFilePath, PATH_BUFFER, before);
        w.open(path);
        EXPECT_EQ(std::wstring(app.textFilePath), length == 259 ? path : before);
        EXPECT_EQ(w.text(), length == 259 ? L"long name\n" : shown);
    }
    // Empty, blank and unknown arguments change nothing.
    std::wstring empty, blanks = L"    ", option = L"-unknown";
    wchar_t arg0[] = L"tomel.exe";
    wchar_t* args[] = {arg0, &empty[0], &blanks[0], &option[0]};
    handleArguments(app, args, 4);
    EXPECT_EQ(std::wstring(app.textFilePath), before);
}

TEST(TextLoading, DroppedFiles)
{
    TomelWindow w;
    App& app = w.app();
    const std::wstring first = writeBytes(L"first.txt", "first\r\n"), upper = writeBytes(L"notes.INI", "upper\r\n"),
                       settings = writeBytes(L"other.ini", "\xFF\xFE");
    const struct {
        std::vector<std::wstring> dropped;
        std::wstring text, settings;
    } steps[] = {
        {{first, writeBytes(L"second.txt", "second\r\n")}, first, L""},   // the first of several
        {{upper}, upper, L""},                 // ".INI": a text file, the test is case-sensitive
        {{settings}, upper, settings},         // ".ini": the settings path follows, the text stays
    };
    app.currentIndex = 3;
    for (const auto& s : steps) {
        SCOPED_TRACE(narrow(s.text));
        w.drop(s.dropped);
        EXPECT_EQ(std::wstring(app.textFilePath), s.text);
        EXPECT_EQ(app.currentIndex, 0u);
        if (!s.settings.empty()) {
            EXPECT_EQ(std::wstring(app.settingsPath), s.settings);
        }
    }
    EXPECT_EQ(w.text(), L"upper\n");
}

TEST(TextLoading, OpenFileDialog)
{
    TomelWindow w;
    App& app = w.app();
    const std::wstring before(app.textFilePath);
    // Cancelled: nothing changes, and the slideshow timer runs again.
    ASSERT_TRUE(answerFileDialog(w, CMD_OPEN_FILE, L"Open", L""));
    EXPECT_EQ(std::wstring(app.textFilePath), before);
    EXPECT_FALSE(app.timer.timerSuspended);
    // A text file opens from its first entry.
    const std::wstring text = writeBytes(L"chosen.txt", "chosen\r\n\r\nsecond\r\n");
    app.currentIndex = 1;
    ASSERT_TRUE(answerFileDialog(w, CMD_OPEN_FILE, L"Open", text));
    EXPECT_EQ(std::wstring(app.previousTextPath), before);
    EXPECT_EQ(w.text(), L"chosen\n");
    // A settings file is loaded into the running window; the text follows what it stores.
    const std::wstring ini = writeBytes(L"chosen.ini", utf16File(L"[Settings]\r\nbookmark=1\r\n"));
    ASSERT_TRUE(answerFileDialog(w, CMD_OPEN_FILE, L"Open", ini));
    EXPECT_EQ(std::wstring(app.settingsPath), ini);
    EXPECT_EQ(std::wstring(app.textFilePath), text);
    EXPECT_EQ(w.text(), L"second\n");
}
