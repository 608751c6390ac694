// The cost of one step on the real main window, over a big file and over a small one: a step must
// not grow with the number of entries.
#include <algorithm>
#include <cstdio>
#include <limits>

#include "app/app_info_win.h"
#include "app/app_win.h"
#include "bench/bench.h"
#include "res/resource.h"
#include "text/navigation_win.h"
#include "text/text_loader_win.h"

namespace {

constexpr int STEPS = 10000;
constexpr int WARM_UP_STEPS = 1000;
constexpr int RUNS = 3;

// No one is there to answer a message box: report it and go on.
int answerMessage(const wchar_t* text, UINT)
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

// The main window as the entry routine makes it: class "Tomel", a hidden owner, the dialog.
HWND createMainWindow(HWND& owner)
{
    appInfo.instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = appInfo.instance;
    wc.hIcon = LoadIconW(appInfo.instance, MAKEINTRESOURCEW(IDR_MAIN));
    wc.lpszClassName = appInfo.programName;
    RegisterClassW(&wc);
    owner = CreateWindowExW(0, appInfo.programName, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr, appInfo.instance,
                            nullptr);
    HWND window = CreateDialogParamW(appInfo.instance, MAKEINTRESOURCEW(IDR_MAIN), owner, mainDialogProc, 0);
    appInfo.mainWindow = window;
    return window;
}

struct StepTime {
    double bestMs;
    std::size_t entries;
};

StepTime timeSteps(App& app, const std::wstring& path)
{
    copyToBuffer(app.textFilePath, PATH_BUFFER, path);
    app.currentIndex = 0;
    app.multiline = false;   // one entry a line
    openTextFile(app);
    pumpMessages(app.window);
    for (int i = 0; i < WARM_UP_STEPS; ++i) nextEntry(app);
    pumpMessages(app.window);
    double best = std::numeric_limits<double>::max();
    for (int run = 0; run < RUNS; ++run) {
        // Each run walks the same entries: the second to the 10 001st of the big file.
        app.currentIndex = 0;
        const double start = nowMs();
        for (int i = 0; i < STEPS; ++i) nextEntry(app);
        best = std::min(best, nowMs() - start);
        pumpMessages(app.window);
    }
    return {best, app.entries.size()};
}

}  // namespace

int runSteps(const std::wstring& bigPath, const std::wstring& smallPath)
{
    messageHook = answerMessage;
    HWND owner = nullptr;
    HWND window = createMainWindow(owner);
    if (!window || !currentApp) {
        std::fprintf(stderr, "cannot create the main window (error %lu)\n", GetLastError());
        return 1;
    }
    pumpMessages(window);
    const StepTime small = timeSteps(*currentApp, smallPath);
    const StepTime big = timeSteps(*currentApp, bigPath);
    std::printf("step small %.2f %zu %d\n", small.bestMs, small.entries, STEPS);
    std::printf("step big %.2f %zu %d\n", big.bestMs, big.entries, STEPS);
    std::fflush(stdout);
    DestroyWindow(window);
    DestroyWindow(owner);
    pumpMessages(nullptr);
    messageHook = nullptr;
    return 0;
}
