#pragma once
// The entries of the loaded text, stored compactly: one buffer of UTF-16 units and the end offset of
// each entry. A 100 MB file of two million lines costs its characters plus four bytes an entry. The
// offsets live in fixed chunks, so a growing list never copies them (and never holds two copies).
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/text/load_outcome.h"

// Where an EntryList gets its memory. `allocate` gives null when the memory cannot be had: it never
// calls the allocation-failure handler, which ends the program. A text too large for the memory at
// hand is something to tell the user, not a reason to quit.
struct EntryAllocator {
    void* (*allocate)(std::size_t bytes);
    void (*release)(void* block);
};
// std::malloc and std::free.
EntryAllocator systemAllocator();

class EntryList {
public:
    explicit EntryList(EntryAllocator allocator = systemAllocator()) : allocator_(allocator) {}
    EntryList(EntryList&& other) noexcept;
    EntryList& operator=(EntryList&& other) = delete;
    EntryList(const EntryList&) = delete;
    EntryList& operator=(const EntryList&) = delete;
    ~EntryList() { release(); }
    void swap(EntryList& other) noexcept;
    EntryAllocator allocator() const { return allocator_; }

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::wstring_view operator[](std::size_t i) const
    {
        const std::uint32_t begin = i == 0 ? 0 : endOf(i - 1);
        return std::wstring_view(chars_ + begin, endOf(i) - begin);
    }
    std::wstring_view back() const { return (*this)[size() - 1]; }

    // Forgets the entries; the storage is kept for the next load.
    void clear();
    // Makes room for `chars` characters in all without reallocating while building. False when the
    // memory cannot be had; the list is then unchanged.
    bool reserve(std::size_t chars);
    // Empties the list for a new load of about `chars` characters: the storage is kept when it fits
    // and is not far too large, otherwise replaced. False (and the list unchanged) when the memory
    // cannot be had.
    bool resetFor(std::size_t chars);
    std::size_t capacity() const { return capacity_; }
    // Gives the storage back (the list is cleared).
    void release();

    // Building, used by the splitter: characters go to the end of the buffer; closing an entry
    // takes everything since the previous entry's end.
    bool push(wchar_t c)
    {
        if (used_ == capacity_ && !grow(1)) return false;
        chars_[used_++] = c;
        return true;
    }
    // Room for n more characters at the end, to be filled and then committed; nullptr when the
    // memory cannot be had.
    wchar_t* tail(std::size_t n) { return used_ + n <= capacity_ || grow(n) ? chars_ + used_ : nullptr; }
    void commit(std::size_t n) { used_ += n; }
    void retract(std::size_t n) { used_ -= n; }
    std::size_t used() const { return used_; }
    wchar_t lastChar() const { return chars_[used_ - 1]; }
    wchar_t at(std::size_t offset) const { return chars_[offset]; }
    std::size_t openLength() const { return used_ - lastEnd(); }
    // False when the memory for the entry's offset cannot be had.
    bool closeEntry();
    // Appends a character to the last closed entry.
    bool extendLast(wchar_t c);

private:
    static constexpr std::size_t CHUNK_BITS = 16;
    static constexpr std::size_t CHUNK = std::size_t(1) << CHUNK_BITS;
    std::uint32_t& endOf(std::size_t i) const { return chunks_[i >> CHUNK_BITS][i & (CHUNK - 1)]; }
    std::uint32_t lastEnd() const { return count_ ? endOf(count_ - 1) : 0; }
    bool grow(std::size_t extra);
    wchar_t* allocateChars(std::size_t chars);
    bool addChunk();

    EntryAllocator allocator_;
    wchar_t* chars_ = nullptr;
    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
    std::uint32_t** chunks_ = nullptr;   // the offset chunks, each CHUNK ends
    std::size_t chunkCount_ = 0;
    std::size_t chunkSlots_ = 0;         // room in the table of chunks
    std::size_t count_ = 0;
};

// How a text file's characters arrive at the splitter.
enum class TextFlavor {
    Ansi,   // decoded 8-bit text, read in text mode: CR LF becomes LF, a blank line is a lone LF,
            // and Ctrl+Z (U+001A), the old end-of-file mark, ends the text
    Utf16,  // UTF-16 units as stored: a blank line is CR LF, every entry ends in a line feed
};

// Splits a stream of characters into entries the way the program has always read text files: a line
// is read in pieces of at most 4095 characters; a blank line is never an entry; with `multiline` an
// entry is a paragraph (lines up to the next blank line); line ends stay in the entries.
// A NUL character would end the entry's text when shown, hiding the rest of its line, so it is kept
// as a blank instead.
class EntrySplitter {
public:
    static constexpr std::size_t PIECE = 4095;

    EntrySplitter(EntryList& list, TextFlavor flavor, bool multiline);
    // False once memory ran out or the text ended at Ctrl+Z; what was read before stays in the list.
    bool feed(const wchar_t* chars, std::size_t n);
    void finish();
    bool failed() const { return failed_; }
    bool stopped() const { return stopped_; }

private:
    void emit(wchar_t c);
    void endPiece();
    void closeEntry();

    EntryList& list_;
    const TextFlavor flavor_;
    const bool multiline_;
    std::size_t pieceLength_ = 0;
    bool entryOpen_ = false;
    bool pendingCarriageReturn_ = false;
    bool failed_ = false;
    bool stopped_ = false;
};

// Convenience for whole texts already in memory.
void splitText(EntryList& list, std::wstring_view text, TextFlavor flavor, bool multiline);

// --- Reading the file -------------------------------------------------------------------------

// What the first bytes of a text file say: how its characters are read, or that it is refused.
struct TextEncoding {
    TextFlavor flavor = TextFlavor::Ansi;            // FF FE: UTF-16 LE; no mark the program knows: ANSI
    LoadOutcome outcome = LoadOutcome::Loaded;       // BigEndian (FE FF 00) or Utf8 (EF BB BF): refused
};
TextEncoding textEncodingOf(const unsigned char* bytes, std::size_t n);

// Which bytes of a code page begin a double-byte character.
using LeadBytes = std::bitset<256>;
// How many bytes of a block can be decoded now without splitting a double-byte character: up to the
// last line feed (never a trail byte), else by walking the lead bytes. The rest waits for more bytes.
std::size_t decodableLength(const char* bytes, std::size_t n, bool atEnd, const LeadBytes& leadBytes);

// An upper bound of the characters a file of `fileBytes` bytes needs, so the list is reserved once.
std::size_t charactersNeeded(std::uint64_t fileBytes, TextFlavor flavor);

// Whether a file of `fileBytes` bytes can be loaded at all, decided before reading it: the list
// indexes at most 2^32 - 1 characters, and their storage must fit in `availableBytes`.
bool textCanFit(std::uint64_t fileBytes, TextFlavor flavor, std::uint64_t availableBytes);
