#include "shell/text/navigation_win.h"

#include "shell/app/app_info_win.h"
#include "shell/display/frame_win.h"
#include "shell/display/picture_win.h"
#include "shell/display/tray_win.h"
#include "shell/text/extras_win.h"
#include "shell/text/gong_win.h"

namespace {

std::uint32_t entryCount(const App& app) { return static_cast<std::uint32_t>(app.entries.size()); }

void setTimer(App& app, const TimerPeriod& period)
{
    KillTimer(app.window, IDT_SLIDESHOW);
    // While the pointer holds the slideshow the phase is set, but its timer waits for the pointer to go.
    if (period && !app.pointerOver) SetTimer(app.window, IDT_SLIDESHOW, *period, nullptr);
}

void navigate(App& app, const std::optional<NavigationStep>& step)
{
    if (!step) return;
    armTimer(app, TimerPhase::SlidePhase);
    app.currentIndex = step->index;
    showEntry(app, step->mode);
}

// The hide cycle and the tray icon hide the window; whether it had the keyboard is noted, so that
// the keyboard can come back with it.
void hideWindow(App& app)
{
    app.keyboardWhenHidden = hasKeyboard(app.window);
    ShowWindow(app.window, SW_HIDE);
}

// Shows the hidden window. Shown without activation it would come back without the keyboard (and
// under Wine none would have it until the window is clicked): it gets it back when it had it and no
// other program has taken it meanwhile.
void showHiddenWindow(App& app, int how)
{
    ShowWindow(app.window, how);
    if (app.keyboardWhenHidden && !keyboardTakenElsewhere()) giveKeyboard(app.window);
    app.keyboardWhenHidden = false;
}

}  // namespace

void showEntry(App& app, ShowMode mode)
{
    const auto index = showEntryIndex(mode, app.slide.random, app.currentIndex, entryCount(app),
                                      [&app] { return static_cast<std::uint32_t>(app.randomGenerator()); },
                                      app.shuffle ? &app.shuffleRound : nullptr);
    if (!index) return;
    if (app.onTop && !keepingQuiet(app)) applyStayOnTop(app);
    app.currentIndex = *index;
    if (app.playSound) playGong(app);
    updateStatus(app);
    showEntryText(app);
    if (!IsWindowVisible(app.window)) showHiddenWindow(app, SW_SHOWNORMAL);
    if (app.slide.slideShow) armTimer(app, TimerPhase::SlidePhase);
    trimWorkingSet();
}

void updateStatus(App& app)
{
    const std::wstring status = composeStatus(app.timer, app.slide, app.titleText, app.currentIndex, entryCount(app));
    copyToBuffer(app.statusText, PATH_BUFFER, status);
    copyToBuffer(app.trayIconData.szTip, TRAY_TIP_BUFFER_CHARS, trayTipText(status));
    setCaption(app, app.slide.statusInCaption ? app.statusText : app.titleText);
    updateTrayTip(app);
}

void armTimer(App& app, TimerPhase phase)
{
    setTimer(app, planArmTimer(app.timer, app.slide, phase));
    updateStatus(app);
}

void onTimer(App& app, WPARAM timerId)
{
    if (timerId != IDT_SLIDESHOW) return;
    const TickWindow shown{keepingQuiet(app), !IsWindowVisible(app.window)};
    const TickAction action = onTimerTick(app.timer, app.slide, entryCount(app), app.currentIndex, shown);
    switch (action.outcome) {
    case TickOutcome::Counting:
    case TickOutcome::Waiting:
        setTimer(app, action.period);
        updateStatus(app);
        return;
    case TickOutcome::HideWindow:
        stopReveal(app);
        SetWindowTextW(app.textControl, L"");
        hideWindow(app);
        setTimer(app, action.period);
        updateStatus(app);
        return;
    case TickOutcome::Advance:
        if (action.showNoActivate) showHiddenWindow(app, SW_SHOWNOACTIVATE);
        if (!action.nextIndex) return;
        app.currentIndex = *action.nextIndex;
        showEntry(app, ShowMode::ShowSlide);
        return;
    }
}

void suspendTimer(App& app, bool forDialog)
{
    KillTimer(app.window, IDT_SLIDESHOW);
    planSuspendTimer(app.timer, forDialog);
}

void resumeTimer(App& app)
{
    setTimer(app, planResumeTimer(app.timer, app.slide));
}

void nextEntry(App& app) { navigate(app, planNextEntry(app.currentIndex, entryCount(app))); }
void previousEntry(App& app) { navigate(app, planPreviousEntry(app.currentIndex, entryCount(app))); }
void firstEntry(App& app) { navigate(app, planFirstEntry(app.currentIndex, entryCount(app))); }
void lastEntry(App& app) { navigate(app, planLastEntry(app.currentIndex, entryCount(app))); }
void slideNext(App& app) { navigate(app, planSlideNext(app.currentIndex, entryCount(app))); }
void slidePrevious(App& app) { navigate(app, planSlidePrevious(app.currentIndex, entryCount(app))); }
void randomEntry(App& app) { navigate(app, planRandomEntry(app.currentIndex, entryCount(app))); }

void toggleSlideshow(App& app)
{
    const SlideshowToggle t = planToggleSlideshow(app.timer, app.slide);
    setTimer(app, t.period);
    updateStatus(app);
    if (t.showWindowIfHidden && !IsWindowVisible(app.window)) showHiddenWindow(app, SW_SHOWNORMAL);
    if (t.trimWorkingSet) trimWorkingSet();
}

void toggleHide(App& app)
{
    const HideToggle t = planToggleHide(app.timer, app.slide);
    if (!t.restoreWindow) return;
    setTimer(app, t.period);
    updateStatus(app);
    showHiddenWindow(app, SW_SHOWNORMAL);
}

void toggleRandom(App& app) { app.slide.random = !app.slide.random; }

void toggleCountdown(App& app)
{
    setTimer(app, planToggleCountdown(app.timer, app.slide));
    updateStatus(app);
}

void toggleStatusInCaption(App& app)
{
    app.slide.statusInCaption = !app.slide.statusInCaption;
    updateStatus(app);
}

void toggleWindowVisibility(App& app)
{
    if (!IsWindowVisible(app.window)) {
        showHiddenWindow(app, SW_SHOWNORMAL);
    } else {
        hideWindow(app);
        trimWorkingSet();
    }
}
