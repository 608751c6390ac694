// The generated input files and the small helpers every mode uses.
#include <cstdio>
#include <string>

#include "bench/bench.h"

double nowMs()
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticksPerMs;
}

double threadCpuMs()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& f) {
        return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

long long fileBytes(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::wstring widen(const char* s)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s, -1, &w[0], n);
    w.resize(static_cast<std::size_t>(n - 1));
    return w;
}

namespace {

constexpr unsigned long long TARGET_BYTES = 100ull << 20;
// Line lengths cycle through these ten (mean 48 characters, 50 bytes with CR LF in ANSI), so that
// any ten consecutive lines of the big file cost what the ten lines of the small file cost to show.
constexpr std::size_t LENGTHS[10] = {4, 9, 17, 26, 35, 44, 55, 68, 94, 128};
// Now and then a line longer than the loader's 4095-character pieces.
constexpr unsigned long long LONG_LINE_EVERY = 65536;
constexpr std::size_t LONG_LINE = 5000;
// About one line in twenty is followed by a blank line.
constexpr unsigned BLANK_ONE_IN = 20;
constexpr std::size_t FLUSH_BYTES = 4u << 20;

struct Random {
    unsigned state;
    unsigned next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
};

// Accented letters that code page 1252 holds at the same numbers (and none that could pass for a
// byte-order mark at the start of the file).
constexpr unsigned ACCENTED[] = {0xE9, 0xE8, 0xE0, 0xFC, 0xF6, 0xE4, 0xDF, 0xE7, 0xF1, 0xC9};

// One character of made-up prose; the wide file also gets Greek, Cyrillic and CJK.
unsigned nextChar(Random& r, bool wide)
{
    const unsigned x = r.next() % 100;
    if (x < 15) return ' ';
    if (x < 17) return static_cast<unsigned char>(".,;:!?'-"[r.next() % 8]);
    if (x < 19) return ACCENTED[r.next() % (sizeof ACCENTED / sizeof ACCENTED[0])];
    if (x < 21) {
        if (!wide) return '0' + r.next() % 10;
        switch (r.next() % 3) {
        case 0: return 0x03B1 + r.next() % 25;
        case 1: return 0x0430 + r.next() % 32;
        default: return 0x4E00 + r.next() % 512;
        }
    }
    if (x < 24) return 'A' + r.next() % 26;
    return 'a' + r.next() % 26;
}

// Prose in Greek and Cyrillic with some CJK, for the UTF-8 file: most characters take two or three
// bytes there.
unsigned nextNonAsciiChar(Random& r)
{
    const unsigned x = r.next() % 100;
    if (x < 15) return ' ';
    if (x < 17) return static_cast<unsigned char>(".,;:!?'-"[r.next() % 8]);
    if (x < 27) return 0x4E00 + r.next() % 512;
    if (x < 60) return 0x03B1 + r.next() % 25;
    return 0x0430 + r.next() % 32;
}

enum class Bytes { Ansi, Utf16, Utf8 };

// Writes through a temporary name, so an interrupted run never leaves a short file that looks done.
bool writeFile(const std::wstring& path, Bytes kind, unsigned long long targetBytes, unsigned long long maxLines)
{
    const std::wstring part = path + L".part";
    FILE* f = _wfopen(part.c_str(), L"wb");
    if (!f) return false;
    std::string buf;
    buf.reserve(FLUSH_BYTES + 2 * (LONG_LINE + 4));
    const bool wide = kind == Bytes::Utf16;
    auto put = [&](unsigned c) {
        if (wide) {
            buf.push_back(static_cast<char>(c & 0xFF));
            buf.push_back(static_cast<char>(c >> 8));
        } else if (kind == Bytes::Utf8 && c >= 0x800) {
            buf.push_back(static_cast<char>(0xE0 | c >> 12));
            buf.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            buf.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (kind == Bytes::Utf8 && c >= 0x80) {
            buf.push_back(static_cast<char>(0xC0 | c >> 6));
            buf.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            buf.push_back(static_cast<char>(c));
        }
    };
    bool ok = true;
    unsigned long long written = 0;
    auto flush = [&] {
        ok = ok && std::fwrite(buf.data(), 1, buf.size(), f) == buf.size();
        written += buf.size();
        buf.clear();
    };
    if (wide) put(0xFEFF);
    Random r{wide ? 0x2545F491u : 0x9E3779B9u};
    for (unsigned long long line = 0; line < maxLines && written + buf.size() < targetBytes && ok; ++line) {
        const std::size_t length = line % LONG_LINE_EVERY == LONG_LINE_EVERY - 1 ? LONG_LINE : LENGTHS[line % 10];
        for (std::size_t i = 0; i < length; ++i) put(kind == Bytes::Utf8 ? nextNonAsciiChar(r) : nextChar(r, wide));
        put('\r');
        put('\n');
        if (r.next() % BLANK_ONE_IN == 0) {
            put('\r');
            put('\n');
        }
        if (buf.size() >= FLUSH_BYTES) flush();
    }
    flush();
    ok = std::fclose(f) == 0 && ok;
    if (!ok || !MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(part.c_str());
        return false;
    }
    return true;
}

bool ensureFile(const std::wstring& directory, const wchar_t* name, Bytes kind, unsigned long long targetBytes,
                unsigned long long maxLines, long long minimumBytes)
{
    const std::wstring path = directory + L"\\" + name;
    if (fileBytes(path) >= minimumBytes) return true;
    const double start = nowMs();
    if (!writeFile(path, kind, targetBytes, maxLines)) {
        std::fprintf(stderr, "cannot write %ls\n", path.c_str());
        return false;
    }
    std::printf("generated %ls (%lld bytes) in %.0f ms\n", name, fileBytes(path), nowMs() - start);
    return true;
}

}  // namespace

bool generateInputs(const std::wstring& directory)
{
    CreateDirectoryW(directory.c_str(), nullptr);
    constexpr long long full = static_cast<long long>(TARGET_BYTES);
    constexpr unsigned long long noLimit = ~0ull;
    const bool ok = ensureFile(directory, ANSI_FILE, Bytes::Ansi, TARGET_BYTES, noLimit, full) &&
                    ensureFile(directory, UTF16_FILE, Bytes::Utf16, TARGET_BYTES, noLimit, full) &&
                    ensureFile(directory, UTF8_FILE, Bytes::Utf8, TARGET_BYTES, noLimit, full) &&
                    ensureFile(directory, SMALL_FILE, Bytes::Ansi, noLimit, 10, 1);
    std::fflush(stdout);
    return ok;
}
