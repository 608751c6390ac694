#include "core/text/entries.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace {
constexpr std::size_t MAX_CHARS = std::numeric_limits<std::uint32_t>::max();

void* allocateBlock(std::size_t bytes) { return std::malloc(bytes); }
void releaseBlock(void* block) { std::free(block); }
}  // namespace

EntryAllocator systemAllocator() { return {allocateBlock, releaseBlock}; }

EntryList::EntryList(EntryList&& other) noexcept : allocator_(other.allocator_) { swap(other); }

void EntryList::swap(EntryList& other) noexcept
{
    std::swap(allocator_, other.allocator_);
    std::swap(chars_, other.chars_);
    std::swap(used_, other.used_);
    std::swap(capacity_, other.capacity_);
    std::swap(chunks_, other.chunks_);
    std::swap(chunkCount_, other.chunkCount_);
    std::swap(chunkSlots_, other.chunkSlots_);
    std::swap(count_, other.count_);
}

void EntryList::clear()
{
    used_ = 0;
    count_ = 0;
}

void EntryList::release()
{
    clear();
    if (chars_) allocator_.release(chars_);
    chars_ = nullptr;
    capacity_ = 0;
    for (std::size_t i = 0; i < chunkCount_; ++i) allocator_.release(chunks_[i]);
    if (chunks_) allocator_.release(chunks_);
    chunks_ = nullptr;
    chunkCount_ = 0;
    chunkSlots_ = 0;
}

wchar_t* EntryList::allocateChars(std::size_t chars)
{
    if (chars > MAX_CHARS || chars > std::numeric_limits<std::size_t>::max() / sizeof(wchar_t)) return nullptr;
    return static_cast<wchar_t*>(allocator_.allocate(chars * sizeof(wchar_t)));
}

bool EntryList::addChunk()
{
    if (chunkCount_ == chunkSlots_) {
        const std::size_t slots = chunkSlots_ ? chunkSlots_ * 2 : 16;
        auto* table = static_cast<std::uint32_t**>(allocator_.allocate(slots * sizeof(std::uint32_t*)));
        if (!table) return false;
        std::copy_n(chunks_, chunkCount_, table);
        if (chunks_) allocator_.release(chunks_);
        chunks_ = table;
        chunkSlots_ = slots;
    }
    auto* chunk = static_cast<std::uint32_t*>(allocator_.allocate(CHUNK * sizeof(std::uint32_t)));
    if (!chunk) return false;
    chunks_[chunkCount_++] = chunk;
    return true;
}

bool EntryList::closeEntry()
{
    if ((count_ >> CHUNK_BITS) == chunkCount_ && !addChunk()) return false;
    endOf(count_++) = static_cast<std::uint32_t>(used_);
    return true;
}

bool EntryList::reserve(std::size_t chars)
{
    if (chars <= capacity_) return true;
    wchar_t* fresh = allocateChars(chars);
    if (!fresh) return false;
    std::copy_n(chars_, used_, fresh);
    if (chars_) allocator_.release(chars_);
    chars_ = fresh;
    capacity_ = chars;
    return true;
}

bool EntryList::resetFor(std::size_t chars)
{
    constexpr std::size_t SLACK = 1u << 20;
    if (chars <= capacity_ && capacity_ - chars <= chars + SLACK) {
        clear();
        return true;
    }
    wchar_t* fresh = allocateChars(chars);
    if (!fresh) return false;
    clear();
    if (chars_) allocator_.release(chars_);
    chars_ = fresh;
    capacity_ = chars;
    return true;
}

bool EntryList::grow(std::size_t extra)
{
    if (used_ + extra > MAX_CHARS) return false;
    std::size_t want = std::max(used_ + extra, capacity_ + capacity_ / 2 + 64);
    want = std::min(want, MAX_CHARS);
    return reserve(want);
}

bool EntryList::extendLast(wchar_t c)
{
    // Only the last entry may grow in place: its end is the end of the buffer.
    if (count_ == 0 || lastEnd() != used_) return false;
    if (!push(c)) return false;
    endOf(count_ - 1) = static_cast<std::uint32_t>(used_);
    return true;
}

EntrySplitter::EntrySplitter(EntryList& list, TextFlavor flavor, bool multiline)
    : list_(list), flavor_(flavor), multiline_(multiline)
{
}

void EntrySplitter::emit(wchar_t c)
{
    if (!list_.push(c)) {
        failed_ = true;
        return;
    }
    ++pieceLength_;
    if (c == L'\n' || pieceLength_ == PIECE) endPiece();
}

void EntrySplitter::endPiece()
{
    const std::size_t start = list_.used() - pieceLength_;
    const bool blank = flavor_ == TextFlavor::Ansi
                           ? pieceLength_ == 1 && list_.at(start) == L'\n'
                           : pieceLength_ == 2 && list_.at(start) == L'\r' && list_.at(start + 1) == L'\n';
    if (blank) {
        list_.retract(pieceLength_);
        if (entryOpen_) closeEntry();   // the blank line ends the paragraph and is not kept
    } else if (multiline_) {
        entryOpen_ = true;              // the piece is already in place after the paragraph so far
    } else {
        closeEntry();
    }
    pieceLength_ = 0;
}

