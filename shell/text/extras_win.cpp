#include "shell/text/extras_win.h"

#include <algorithm>

#include "core/text/entry_views.h"
#include "shell/app/app_info_win.h"
#include "shell/app/files_win.h"
#include "shell/app/platform_win.h"
#include "shell/display/picture_win.h"
#include "shell/text/navigation_win.h"
#include "shell/text/text_loader_win.h"

namespace {

void setEntryText(App& app, std::wstring_view text)
{
    // The control draws no background of its own: the background is painted before the new text.
    if (pictureShown(app)) paintBackground(app, WindowDC(app.window).get());
    SetWindowTextW(app.textControl, std::wstring(text).c_str());
}

// A block of global memory for the clipboard, freed unless the clipboard took it.
class ClipboardMemory {
public:
    explicit ClipboardMemory(std::size_t bytes) : memory_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~ClipboardMemory() { if (memory_) GlobalFree(memory_); }
    ClipboardMemory(const ClipboardMemory&) = delete;
    ClipboardMemory& operator=(const ClipboardMemory&) = delete;
    HGLOBAL get() const { return memory_; }
    void handedOver() { memory_ = nullptr; }

private:
    HGLOBAL memory_;
};

class OpenClipboardFor {
public:
    explicit OpenClipboardFor(HWND window) : open_(OpenClipboard(window) != FALSE) {}
    ~OpenClipboardFor() { if (open_) CloseClipboard(); }
    OpenClipboardFor(const OpenClipboardFor&) = delete;
    OpenClipboardFor& operator=(const OpenClipboardFor&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

}  // namespace

void showEntryText(App& app)
{
    KillTimer(app.window, IDT_REVEAL);
    const std::wstring_view entry = app.entries[app.currentIndex];
    const std::optional<std::size_t> front = app.reveal ? revealFront(entry, app.multiline) : std::nullopt;
    app.backToCome = front.has_value();
    setEntryText(app, front ? entry.substr(0, *front) : entry);
    if (front) SetTimer(app.window, IDT_REVEAL, std::max<UINT>(app.slide.slideTime / 2, USER_TIMER_MINIMUM), nullptr);
}

void showBack(App& app)
{
    KillTimer(app.window, IDT_REVEAL);
    if (!app.backToCome || app.entries.empty()) return;
    app.backToCome = false;
    setEntryText(app, app.entries[app.currentIndex]);
}

void stopReveal(App& app)
{
    KillTimer(app.window, IDT_REVEAL);
    app.backToCome = false;
}

void toggleReveal(App& app)
{
    app.reveal = !app.reveal;
    if (!app.entries.empty() && IsWindowVisible(app.window)) showEntryText(app);
}

void copyEntry(App& app)
{
    if (app.entries.empty()) return;
    const std::wstring text = clipboardText(app.entries[app.currentIndex]);
    ClipboardMemory memory((text.size() + 1) * sizeof(wchar_t));
    if (!memory.get()) return;
    if (void* to = GlobalLock(memory.get())) {
        std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<wchar_t*>(to));
        GlobalUnlock(memory.get());
    } else {
        return;
    }
    const OpenClipboardFor clipboard(app.window);
    if (!clipboard || !EmptyClipboard()) return;
    if (SetClipboardData(CF_UNICODETEXT, memory.get())) memory.handedOver();
}

void toggleShuffle(App& app)
{
    app.shuffle = !app.shuffle;
    if (!app.shuffle) app.shuffleRound = ShuffleState{};
}

void onPointerOver(App& app)
{
    if (!app.pauseOnHover || app.pointerOver) return;
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = app.window;
    if (!TrackMouseEvent(&track)) return;
    app.pointerOver = true;
    suspendTimer(app, false);   // the countdown stands still where it was
}

void onPointerLeft(App& app)
{
    if (!app.pointerOver) return;
    app.pointerOver = false;
    // A command's dialog, the menu or a drag still holds the slideshow.
    if (!app.timer.timerSuspended && !app.menuShowing && GetCapture() != app.window) resumeTimer(app);
}

void togglePauseOnHover(App& app)
{
    app.pauseOnHover = !app.pauseOnHover;
    if (!app.pauseOnHover) onPointerLeft(app);
}

void watchTextFile(App& app)
{
    if (app.reloadWhenChanged)
        SetTimer(app.window, IDT_WATCH, WATCH_MS, nullptr);
    else
        KillTimer(app.window, IDT_WATCH);
}

void onWatchTimer(App& app)
{
    // A dialog or the menu may be working with the text on show: the next look will do.
    if (appInfo.nestedLoops > 0) return;
    const FileStamp now = fileStamp(app.textFilePath);
    if (lookAtFile(app.textWatch, now) != WatchStep::Reload) return;
    // A file that is there but refused, or too big, waits for its next change; one that could not
    // be opened (an editor may hold it) is tried again.
    if (reloadChangedText(app) != LoadOutcome::Missing) app.textWatch = {now, {}};
}

void toggleReloadWhenChanged(App& app)
{
    app.reloadWhenChanged = !app.reloadWhenChanged;
    app.textWatch = {fileStamp(app.textFilePath), {}};
    watchTextFile(app);
}

bool keepingQuiet(const App& app)
{
    static_assert(USER_BUSY == QUNS_BUSY && USER_FULL_SCREEN_GAME == QUNS_RUNNING_D3D_FULL_SCREEN &&
                  USER_PRESENTING == QUNS_PRESENTATION_MODE, "the shell's numbers");
    if (!app.quiet) return false;
    QUERY_USER_NOTIFICATION_STATE state = {};
    if (FAILED(platform.queryUserNotificationState(&state))) return userBusy(std::nullopt);
    return userBusy(int(state));
}
