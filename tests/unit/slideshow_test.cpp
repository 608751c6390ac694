#include "core/text/slideshow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Times = std::vector<std::uint64_t>;
using Index = std::optional<std::uint32_t>;

// The window side in virtual time: one periodic timer, a window that can hide, a text control.
// It carries out each decision as the real shell does and records what happened.
struct VirtualShell {
    SlideshowState state;
    SlideshowSettings settings;
    std::uint32_t entryCount = 10, currentIndex = 0;
    std::uint64_t now = 0, dueAt = 0;
    std::optional<std::uint32_t> timerPeriod;
    std::pair<std::uint64_t, std::uint32_t> lastSet;  // when and with which period SetTimer ran last
    bool visible = true;
    Index shownEntry;  // none: the text control is empty
    std::wstring statusText;
    Times ticks, steps, hides, shows;  // shows: brought back without activation
    std::vector<std::wstring> counts;  // the hh:mm:ss part of each status written

    // SetTimer raises periods below USER_TIMER_MINIMUM to it.
    static std::uint32_t effective(std::uint32_t period) { return period < 10 ? 10 : period; }
    void applyTimer(TimerPeriod period) {
        timerPeriod = period;
        if (period) { dueAt = now + effective(*period); lastSet = {now, *period}; }
        statusText = composeStatus(state, settings, L"notes.txt - Tomel", currentIndex, entryCount);
        counts.push_back(statusText.substr(statusText.size() - 8));
    }
    void showEntry(ShowMode mode) {
        auto index = showEntryIndex(mode, settings.random, currentIndex, entryCount, [] { return 0; });
        if (!index) return;
        shownEntry = currentIndex = *index;
        steps.push_back(now);
        visible = true;
        if (settings.slideShow) applyTimer(planArmTimer(state, settings, TimerPhase::SlidePhase));
    }
    void navigate(std::optional<NavigationStep> step) {
        if (!step) return;
        applyTimer(planArmTimer(state, settings, TimerPhase::SlidePhase));
        currentIndex = step->index;
        showEntry(step->mode);
    }
    void onTimer() {
        ticks.push_back(now);
        const TickAction action = onTimerTick(state, settings, entryCount, currentIndex);
        if (action.outcome == TickOutcome::HideWindow) {
            shownEntry.reset();
            if (visible) hides.push_back(now);
            visible = false;
        }
        if (action.outcome != TickOutcome::Advance) return applyTimer(action.period);
        if (action.showNoActivate && !visible) { visible = true; shows.push_back(now); }
        if (action.nextIndex) { currentIndex = *action.nextIndex; showEntry(ShowMode::ShowSlide); }
    }
    void runUntil(std::uint64_t t) {
        while (timerPeriod && dueAt <= t) {
            now = dueAt;
            dueAt += effective(*timerPeriod);
            onTimer();
        }
        now = t;
    }
};

// A file of `entries` was loaded and its current entry shown.
VirtualShell started(std::uint32_t entries, std::uint32_t slideTime, bool countdown, bool hide = false,
                     std::uint32_t hideTime = 1000) {
    VirtualShell shell;
    shell.entryCount = entries;
    shell.settings = {true, hide, false, countdown, true, slideTime, hideTime};
    shell.showEntry(ShowMode::ShowCurrent);
    return shell;
}

TEST(SlideshowTimer, CountdownShortensTheLastTick) {
    VirtualShell shell = started(10, 5500, true);
    shell.runUntil(5499);
    EXPECT_EQ(shell.ticks, (Times{1000, 2000, 3000, 4000, 5000}));
    EXPECT_EQ(shell.steps, (Times{0}));
    EXPECT_EQ(shell.lastSet, (std::pair<std::uint64_t, std::uint32_t>{5000, 500}));
    EXPECT_EQ(shell.counts, (std::vector<std::wstring>{L"00:00:05", L"00:00:04", L"00:00:03", L"00:00:02",
                                                       L"00:00:01", L"00:00:00"}));
    shell.runUntil(11000);
    EXPECT_EQ(shell.steps, (Times{0, 5500, 11000}));
    EXPECT_EQ(shell.currentIndex, 2u);
    EXPECT_EQ(shell.statusText, L"notes.txt - Tomel | 3/10 | 00:00:05");
}

TEST(SlideshowTimer, ZeroSlidePeriod) {
    // With the countdown a zero period steps once per tick; without, SetTimer's minimum rules.
    for (bool countdown : {true, false}) {
        SCOPED_TRACE(countdown);
        VirtualShell shell = started(10, 0, countdown);
        const std::uint64_t interval = countdown ? 1000 : 10;
        shell.runUntil(3 * interval);
        EXPECT_EQ(shell.steps, (Times{0, interval, 2 * interval, 3 * interval}));
        EXPECT_EQ(shell.currentIndex, 3u);
    }
}

