// Splitting text into entries: lines, paragraphs, blank lines, pieces, line ends; the list's storage.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/app/utf8.h"
#include "core/text/change_watch.h"
#include "core/text/entries.h"
#include "core/text/entry_views.h"
#include "core/text/load_outcome.h"
#include "tests/fuzz/plain_codec.h"

using V = std::vector<std::wstring>;
constexpr TextFlavor ANSI = TextFlavor::Ansi, UTF16 = TextFlavor::Utf16;

static V entriesOf(const EntryList& list)
{
    V out;
    for (std::size_t i = 0; i < list.size(); ++i) out.emplace_back(list[i]);
    return out;
}

TEST(Entries, LinesAndParagraphs)
{
    const std::wstring y4094(4094, L'y'), y4095(4095, L'y'), y4096(4096, L'y');
    struct Case { std::wstring text; TextFlavor flavor; bool multiline; V expected; };
    const Case cases[] = {
        {L"a\r\n\r\nb", ANSI, false, {L"a\n", L"b\n"}}, {L"a\r\nb\r\n\r\nc\r\n", ANSI, true, {L"a\nb\n", L"c\n"}},
        {L"a\n \nb\n", ANSI, true, {L"a\n \nb\n"}},  // a line of spaces is not blank
        {L"a\rb\r\n", ANSI, false, {L"a\rb\n"}}, {L"a\r", ANSI, false, {L"a\r\n"}},
        {std::wstring(L"ab\0cd\n", 6), ANSI, false, {L"ab cd\n"}},  // a zero would hide the rest of its line
        {L"ab\ncd\x1A" L"ef\ngh", ANSI, false, {L"ab\n", L"cd\n"}},   // Ctrl+Z, the old end of a file
        {L"a\n\nb\n", UTF16, false, {L"a\n", L"\n", L"b\n"}}, {L"\r\na\r\n", UTF16, false, {L"a\r\n"}},   // blank is CR LF
        {L"a\r\nb\r\n\r\nc", UTF16, true, {L"a\r\nb\r\n", L"c\n"}},
        // Pieces of at most 4095 characters; in ANSI text only the last piece of a line has its line feed.
        {y4094 + L"\nz", ANSI, false, {y4094 + L"\n", L"z\n"}}, {y4096 + L"\r\n", ANSI, false, {y4095, L"y\n"}},
        {y4096 + L"\r\n", UTF16, false, {y4095 + L"\n", L"y\r\n"}},
        {y4095 + L"\r\n", UTF16, false, {y4095 + L"\n"}},   // the CR LF left over is a blank line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        for (std::size_t block : {c.text.size() + 1, std::size_t(1)}) {   // at once, and a character at a time
            EntryList list;
            EntrySplitter s(list, c.flavor, c.multiline);
            for (std::size_t at = 0; at < c.text.size(); at += block)
                s.feed(c.text.data() + at, std::min(block, c.text.size() - at));
            s.finish();
            EXPECT_EQ(entriesOf(list), c.expected);
        }
    }
    // Once Ctrl+Z was seen nothing more is taken, and feeding says so.
    EntryList list;
    EntrySplitter s(list, ANSI, false);
    const bool fed[] = {s.feed(L"one\n", 4), s.feed(L"\x1A" L"two\n", 5), s.feed(L"three\n", 6)};
    s.finish();
    EXPECT_EQ(std::make_tuple(fed[0], fed[1], fed[2], s.stopped(), entriesOf(list)),
              std::make_tuple(true, false, false, true, V{L"one\n"}));
}

