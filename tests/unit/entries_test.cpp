// Splitting text into entries: lines, paragraphs, blank lines, pieces, line ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/text/entries.h"

namespace {

using V = std::vector<std::wstring>;
constexpr TextFlavor ANSI = TextFlavor::Ansi, UTF16 = TextFlavor::Utf16;

// The entries of `text` fed in blocks of `block` characters, as the loader feeds a file.
V split(const std::wstring& text, TextFlavor flavor, bool multiline, std::size_t block = 1u << 20)
{
    EntryList list;
    EntrySplitter s(list, flavor, multiline);
    for (std::size_t at = 0; at < text.size(); at += block) s.feed(text.data() + at, std::min(block, text.size() - at));
    s.finish();
    V out;
    for (std::size_t i = 0; i < list.size(); ++i) out.emplace_back(list[i]);
    return out;
}

TEST(Entries, LinesAndParagraphs)
{
    const std::wstring y4094(4094, L'y'), y4095(4095, L'y'), y4096(4096, L'y');
    struct Case { std::wstring text; TextFlavor flavor; bool multiline; V expected; };
    const Case cases[] = {
        {L"a\r\n\r\nb", ANSI, false, {L"a\n", L"b\n"}},  {L"a\r\n\r\nb", ANSI, true, {L"a\n", L"b\n"}},
        {L"a\r\nb\r\n\r\nc\r\n", ANSI, true, {L"a\nb\n", L"c\n"}}, {L"\r\n\r\na\n\n\n\nb\n\n", ANSI, true, {L"a\n", L"b\n"}},
        {L"a\n \nb\n", ANSI, true, {L"a\n \nb\n"}},  // a line of spaces is not blank
        {L"a\rb\r\n", ANSI, false, {L"a\rb\n"}}, {L"a\r\r\nb", ANSI, false, {L"a\r\n", L"b\n"}}, {L"a\r", ANSI, false, {L"a\r\n"}},
        {L"\r\n\n\r\n", ANSI, true, {}}, {L"", ANSI, false, {}}, {std::wstring(L"ab\0cd\n", 6), ANSI, false, {L"ab cd\n"}},
        {L"\t\x1B\x19\x0E\x1B\n", ANSI, false, {L"\t\x1B\x19\x0E\x1B\n"}},
        {L"ab\ncd\x1A" L"ef\ngh", ANSI, false, {L"ab\n", L"cd\n"}}, {L"ab\x1A", UTF16, false, {L"ab\x1A\n"}},  // Ctrl+Z
        {L"a\n\nb\n", UTF16, false, {L"a\n", L"\n", L"b\n"}}, {L"a\n\nb\n", UTF16, true, {L"a\n\nb\n"}},  // blank: CR LF only
        {L"a\r\nb\r\n\r\nc", UTF16, true, {L"a\r\nb\r\n", L"c\n"}}, {L"a\r\nb\r\n\r\nc", UTF16, false, {L"a\r\n", L"b\r\n", L"c\n"}},
        {L"x\r\r\n", UTF16, false, {L"x\r\r\n"}},
        // Pieces of at most 4095 characters; in ANSI text only the last piece of a line has its line feed.
        {y4094 + L"\nz", ANSI, false, {y4094 + L"\n", L"z\n"}},
        {y4095 + L"\nz\n", ANSI, true, {y4095, L"z\n"}},               // the lone line feed reads as blank
        {y4096 + L"\r\n", ANSI, false, {y4095, L"y\n"}},
        {y4096 + L"\r\nnext\r\n", ANSI, true, {y4096 + L"\nnext\n"}},
        {y4096 + L"\r\n", UTF16, false, {y4095 + L"\n", L"y\r\n"}},
        {y4095 + L"\r\n", UTF16, false, {y4095 + L"\n"}},   // the CR LF left over is a blank line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(split(c.text, c.flavor, c.multiline), c.expected);
    }
}

TEST(Entries, FeedingInBlocksGivesTheSameEntries)
{
    std::wstring text;
    for (int i = 0; i < 300; ++i) text += (i % 7 == 0 ? L"\r\n" : std::wstring(i * 37 % 5000, L'a' + i % 26) + L"\r\n");
    for (bool multiline : {false, true})
        for (TextFlavor flavor : {ANSI, UTF16}) {
            const V whole = split(text, flavor, multiline);
            for (std::size_t block : {1u, 2u, 3u, 4095u, 4096u}) {
                SCOPED_TRACE(testing::Message() << multiline << int(flavor) << " " << block);
                EXPECT_EQ(split(text, flavor, multiline, block), whole);
            }
        }
    // Once Ctrl+Z was seen nothing more is taken.
    EntryList list;
    EntrySplitter s(list, ANSI, false);
    EXPECT_TRUE(s.feed(L"one\n", 4));
    EXPECT_FALSE(s.feed(L"\x1A" L"two\n", 5));
    EXPECT_TRUE(s.stopped());
    s.feed(L"three\n", 6);
    s.finish();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], L"one\n");
}