TEST(SlideshowTimer, SingleEntry) {
    // Nowhere to step: the timer keeps firing with its last period; with hide the window
    // comes back once, empty, and stays in the hide phase until a command.
    struct Case { bool hide; bool countdown; Times hides; std::uint32_t lastPeriod; const wchar_t* status; };
    const Case cases[] = {{false, true, {}, 500, L"notes.txt - Tomel | 1/1 | 00:00:00"},
                          {false, false, {}, 5500, L"notes.txt - Tomel | 1/1"},
                          {true, true, {5500}, 1000, L"notes.txt - Tomel | 1/1 | 00:00:01"},
                          {true, false, {5500}, 1000, L"notes.txt - Tomel | 1/1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "hide " << c.hide << " countdown " << c.countdown);
        VirtualShell shell = started(1, 5500, c.countdown, c.hide);
        shell.runUntil(60000);
        EXPECT_EQ(shell.steps, (Times{0}));
        EXPECT_EQ(shell.timerPeriod, std::optional<std::uint32_t>(c.lastPeriod));
        EXPECT_EQ(shell.statusText, c.status);
        EXPECT_EQ(shell.hides, c.hides);
        EXPECT_EQ(shell.shows, c.hide ? Times{6500} : Times{});
        EXPECT_TRUE(shell.visible);
        EXPECT_EQ(shell.shownEntry, c.hide ? Index() : Index(0));
        EXPECT_EQ(shell.state.timerPhase, c.hide ? TimerPhase::HidePhase : TimerPhase::SlidePhase);
        if (!c.hide) continue;
        // A navigation command brings the entry and the slide phase back.
        shell.navigate(planNextEntry(shell.currentIndex, shell.entryCount));
        EXPECT_EQ(shell.shownEntry, Index(0));
        shell.runUntil(65500);
        EXPECT_EQ(shell.hides, (Times{5500, 65500}));
    }
}

TEST(SlideshowTimer, FullHideCycle) {
    for (bool countdown : {false, true}) {
        SCOPED_TRACE(countdown);
        VirtualShell shell = started(5, 3000, countdown, true, 2000);
        shell.runUntil(10000);
        EXPECT_EQ(shell.hides, (Times{3000, 8000}));
        EXPECT_EQ(shell.shows, (Times{5000, 10000}));
        EXPECT_EQ(shell.steps, (Times{0, 5000, 10000}));
        EXPECT_EQ(shell.shownEntry, Index(2));
    }
}

TEST(SlideshowTimer, HideTurnedOffWhileHidden) {
    VirtualShell shell = started(4, 5000, false, true);
    shell.runUntil(5300);
    ASSERT_FALSE(shell.visible);
    const HideToggle off = planToggleHide(shell.state, shell.settings);
    EXPECT_FALSE(shell.settings.hide);
    ASSERT_TRUE(off.restoreWindow);
    shell.applyTimer(off.period);
    EXPECT_EQ(shell.state.timerPhase, TimerPhase::SlidePhase);
    shell.runUntil(10300);
    EXPECT_EQ(shell.steps, (Times{0, 10300}));  // the text stays empty until then
    EXPECT_EQ(shell.shownEntry, Index(1));
    // Turned on again, visible or still in the hide phase of a stopped slideshow: nothing at once.
    EXPECT_FALSE(planToggleHide(shell.state, shell.settings).restoreWindow);
    SlideshowState state{TimerPhase::HidePhase};
    SlideshowSettings settings{false};
    EXPECT_FALSE(planToggleHide(state, settings).restoreWindow);
    EXPECT_TRUE(planToggleHide(state, settings).restoreWindow);
    EXPECT_EQ(state.timerPhase, TimerPhase::HidePhase);  // planArmTimer does nothing without the slideshow
}

TEST(SlideshowTimer, SuspendAndResume) {
    // A countdown goes on where it stopped; a plain timer restarts with the slide period, even
    // in the hide phase; only a dialog marks the timer suspended.
    struct Case { bool slideShow; bool countdown; TimerPhase phase; bool forDialog; TimerPeriod period; };
    const TimerPhase slide = TimerPhase::SlidePhase, hide = TimerPhase::HidePhase;
    const Case cases[] = {{true, true, slide, true, 1000}, {true, false, slide, false, 5000},
                          {true, false, hide, true, 5000}, {false, true, slide, true, std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        SlideshowState state{c.phase, 3500};
        const SlideshowSettings settings{c.slideShow, false, false, c.countdown};
        planSuspendTimer(state, c.forDialog);
        EXPECT_EQ(state.timerSuspended, c.forDialog);
        EXPECT_EQ(planResumeTimer(state, settings), c.period);
        EXPECT_FALSE(state.timerSuspended);
        EXPECT_EQ(state.timerPhase, c.phase);
        EXPECT_EQ(state.remainingMs, 3500u);
    }
}

TEST(SlideshowTimer, Toggles) {
    SlideshowState state{TimerPhase::HidePhase, 1234};
    SlideshowSettings settings;
    for (bool on : {false, true}) {  // arming without the slideshow changes nothing
        SCOPED_TRACE(on);
        const SlideshowToggle toggle = planToggleSlideshow(state, settings);
        EXPECT_EQ(settings.slideShow, on);
        EXPECT_EQ(toggle.period, on ? TimerPeriod(1000) : TimerPeriod());
        EXPECT_EQ(toggle.showWindowIfHidden, on);
        EXPECT_EQ(toggle.trimWorkingSet, !on);
        EXPECT_EQ(state.timerPhase, on ? TimerPhase::SlidePhase : TimerPhase::HidePhase);
        EXPECT_EQ(state.remainingMs, on ? 5000u : 1234u);
    }

    // Countdown off and on: the slide phase starts again with its full period, nothing suspended.
    for (bool countdown : {false, true}) {
        state.remainingMs = 1500;
        state.timerPhase = TimerPhase::HidePhase;
        EXPECT_EQ(planToggleCountdown(state, settings), TimerPeriod(countdown ? 1000 : 5000));
        EXPECT_EQ(settings.countdown, countdown);
        EXPECT_FALSE(state.timerSuspended);
        EXPECT_EQ(state.remainingMs, 5000u);
        EXPECT_EQ(state.timerPhase, TimerPhase::SlidePhase);
    }
}

TEST(SlideshowTimer, EditedTimeReachesTheRunningPhaseOnly) {
    struct Case { TimerPhase phase, kind; std::uint32_t value; bool changed; std::uint32_t remaining; };
    const TimerPhase slide = TimerPhase::SlidePhase, hide = TimerPhase::HidePhase;
    const Case cases[] = {{slide, slide, 9000, true, 9000}, {slide, hide, 9000, true, 2500},
                          {hide, hide, 9000, true, 9000},   {hide, slide, 9000, true, 2500},
                          {slide, slide, 5000, false, 2500}};  // the last unchanged
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        SlideshowState state{c.phase, 2500};
        SlideshowSettings settings;  // slideTime 5000, hideTime 1000
        EXPECT_EQ(storeEditedTime(state, settings, c.kind, c.value), c.changed);
        EXPECT_EQ(state.remainingMs, c.remaining);
        EXPECT_EQ(c.kind == TimerPhase::SlidePhase ? settings.slideTime : settings.hideTime, c.value);
    }
}

TEST(SlideshowNavigation, WrapsAtBothEndsAndEmptyListDoesNothing) {
    using Op = std::optional<NavigationStep> (*)(std::uint32_t, std::uint32_t);
    struct Case { const char* name; Op op; std::uint32_t from; std::uint32_t to; ShowMode mode; };
    const ShowMode current = ShowMode::ShowCurrent, slide = ShowMode::ShowSlide;
    const Case cases[] = {
        {"next", planNextEntry, 9, 0, current},          {"next", planNextEntry, 4, 5, current},
        {"previous", planPreviousEntry, 0, 9, current},  {"previous", planPreviousEntry, 5, 4, current},
        {"first", planFirstEntry, 7, 0, current},        {"last", planLastEntry, 2, 9, current},
        {"slideNext", planSlideNext, 9, 0, slide},       {"slidePrevious", planSlidePrevious, 0, 9, slide},
        {"slidePrevious", planSlidePrevious, 3, 2, slide}, {"random", planRandomEntry, 6, 6, ShowMode::ShowRandom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " from " + std::to_string(c.from));
        const auto step = c.op(c.from, 10);
        ASSERT_TRUE(step.has_value());
        EXPECT_EQ(step->index, c.to);
        EXPECT_EQ(step->mode, c.mode);
        EXPECT_FALSE(c.op(c.from, 0).has_value());
    }
    // Nothing loaded: nothing to show, and an expiring timer advances nowhere.
    EXPECT_FALSE(showEntryIndex(ShowMode::ShowRandom, true, 3, 0, [] { return 5; }).has_value());
    SlideshowState state;
    const SlideshowSettings settings{true, false, false, false};  // no countdown
    const TickAction action = onTimerTick(state, settings, 0, 3);
    EXPECT_EQ(action.outcome, TickOutcome::Advance);
    EXPECT_FALSE(action.nextIndex.has_value());
}

TEST(SlideshowNavigation, RandomPickOnlyWhenDue) {
    struct Case { ShowMode mode; bool random; bool picks; };
    const Case cases[] = {{ShowMode::ShowCurrent, false, false}, {ShowMode::ShowCurrent, true, false},
                          {ShowMode::ShowRandom, false, true},   {ShowMode::ShowRandom, true, true},
                          {ShowMode::ShowSlide, false, false},   {ShowMode::ShowSlide, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode) * 10 + c.random);
        int calls = 0;
        const auto index = showEntryIndex(c.mode, c.random, 2, 7, [&] { ++calls; return 4000000005u; });
        EXPECT_EQ(index, Index(c.picks ? 4000000005u % 7u : 2u));
        EXPECT_EQ(calls, c.picks ? 1 : 0);
    }
}

