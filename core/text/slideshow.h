#pragma once
// Navigation, the slideshow timer and the status text: the deciding half.
// Nothing here reads a clock or touches a window. Each operation updates the plain records
// below and returns what the window side has to do (kill or create the timer, hide, show,
// step to an entry), so the whole slideshow can be driven with virtual time in tests.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/shuffle.h"

// The one window timer; it arrives as WM_TIMER with this identifier.
inline constexpr unsigned IDT_SLIDESHOW = 1026;
// Buffer sizes, terminating zero included.
inline constexpr std::size_t STATUS_BUFFER_CHARS = 260;
inline constexpr std::size_t TRAY_TIP_BUFFER_CHARS = 128;

enum class TimerPhase : int { SlidePhase = 0, HidePhase = 1 };
enum class ShowMode : int { ShowCurrent = 0, ShowRandom = 1, ShowSlide = 2 };

// Run-time state of the timer (fields of the App).
struct SlideshowState {
    TimerPhase timerPhase = TimerPhase::SlidePhase;
    std::uint32_t remainingMs = 5000;    // left in the current phase; counted down only with countdown
    std::uint32_t countdownTickMs = 1000;
    bool timerSuspended = false;         // a command has stopped the timer for a modal dialog
};

// The settings the slideshow reads (settings fields of the App; the settings table gives their
// defaults).
struct SlideshowSettings {
    bool slideShow = false;
    bool hide = false;
    bool random = false;
    bool countdown = false;
    bool statusInCaption = false;
    std::uint32_t slideTime = 0;
    std::uint32_t hideTime = 0;
};
// The longest period the status can show as hh:mm:ss: 255:59:59.999.
inline constexpr std::uint32_t MAX_PERIOD_MS = 256u * 3600000u - 1;

// What to do with the timer: KillTimer, then SetTimer with the period if there is one.
using TimerPeriod = std::optional<std::uint32_t>;

// planArmTimer: the caller kills the timer, creates it with the result if any, and updates the
// status in every case. With slideShow clear nothing changes and the result is empty.
TimerPeriod planArmTimer(SlideshowState& state, const SlideshowSettings& settings, TimerPhase phase);

enum class TickOutcome {
    Counting,    // re-create the timer with `period`, update the status
    HideWindow,  // empty the text control, hide the window, then arm as planArmTimer does with `period`
    Advance,     // the phase ran out: see showNoActivate and nextIndex
    Waiting,     // the phase ran out, but the window must stay down: as Counting, to look again after `period`
};

// Quiet In Full Screen. What SHQueryUserNotificationState reports while the user runs a full-screen
// program, a Direct3D game or a presentation; then the window keeps out of the way.
inline constexpr int USER_BUSY = 2, USER_FULL_SCREEN_GAME = 3, USER_PRESENTING = 4;
// Whether the user is busy so; an unanswered question (none) says no.
bool userBusy(std::optional<int> notificationState);

// The window at a tick: whether it must stay down now (Quiet In Full Screen and the user busy), and
// whether it is hidden (by the hide cycle or by the user). A step that would bring it up then waits,
// a tick at a time, and comes at the first tick after the user is back.
struct TickWindow {
    bool keepDown = false;
    bool hidden = false;
};

struct TickAction {
    TickOutcome outcome = TickOutcome::Counting;
    TimerPeriod period;                      // Counting, HideWindow and Waiting
    bool showNoActivate = false;             // Advance out of the hide phase: ShowWindow(SW_SHOWNOACTIVATE) first
    std::optional<std::uint32_t> nextIndex;  // Advance: currentIndex = this, then showEntry(ShowSlide);
                                             // none (fewer than two entries): nothing more, the timer keeps running
};

// WM_TIMER for IDT_SLIDESHOW (the caller ignores other identifiers).
TickAction onTimerTick(SlideshowState& state, const SlideshowSettings& settings,
                       std::uint32_t entryCount, std::uint32_t currentIndex, TickWindow window = {});

// planSuspendTimer: the caller kills the timer; a dialog also marks it suspended.
void planSuspendTimer(SlideshowState& state, bool forDialog);
// planResumeTimer: the caller creates the timer with the result if any (no kill needed: it replaces).
TimerPeriod planResumeTimer(SlideshowState& state, const SlideshowSettings& settings);

