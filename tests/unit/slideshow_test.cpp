#include "text/slideshow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// The window side in virtual time: one periodic timer that fires every `period` ms after it was
// (re-)created, a window that can be hidden, a text control, a caption. It does what the real shell
// does with each decision, and records what happened.
struct VirtualShell {
    SlideshowState state;
    SlideshowSettings settings;
    std::uint32_t entryCount = 10;
    std::uint32_t currentIndex = 0;
    std::wstring titleText = L"notes.txt - Tomel";
    RandomSource nextRandom = [] { return 0; };

    std::uint64_t now = 0;
    std::optional<std::uint32_t> timerPeriod;
    std::uint64_t dueAt = 0;

    bool visible = true;
    std::optional<std::uint32_t> shownEntry;  // none: the text control is empty
    std::wstring statusText;

    struct Step { std::uint64_t at; std::uint32_t index; };
    struct Show { std::uint64_t at; bool activate; };
    std::vector<std::uint64_t> ticks;
    std::vector<Step> steps;
    std::vector<std::uint64_t> hides;
    std::vector<Show> shows;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> periodsSet;
    std::vector<std::pair<std::uint64_t, std::wstring>> statuses;

    // SetTimer raises periods below USER_TIMER_MINIMUM to it.
    static std::uint32_t effective(std::uint32_t period) { return period < 10 ? 10 : period; }

    void killTimer() { timerPeriod.reset(); }
    void setTimer(std::uint32_t period) {
        timerPeriod = period;
        dueAt = now + effective(period);
        periodsSet.emplace_back(now, period);
    }
    void applyTimer(TimerPeriod period) {
        killTimer();
        if (period) setTimer(*period);
    }
    void updateStatus() {
        statusText = composeStatus(state, settings, titleText, currentIndex, entryCount);
        statuses.emplace_back(now, statusText);
    }
    void showWindow(bool activate) {
        if (visible) return;
        visible = true;
        shows.push_back({now, activate});
    }
    void hideWindow() {
        if (!visible) return;
        visible = false;
        hides.push_back(now);
    }

    void arm(TimerPhase phase) {
        applyTimer(armTimer(state, settings, phase));
        updateStatus();
    }
    void showEntry(ShowMode mode) {
        auto index = showEntryIndex(mode, settings.random, currentIndex, entryCount, nextRandom);
        if (!index) return;
        currentIndex = *index;
        updateStatus();
        shownEntry = currentIndex;
        steps.push_back({now, currentIndex});
        showWindow(true);
        if (settings.slideShow) arm(TimerPhase::SlidePhase);
    }
    void navigate(std::optional<NavigationStep> step) {
        if (!step) return;
        arm(TimerPhase::SlidePhase);
        currentIndex = step->index;
        showEntry(step->mode);
    }
    void onTimer() {
        ticks.push_back(now);
        const TickAction action = onTimerTick(state, settings, entryCount, currentIndex);
        switch (action.outcome) {
        case TickOutcome::Counting:
            applyTimer(action.period);
            updateStatus();
            break;
        case TickOutcome::HideWindow:
            shownEntry.reset();
            hideWindow();
            applyTimer(action.period);
            updateStatus();
            break;
        case TickOutcome::Advance:
            if (action.showNoActivate) showWindow(false);
            if (action.nextIndex) {
                currentIndex = *action.nextIndex;
                showEntry(ShowMode::ShowSlide);
            }
            break;
        }
    }
    void suspend(bool forDialog) {
        killTimer();
        suspendTimer(state, forDialog);
    }
    void resume() {
        if (auto period = resumeTimer(state, settings)) setTimer(*period);
    }
    void toggleHideCommand() {
        const HideToggle toggle = toggleHide(state, settings);
        if (!toggle.restoreWindow) return;
        applyTimer(toggle.period);
        updateStatus();
        showWindow(true);
    }
    void runUntil(std::uint64_t t) {
        while (timerPeriod && dueAt <= t) {
            now = dueAt;
            dueAt += effective(*timerPeriod);
            onTimer();
        }
        now = t;
    }
    // The start: a file was loaded and its current entry shown.
    void start() { showEntry(ShowMode::ShowCurrent); }

