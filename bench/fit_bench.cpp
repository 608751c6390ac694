// Fit To Font over the big file against that file's load time in the same run, and the same fit
// measured line by line by the system, which must give the same size.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>

#include "bench/bench.h"
#include "shell/display/fitting_win.h"
#include "shell/text/text_loader_win.h"

namespace {

constexpr int RUNS = 3;

double loadMs(const std::wstring& path, bool multiline, EntryList& list)
{
    const double start = nowMs();
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return -1;
    const bool ok = readEntries(list, f, TextFlavor::Ansi, multiline) == LoadOutcome::Loaded;
    std::fclose(f);
    return ok ? nowMs() - start : -1;
}

}  // namespace

int runFit(const std::wstring& path)
{
    // The program's start font: 10-point Courier New.
    HDC screen = GetDC(nullptr);
    LOGFONTW lf = {};
    lf.lfHeight = -MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72);
    lf.lfPitchAndFamily = 17;
    wcscpy(lf.lfFaceName, L"Courier New");
    ReleaseDC(nullptr, screen);
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const std::int64_t limit = GetSystemMetrics(SM_CXFULLSCREEN) - 2 * GetSystemMetrics(SM_CXFRAME);
    for (bool multiline : {false, true}) {
        double load = std::numeric_limits<double>::max(), fit = load;
        TextBlock fast;
        auto list = std::make_unique<EntryList>();
        loadMs(path, multiline, *list);   // warm-up: the file in the page cache
        for (int run = 0; run < RUNS; ++run) {
            auto fresh = std::make_unique<EntryList>();
            const double l = loadMs(path, multiline, *fresh);
            if (l >= 0) load = std::min(load, l);
            const double start = nowMs();
            fast = measureText(dc, *fresh, limit, multiline);
            fit = std::min(fit, nowMs() - start);
            list = std::move(fresh);
        }
        const double start = nowMs();
        const TextBlock exact = measureText(dc, *list, limit, multiline, true);
        const double exactMs = nowMs() - start;
        std::printf("fit %s %.1f %.1f %.1f %d %zu %lld %lld\n", multiline ? "on" : "off", load, fit, exactMs,
                    fast.width == exact.width && fast.height == exact.height ? 1 : 0, list->size(),
                    static_cast<long long>(fast.width), static_cast<long long>(fast.height));
        std::fflush(stdout);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return 0;
}
