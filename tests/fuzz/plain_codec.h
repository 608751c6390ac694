#pragma once
// Byte text conversions without the system, for the tests and the fuzz target: a code page in
// which bytes 0x81 to 0x9F lead a character of two bytes (as in the double-byte code pages) when a
// byte from 0x40 up follows, every other byte is the character of its number; strict or lenient
// UTF-8; and bytes from memory.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "core/text/byte_text.h"
#include "core/app/utf8.h"

class PlainCodec : public ByteCodec {
public:
    long decodeAnsi(const char* bytes, std::size_t n, wchar_t* out) const override
    {
        std::size_t made = 0;
        for (std::size_t i = 0; i < n; ++made) {
            const unsigned char b = static_cast<unsigned char>(bytes[i++]);
            // A lead byte without a trail byte (at the end of the text) is a character of its own.
            const bool pair = isLeadByte(b) && i < n && static_cast<unsigned char>(bytes[i]) >= 0x40;
            out[made] = pair ? static_cast<wchar_t>(b << 8 | static_cast<unsigned char>(bytes[i++])) : static_cast<wchar_t>(b);
        }
        return static_cast<long>(made);
    }
    long decodeUtf8(const char* bytes, std::size_t n, wchar_t* out, bool strict) const override
    {
        const auto text = utf8ToWide(std::string_view(bytes, n), strict);
        if (!text) return -1;
        std::copy(text->begin(), text->end(), out);
        return static_cast<long>(text->size());
    }
    bool isLeadByte(unsigned char b) const override { return b >= 0x81 && b <= 0x9F; }
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::size_t read(char* into, std::size_t n) override
    {
        const std::size_t take = std::min(n, bytes_.size() - at_);
        std::memcpy(into, bytes_.data() + at_, take);
        at_ += take;
        return take;
    }
    bool rewind() override
    {
        at_ = 0;
        ++rewinds;
        return true;
    }
    int rewinds = 0;

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};
