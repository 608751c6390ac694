#include "core/text/slideshow.h"

#include <algorithm>

namespace {

std::uint32_t fullPeriod(const SlideshowSettings& settings, TimerPhase phase) {
    return phase == TimerPhase::HidePhase ? settings.hideTime : settings.slideTime;
}

// With the countdown the timer ticks once a second whatever the phase's length.
std::uint32_t tickPeriod(const SlideshowState& state, const SlideshowSettings& settings,
                         std::uint32_t phasePeriod) {
    return settings.countdown ? state.countdownTickMs : phasePeriod;
}

std::uint32_t following(std::uint32_t currentIndex, std::uint32_t entryCount) {
    return (currentIndex + 1u) % entryCount;
}

std::uint32_t preceding(std::uint32_t currentIndex, std::uint32_t entryCount) {
    return currentIndex == 0 ? entryCount - 1u : currentIndex - 1u;
}

// "%u" and "%02u" without printf: mingw and glibc disagree on wide %s, so no printf here at all.
void appendNumber(std::wstring& out, std::uint32_t value, std::size_t minDigits = 1) {
    wchar_t digits[10];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10u);
        value /= 10u;
    } while (value != 0);
    for (std::size_t i = count; i < minDigits; ++i) out += L'0';
    while (count > 0) out += digits[--count];
}

std::wstring cutTo(std::wstring_view text, std::size_t bufferChars) {
    return std::wstring(text.substr(0, std::min(text.size(), bufferChars - 1)));
}

}  // namespace

TimerPeriod planArmTimer(SlideshowState& state, const SlideshowSettings& settings, TimerPhase phase) {
    if (!settings.slideShow) return std::nullopt;
    const std::uint32_t period = fullPeriod(settings, phase);
    state.timerPhase = phase;
    state.remainingMs = period;
    return tickPeriod(state, settings, period);
}

bool userBusy(std::optional<int> notificationState) {
    return notificationState == USER_BUSY || notificationState == USER_FULL_SCREEN_GAME ||
           notificationState == USER_PRESENTING;
}

TickAction onTimerTick(SlideshowState& state, const SlideshowSettings& settings,
                       std::uint32_t entryCount, std::uint32_t currentIndex, TickWindow window) {
    TickAction action;
    if (settings.countdown) {
        if (state.remainingMs < state.countdownTickMs) {
            state.remainingMs = 0;
        } else {
            state.remainingMs -= state.countdownTickMs;
            if (state.remainingMs != 0) {
                // The last tick of a phase is shortened so the phase lasts exactly its period.
                action.outcome = TickOutcome::Counting;
                action.period = std::min(state.countdownTickMs, state.remainingMs);
                return action;
            }
        }
    } else {
        state.remainingMs = 0;
    }

    // Out of the hide phase, or a step with the window hidden, the window would come up.
    const bool comesUp = state.timerPhase == TimerPhase::HidePhase || (!settings.hide && window.hidden);
    if (window.keepDown && comesUp) {
        action.outcome = TickOutcome::Waiting;
        action.period = state.countdownTickMs;
        return action;
    }
    if (state.timerPhase == TimerPhase::HidePhase) {
        action.showNoActivate = true;
    } else if (settings.hide) {
        action.outcome = TickOutcome::HideWindow;
        action.period = planArmTimer(state, settings, TimerPhase::HidePhase);
        return action;
    }

    action.outcome = TickOutcome::Advance;
    // With a single entry there is nowhere to go; the timer keeps its last period.
    if (entryCount >= 2) action.nextIndex = following(currentIndex, entryCount);
    return action;
}

void planSuspendTimer(SlideshowState& state, bool forDialog) {
    if (forDialog) state.timerSuspended = true;
}

TimerPeriod planResumeTimer(SlideshowState& state, const SlideshowSettings& settings) {
    state.timerSuspended = false;
    if (!settings.slideShow) return std::nullopt;
    // Phase and count are left alone: a countdown goes on where it stopped, a plain timer
    // starts its period afresh (the slide period, even in the hide phase).
    return tickPeriod(state, settings, settings.slideTime);
}

SlideshowToggle planToggleSlideshow(SlideshowState& state, SlideshowSettings& settings) {
    settings.slideShow = !settings.slideShow;
    SlideshowToggle toggle;
    toggle.period = planArmTimer(state, settings, TimerPhase::SlidePhase);
    toggle.showWindowIfHidden = settings.slideShow;
    toggle.trimWorkingSet = !settings.slideShow;
    return toggle;
}

HideToggle planToggleHide(SlideshowState& state, SlideshowSettings& settings) {
    const bool wasSet = settings.hide;
    settings.hide = !settings.hide;
    HideToggle toggle;
    // Hidden by the hide cycle: come back now; the text stays empty until the next step.
    if (wasSet && state.timerPhase == TimerPhase::HidePhase) {
        toggle.restoreWindow = true;
        toggle.period = planArmTimer(state, settings, TimerPhase::SlidePhase);
    }
    return toggle;
}