TEST(Entries, StorageIsKeptAndManyEntriesSpanChunks)
{
    EntryList list;
    const std::wstring text = L"one\ntwo\n\nthree";
    ASSERT_TRUE(list.resetFor(charactersNeeded(text.size(), ANSI)));
    const std::size_t capacity = list.capacity();
    splitText(list, text, ANSI, false);
    // The bound held: no reallocation while loading.
    EXPECT_EQ(std::make_pair(list.size(), list.capacity()), std::make_pair(std::size_t(3), capacity));
    // A buffer more than 1 Mi characters larger than twice the load is given back.
    for (auto [chars, kept] : {std::pair{10ul, capacity}, {5ul << 20, 5ul << 20}, {2097152ul, 5ul << 20},
                               {2097151ul, 2097151ul}}) {
        ASSERT_TRUE(list.resetFor(chars));
        EXPECT_EQ(std::make_pair(list.size(), list.capacity()), std::make_pair(std::size_t(0), kept)) << chars;
    }
    // More chunks of entry offsets than the first table of them holds: entry i reads i mod 10.
    std::wstring many;
    for (std::size_t i = 0; i < 17 * 65536; ++i) many.append({L"0123456789"[i % 10], L'\n'});
    splitText(list, many, ANSI, false);
    ASSERT_EQ(list.size(), 17u * 65536);
    for (std::size_t i : {0ul, 65535ul, 65536ul, 16ul * 65536 + 1})
        EXPECT_EQ(list[i], std::to_wstring(i % 10) + L"\n");
    // Given back whole, it can be used again.
    list.release();
    splitText(list, L"x", ANSI, false);
    EXPECT_EQ(entriesOf(list), V{L"x\n"});
}

std::size_t refuseAbove = 1024;   // no chunk of entry offsets, and room for 256 characters at most
void* limitedAllocate(std::size_t bytes) { return bytes > refuseAbove ? nullptr : std::malloc(bytes); }

TEST(Entries, MemoryItCannotHaveStopsTheSplitterAndIsRefused)
{
    EntryList list({limitedAllocate, std::free});
    for (const std::wstring& text : {std::wstring(L"a\nb\n"), std::wstring(300, L'x')}) {
        EntrySplitter s(list, ANSI, false);
        EXPECT_FALSE(s.feed(text.data(), text.size()));
        s.finish();
        EXPECT_EQ(std::make_pair(s.failed(), list.size()), std::make_pair(true, std::size_t(0))) << text.size();
    }
    EXPECT_FALSE(list.resetFor(1u << 20));
}

TEST(Entries, ByteOrderMarksAndBlocksThatCanBeDecoded)
{
    const auto read = [](const std::string& bytes, std::size_t n) {
        const TextEncoding e = textEncodingOf(reinterpret_cast<const unsigned char*>(bytes.data()), n);
        return std::make_pair(e.outcome, e.outcome == LoadOutcome::Loaded ? e.flavor : ANSI);
    };
    const auto loaded = [](TextFlavor f) { return std::make_pair(LoadOutcome::Loaded, f); };
    const auto refused = [](LoadOutcome o) { return std::make_pair(o, ANSI); };
    struct Case { std::string bytes; std::pair<LoadOutcome, TextFlavor> expected; };
    const Case cases[] = {{"\xFF\xFE", loaded(UTF16)}, {std::string("\xFE\xFF\0", 3), refused(LoadOutcome::BigEndian)},
                          {"\xEF\xBB\xBF", refused(LoadOutcome::Utf8)}, {"\xFE\xFF" "A", loaded(ANSI)}};
    for (const Case& c : cases) {
        EXPECT_EQ(read(c.bytes, c.bytes.size()), c.expected) << &c - cases;
        EXPECT_EQ(read(c.bytes, c.bytes.size() - 1), loaded(ANSI)) << &c - cases;  // cut short
    }
    // Up to the last line feed, else without splitting a double-byte character.
    LeadBytes isLead;
    for (unsigned b = 0x81; b <= 0x9F; ++b) isLead.set(b);
    struct Block { std::string bytes; bool atEnd; std::size_t length; };
    for (const Block& b : {Block{"ab\ncd", false, 3}, Block{"\nabc", false, 1}, Block{"ab\x81", false, 2},
                           Block{"a\x81xb", false, 4}, Block{"ab\x81", true, 3}, Block{"\x81", false, 0}})
        EXPECT_EQ(decodableLength(b.bytes.data(), b.bytes.size(), b.atEnd, isLead), b.length) << b.bytes;
}