    std::vector<std::uint64_t> stepTimes() const {
        std::vector<std::uint64_t> out;
        for (const Step& s : steps) out.push_back(s.at);
        return out;
    }
    std::vector<std::wstring> countsShown() const {  // the hh:mm:ss part of each status written
        std::vector<std::wstring> out;
        for (const auto& s : statuses) out.push_back(s.second.substr(s.second.size() - 8));
        return out;
    }
};

using Times = std::vector<std::uint64_t>;

TEST(SlideshowTimer, CountdownShortensTheLastTick) {
    VirtualShell shell;
    shell.settings.slideTime = 5500;
    shell.settings.countdown = true;
    shell.start();
    shell.runUntil(5499);
    EXPECT_EQ(shell.ticks, (Times{1000, 2000, 3000, 4000, 5000}));
    EXPECT_EQ(shell.stepTimes(), (Times{0}));
    ASSERT_FALSE(shell.periodsSet.empty());
    EXPECT_EQ(shell.periodsSet.back(), (std::pair<std::uint64_t, std::uint32_t>{5000, 500}));
    EXPECT_EQ(shell.countsShown(), (std::vector<std::wstring>{
        L"00:00:05", L"00:00:05", L"00:00:04", L"00:00:03", L"00:00:02", L"00:00:01", L"00:00:00"}));

    shell.runUntil(5500);
    EXPECT_EQ(shell.stepTimes(), (Times{0, 5500}));
    EXPECT_EQ(shell.currentIndex, 1u);
    EXPECT_EQ(shell.statusText, L"notes.txt - Tomel | 2/10 | 00:00:05");
    shell.runUntil(11000);
    EXPECT_EQ(shell.stepTimes(), (Times{0, 5500, 11000}));
}

TEST(SlideshowTimer, ZeroSlidePeriod) {
    // With the countdown a zero period steps once per tick; without, SetTimer's minimum rules.
    struct Case { bool countdown; std::uint64_t interval; };
    for (const Case c : {Case{true, 1000}, Case{false, 10}}) {
        SCOPED_TRACE(c.countdown);
        VirtualShell shell;
        shell.settings.slideTime = 0;
        shell.settings.countdown = c.countdown;
        shell.start();
        shell.runUntil(3 * c.interval);
        EXPECT_EQ(shell.stepTimes(), (Times{0, c.interval, 2 * c.interval, 3 * c.interval}));
        EXPECT_EQ(shell.ticks, (Times{c.interval, 2 * c.interval, 3 * c.interval}));
        EXPECT_EQ(shell.currentIndex, 3u);
    }
}

TEST(SlideshowTimer, SingleEntryWithoutHideNeverChanges) {
    struct Case { bool countdown; std::uint32_t lastPeriod; const wchar_t* status; };
    for (const Case c : {Case{true, 500, L"notes.txt - Tomel | 1/1 | 00:00:00"},
                         Case{false, 5500, L"notes.txt - Tomel | 1/1"}}) {
        SCOPED_TRACE(c.countdown);
        VirtualShell shell;
        shell.entryCount = 1;
        shell.settings.slideTime = 5500;
        shell.settings.countdown = c.countdown;
        shell.start();
        shell.runUntil(60000);
        EXPECT_EQ(shell.stepTimes(), (Times{0}));
        EXPECT_EQ(shell.shownEntry, std::optional<std::uint32_t>(0));
        EXPECT_TRUE(shell.hides.empty());
        EXPECT_EQ(shell.statusText, c.status);
        ASSERT_TRUE(shell.timerPeriod.has_value());
        EXPECT_EQ(*shell.timerPeriod, c.lastPeriod);
        EXPECT_GE(shell.ticks.size(), 10u);  // still firing
    }
}