void EntrySplitter::closeEntry()
{
    entryOpen_ = false;
    if (flavor_ == TextFlavor::Utf16 && list_.lastChar() != L'\n' && !list_.push(L'\n')) failed_ = true;
    if (!failed_ && !list_.closeEntry()) failed_ = true;
}

bool EntrySplitter::feed(const wchar_t* chars, std::size_t n)
{
    // Characters up to 26 need a look: line feed, carriage return, NUL, and Ctrl+Z in ANSI text.
    constexpr wchar_t SPECIAL = 26;
    std::size_t i = 0;
    while (i < n && !failed_ && !stopped_) {
        if (pendingCarriageReturn_) {
            pendingCarriageReturn_ = false;
            if (chars[i] == L'\n') {
                emit(L'\n');
                ++i;
                continue;
            }
            emit(L'\r');
            continue;
        }
        // Copy a run of ordinary characters in the same pass that looks for the end of the run.
        const std::size_t room = std::min(n - i, PIECE - pieceLength_);
        wchar_t* out = list_.tail(room);
        if (!out) {
            failed_ = true;
            break;
        }
        const wchar_t* in = chars + i;
        std::size_t k = 0;
        while (k < room && in[k] > SPECIAL) {
            out[k] = in[k];
            ++k;
        }
        if (k > 0) {
            list_.commit(k);
            pieceLength_ += k;
            i += k;
            if (pieceLength_ == PIECE) {
                endPiece();
                continue;
            }
            if (i == n) break;
        }
        const wchar_t c = chars[i++];
        if (flavor_ == TextFlavor::Ansi && c == L'\r')
            pendingCarriageReturn_ = true;
        else if (flavor_ == TextFlavor::Ansi && c == 26)
            stopped_ = true;   // text mode ends the file at Ctrl+Z
        else
            emit(c == L'\0' ? L' ' : c);
    }
    return !failed_ && !stopped_;
}

void EntrySplitter::finish()
{
    if (pendingCarriageReturn_) {
        pendingCarriageReturn_ = false;
        emit(L'\r');
    }
    if (failed_) {
        // Keep what was complete; drop the piece that could not be stored.
        list_.retract(list_.openLength());
        return;
    }
    if (pieceLength_ > 0) endPiece();
    if (entryOpen_) closeEntry();
    if (!list_.empty() && list_.back().back() != L'\n') list_.extendLast(L'\n');
}

void splitText(EntryList& list, std::wstring_view text, TextFlavor flavor, bool multiline)
{
    list.clear();
    EntrySplitter splitter(list, flavor, multiline);
    splitter.feed(text.data(), text.size());
    splitter.finish();
}

TextEncoding textEncodingOf(const unsigned char* bytes, std::size_t n)
{
    if (n >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return {TextFlavor::Utf16, LoadOutcome::Loaded};
    if (n >= 3 && bytes[0] == 0xFE && bytes[1] == 0xFF && bytes[2] == 0x00) return {TextFlavor::Ansi, LoadOutcome::BigEndian};
    if (n >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return {TextFlavor::Ansi, LoadOutcome::Utf8};
    return {TextFlavor::Ansi, LoadOutcome::Loaded};
}

std::size_t decodableLength(const char* bytes, std::size_t n, bool atEnd, const LeadBytes& leadBytes)
{
    if (atEnd || n == 0) return n;
    for (std::size_t i = n; i > 0; --i)
        if (bytes[i - 1] == '\n') return i;
    std::size_t i = 0;
    while (i < n) i += leadBytes[static_cast<unsigned char>(bytes[i])] ? 2 : 1;
    return i > n ? n - 1 : n;
}

namespace {
std::uint64_t charactersFor(std::uint64_t fileBytes, TextFlavor flavor)
{
    if (flavor == TextFlavor::Ansi) return fileBytes + 1;   // a byte gives at most one character; one line feed may be added
    const std::uint64_t units = fileBytes >= 2 ? (fileBytes - 2) / 2 : 0;
    return units + units / EntrySplitter::PIECE + 2;        // a line feed may be added per piece
}
}  // namespace

std::size_t charactersNeeded(std::uint64_t fileBytes, TextFlavor flavor)
{
    const std::uint64_t need = charactersFor(fileBytes, flavor);
    return need > MAX_CHARS ? MAX_CHARS : static_cast<std::size_t>(need);
}

bool textCanFit(std::uint64_t fileBytes, TextFlavor flavor, std::uint64_t availableBytes)
{
    const std::uint64_t need = charactersFor(fileBytes, flavor);
    return need <= MAX_CHARS && need * sizeof(wchar_t) <= availableBytes;
}
