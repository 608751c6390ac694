// Splitting text into entries: lines, paragraphs, blank lines, pieces, line ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/text/entries.h"

namespace {

std::vector<std::wstring> split(const std::wstring& text, TextFlavor flavor, bool multiline)
{
    EntryList list;
    splitText(list, text, flavor, multiline);
    std::vector<std::wstring> out;
    for (std::size_t i = 0; i < list.size(); ++i) out.emplace_back(list[i]);
    return out;
}

using V = std::vector<std::wstring>;

std::wstring utf8(const std::string& s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

TEST(EntrySplitter, AnsiLinesAndParagraphs)
{
    struct Case {
        const char* name;
        std::wstring text;
        bool multiline;
        V expected;
    } cases[] = {
        {"blank between, no end", L"a\r\n\r\nb", false, {L"a\n", L"b\n"}},
        {"blank between, no end, paragraphs", L"a\r\n\r\nb", true, {L"a\n", L"b\n"}},
        {"paragraph", L"a\r\nb\r\n\r\nc\r\n", true, {L"a\nb\n", L"c\n"}},
        {"lines", L"a\r\nb\r\n\r\nc\r\n", false, {L"a\n", L"b\n", L"c\n"}},
        {"several blank lines", L"\r\n\r\na\n\n\n\nb\n\n", true, {L"a\n", L"b\n"}},
        {"a line of spaces is not blank", L"a\n \nb\n", true, {L"a\n \nb\n"}},
        {"lone carriage return stays", L"a\rb\r\n", false, {L"a\rb\n"}},
        {"CR CR LF", L"a\r\r\nb", false, {L"a\r\n", L"b\n"}},
        {"trailing CR at the end", L"a\r", false, {L"a\r\n"}},
        {"only blank lines", L"\r\n\n\r\n", true, {}},
        {"empty", L"", false, {}},
        {"NUL becomes a blank", std::wstring(L"ab\0cd\n", 6), false, {L"ab cd\n"}},
        {"tab is text", L"\t\n", false, {L"\t\n"}},
        {"other control characters are text", L"\x1B\x19\x0E\n", false, {L"\x1B\x19\x0E\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(split(c.text, TextFlavor::Ansi, c.multiline), c.expected);
    }
}

TEST(EntrySplitter, Utf16BlankLinesAreCarriageReturnLineFeed)
{
    // With line feeds only, no line is blank: each empty line is an entry of its own.
    EXPECT_EQ(split(L"a\n\nb\n", TextFlavor::Utf16, false), (V{L"a\n", L"\n", L"b\n"}));
    EXPECT_EQ(split(L"a\n\nb\n", TextFlavor::Utf16, true), (V{L"a\n\nb\n"}));
    EXPECT_EQ(split(L"a\r\nb\r\n\r\nc", TextFlavor::Utf16, true), (V{L"a\r\nb\r\n", L"c\n"}));
    EXPECT_EQ(split(L"a\r\nb\r\n\r\nc", TextFlavor::Utf16, false), (V{L"a\r\n", L"b\r\n", L"c\n"}));
    // Carriage returns are not translated.
    EXPECT_EQ(split(L"x\r\r\n", TextFlavor::Utf16, false), (V{L"x\r\r\n"}));
}

TEST(EntrySplitter, LongLinesArriveInPiecesOf4095)
{
    const std::wstring line(10000, L'x');
    const V lines = split(line + L"\r\n", TextFlavor::Ansi, false);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::wstring(4095, L'x'));   // no line feed: only the last piece has it
    EXPECT_EQ(lines[1], std::wstring(4095, L'x'));
    EXPECT_EQ(lines[2], std::wstring(1810, L'x') + L"\n");
    const V paragraph = split(line + L"\r\nnext\r\n", TextFlavor::Ansi, true);
    ASSERT_EQ(paragraph.size(), 1u);
    EXPECT_EQ(paragraph[0], line + L"\nnext\n");
    // In a UTF-16 file every piece gets its own line feed.
    const V wide = split(line + L"\r\n", TextFlavor::Utf16, false);
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[0], std::wstring(4095, L'x') + L"\n");
    EXPECT_EQ(wide[2], std::wstring(1810, L'x') + L"\r\n");
    // A line of exactly 4095 characters leaves its line feed as a piece of its own, which reads as
    // a blank line and so ends a paragraph.
    const std::wstring exact(4095, L'y');
    EXPECT_EQ(split(exact + L"\nz\n", TextFlavor::Ansi, true), (V{exact, L"z\n"}));
}

TEST(EntrySplitter, FeedingInBlocksGivesTheSameEntries)
{
    std::wstring text;
    for (int i = 0; i < 300; ++i) text += (i % 7 == 0 ? L"\r\n" : std::wstring(i * 37 % 5000, L'a' + i % 26) + L"\r\n");
    for (bool multiline : {false, true})
        for (TextFlavor flavor : {TextFlavor::Ansi, TextFlavor::Utf16}) {
            EntryList whole;
            splitText(whole, text, flavor, multiline);
            for (std::size_t block : {1u, 2u, 3u, 4095u, 4096u, 65536u}) {
                SCOPED_TRACE(block);
                EntryList pieces;
                EntrySplitter s(pieces, flavor, multiline);
                for (std::size_t at = 0; at < text.size(); at += block)
                    s.feed(text.data() + at, std::min(block, text.size() - at));
                s.finish();
                ASSERT_EQ(pieces.size(), whole.size());
                for (std::size_t i = 0; i < whole.size(); ++i) ASSERT_EQ(pieces[i], whole[i]);
            }
        }
}

TEST(EntryList, KeepsItsStorageAndFitsItsReservation)
{
    EntryList list;
    const std::wstring text = L"one\ntwo\n\nthree";
    ASSERT_TRUE(list.resetFor(charactersNeeded(text.size(), TextFlavor::Ansi)));
    const std::size_t capacity = list.capacity();
    EntrySplitter s(list, TextFlavor::Ansi, false);
    s.feed(text.data(), text.size());
    s.finish();
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.capacity(), capacity);   // the bound held: no reallocation while loading
    ASSERT_TRUE(list.resetFor(10));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.capacity(), capacity);
    // A much smaller load gives back a far larger buffer.
    ASSERT_TRUE(list.resetFor(5u << 20));
    ASSERT_TRUE(list.resetFor(100));
    EXPECT_EQ(list.capacity(), 100u);
}