TEST(SlideshowNavigation, RandomPicksReachEveryPartOfAHugeList) {
    // Two million lines: far more entries than a 15-bit or 16-bit random number can reach.
    constexpr std::uint32_t n = 2000000, buckets = 64;
    std::mt19937 generator(20261207);
    const RandomSource source = [&] { return static_cast<std::uint32_t>(generator()); };
    std::vector<int> hits(buckets, 0);
    std::uint32_t highest = 0;
    for (int i = 0; i < 6400; ++i) {
        const auto index = showEntryIndex(ShowMode::ShowRandom, false, 0, n, source);
        ASSERT_LT(index.value_or(n), n);
        ++hits[static_cast<std::uint64_t>(*index) * buckets / n];
        highest = std::max(highest, *index);
    }
    for (std::uint32_t b = 0; b < buckets; ++b) EXPECT_GT(hits[b], 50) << "bucket " << b;  // ~100 each
    EXPECT_GT(highest, 65536u);
}

TEST(SlideshowNavigation, RandomPickDrawsAgainBelowTheUnevenTop) {
    // 2^32 = 3 * 1431655765 + 1, and 2^32 mod (2^31 + 1) = 2^31 - 1: numbers below that favour
    // the low picks and are drawn again.
    struct Case { std::uint32_t bound; std::vector<std::uint32_t> draws; std::uint32_t pick; };
    const Case cases[] = {
        {3, {0, 5}, 2},
        {3, {1}, 1},
        {0x80000001u, {5, 0x7FFFFFFEu, 0x80000007u}, 6},
        {0x80000001u, {0x7FFFFFFFu}, 0x7FFFFFFFu},
        {1, {0}, 0},
        {0xFFFFFFFFu, {0, 0xFFFFFFFFu}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bound);
        std::size_t used = 0;
        const auto pick = randomBelow(c.bound, [&] { return c.draws.at(used++); });
        EXPECT_EQ(pick, c.pick);
        EXPECT_EQ(used, c.draws.size());
    }
}

