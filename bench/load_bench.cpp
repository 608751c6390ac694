// Load time against the bare floor, where an ANSI load spends its time, and memory peaks.
#include <windows.h>
#include <io.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "bench/bench.h"
#include "core/text/entries.h"
#include "shell/text/text_loader_win.h"

namespace {

constexpr int RUNS = 3;
// The files timed: 8-bit text in the code page, UTF-16, and UTF-8 without a mark as UTF-8 Text reads it.
enum class Kind { Ansi, Utf16, Utf8 };
volatile std::size_t sink;   // keeps the floor's scan from being optimised away

// Wall time, and the thread's processor time (user and kernel, page faults included), which other
// processes on a shared machine do not stretch; the latter comes in 10 ms ticks under Wine.
struct Timing {
    double wallMs = -1;
    double cpuMs = -1;
};

Timing clockNow() { return {nowMs(), threadCpuMs()}; }
Timing since(const Timing& start) { return {nowMs() - start.wallMs, threadCpuMs() - start.cpuMs}; }

Timing worstTiming()
{
    const double most = std::numeric_limits<double>::max();
    return {most, most};
}

void keepBest(Timing& best, const Timing& t)
{
    if (t.wallMs < 0) return;   // the run failed
    best.wallMs = std::min(best.wallMs, t.wallMs);
    best.cpuMs = std::min(best.cpuMs, t.cpuMs);
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

long long openLength(FILE* f) { return _filelengthi64(_fileno(f)); }

// Built as the program's own objects are (-O3), so the floor's scan is as quick as the compiler
// makes a plain loop.
__attribute__((optimize("O3"))) std::size_t countLineFeeds(const wchar_t* p, std::size_t n)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < n; ++i) count += p[i] == L'\n';
    return count;
}

// The least any loader must do: the whole file into memory in one read, decoded in one call, and
// one pass for the line feeds. The buffers go after the clock stops, as the loader's list does.
Timing floorRun(const std::wstring& path, Kind kind)
{
    const Timing start = clockNow();
    UniqueFile f(_wfopen(path.c_str(), L"rb"));
    if (!f) return {};
    const std::size_t size = static_cast<std::size_t>(openLength(f.get()));
    std::size_t lineFeeds = 0;
    std::unique_ptr<wchar_t[]> chars;
    std::unique_ptr<char[]> bytes;
    if (kind == Kind::Utf16) {
        chars.reset(new wchar_t[size / 2 + 1]);
        const std::size_t got = std::fread(chars.get(), 1, size, f.get());
        f.reset();
        const std::size_t units = got / 2;
        lineFeeds = units > 0 ? countLineFeeds(chars.get() + 1, units - 1) : 0;
    } else {
        bytes.reset(new char[size]);
        const std::size_t got = std::fread(bytes.get(), 1, size, f.get());
        f.reset();
        chars.reset(new wchar_t[got]);
        const int n = MultiByteToWideChar(kind == Kind::Utf8 ? CP_UTF8 : CP_ACP, 0, bytes.get(), static_cast<int>(got),
                                          chars.get(), static_cast<int>(got));
        lineFeeds = countLineFeeds(chars.get(), static_cast<std::size_t>(std::max(n, 0)));
    }
    const Timing time = since(start);
    sink = lineFeeds;
    return time;
}

// One load as the program does it, into a fresh list (a first open, not a reload into kept storage).
Timing loadRun(const std::wstring& path, Kind kind, bool multiline, std::size_t& entries)
{
    auto list = std::make_unique<EntryList>();
    const Timing start = clockNow();
    UniqueFile f(_wfopen(path.c_str(), L"rb"));
    if (!f) return {};
    const bool ok = readEntries(*list, f.get(), kind == Kind::Utf16 ? TextFlavor::Utf16 : TextFlavor::Ansi, multiline,
                                kind == Kind::Utf8 ? ByteText::Utf8IfValid : ByteText::Ansi) == LoadOutcome::Loaded;
    f.reset();
    const Timing time = since(start);
    entries = ok ? list->size() : 0;
    return ok ? time : Timing{};
}