TEST(ByteOrderMarks, AreClassifiedByTheirFirstBytes)
{
    struct Case {
        std::string bytes;
        ByteOrderMark expected;
    } cases[] = {
        {"\xFF\xFE", ByteOrderMark::Utf16Le},
        {std::string("\xFF\xFE\0\0", 4), ByteOrderMark::Utf16Le},
        {std::string("\xFE\xFF\0", 3), ByteOrderMark::Utf16Be},
        {"\xFE\xFF" "A", ByteOrderMark::None},
        {"\xFE\xFF", ByteOrderMark::None},
        {"\xEF\xBB\xBF", ByteOrderMark::Utf8},
        {"\xEF\xBB", ByteOrderMark::None},
        {"\xFF", ByteOrderMark::None},
        {"", ByteOrderMark::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        EXPECT_EQ(classifyByteOrderMark(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size()),
                  c.expected);
    }
}

TEST(AnsiBlocks, CtrlZEndsTextAndDoubleByteCharactersAreNotSplit)
{
    // Ctrl+Z ends ANSI text (also when it arrives in a later block); in UTF-16 it is a character.
    EXPECT_EQ(split(L"ab\ncd\x1A" L"ef\ngh", TextFlavor::Ansi, false), (V{L"ab\n", L"cd\n"}));
    EXPECT_EQ(split(L"ab\x1A", TextFlavor::Utf16, false), (V{L"ab\x1A\n"}));
    {
        EntryList list;
        EntrySplitter s(list, TextFlavor::Ansi, false);
        EXPECT_TRUE(s.feed(L"one\n", 4));
        EXPECT_FALSE(s.feed(L"\x1A" L"two\n", 5));
        EXPECT_TRUE(s.stopped());
        s.feed(L"three\n", 6);   // nothing after the end mark is taken
        s.finish();
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0], L"one\n");
    }
    auto lead = [](unsigned char b) { return b >= 0x81 && b <= 0x9F; };   // as in a double-byte code page
    bool (*isLead)(unsigned char) = lead;
    EXPECT_EQ(decodableLength("ab\ncd", 5, false, isLead), 3u);       // up to the last line feed
    EXPECT_EQ(decodableLength("ab\x81", 3, false, isLead), 2u);       // a lead byte waits for its trail
    EXPECT_EQ(decodableLength("a\x81xb", 4, false, isLead), 4u);
    EXPECT_EQ(decodableLength("ab\x81", 3, true, isLead), 3u);        // at the end everything goes
    EXPECT_EQ(utf8("x"), L"x");
}