TEST(Entries, StorageIsKeptAndManyEntriesSpanChunks)
{
    EntryList list;
    const std::wstring text = L"one\ntwo\n\nthree";
    ASSERT_TRUE(list.resetFor(charactersNeeded(text.size(), ANSI)));
    const std::size_t capacity = list.capacity();
    EntrySplitter s(list, ANSI, false);
    s.feed(text.data(), text.size());
    s.finish();
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.capacity(), capacity);  // the bound held: no reallocation while loading
    ASSERT_TRUE(list.resetFor(10));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.capacity(), capacity);
    EntrySplitter again(list, ANSI, false);  // the kept storage is filled from its start
    again.feed(L"x\n", 2);
    again.finish();
    EXPECT_EQ(list[0], L"x\n");
    // A buffer more than 1 Mi characters larger than twice the load is given back.
    for (auto [chars, kept] : {std::pair{5ul << 20, 5ul << 20}, {2097152ul, 5ul << 20}, {2097151ul, 2097151ul}}) {
        ASSERT_TRUE(list.resetFor(chars));
        EXPECT_EQ(list.capacity(), kept) << chars;
    }

    std::wstring many;
    const std::size_t n = 17 * 65536;  // more chunks of entry offsets than the first table of them holds
    for (std::size_t i = 0; i < n; ++i) many += (i % 65536 < 2 || i % 65536 == 65535 ? std::to_wstring(i) : L"a") + L"\r\n";
    const V entries = split(many + L"last", ANSI, false);
    ASSERT_EQ(entries.size(), n + 1);
    for (std::size_t i : {0ul, 65535ul, 65536ul, 65537ul, 16ul * 65536 + 1, n - 1})
        EXPECT_EQ(entries[i], std::to_wstring(i) + L"\n") << i;
    EXPECT_EQ(entries[n], L"last\n");
}

std::size_t refuseAbove = 0, requests = 0;
void* limitedAllocate(std::size_t bytes) { return ++requests, bytes > refuseAbove ? nullptr : std::malloc(bytes); }
void limitedRelease(void* block) { std::free(block); }

TEST(Entries, MemoryItCannotHaveIsReportedAndTheListKept)
{
    refuseAbove = 300u << 10;  // room for a chunk of 65536 entry offsets
    EntryList list({limitedAllocate, limitedRelease});
    EntrySplitter s(list, ANSI, false);
    s.feed(L"one\ntwo\n", 8);
    s.finish();
    EXPECT_FALSE(list.resetFor(1u << 20));
    requests = 0;
    EXPECT_FALSE(list.resetFor(std::size_t(1) << 32));  // more than 32-bit offsets reach: not even asked for
    EXPECT_EQ(requests, 0u);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1], L"two\n");
    refuseAbove = 1024;  // no chunk of entry offsets: the splitter stops, the program goes on
    EntryList tight({limitedAllocate, limitedRelease});
    EntrySplitter t(tight, ANSI, false);
    EXPECT_FALSE(t.feed(L"a\nb\n", 4));
    EXPECT_TRUE(t.failed());
    // Characters it cannot store stop it too; the entries complete so far stay whole.
    refuseAbove = 300u << 10;
    EntrySplitter more(list, ANSI, false);
    const std::wstring big(100000, L'x');
    EXPECT_FALSE(more.feed(big.data(), big.size()));
    EXPECT_TRUE(more.failed());
    more.finish();
    ASSERT_GT(list.size(), 2u);
    for (std::size_t i = 2; i < list.size(); ++i) ASSERT_EQ(list[i], std::wstring(4095, L'x')) << i;
    requests = 0;  // a load that fits the buffer it has needs no memory
    EXPECT_TRUE(list.resetFor(list.capacity()));
    EXPECT_EQ(requests, 0u);
    // In UTF-16 text a piece that cannot get its line feed is not kept as an entry.
    refuseAbove = 300u << 10;
    EntryList wide({limitedAllocate, limitedRelease});
    ASSERT_TRUE(wide.resetFor(2 + 4095));
    EntrySplitter w(wide, UTF16, false);
    EXPECT_TRUE(w.feed(L"a\n", 2));
    refuseAbove = (2 + 4095) * sizeof(wchar_t);
    const std::wstring piece = std::wstring(4095, L'x') + L"y";
    EXPECT_FALSE(w.feed(piece.data(), piece.size()));
    w.finish();
    EXPECT_EQ(wide.size(), 1u);
}