void timeFile(const std::wstring& path, Kind kind)
{
    std::size_t entriesOn = 0;
    std::size_t entriesOff = 0;
    // The warm-up puts the file in the page cache and the allocator in its steady state.
    floorRun(path, kind);
    loadRun(path, kind, true, entriesOn);
    loadRun(path, kind, false, entriesOff);
    Timing floorBest = worstTiming();
    Timing onBest = worstTiming();
    Timing offBest = worstTiming();
    // Interleaved, so a slow spell of the machine hits all three alike.
    for (int run = 0; run < RUNS; ++run) {
        keepBest(floorBest, floorRun(path, kind));
        keepBest(onBest, loadRun(path, kind, true, entriesOn));
        keepBest(offBest, loadRun(path, kind, false, entriesOff));
    }
    const char* name = kind == Kind::Utf16 ? "utf16" : kind == Kind::Utf8 ? "utf8" : "ansi";
    const long long size = fileBytes(path);
    std::printf("load %s on %.1f %.1f %zu %lld %.1f %.1f\n", name, floorBest.wallMs, onBest.wallMs, entriesOn, size,
                floorBest.cpuMs, onBest.cpuMs);
    std::printf("load %s off %.1f %.1f %zu %lld %.1f %.1f\n", name, floorBest.wallMs, offBest.wallMs, entriesOff,
                size, floorBest.cpuMs, offBest.cpuMs);
    std::fflush(stdout);
}

LeadBytes leadBytesOfAnsi()
{
    LeadBytes lead;
    for (unsigned b = 0; b < lead.size(); ++b) lead[b] = IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(b)) != FALSE;
    return lead;
}

// The ANSI loader's loop step by step, each step on its own clock. `list` is either fresh (its
// pages are touched for the first time while splitting) or reused from the previous pass.
void ansiSteps(const std::wstring& path, EntryList& list, const char* label)
{
    constexpr std::size_t BLOCK = 1u << 20;
    double reserveMs = 0, readMs = 0, decodableMs = 0, convertMs = 0, splitMs = 0, finishMs = 0;
    const double start = nowMs();
    UniqueFile f(_wfopen(path.c_str(), L"rb"));
    if (!f) return;
    double t = nowMs();
    list.resetFor(charactersNeeded(static_cast<std::uint64_t>(openLength(f.get())), TextFlavor::Ansi));
    std::unique_ptr<char[]> bytes(new char[BLOCK]);
    std::unique_ptr<wchar_t[]> chars(new wchar_t[BLOCK]);
    reserveMs += nowMs() - t;
    EntrySplitter splitter(list, TextFlavor::Ansi, false);
    const LeadBytes leadBytes = leadBytesOfAnsi();
    std::size_t carried = 0;
    bool atEnd = false;
    while (!atEnd) {
        t = nowMs();
        const std::size_t n = carried + std::fread(bytes.get() + carried, 1, BLOCK - carried, f.get());
        atEnd = n < BLOCK;
        double u = nowMs();
        readMs += u - t;
        t = u;
        const std::size_t ready = decodableLength(bytes.get(), n, atEnd, leadBytes);
        u = nowMs();
        decodableMs += u - t;
        t = u;
        const int got = MultiByteToWideChar(CP_ACP, 0, bytes.get(), static_cast<int>(ready), chars.get(),
                                            static_cast<int>(BLOCK));
        u = nowMs();
        convertMs += u - t;
        t = u;
        splitter.feed(chars.get(), got > 0 ? static_cast<std::size_t>(got) : 0);
        splitMs += nowMs() - t;
        carried = n - ready;
        std::memmove(bytes.get(), bytes.get() + ready, carried);
    }
    t = nowMs();
    splitter.finish();
    f.reset();
    finishMs = nowMs() - t;
    const double total = nowMs() - start;
    std::printf("breakdown %s total=%.1f reserve=%.1f read=%.1f decodable=%.1f convert=%.1f "
                "split=%.1f finish=%.1f entries=%zu\n",
                label, total, reserveMs, readMs, decodableMs, convertMs, splitMs, finishMs, list.size());
}