TEST(SlideshowTimer, SingleEntryWithHideStaysInHidePhase) {
    for (bool countdown : {false, true}) {
        SCOPED_TRACE(countdown);
        VirtualShell shell;
        shell.entryCount = 1;
        shell.settings.hide = true;
        shell.settings.countdown = countdown;
        shell.settings.slideTime = 5000;
        shell.settings.hideTime = 1000;
        shell.start();
        shell.runUntil(60000);
        EXPECT_EQ(shell.hides, (Times{5000}));
        ASSERT_EQ(shell.shows.size(), 1u);
        EXPECT_EQ(shell.shows[0].at, 6000u);
        EXPECT_FALSE(shell.shows[0].activate);
        EXPECT_TRUE(shell.visible);
        EXPECT_FALSE(shell.shownEntry.has_value());
        EXPECT_EQ(shell.stepTimes(), (Times{0}));
        EXPECT_EQ(shell.state.timerPhase, TimerPhase::HidePhase);

        // A navigation command brings the entry and the slide phase back.
        shell.navigate(nextEntry(shell.currentIndex, shell.entryCount));
        EXPECT_EQ(shell.shownEntry, std::optional<std::uint32_t>(0));
        EXPECT_EQ(shell.state.timerPhase, TimerPhase::SlidePhase);
        shell.runUntil(65000);
        EXPECT_EQ(shell.hides, (Times{5000, 65000}));
    }
}

TEST(SlideshowTimer, FullHideCycle) {
    for (bool countdown : {false, true}) {
        SCOPED_TRACE(countdown);
        VirtualShell shell;
        shell.entryCount = 5;
        shell.settings.hide = true;
        shell.settings.countdown = countdown;
        shell.settings.slideTime = 3000;
        shell.settings.hideTime = 2000;
        shell.start();

        shell.runUntil(2999);
        EXPECT_TRUE(shell.visible);
        EXPECT_EQ(shell.shownEntry, std::optional<std::uint32_t>(0));
        shell.runUntil(3000);
        EXPECT_FALSE(shell.visible);
        EXPECT_FALSE(shell.shownEntry.has_value());
        EXPECT_EQ(shell.state.timerPhase, TimerPhase::HidePhase);
        EXPECT_EQ(shell.state.remainingMs, 2000u);
        shell.runUntil(4999);
        EXPECT_FALSE(shell.visible);
        shell.runUntil(5000);
        EXPECT_TRUE(shell.visible);
        EXPECT_EQ(shell.shownEntry, std::optional<std::uint32_t>(1));
        EXPECT_EQ(shell.state.timerPhase, TimerPhase::SlidePhase);

        shell.runUntil(10000);
        EXPECT_EQ(shell.hides, (Times{3000, 8000}));
        ASSERT_EQ(shell.shows.size(), 2u);
        EXPECT_EQ(shell.shows[1].at, 10000u);
        for (const auto& show : shell.shows) EXPECT_FALSE(show.activate);
        EXPECT_EQ(shell.stepTimes(), (Times{0, 5000, 10000}));
        EXPECT_EQ(shell.currentIndex, 2u);
    }
}

TEST(SlideshowTimer, HideTurnedOffWhileHidden) {
    VirtualShell shell;
    shell.entryCount = 4;
    shell.settings.hide = true;
    shell.settings.countdown = false;
    shell.start();
    shell.runUntil(5300);
    ASSERT_FALSE(shell.visible);

    shell.toggleHideCommand();
    EXPECT_FALSE(shell.settings.hide);
    EXPECT_TRUE(shell.visible);
    ASSERT_EQ(shell.shows.size(), 1u);
    EXPECT_TRUE(shell.shows[0].activate);
    EXPECT_FALSE(shell.shownEntry.has_value());  // empty until the next step
    EXPECT_EQ(shell.state.timerPhase, TimerPhase::SlidePhase);

    shell.runUntil(10299);
    EXPECT_FALSE(shell.shownEntry.has_value());
    shell.runUntil(10300);
    EXPECT_EQ(shell.shownEntry, std::optional<std::uint32_t>(1));
    EXPECT_EQ(shell.hides, (Times{5000}));

    // Turned on again while visible: nothing happens at once.
    const HideToggle toggle = toggleHide(shell.state, shell.settings);
    EXPECT_TRUE(shell.settings.hide);
    EXPECT_FALSE(toggle.restoreWindow);

    // Still in the hide phase after the slideshow was stopped there: turning hide on shows nothing.
    SlideshowState state;
    state.timerPhase = TimerPhase::HidePhase;
    SlideshowSettings settings;
    settings.slideShow = false;
    settings.hide = false;
    EXPECT_FALSE(toggleHide(state, settings).restoreWindow);
    EXPECT_TRUE(toggleHide(state, settings).restoreWindow);
    EXPECT_EQ(state.timerPhase, TimerPhase::HidePhase);  // armTimer does nothing without the slideshow
}