TEST(Entries, ATextThatCannotFitIsRefusedFromItsSize)
{
    const std::uint64_t any = ~std::uint64_t(0);
    // available: in characters (any: unlimited bytes); an odd last byte of UTF-16 counts for nothing
    struct Case { std::uint64_t bytes; TextFlavor flavor; std::size_t needed; std::uint64_t available; bool fits; };
    const Case cases[] = {
        {1, UTF16, 2, any, true}, {2 + 2 * 8190, UTF16, 8194, 8194, true}, {3 + 2 * 8190, UTF16, 8194, 8193, false},
        {0xFFFFFFFEull, ANSI, 0xFFFFFFFFu, any, true}, {0xFFFFFFFFull, ANSI, 0xFFFFFFFFu, any, false},
    };
    for (const Case& c : cases) {
        const bool fits = textCanFit(c.bytes, c.flavor, c.available == any ? any : c.available * sizeof(wchar_t));
        EXPECT_EQ(std::make_pair(charactersNeeded(c.bytes, c.flavor), fits), std::make_pair(c.needed, c.fits))
            << &c - cases;
    }
}

TEST(LoadOutcome, EachStepShowsItsTextAndOnlyALoadReplacesTheTextOnShow)
{
    const auto text = [](const wchar_t* t) { return std::wstring(t ? t : L"-"); };
    struct Case { LoadOutcome outcome; std::size_t entries; bool keep; std::wstring box, control; };
    for (const Case& c : {Case{LoadOutcome::Missing, 0, true, L"-", L"No input file"},
                          Case{LoadOutcome::BigEndian, 0, true, L"Unicode big endian unsupported", L"-"},
                          Case{LoadOutcome::Utf8, 0, true, L"UTF-8 unsupported", L"-"},
                          Case{LoadOutcome::OutOfMemory, 0, true, L"Out Of Memory", L"-"},
                          Case{LoadOutcome::Loaded, 0, false, L"-", L"No data"},
                          Case{LoadOutcome::Loaded, 1, false, L"-", L"-"}}) {
        const LoadView v = viewOfLoad(c.outcome, c.entries);
        EXPECT_EQ(std::make_tuple(v.keepShownText, text(v.messageBox), text(v.controlText)),
                  std::make_tuple(c.keep, c.box, c.control)) << static_cast<int>(c.outcome) << " " << c.entries;
    }
}