TEST(SlideshowStatus, FormatsAndCuts) {
    struct Case { const wchar_t* title; std::uint32_t index; std::uint32_t count; bool slideShow;
                  bool countdown; std::uint32_t remainingMs; const wchar_t* expected; };
    const Case cases[] = {
        {L"a.txt - Tomel", 2, 10, false, true, 5000, L"a.txt - Tomel | 3/10 | Stop"},
        {L"a.txt - Tomel", 2, 10, true, false, 5000, L"a.txt - Tomel | 3/10"},
        {L"a", 0, 1, true, true, 3723999, L"a | 1/1 | 01:02:03"},  // 1 h 2 min 3 s, whole seconds
        {L"a", 0, 1, true, true, 300u * 3600000u + 59000, L"a | 1/1 | 44:00:59"},  // 300 h in a byte
        {L"a", 0, 1, true, true, 255u * 3600000u, L"a | 1/1 | 255:00:00"},
        {L"a", 0xFFFFFFFFu, 4294967295u, true, false, 0, L"a | 0/4294967295"},  // k wraps
        {L"T", 3, 0, false, false, 0, L"T | 4/0 | Stop"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(formatStatus(c.title, c.index, c.count, c.slideShow, c.countdown, c.remainingMs),
                  c.expected);
    }
    // The title ends at its zero, as in its buffer.
    const wchar_t buffer[] = L"b.txt - Tomel\0garbage";
    EXPECT_EQ(formatStatus(std::wstring_view(buffer, std::size(buffer) - 1), 0, 2, true, false, 0),
              L"b.txt - Tomel | 1/2");
    // Cut to the status buffer and the tray tip buffer.
    const std::wstring longTitle(300, L'x');
    const std::wstring status = formatStatus(longTitle, 0, 5, true, true, 5000);
    EXPECT_EQ(status, longTitle.substr(0, 259));
    EXPECT_EQ(trayTipText(status), longTitle.substr(0, 127));
    EXPECT_EQ(trayTipText(L"short | 1/2"), L"short | 1/2");
    EXPECT_EQ(captionText(true, L"status", L"title"), L"status");
    EXPECT_EQ(captionText(false, L"status", L"title"), L"title");
}

}  // namespace