TEST(Entries, ByteOrderMarks)
{
    struct Case { std::string bytes; ByteOrderMark expected; };
    const Case cases[] = {
        {"\xFF\xFE", ByteOrderMark::Utf16Le},      {"\xFE\xFE", ByteOrderMark::None},      {std::string("\xFE\xFF\0", 3), ByteOrderMark::Utf16Be},
        {"\xFE\xFF" "A", ByteOrderMark::None},     {"\xFE\xFF", ByteOrderMark::None},
        {"\xEF\xBB\xBF", ByteOrderMark::Utf8},     {"\xEF\xBB", ByteOrderMark::None},
        {"\xEF\xBA\xBF", ByteOrderMark::None},     {"\xEF\xBB\xBE", ByteOrderMark::None},
        {"\xFF\xFF", ByteOrderMark::None},         {"\xFF", ByteOrderMark::None},
        {"", ByteOrderMark::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto* bytes = reinterpret_cast<const unsigned char*>(c.bytes.data());
        EXPECT_EQ(classifyByteOrderMark(bytes, c.bytes.size()), c.expected);
        if (!c.bytes.empty()) EXPECT_EQ(classifyByteOrderMark(bytes, c.bytes.size() - 1), ByteOrderMark::None);  // cut short
    }
}

TEST(Entries, DecodableLengthKeepsDoubleByteCharactersWhole)
{
    bool (*isLead)(unsigned char) = [](unsigned char b) { return b >= 0x81 && b <= 0x9F; };
    struct Case { std::string bytes; bool atEnd; std::size_t length; };
    const Case cases[] = {{"ab\ncd", false, 3},  {"\nabc", false, 1},   {"ab\x81", false, 2},
                          {"a\x81xb", false, 4}, {"ab\x81", true, 3},   {"", false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(decodableLength(c.bytes.data(), c.bytes.size(), c.atEnd, isLead), c.length);
    }
}

TEST(Entries, ATextThatCannotFitIsRefusedFromItsSize)
{
    const std::uint64_t any = ~std::uint64_t(0);
    // available: in characters (any: unlimited bytes)
    struct Case { std::uint64_t bytes; TextFlavor flavor; std::size_t needed; std::uint64_t available; bool fits; };
    const Case cases[] = {
        {100, ANSI, 101, 101, true},            {100, ANSI, 101, 100, false},
        {2, UTF16, 2, any, true}, {1, UTF16, 2, any, true},               {0, UTF16, 2, 2, true},
        {2 + 2 * 8190, UTF16, 8194, 8194, true}, {2 + 2 * 8190, UTF16, 8194, 8193, false},
        {0xFFFFFFFEull, ANSI, 0xFFFFFFFFu, any, true}, {0xFFFFFFFFull, ANSI, 0xFFFFFFFFu, any, false},
        {64ull << 30, UTF16, 0xFFFFFFFFu, any, false}, {5ull << 30, UTF16, 2685010081u, any, true},
        {0, ANSI, 1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(charactersNeeded(c.bytes, c.flavor), c.needed);
        EXPECT_EQ(textCanFit(c.bytes, c.flavor, c.available == any ? any : c.available * sizeof(wchar_t)), c.fits);
    }
}

}  // namespace