TEST(SlideshowTimer, NavigationRestartsTheSlidePeriod) {
    VirtualShell shell;
    shell.settings.countdown = false;
    shell.start();
    shell.runUntil(3000);
    shell.navigate(nextEntry(shell.currentIndex, shell.entryCount));
    shell.runUntil(12999);
    EXPECT_EQ(shell.stepTimes(), (Times{0, 3000, 8000}));
    EXPECT_EQ(shell.currentIndex, 2u);
}

TEST(SlideshowTimer, SuspendAndResume) {
    {
        SCOPED_TRACE("countdown goes on where it stopped");
        VirtualShell shell;
        shell.settings.slideTime = 5500;
        shell.start();
        shell.runUntil(2500);
        shell.suspend(true);
        EXPECT_TRUE(shell.state.timerSuspended);
        shell.runUntil(10000);
        EXPECT_EQ(shell.ticks, (Times{1000, 2000}));
        shell.resume();
        EXPECT_FALSE(shell.state.timerSuspended);
        shell.runUntil(20000);
        EXPECT_EQ(shell.stepTimes(), (Times{0, 13500, 19000}));
    }
    {
        SCOPED_TRACE("plain timer starts afresh; the menu does not mark it");
        VirtualShell shell;
        shell.settings.countdown = false;
        shell.start();
        shell.runUntil(4000);
        shell.suspend(false);
        EXPECT_FALSE(shell.state.timerSuspended);
        shell.runUntil(6000);
        shell.resume();
        shell.runUntil(11000);
        EXPECT_EQ(shell.stepTimes(), (Times{0, 11000}));
    }
    {
        SCOPED_TRACE("resumed in the hide phase with the slide period");
        VirtualShell shell;
        shell.settings.countdown = false;
        shell.settings.hide = true;
        shell.settings.slideTime = 4000;
        shell.settings.hideTime = 1000;
        shell.start();
        shell.runUntil(4000);
        ASSERT_EQ(shell.state.timerPhase, TimerPhase::HidePhase);
        shell.suspend(false);
        shell.resume();
        ASSERT_TRUE(shell.timerPeriod.has_value());
        EXPECT_EQ(*shell.timerPeriod, 4000u);
        shell.runUntil(8000);
        EXPECT_TRUE(shell.visible);
        EXPECT_EQ(shell.stepTimes(), (Times{0, 8000}));
    }
    {
        SCOPED_TRACE("slideshow off: no timer");
        SlideshowState state;
        SlideshowSettings settings;
        settings.slideShow = false;
        suspendTimer(state, true);
        EXPECT_FALSE(resumeTimer(state, settings).has_value());
        EXPECT_FALSE(state.timerSuspended);
    }
}

TEST(SlideshowTimer, ArmWithSlideshowOffChangesNothing) {
    SlideshowState state;
    state.timerPhase = TimerPhase::HidePhase;
    state.remainingMs = 1234;
    SlideshowSettings settings;
    settings.slideShow = false;
    for (TimerPhase phase : {TimerPhase::SlidePhase, TimerPhase::HidePhase}) {
        EXPECT_FALSE(armTimer(state, settings, phase).has_value());
        EXPECT_EQ(state.timerPhase, TimerPhase::HidePhase);
        EXPECT_EQ(state.remainingMs, 1234u);
    }
    settings.slideShow = true;
    settings.countdown = false;
    settings.slideTime = 7000;
    settings.hideTime = 300;
    EXPECT_EQ(armTimer(state, settings, TimerPhase::HidePhase), TimerPeriod(300));
    EXPECT_EQ(state.remainingMs, 300u);
    EXPECT_EQ(armTimer(state, settings, TimerPhase::SlidePhase), TimerPeriod(7000));
    EXPECT_EQ(state.timerPhase, TimerPhase::SlidePhase);
    EXPECT_EQ(state.remainingMs, 7000u);
}

