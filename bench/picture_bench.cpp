// The background picture's memory: the process after a picture has come and been painted, or
// after the same start without one, each in a fresh process.
#include <cstdio>
#include <string>

#include "bench/bench.h"

#include <psapi.h>
#include "main/main_window_win.h"
#include "shell/app/app_info_win.h"
#include "shell/app/platform_win.h"
#include "shell/display/picture_win.h"

namespace {

int WINAPI answerMessage(HWND, LPCWSTR, LPCWSTR, UINT) { return IDOK; }

void pumpFor(double ms, const App* app)
{
    for (const double end = nowMs() + ms; nowMs() < end;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            if (!IsDialogMessageW(appInfo.mainWindow, &msg)) DispatchMessageW(&msg);
        }
        if (app && app->picture) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

}  // namespace

int runPicture(const std::wstring& path)
{
    HWND window = nullptr, owner = nullptr;
    App* started = startMainWindow(window, owner, answerMessage);
    if (!started) return 1;
    App& app = *started;
    app.saveOnExit = false;
    const double start = nowMs();
    if (!path.empty()) {
        loadPicture(app, path.c_str());
        pumpFor(120000, &app);
        if (!app.picture) {
            std::fprintf(stderr, "the picture did not come: %ls\n", path.c_str());
            return 1;
        }
    }
    const double cameMs = nowMs() - start;
    // Painted once and settled, as after start-up.
    UpdateWindow(window);
    pumpFor(300, nullptr);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 1;
    std::printf("picture %.0f %llu %llu %llu\n", cameMs, static_cast<unsigned long long>(counters.PagefileUsage),
                static_cast<unsigned long long>(counters.WorkingSetSize),
                static_cast<unsigned long long>(counters.PeakWorkingSetSize));
    std::fflush(stdout);
    DestroyWindow(window);
    DestroyWindow(owner);
    platform.messageBox = Platform().messageBox;
    return 0;
}