struct SlideshowToggle {
    TimerPeriod period;               // arm as planArmTimer does (kill, maybe create, update status)
    bool showWindowIfHidden = false;  // the slideshow is now on: bring a hidden window back (SW_SHOWNORMAL)
    bool trimWorkingSet = false;      // the slideshow is now off
};
SlideshowToggle planToggleSlideshow(SlideshowState& state, SlideshowSettings& settings);

struct HideToggle {
    bool restoreWindow = false;  // arm as planArmTimer does with `period`, then ShowWindow(SW_SHOWNORMAL)
    TimerPeriod period;
};
HideToggle planToggleHide(SlideshowState& state, SlideshowSettings& settings);

// planToggleCountdown restarts the slide phase with its full period. The caller kills the timer,
// creates it with the result if any and updates the status. While a dialog holds the timer it stays
// held and the result is empty.
TimerPeriod planToggleCountdown(SlideshowState& state, SlideshowSettings& settings);

// After the timer dialog returned `value` for `kind` (SlidePhase: slideTime, HidePhase: hideTime).
// True when the setting changed: the caller updates the status. planResumeTimer follows either way.
bool storeEditedTime(SlideshowState& state, SlideshowSettings& settings, TimerPhase kind,
                     std::uint32_t value);

// Navigation. None with an empty list: do nothing. Otherwise planArmTimer(SlidePhase),
// currentIndex = index, showEntry(mode).
struct NavigationStep {
    std::uint32_t index = 0;
    ShowMode mode = ShowMode::ShowCurrent;
};
std::optional<NavigationStep> planNextEntry(std::uint32_t currentIndex, std::uint32_t entryCount);
std::optional<NavigationStep> planPreviousEntry(std::uint32_t currentIndex, std::uint32_t entryCount);
std::optional<NavigationStep> planFirstEntry(std::uint32_t currentIndex, std::uint32_t entryCount);
std::optional<NavigationStep> planLastEntry(std::uint32_t currentIndex, std::uint32_t entryCount);
std::optional<NavigationStep> planSlideNext(std::uint32_t currentIndex, std::uint32_t entryCount);
std::optional<NavigationStep> planSlidePrevious(std::uint32_t currentIndex, std::uint32_t entryCount);
std::optional<NavigationStep> planRandomEntry(std::uint32_t currentIndex, std::uint32_t entryCount);

// Uniform 32-bit numbers: the App's generator, seeded once at start-up. Called only when a random
// pick is due.
using RandomSource = std::function<std::uint32_t()>;

// A uniform pick from 0 to bound - 1 (bound at least 1). The few numbers at the top of the 32-bit
// range that would favour the low results are drawn again.
std::uint32_t randomBelow(std::uint32_t bound, const RandomSource& nextRandom);

// The entry showEntry puts on show: none with an empty list (show nothing), otherwise
// currentIndex, or a random entry for ShowRandom and for ShowSlide with random set. The pick
// may repeat the entry already on show; with a shuffle round it comes from the round instead, which
// shows every entry once before any again.
std::optional<std::uint32_t> showEntryIndex(ShowMode mode, bool random, std::uint32_t currentIndex,
                                            std::uint32_t entryCount, const RandomSource& nextRandom,
                                            ShuffleState* shuffle = nullptr);

// "title | k/n | Stop", "title | k/n | hh:mm:ss" or "title | k/n", cut to the status buffer
// (at most 259 characters). The title ends at its first zero, as in a fixed buffer.
std::wstring formatStatus(std::wstring_view titleText, std::uint32_t currentIndex,
                          std::uint32_t entryCount, bool slideShow, bool countdown,
                          std::uint32_t remainingMs);
// The same from the records.
std::wstring composeStatus(const SlideshowState& state, const SlideshowSettings& settings,
                           std::wstring_view titleText, std::uint32_t currentIndex,
                           std::uint32_t entryCount);
// The tray tip: the first 127 characters of the status.
std::wstring trayTipText(std::wstring_view statusText);