TEST(SlideshowTimer, Toggles) {
    VirtualShell shell;
    shell.start();
    shell.runUntil(2000);

    SlideshowToggle off = toggleSlideshow(shell.state, shell.settings);
    EXPECT_FALSE(off.period.has_value());
    EXPECT_TRUE(off.trimWorkingSet);
    EXPECT_FALSE(off.showWindowIfHidden);
    shell.applyTimer(off.period);
    shell.updateStatus();
    EXPECT_EQ(shell.statusText, L"notes.txt - Tomel | 1/10 | Stop");
    shell.runUntil(60000);
    EXPECT_EQ(shell.ticks.size(), 2u);

    SlideshowToggle on = toggleSlideshow(shell.state, shell.settings);
    EXPECT_EQ(on.period, TimerPeriod(1000));
    EXPECT_TRUE(on.showWindowIfHidden);
    EXPECT_FALSE(on.trimWorkingSet);
    EXPECT_EQ(shell.state.remainingMs, 5000u);

    // Countdown off and on: the slide phase starts again with its full period, nothing suspended.
    shell.state.remainingMs = 1500;
    EXPECT_EQ(toggleCountdown(shell.state, shell.settings), TimerPeriod(5000));
    EXPECT_FALSE(shell.settings.countdown);
    EXPECT_FALSE(shell.state.timerSuspended);
    shell.state.remainingMs = 1500;
    EXPECT_EQ(toggleCountdown(shell.state, shell.settings), TimerPeriod(1000));
    EXPECT_TRUE(shell.settings.countdown);
    EXPECT_EQ(shell.state.remainingMs, 5000u);
}

TEST(SlideshowTimer, EditedTimeReachesTheRunningPhaseOnly) {
    struct Case { TimerPhase phase; TimerPhase kind; std::uint32_t value; bool changed; std::uint32_t remaining; };
    const Case cases[] = {
        {TimerPhase::SlidePhase, TimerPhase::SlidePhase, 9000, true, 9000},
        {TimerPhase::SlidePhase, TimerPhase::HidePhase, 9000, true, 2500},
        {TimerPhase::HidePhase, TimerPhase::HidePhase, 9000, true, 9000},
        {TimerPhase::HidePhase, TimerPhase::SlidePhase, 9000, true, 2500},
        {TimerPhase::SlidePhase, TimerPhase::SlidePhase, 5000, false, 2500},  // unchanged
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.phase) * 10 + static_cast<int>(c.kind));
        SlideshowState state;
        state.timerPhase = c.phase;
        state.remainingMs = 2500;
        SlideshowSettings settings;  // slideTime 5000, hideTime 1000
        EXPECT_EQ(storeEditedTime(state, settings, c.kind, c.value), c.changed);
        EXPECT_EQ(state.remainingMs, c.remaining);
        const std::uint32_t stored =
            c.kind == TimerPhase::SlidePhase ? settings.slideTime : settings.hideTime;
        EXPECT_EQ(stored, c.value);
    }
}