TimerPeriod planToggleCountdown(SlideshowState& state, SlideshowSettings& settings) {
    // Countdown can be chosen in the tray icon's menu while a command's dialog holds the timer: the
    // hold stays, and the new slide phase starts when the dialog ends.
    const bool held = state.timerSuspended;
    settings.countdown = !settings.countdown;
    planArmTimer(state, settings, TimerPhase::SlidePhase);
    if (held) return std::nullopt;
    return planResumeTimer(state, settings);
}

bool storeEditedTime(SlideshowState& state, SlideshowSettings& settings, TimerPhase kind,
                     std::uint32_t value) {
    std::uint32_t& setting =
        kind == TimerPhase::HidePhase ? settings.hideTime : settings.slideTime;
    if (value == setting) return false;
    setting = value;
    if (state.timerPhase == kind) state.remainingMs = value;
    return true;
}

std::optional<NavigationStep> planNextEntry(std::uint32_t currentIndex, std::uint32_t entryCount) {
    if (entryCount == 0) return std::nullopt;
    return NavigationStep{following(currentIndex, entryCount), ShowMode::ShowCurrent};
}

std::optional<NavigationStep> planPreviousEntry(std::uint32_t currentIndex, std::uint32_t entryCount) {
    if (entryCount == 0) return std::nullopt;
    return NavigationStep{preceding(currentIndex, entryCount), ShowMode::ShowCurrent};
}

std::optional<NavigationStep> planFirstEntry(std::uint32_t, std::uint32_t entryCount) {
    if (entryCount == 0) return std::nullopt;
    return NavigationStep{0, ShowMode::ShowCurrent};
}

std::optional<NavigationStep> planLastEntry(std::uint32_t, std::uint32_t entryCount) {
    if (entryCount == 0) return std::nullopt;
    return NavigationStep{entryCount - 1u, ShowMode::ShowCurrent};
}

std::optional<NavigationStep> planSlideNext(std::uint32_t currentIndex, std::uint32_t entryCount) {
    if (entryCount == 0) return std::nullopt;
    return NavigationStep{following(currentIndex, entryCount), ShowMode::ShowSlide};
}

std::optional<NavigationStep> planSlidePrevious(std::uint32_t currentIndex, std::uint32_t entryCount) {
    if (entryCount == 0) return std::nullopt;
    return NavigationStep{preceding(currentIndex, entryCount), ShowMode::ShowSlide};
}

std::optional<NavigationStep> planRandomEntry(std::uint32_t currentIndex, std::uint32_t entryCount) {
    if (entryCount == 0) return std::nullopt;
    return NavigationStep{currentIndex, ShowMode::ShowRandom};
}

std::uint32_t randomBelow(std::uint32_t bound, const RandomSource& nextRandom) {
    // 2^32 mod bound: from here up the numbers make whole rounds of 0 .. bound - 1, fair to every pick.
    const std::uint32_t unevenTop = (0u - bound) % bound;
    for (;;) {
        const std::uint32_t value = nextRandom();
        if (value >= unevenTop) return value % bound;
    }
}

std::optional<std::uint32_t> showEntryIndex(ShowMode mode, bool random, std::uint32_t currentIndex,
                                            std::uint32_t entryCount, const RandomSource& nextRandom,
                                            ShuffleState* shuffle) {
    if (entryCount == 0) return std::nullopt;
    if (mode != ShowMode::ShowRandom && !(mode == ShowMode::ShowSlide && random)) return currentIndex;
    if (shuffle) return nextShuffled(*shuffle, entryCount, currentIndex, nextRandom);
    return randomBelow(entryCount, nextRandom);
}

std::wstring formatStatus(std::wstring_view titleText, std::uint32_t currentIndex,
                          std::uint32_t entryCount, bool slideShow, bool countdown,
                          std::uint32_t remainingMs) {
    titleText = titleText.substr(0, std::min(titleText.size(), titleText.find(L'\0')));
    std::wstring text(titleText);
    text += L" | ";
    appendNumber(text, currentIndex + 1u);
    text += L'/';
    appendNumber(text, entryCount);
    if (!slideShow) {
        text += L" | Stop";
    } else if (countdown) {
        // Each part is kept in a byte, so 256 hours and more wrap around.
        const auto hours = static_cast<std::uint8_t>(remainingMs / 3600000u);
        const auto minutes = static_cast<std::uint8_t>(remainingMs % 3600000u / 60000u);
        const auto seconds = static_cast<std::uint8_t>(remainingMs % 60000u / 1000u);
        text += L" | ";
        appendNumber(text, hours, 2);
        text += L':';
        appendNumber(text, minutes, 2);
        text += L':';
        appendNumber(text, seconds, 2);
    }
    return cutTo(text, STATUS_BUFFER_CHARS);
}

std::wstring composeStatus(const SlideshowState& state, const SlideshowSettings& settings,
                           std::wstring_view titleText, std::uint32_t currentIndex,
                           std::uint32_t entryCount) {
    return formatStatus(titleText, currentIndex, entryCount, settings.slideShow, settings.countdown,
                        state.remainingMs);
}

std::wstring trayTipText(std::wstring_view statusText) {
    return cutTo(statusText, TRAY_TIP_BUFFER_CHARS);
}
