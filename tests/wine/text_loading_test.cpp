// Opening text files in the real window: reading the code page, UTF-16 and UTF-8, drops, and
// refusals that keep the text on show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "core/app/commands.h"
#include "harness.h"
#include "shell/app/app_info_win.h"
#include "shell/app/platform_win.h"
#include "shell/text/text_loader_win.h"

namespace {
// Refuses every block over a megabyte, as a machine short of memory would.
void* allocateUpToAMegabyte(std::size_t bytes) { return bytes > (1u << 20) ? nullptr : std::malloc(bytes); }
void releaseBlock(void* block) { std::free(block); }

int decoderCalls;
int WINAPI failSecondBlock(UINT cp, DWORD flags, LPCCH bytes, int count, LPWSTR out, int room)
{
    return ++decoderCalls == 2 ? 0 : MultiByteToWideChar(cp, flags, bytes, count, out, room);
}

// A machine with a megabyte of address space left, and room to commit.
BOOL WINAPI aMegabyteLeft(LPMEMORYSTATUSEX status)
{
    status->ullAvailVirtual = 1ull << 20, status->ullAvailPageFile = 1ull << 40;
    return TRUE;
}

std::wstring sparseFile(const wchar_t* name, long long bytes)
{
    const std::wstring path = writeBytes(name, "");
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = bytes;
    SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    return path;
}
}  // namespace

// The first of the dropped files is read: in the code page, or as UTF-16; with UTF-8 Text on, as UTF-8
// with its mark, and without it when it is valid UTF-8. Switching the extra reads the text again.
TEST(TextLoading, TheFirstDroppedFileIsReadInTheCodePageAsUtf16OrAsUtf8)
{
    TomelWindow w;
    const std::wstring second = writeBytes(L"second.txt", "second\r\n");
    const struct { std::string bytes; bool utf8; const wchar_t* shown; } cases[] = {
        {"caf\xe9\r\n", false, L"caf\u00e9\n"},                          // the user's code page (1252 here)
        {utf16File(L"\u03b1\u03b2") + "!", false, L"\u03b1\u03b2\n"},   // a lone last byte is no character
        {"\xEF\xBB\xBF" "caf\xC3\xA9\r\n", true, L"caf\u00E9\n"},
        {"caf\xC3\xA9\r\n", true, L"caf\u00E9\n"},
    };
    for (const auto& c : cases) {
        w.app().utf8Text = c.utf8;
        w.drop({writeBytes(L"first.txt", c.bytes), second});
        EXPECT_EQ(w.text(), c.shown);
    }
    for (const wchar_t* shown : {L"caf\u00C3\u00A9\n", L"caf\u00E9\n"}) {   // the extra off, and on again
        w.command(CMD_UTF8_TEXT);
        EXPECT_EQ(w.text(), shown);
    }
    // A UTF-16 text of more than one read block is read to its end.
    w.app().multiline = false;
    std::wstring many;
    while (many.size() < (1u << 20)) many += L"an entry\r\n";
    w.drop({writeBytes(L"long16.txt", utf16File(many + L"last"))});
    w.command(CMD_LAST);
    EXPECT_EQ(w.text(), L"last\n");
}

TEST(TextLoading, RefusalsKeepTheTextOnShowAndItsBookmark)
{
    std::new_handler before = std::set_new_handler([] { onOutOfMemory(); });   // as the program installs it
    std::string lines;
    while (lines.size() < (3u << 20)) lines += "a line of text\r\n";
    const struct {
        const char* name;
        std::vector<std::wstring> dropped;
        std::vector<std::wstring> told;   // none: "No input file" on show
        EntryAllocator allocator = {nullptr, nullptr};
        decltype(platform.multiByteToWideChar) decoder = nullptr;
        decltype(platform.globalMemoryStatus) memory = Platform().globalMemoryStatus;
    } cases[] = {
        {"a drop that names no file", {}, {}},
        {"a block that cannot be decoded", {writeBytes(L"undecodable.txt", lines)}, {}, {}, failSecondBlock},
        {"UTF-8 with its mark, UTF-8 Text off", {writeBytes(L"marked.txt", "\xEF\xBB\xBFx\r\n")}, {L"UTF-8 unsupported"}},
        // More characters than the list can index, on either build: refused from its size at once.
        {"64 GiB", {sparseFile(L"huge.txt", 64ll << 30)}, {L"Out Of Memory"}},
        // Small enough to try, but its two megabytes of characters are refused by the allocator.
        {"refused memory", {writeBytes(L"large.txt", std::string(1u << 20, 'x'))}, {L"Out Of Memory"},
         {allocateUpToAMegabyte, releaseBlock}},
        {"more than the memory at hand", {writeBytes(L"large.txt", std::string(1u << 20, 'x'))}, {L"Out Of Memory"}, {}, {},
         aMegabyteLeft},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TomelWindow w;
        w.app().multiline = false;
        EntryList withAllocator(c.allocator.allocate ? c.allocator : systemAllocator());
        w.app().entries.swap(withAllocator);
        const std::wstring good = writeBytes(L"kept.txt", "one\r\ntwo\r\nthree\r\n");
        w.drop({good});
        w.command(CMD_NEXT);
        const std::wstring title = w.title();
        shownMessages.clear();
        decoderCalls = 0;
        if (c.decoder) platform.multiByteToWideChar = c.decoder;
        platform.globalMemoryStatus = c.memory;
        w.drop(c.dropped);
        platform.multiByteToWideChar = Platform().multiByteToWideChar, platform.globalMemoryStatus = Platform().globalMemoryStatus;
        EXPECT_GE(decoderCalls, c.decoder ? 2 : 0);   // the failure came after a block was read
        EXPECT_EQ(std::make_tuple(shownMessages, w.text(), std::wstring(w.app().textFilePath), w.app().currentIndex, w.title()),
                  std::make_tuple(c.told, c.told.empty() ? L"No input file" : L"two\n", good, 1u, title));
        w.command(CMD_NEXT);   // and the old text goes on
        EXPECT_EQ(w.text(), L"three\n");
    }
    DeleteFileW((testDirectory() + L"\\huge.txt").c_str());
    std::set_new_handler(before);
}