TEST(AnsiBlocks, ReservationBoundsTheCharacters)
{
    EXPECT_EQ(charactersNeeded(100, TextFlavor::Ansi), 101u);
    EXPECT_EQ(charactersNeeded(2, TextFlavor::Utf16), 2u);
    EXPECT_EQ(charactersNeeded(2 + 2 * 8190, TextFlavor::Utf16), 8190u + 2 + 2);
}

TEST(EntryList, ManyEntriesAcrossOffsetChunks)
{
    std::wstring text;
    const std::size_t n = 200000;   // more than three chunks of offsets
    for (std::size_t i = 0; i < n; ++i) text += std::to_wstring(i) + L"\r\n";
    text += L"last";
    EntryList list;
    splitText(list, text, TextFlavor::Ansi, false);
    ASSERT_EQ(list.size(), n + 1);
    for (std::size_t i : {std::size_t(0), std::size_t(65535), std::size_t(65536), std::size_t(131072), n - 1})
        EXPECT_EQ(list[i], std::to_wstring(i) + L"\n") << i;
    EXPECT_EQ(list[n], L"last\n");   // the line feed added to the last entry, in the last chunk
    // Cleared and reused: the same storage serves a smaller list.
    splitText(list, L"a\nb\n", TextFlavor::Ansi, false);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1], L"b\n");
}

namespace {
// Refuses every block over `refuseAbove` bytes, as a machine short of memory would.
std::size_t refuseAbove = 0;
void* limitedAllocate(std::size_t bytes) { return bytes > refuseAbove ? nullptr : std::malloc(bytes); }
void limitedRelease(void* block) { std::free(block); }
}  // namespace

TEST(EntryList, MemoryItCannotHaveIsReportedAndTheListKept)
{
    refuseAbove = 300u << 10;   // room for a chunk of 65536 entry offsets
    EntryList list({limitedAllocate, limitedRelease});
    splitText(list, L"one\ntwo\n", TextFlavor::Ansi, false);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_FALSE(list.resetFor(1u << 20));
    EXPECT_FALSE(list.reserve(1u << 20));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1], L"two\n");
    // A chunk of entry offsets that cannot be had stops the splitter; it never ends the program.
    refuseAbove = 1024;
    EntryList tight({limitedAllocate, limitedRelease});
    EntrySplitter s(tight, TextFlavor::Ansi, false);
    EXPECT_FALSE(s.feed(L"a\nb\n", 4));
    EXPECT_TRUE(s.failed());
}

TEST(AnsiBlocks, ATextThatCannotFitIsRefusedFromItsSize)
{
    const std::uint64_t unlimited = ~std::uint64_t(0);
    struct Case {
        const char* name;
        std::uint64_t bytes;
        TextFlavor flavor;
        std::uint64_t available;
        bool fits;
    } cases[] = {
        {"64 GiB, any memory", 64ull << 30, TextFlavor::Ansi, unlimited, false},
        {"64 GiB UTF-16, any memory", 64ull << 30, TextFlavor::Utf16, unlimited, false},
        {"5 GiB ANSI is more characters than the list indexes", 5ull << 30, TextFlavor::Ansi, unlimited, false},
        {"5 GiB UTF-16 is fewer", 5ull << 30, TextFlavor::Utf16, unlimited, true},
        {"1 MB in 8 MB", 1u << 20, TextFlavor::Ansi, 8u << 20, true},
        {"1 MB in 1 MB", 1u << 20, TextFlavor::Ansi, 1u << 20, false},
        {"empty file, no memory to spare", 0, TextFlavor::Ansi, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(textCanFit(c.bytes, c.flavor, c.available), c.fits);
    }
    // Exactly the storage of the reservation fits; a byte less does not.
    for (TextFlavor flavor : {TextFlavor::Ansi, TextFlavor::Utf16}) {
        const std::uint64_t need = charactersNeeded(1000, flavor) * sizeof(wchar_t);
        EXPECT_TRUE(textCanFit(1000, flavor, need));
        EXPECT_FALSE(textCanFit(1000, flavor, need - 1));
    }
}
