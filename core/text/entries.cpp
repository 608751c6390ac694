#include "core/text/entries.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {
constexpr std::size_t MAX_CHARS = std::numeric_limits<std::uint32_t>::max();
}

void EntryList::clear()
{
    used_ = 0;
    count_ = 0;
}

void EntryList::release()
{
    clear();
    chars_.reset();
    capacity_ = 0;
    endChunks_.clear();
    endChunks_.shrink_to_fit();
}

void EntryList::closeEntry()
{
    if ((count_ >> CHUNK_BITS) == endChunks_.size()) endChunks_.emplace_back(new std::uint32_t[CHUNK]);
    endOf(count_++) = static_cast<std::uint32_t>(used_);
}

bool EntryList::reserve(std::size_t chars)
{
    if (chars <= capacity_) return true;
    if (chars > MAX_CHARS) return false;
    std::unique_ptr<wchar_t[]> fresh(new (std::nothrow) wchar_t[chars]);
    if (!fresh) return false;
    std::copy_n(chars_.get(), used_, fresh.get());
    chars_ = std::move(fresh);
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
    if (chars > MAX_CHARS) return false;
    std::unique_ptr<wchar_t[]> fresh(new (std::nothrow) wchar_t[chars]);
    if (!fresh) return false;
    clear();
    chars_ = std::move(fresh);
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

bool EntryList::push(const wchar_t* p, std::size_t n)
{
    if (used_ + n > capacity_ && !grow(n)) return false;
    std::copy_n(p, n, chars_.get() + used_);
    used_ += n;
    return true;
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
    if (flavor_ == TextFlavor::Utf16 && list_.lastChar() != L'\n' && !list_.push(L'\n')) failed_ = true;
    list_.closeEntry();
    entryOpen_ = false;
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

ByteOrderMark classifyByteOrderMark(const unsigned char* bytes, std::size_t n)
{
    if (n >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return ByteOrderMark::Utf16Le;
    if (n >= 3 && bytes[0] == 0xFE && bytes[1] == 0xFF && bytes[2] == 0x00) return ByteOrderMark::Utf16Be;
    if (n >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return ByteOrderMark::Utf8;
    return ByteOrderMark::None;
}

std::size_t decodableLength(const char* bytes, std::size_t n, bool atEnd, bool (*isLeadByte)(unsigned char))
{
    if (atEnd || n == 0) return n;
    for (std::size_t i = n; i > 0; --i)
        if (bytes[i - 1] == '\n') return i;
    std::size_t i = 0;
    while (i < n) i += isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    return i > n ? n - 1 : n;
}

std::size_t charactersNeeded(std::uint64_t fileBytes, TextFlavor flavor)
{
    std::uint64_t need;
    if (flavor == TextFlavor::Ansi) {
        need = fileBytes + 1;   // a byte gives at most one character; one line feed may be added
    } else {
        const std::uint64_t units = fileBytes >= 2 ? (fileBytes - 2) / 2 : 0;
        need = units + units / EntrySplitter::PIECE + 2;   // a line feed may be added per piece
    }
    return need > MAX_CHARS ? MAX_CHARS : static_cast<std::size_t>(need);
}
