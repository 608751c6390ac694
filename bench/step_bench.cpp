// The cost of one step on the real main window, over a big file and over a small one: a step must
// not grow with the number of entries.
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "bench/bench.h"
#include "main/main_window_win.h"
#include "res/resource.h"
#include "shell/app/app_info_win.h"
#include "shell/app/platform_win.h"
#include "shell/text/navigation_win.h"
#include "shell/text/text_loader_win.h"

namespace {

constexpr int STEPS = 10000;
// The two files take turns in rounds of this many steps (small, big, big, small, ...), so that a
// slow spell of the shared machine costs both alike.
constexpr int ROUND_STEPS = 500;
constexpr int WARM_UP_STEPS = 200;
constexpr int PART_CALLS = 300;

// No one is there to answer a message box: report it and go on.
int WINAPI answerMessage(HWND, LPCWSTR text, LPCWSTR, UINT)
{
    std::fprintf(stderr, "message box: %ls\n", text ? text : L"");
    return IDOK;
}

void pumpMessages(HWND window)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        if (!IsDialogMessageW(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// Opens a file as the program does and takes its entries out of the window, to be swapped back in.
void loadEntries(App& app, const std::wstring& path, EntryList& into)
{
    copyToBuffer(app.textFilePath, PATH_BUFFER, path);
    app.currentIndex = 0;
    app.multiline = false;   // one entry a line
    openTextFile(app);
    pumpMessages(app.window);
    into.swap(app.entries);
}

struct Walk {
    EntryList entries;
    std::uint32_t index = 0;
    double ms = 0;
};

// Steps `count` times through the walk's file; the window holds its entries meanwhile.
double walkSteps(App& app, Walk& walk, int count)
{
    app.entries.swap(walk.entries);
    app.currentIndex = walk.index;
    const double start = nowMs();
    for (int i = 0; i < count; ++i) nextEntry(app);
    const double ms = nowMs() - start;
    walk.index = app.currentIndex;
    app.entries.swap(walk.entries);
    pumpMessages(app.window);
    return ms;
}

// What one step is made of, each part on its own clock (microseconds a call).
void stepParts(App& app, Walk& walk)
{
    app.entries.swap(walk.entries);
    app.currentIndex = 1;
    const std::wstring entry(app.entries[1]);
    double t = nowMs();
    for (int i = 0; i < PART_CALLS; ++i) updateStatus(app);
    const double statusUs = (nowMs() - t) * 1000.0 / PART_CALLS;
    t = nowMs();
    for (int i = 0; i < PART_CALLS; ++i) armTimer(app, TimerPhase::SlidePhase);
    const double armUs = (nowMs() - t) * 1000.0 / PART_CALLS;
    t = nowMs();
    for (int i = 0; i < PART_CALLS; ++i) SetWindowTextW(app.textControl, entry.c_str());
    const double textUs = (nowMs() - t) * 1000.0 / PART_CALLS;
    t = nowMs();
    for (int i = 0; i < PART_CALLS; ++i) trimWorkingSet();
    const double trimUs = (nowMs() - t) * 1000.0 / PART_CALLS;
    t = nowMs();
    for (int i = 0; i < PART_CALLS; ++i) nextEntry(app);
    const double stepUs = (nowMs() - t) * 1000.0 / PART_CALLS;
    app.entries.swap(walk.entries);
    pumpMessages(app.window);
    std::printf("stepparts %.1f %.1f %.1f %.1f %.1f\n", stepUs, statusUs, armUs, textUs, trimUs);
}

}  // namespace

int runSteps(const std::wstring& bigPath, const std::wstring& smallPath)
{
    HWND window = nullptr, owner = nullptr;
    App* started = startMainWindow(window, owner, answerMessage);
    if (!started) return 1;
    App& app = *started;
    pumpMessages(window);
    Walk small;
    loadEntries(app, smallPath, small.entries);
    Walk big;
    loadEntries(app, bigPath, big.entries);
    if (small.entries.size() == 0 || big.entries.size() == 0) {
        std::fprintf(stderr, "the step files did not load\n");
        return 1;
    }
    walkSteps(app, small, WARM_UP_STEPS);
    walkSteps(app, big, WARM_UP_STEPS);
    // Both walks start over: the big one then shows its second to 10 001st entries, which have the
    // same lengths, ten by ten, as the small file's entries.
    small.index = 0;
    big.index = 0;
    for (int round = 0; round < STEPS / ROUND_STEPS; ++round) {
        Walk& first = round % 2 == 0 ? small : big;
        Walk& second = round % 2 == 0 ? big : small;
        first.ms += walkSteps(app, first, ROUND_STEPS);
        second.ms += walkSteps(app, second, ROUND_STEPS);
    }
    // The big walk with Fit To Font on and off by turns: a step must cost no more for it.
    double plainMs = 0, fitMs = 0;
    for (int round = 0; round < STEPS / ROUND_STEPS; ++round) {
        app.fitFont = round % 2 == 0;
        (app.fitFont ? fitMs : plainMs) += walkSteps(app, big, ROUND_STEPS);
    }
    app.fitFont = false;
    std::printf("step small %.2f %zu %d\n", small.ms, small.entries.size(), STEPS);
    std::printf("step big %.2f %zu %d\n", big.ms, big.entries.size(), STEPS);
    std::printf("stepfit %.2f %.2f %d\n", plainMs, fitMs, STEPS / 2);
    stepParts(app, big);
    std::fflush(stdout);
    DestroyWindow(window);
    DestroyWindow(owner);
    pumpMessages(nullptr);
    platform.messageBox = Platform().messageBox;
    return 0;
}