TEST(SlideshowNavigation, WrapsAtBothEnds) {
    using Op = std::optional<NavigationStep> (*)(std::uint32_t, std::uint32_t);
    struct Case { const char* name; Op op; std::uint32_t from; std::uint32_t to; ShowMode mode; };
    const Case cases[] = {
        {"next", nextEntry, 9, 0, ShowMode::ShowCurrent},
        {"next", nextEntry, 4, 5, ShowMode::ShowCurrent},
        {"previous", previousEntry, 0, 9, ShowMode::ShowCurrent},
        {"previous", previousEntry, 5, 4, ShowMode::ShowCurrent},
        {"first", firstEntry, 7, 0, ShowMode::ShowCurrent},
        {"last", lastEntry, 2, 9, ShowMode::ShowCurrent},
        {"slideNext", slideNext, 9, 0, ShowMode::ShowSlide},
        {"slidePrevious", slidePrevious, 0, 9, ShowMode::ShowSlide},
        {"slidePrevious", slidePrevious, 3, 2, ShowMode::ShowSlide},
        {"random", randomEntry, 6, 6, ShowMode::ShowRandom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " from " + std::to_string(c.from));
        const auto step = c.op(c.from, 10);
        ASSERT_TRUE(step.has_value());
        EXPECT_EQ(step->index, c.to);
        EXPECT_EQ(step->mode, c.mode);
        EXPECT_FALSE(c.op(c.from, 0).has_value());  // an empty list: nothing to do
    }

    // Through the shell: the tenth entry is shown after the first, and the first after the tenth.
    VirtualShell shell;
    shell.start();
    shell.navigate(previousEntry(shell.currentIndex, shell.entryCount));
    EXPECT_EQ(shell.shownEntry, std::optional<std::uint32_t>(9));
    shell.navigate(nextEntry(shell.currentIndex, shell.entryCount));
    EXPECT_EQ(shell.shownEntry, std::optional<std::uint32_t>(0));
}

TEST(SlideshowNavigation, EmptyListDoesNothing) {
    VirtualShell shell;
    shell.entryCount = 0;
    shell.currentIndex = 3;
    shell.start();
    for (auto op : {nextEntry, previousEntry, firstEntry, lastEntry, slideNext, slidePrevious, randomEntry})
        shell.navigate(op(shell.currentIndex, shell.entryCount));
    EXPECT_TRUE(shell.steps.empty());
    EXPECT_TRUE(shell.periodsSet.empty());
    EXPECT_EQ(shell.currentIndex, 3u);

    // A running timer with nothing loaded: expiry advances nowhere.
    SlideshowState state;
    SlideshowSettings settings;
    settings.countdown = false;
    const TickAction action = onTimerTick(state, settings, 0, 3);
    EXPECT_EQ(action.outcome, TickOutcome::Advance);
    EXPECT_FALSE(action.nextIndex.has_value());
    EXPECT_FALSE(showEntryIndex(ShowMode::ShowRandom, true, 3, 0, [] { return 5; }).has_value());
    EXPECT_EQ(formatStatus(L"T", 3, 0, false, false, 0), L"T | 4/0 | Stop");
}

TEST(SlideshowNavigation, RandomPickOnlyWhenDue) {
    struct Case { ShowMode mode; bool random; bool picks; };
    const Case cases[] = {
        {ShowMode::ShowCurrent, false, false}, {ShowMode::ShowCurrent, true, false},
        {ShowMode::ShowRandom, false, true},   {ShowMode::ShowRandom, true, true},
        {ShowMode::ShowSlide, false, false},   {ShowMode::ShowSlide, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode) * 10 + c.random);
        int calls = 0;
        const auto index = showEntryIndex(c.mode, c.random, 2, 7, [&] { ++calls; return 32767; });
        ASSERT_TRUE(index.has_value());
        EXPECT_EQ(*index, c.picks ? 32767u % 7u : 2u);
        EXPECT_EQ(calls, c.picks ? 1 : 0);
    }
}