// The floor's three steps on their own clocks.
void floorSteps(const std::wstring& path)
{
    const double start = nowMs();
    UniqueFile f(_wfopen(path.c_str(), L"rb"));
    if (!f) return;
    const std::size_t size = static_cast<std::size_t>(openLength(f.get()));
    double t = nowMs();
    std::unique_ptr<char[]> bytes(new char[size]);
    const std::size_t got = std::fread(bytes.get(), 1, size, f.get());
    f.reset();
    const double readMs = nowMs() - t;
    t = nowMs();
    std::unique_ptr<wchar_t[]> chars(new wchar_t[got]);
    const int n =
        MultiByteToWideChar(CP_ACP, 0, bytes.get(), static_cast<int>(got), chars.get(), static_cast<int>(got));
    const double convertMs = nowMs() - t;
    t = nowMs();
    sink = countLineFeeds(chars.get(), static_cast<std::size_t>(std::max(n, 0)));
    const double scanMs = nowMs() - t;
    const double total = nowMs() - start;
    // The read and the conversion again into pages already touched: the rest of the first figures
    // is what fresh memory costs on its first touch.
    t = nowMs();
    f.reset(_wfopen(path.c_str(), L"rb"));
    if (!f) return;
    std::fread(bytes.get(), 1, size, f.get());
    f.reset();
    const double readAgainMs = nowMs() - t;
    t = nowMs();
    MultiByteToWideChar(CP_ACP, 0, bytes.get(), static_cast<int>(got), chars.get(), static_cast<int>(got));
    const double convertAgainMs = nowMs() - t;
    std::printf("breakdown floor total=%.1f read=%.1f convert=%.1f scan=%.1f read-touched=%.1f "
                "convert-touched=%.1f\n",
                total, readMs, convertMs, scanMs, readAgainMs, convertAgainMs);
}

}  // namespace

int runLoadTimes(const std::wstring& ansiPath, const std::wstring& utf16Path, const std::wstring& utf8Path)
{
    timeFile(ansiPath, Kind::Ansi);
    timeFile(utf16Path, Kind::Utf16);
    timeFile(utf8Path, Kind::Utf8);
    return 0;
}

int runLoadBreakdown(const std::wstring& ansiPath)
{
    floorSteps(ansiPath);   // also the warm-up
    auto list = std::make_unique<EntryList>();
    ansiSteps(ansiPath, *list, "ansi-fresh");
    ansiSteps(ansiPath, *list, "ansi-reused");
    list = std::make_unique<EntryList>();
    ansiSteps(ansiPath, *list, "ansi-fresh");
    std::fflush(stdout);
    return 0;
}

int runPeak(const std::wstring& path, bool utf16, bool multiline)
{
    EntryList list;
    long long size = 0;
    if (!path.empty()) {
        UniqueFile f(_wfopen(path.c_str(), L"rb"));
        if (!f) {
            std::fprintf(stderr, "cannot open %ls\n", path.c_str());
            return 1;
        }
        size = openLength(f.get());
        if (readEntries(list, f.get(), utf16 ? TextFlavor::Utf16 : TextFlavor::Ansi, multiline) !=
            LoadOutcome::Loaded) {
            std::fprintf(stderr, "out of memory loading %ls\n", path.c_str());
            return 1;
        }
    }
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 1;
    std::printf("peak %llu %llu %llu %llu %zu %lld\n", static_cast<unsigned long long>(counters.PeakPagefileUsage),
                static_cast<unsigned long long>(counters.PeakWorkingSetSize),
                static_cast<unsigned long long>(counters.PagefileUsage),
                static_cast<unsigned long long>(counters.WorkingSetSize), list.size(), size);
    std::fflush(stdout);
    return 0;
}
