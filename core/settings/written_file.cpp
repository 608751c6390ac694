#include "core/settings/written_file.h"

#include <cstdint>

namespace {

const std::string_view BYTE_ORDER_MARK = "\xFF\xFE";
const std::string_view COPY_MARK = "TomelOld";

void appendUnits(std::string& bytes, std::wstring_view text)
{
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
}

std::u16string units(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

std::u16string unitsOf(std::string_view bytes)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    return text;
}

bool isPrefixOf(std::string_view part, std::string_view whole) { return whole.substr(0, part.size()) == part; }

// `n` "key=value" lines, each ended by CR LF, taken from the start of `rows`.
bool takeRows(std::u16string_view& rows, std::size_t n)
{
    for (; n > 0; --n) {
        const std::size_t end = rows.find(u"\r\n");
        if (end == std::u16string_view::npos) return false;
        const std::u16string_view line = rows.substr(0, end);
        if (line.find_first_of(u"\r\n") != std::u16string_view::npos || line.find(u'=') == std::u16string_view::npos)
            return false;
        rows.remove_prefix(end + 2);
    }
    return true;
}

// After the first section's header: the last section's header, then exactly its rows; then nothing,
// or the section written at times with exactly its rows.
bool endsWithLastSection(std::u16string_view text, const FileShape& shape)
{
    const std::u16string header = u"\r\n\r\n" + units(shape.lastHeader) + u"\r\n";
    const std::size_t at = text.find(header);
    if (at == std::u16string_view::npos) return false;
    std::u16string_view rows = text.substr(at + header.size());
    if (!takeRows(rows, shape.lastRows)) return false;
    if (rows.empty()) return true;
    if (!shape.optionalHeader) return false;
    const std::u16string optional = u"\r\n" + units(shape.optionalHeader) + u"\r\n";
    if (rows.substr(0, optional.size()) != optional) return false;
    rows.remove_prefix(optional.size());
    return takeRows(rows, shape.optionalRows) && rows.empty();
}

void appendNumber(std::string& bytes, std::uint32_t n)
{
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((n >> (8 * i)) & 0xFF);
}

bool takeNumber(std::string_view& bytes, std::uint32_t& n)
{
    if (bytes.size() < 4) return false;
    n = 0;
    for (int i = 3; i >= 0; --i) n = n << 8 | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    bytes.remove_prefix(4);
    return true;
}

}  // namespace

WrittenFile classifyWrittenFile(std::string_view bytes, const FileShape& shape)
{
    std::string start(BYTE_ORDER_MARK);
    appendUnits(start, shape.firstHeader);
    appendUnits(start, L"\r\n");
    if (bytes.size() < start.size()) return isPrefixOf(bytes, start) ? WrittenFile::Cut : WrittenFile::Other;
    if (!isPrefixOf(start, bytes)) return WrittenFile::Other;
    const bool whole = bytes.size() % 2 == 0 && endsWithLastSection(unitsOf(bytes.substr(2)), shape);
    return whole ? WrittenFile::Whole : WrittenFile::Cut;
}

WrittenFile classifyWrittenFile(std::string_view bytes, std::initializer_list<FileShape> shapes)
{
    for (const FileShape& shape : shapes)
        if (const WrittenFile is = classifyWrittenFile(bytes, shape); is != WrittenFile::Other) return is;
    return WrittenFile::Other;
}

std::string keptCopyBytes(std::wstring_view target, std::string_view old)
{
    std::string bytes(COPY_MARK);
    appendNumber(bytes, static_cast<std::uint32_t>(target.size()));
    appendUnits(bytes, target);
    appendNumber(bytes, static_cast<std::uint32_t>(old.size()));
    bytes += old;
    return bytes;
}

WrittenFile readKeptCopy(std::string_view bytes, KeptCopy& copy)
{
    if (bytes.size() < COPY_MARK.size()) return isPrefixOf(bytes, COPY_MARK) ? WrittenFile::Cut : WrittenFile::Other;
    if (!isPrefixOf(COPY_MARK, bytes)) return WrittenFile::Other;
    bytes.remove_prefix(COPY_MARK.size());
    std::uint32_t pathUnits = 0, oldSize = 0;
    if (!takeNumber(bytes, pathUnits) || bytes.size() / 2 < pathUnits) return WrittenFile::Cut;
    const std::u16string path = unitsOf(bytes.substr(0, 2 * std::size_t{pathUnits}));
    bytes.remove_prefix(2 * std::size_t{pathUnits});
    if (!takeNumber(bytes, oldSize) || bytes.size() < oldSize) return WrittenFile::Cut;
    if (bytes.size() > oldSize) return WrittenFile::Other;
    copy.target.assign(path.begin(), path.end());
    copy.old.assign(bytes);
    return WrittenFile::Whole;
}