TEST(SlideshowNavigation, RandomCoversEveryEntry) {
    // The runtime's generator: a linear congruence yielding 15-bit values.
    std::uint32_t seed = 12345;
    const RandomSource lcg = [&seed] {
        seed = seed * 214013u + 2531011u;
        return static_cast<int>((seed >> 16) & 0x7fff);
    };
    const std::uint32_t n = 7;
    std::vector<int> hits(n, 0);
    std::uint32_t current = 0;
    for (int i = 0; i < 700; ++i) {
        auto step = randomEntry(current, n);
        ASSERT_TRUE(step.has_value());
        auto index = showEntryIndex(step->mode, false, step->index, n, lcg);
        ASSERT_TRUE(index.has_value());
        ASSERT_LT(*index, n);
        ++hits[*index];
        current = *index;
    }
    for (std::uint32_t i = 0; i < n; ++i) {
        SCOPED_TRACE(i);
        EXPECT_GT(hits[i], 50);  // about 100 expected each
    }

    // The slideshow with random set steps through random entries as well.
    VirtualShell shell;
    shell.entryCount = n;
    shell.settings.random = true;
    shell.settings.countdown = false;
    shell.nextRandom = lcg;
    shell.start();
    shell.runUntil(5000u * 200u);
    std::set<std::uint32_t> seen;
    for (const auto& step : shell.steps) seen.insert(step.index);
    EXPECT_EQ(seen.size(), n);
}

TEST(SlideshowStatus, Formats) {
    struct Case { const wchar_t* title; std::uint32_t index; std::uint32_t count; bool slideShow;
                  bool countdown; std::uint32_t remainingMs; const wchar_t* expected; };
    const Case cases[] = {
        {L"a.txt - Tomel", 2, 10, false, true, 5000, L"a.txt - Tomel | 3/10 | Stop"},
        {L"a.txt - Tomel", 2, 10, true, false, 5000, L"a.txt - Tomel | 3/10"},
        {L"a.txt - Tomel", 2, 10, true, true, 5000, L"a.txt - Tomel | 3/10 | 00:00:05"},
        {L"a", 0, 1, true, true, 3723000, L"a | 1/1 | 01:02:03"},            // 1 h 2 min 3 s
        {L"a", 0, 1, true, true, 3723999, L"a | 1/1 | 01:02:03"},            // whole seconds
        {L"a", 0, 1, true, true, 999, L"a | 1/1 | 00:00:00"},
        {L"a", 0, 1, true, true, 300u * 3600000u + 59000, L"a | 1/1 | 44:00:59"},  // 300 h in a byte
        {L"a", 0, 1, true, true, 255u * 3600000u, L"a | 1/1 | 255:00:00"},
        {L"a", 0, 1, true, true, 0xFFFFFFFFu, L"a | 1/1 | 169:02:47"},
        {L"a", 0xFFFFFFFFu, 4294967295u, true, false, 0, L"a | 0/4294967295"},  // k wraps
        {L"", 41, 100, false, false, 0, L" | 42/100 | Stop"},
        {L"\u00e9t\u00e9.txt - Tomel", 0, 3, true, false, 0, L"\u00e9t\u00e9.txt - Tomel | 1/3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << " " << c.remainingMs);
        EXPECT_EQ(formatStatus(c.title, c.index, c.count, c.slideShow, c.countdown, c.remainingMs),
                  c.expected);
    }
    // The title ends at its zero, as in its buffer.
    const wchar_t buffer[] = L"b.txt - Tomel\0garbage";
    EXPECT_EQ(formatStatus(std::wstring_view(buffer, sizeof buffer / sizeof buffer[0] - 1), 0, 2,
                           true, false, 0),
              L"b.txt - Tomel | 1/2");
}

TEST(SlideshowStatus, CutToItsBuffers) {
    const std::wstring longTitle(300, L'x');
    const std::wstring status = formatStatus(longTitle, 0, 5, true, true, 5000);
    EXPECT_EQ(status.size(), STATUS_BUFFER_CHARS - 1);
    EXPECT_EQ(status, longTitle.substr(0, 259));

    const std::wstring title245(245, L'y');
    EXPECT_EQ(formatStatus(title245, 0, 5, true, true, 5000), title245 + L" | 1/5 | 00:00");

    const std::wstring tip = trayTipText(status);
    EXPECT_EQ(tip.size(), TRAY_TIP_BUFFER_CHARS - 1);
    EXPECT_EQ(tip, status.substr(0, 127));
    EXPECT_EQ(trayTipText(L"short | 1/2"), L"short | 1/2");

    EXPECT_EQ(captionText(true, L"status", L"title"), L"status");
    EXPECT_EQ(captionText(false, L"status", L"title"), L"title");
}

}  // namespace