TEST(EntryViews, AFlashCardsFrontAndTheClipboardsText)
{
    struct Case { std::wstring entry; bool multiline; std::optional<std::size_t> front; std::wstring copied; };
    const Case cases[] = {
        {L"house\tdas Haus\n", false, 5, L"house\tdas Haus"},
        {L"\tno front\n", false, std::nullopt, L"\tno front"},
        {L"one line\n", true, std::nullopt, L"one line"},
        {L"question\nanswer\nmore\n", true, 8, L"question\r\nanswer\r\nmore"},
        {L"question\nanswer\n", false, std::nullopt, L"question\r\nanswer"},   // one entry a line: never
        {L"q\r\na\r\n", true, 1, L"q\r\na"},                                   // from a UTF-16 file
        {L"\nb\n", true, std::nullopt, L"\r\nb"},
        {L"w\tx\ny\n", true, 1, L"w\tx\r\ny"},                                  // the tab first
        {L"cut without its line feed", false, std::nullopt, L"cut without its line feed"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::make_pair(revealFront(c.entry, c.multiline), clipboardText(c.entry)), std::make_pair(c.front, c.copied))
            << &c - cases;
}

TEST(ChangeWatch, AChangedFileIsReadAgainOnceItHoldsStill)
{
    const FileStamp loaded{true, 100, 1}, growing{true, 150, 2}, grown{true, 200, 3}, gone{};
    struct Look { FileStamp now; WatchStep step; };
    const WatchStep N = WatchStep::Nothing, W = WatchStep::Wait, R = WatchStep::Reload;
    const std::vector<Look> looks = {
        {loaded, N}, {growing, W}, {grown, W}, {grown, R},   // written in two goes, read once it is done
        {grown, R},                                          // could not be read: tried again
        {gone, N}, {grown, W}, {grown, R},                   // renamed away and back (an editor's save)
        {loaded, N}, {grown, W}, {loaded, N},                // changed and changed back: nothing to do
    };
    ChangeWatch watch{loaded, {}};
    for (std::size_t i = 0; i < looks.size(); ++i) EXPECT_EQ(lookAtFile(watch, looks[i].now), looks[i].step) << i;
    // Once read again, the new stamp is the one loaded.
    watch = {grown, {}};
    EXPECT_EQ(lookAtFile(watch, grown), N);
}

TEST(ByteText, EightBitTextIsReadAsUtf8WhenItIsValidAndElseInTheCodePage)
{
    const ByteText ANSI_TEXT = ByteText::Ansi, MARKED = ByteText::Utf8, DETECT = ByteText::Utf8IfValid;
    struct Case { const char* name; std::string bytes; ByteText kind; V entries; bool utf8; int rewinds; };
    const Case cases[] = {
        {"valid UTF-8", "caf\xC3\xA9\r\n\xE2\x82\xAC 5\n", DETECT, {L"caf\u00E9\n", L"\u20AC 5\n"}, true, 0},
        {"ASCII only", "plain\n", DETECT, {L"plain\n"}, false, 0},
        {"not UTF-8 at its first high byte", "ok\ncaf\xE9\n", DETECT, {L"ok\n", L"caf\u00E9\n"}, false, 0},
        {"UTF-8, then not", "\xC3\xA9\n" + std::string(40, 'x') + "\xE9\n", DETECT,
         {L"\u00C3\u00A9\n", std::wstring(40, L'x') + L"\u00E9\n"}, false, 1},
        {"a sequence cut by the end", "ab\xE2\x82", DETECT, {L"ab\u00E2\u0082\n"}, false, 0},
        {"what follows Ctrl+Z", "\xC3\xA9\x1A\xFF", DETECT, {L"\u00E9\n"}, true, 0},
        {"the mark says UTF-8", "\xC3\xA9 \xFF\n", MARKED, {L"\u00E9 \uFFFD\n"}, true, 0},
        {"the code page's pairs", "\x81\x41\x82\n\x9F", ANSI_TEXT, {L"\x8141\u0082\n", L"\u009F\n"}, false, 0},
        {"a pair across two blocks", "\x81\x41\x82\n\x9F\x41\n", ANSI_TEXT, {L"\x8141\u0082\n", L"\x9F41\n"}, false, 0},
        {"pairs to a block's end", "x\x81\x41\x81\x41\n", ANSI_TEXT, {L"x\x8141\x8141\n"}, false, 0},
    };
    const PlainCodec codec;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Blocks of 5 bytes: sequences and pairs fall across their ends.
        char bytes[5];
        wchar_t chars[5];
        MemorySource source(c.bytes);
        EntryList list;
        const ByteTextRead read = readByteText(list, false, source, codec, c.kind, bytes, chars, sizeof bytes);
        EXPECT_EQ(std::make_tuple(read.outcome, read.utf8, entriesOf(list), source.rewinds),
                  std::make_tuple(LoadOutcome::Loaded, c.utf8, c.entries, c.rewinds));
    }
}

// A block of UTF-8 is decoded up to its last whole sequence; what follows waits for the next block.
// Each text sits in a buffer of its own length, so that a look past its end is caught.
TEST(ByteText, ABlockOfUtf8EndsAfterItsLastWholeSequence)
{
    const std::pair<std::string, std::size_t> cases[] = {
        {"ab\xF0\x9F\x98", 2}, {"x\xE2\x81", 1}, {"\xC3\xA9", 2}, {"\xF0\x9F\x98\x80", 4}, {"\x80\x80", 2}, {"a\xC3", 1},
        {"\xE2\x82", 0}};
    for (const auto& [text, whole] : cases) {
        const std::vector<char> block(text.begin(), text.end());
        const std::size_t waiting = wholeUtf8Length(block.data(), block.size(), false);
        EXPECT_EQ(std::make_pair(waiting, wholeUtf8Length(block.data(), block.size(), true)), std::make_pair(whole, block.size()))
            << text.size();
    }
    // A sequence cut short by the end of the bytes, and one broken by a byte that continues none.
    for (const auto& [bytes, text] : {std::pair{std::string("a\xE2\x82"), L"a\uFFFD\uFFFD"}, {"\xC3" "A", L"\uFFFDA"}}) {
        const std::vector<char> exact(bytes.begin(), bytes.end());
        EXPECT_EQ(utf8ToWide(std::string_view(exact.data(), exact.size()), false), std::wstring(text));
    }
}
