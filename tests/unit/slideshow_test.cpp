#include "core/text/slideshow.h"
#include "core/text/shuffle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

using Index = std::optional<std::uint32_t>;
constexpr TimerPhase SLIDE = TimerPhase::SlidePhase, HIDE = TimerPhase::HidePhase;
constexpr TickOutcome COUNT = TickOutcome::Counting, HIDES = TickOutcome::HideWindow, ADV = TickOutcome::Advance,
                      WAIT = TickOutcome::Waiting;
constexpr TickWindow BUSY_HIDDEN{true, true}, BUSY_SHOWN{true, false}, HIDDEN{false, true};

TEST(Slideshow, TimerTicks)
{
    // slideTime 5000, hideTime 2000, a tick of 1000 ms; at index 3 of `count` entries (of 2: at index 1).
    // window: whether it must keep down (Quiet In Full Screen, the user busy) and whether it is hidden.
    struct Case { bool countdown, hide; TimerPhase phase; std::uint32_t remaining, count; TickOutcome outcome;
                  TimerPeriod period; bool show; Index next; TimerPhase after; std::uint32_t left; TickWindow window = {}; };
    const Case cases[] = {
        {true, false, SLIDE, 1500, 10, COUNT, 500, false, {}, SLIDE, 500},   // the last tick is shortened
        {true, false, SLIDE, 1000, 10, ADV, {}, false, 4, SLIDE, 0},
        {false, false, SLIDE, 5000, 2, ADV, {}, false, 0, SLIDE, 0},
        {false, true, SLIDE, 5000, 10, HIDES, 2000, false, {}, HIDE, 2000},
        {true, false, HIDE, 0, 1, ADV, {}, true, {}, HIDE, 0},              // shown again, with nowhere to go
        // The user busy: the pop-up waits a tick at a time, in the phase that ran out, and comes when the user is back.
        {true, true, HIDE, 1000, 10, WAIT, 1000, false, {}, HIDE, 0, BUSY_HIDDEN},
        {true, true, HIDE, 0, 10, ADV, {}, true, 4, HIDE, 0, HIDDEN},
        {false, false, SLIDE, 5000, 10, WAIT, 1000, false, {}, SLIDE, 0, BUSY_HIDDEN},   // hidden by the user
        {false, false, SLIDE, 5000, 10, ADV, {}, false, 4, SLIDE, 0, BUSY_SHOWN},        // shown: it steps on
    };
    for (const Case& c : cases) {
        SlideshowState state{c.phase, c.remaining};
        const SlideshowSettings settings{true, c.hide, false, c.countdown, true, 5000, 2000};
        const TickAction a = onTimerTick(state, settings, c.count, c.count == 2 ? 1 : 3, c.window);
        EXPECT_EQ(std::tie(a.outcome, a.period, a.showNoActivate, a.nextIndex, state.timerPhase, state.remainingMs),
                  std::tie(c.outcome, c.period, c.show, c.next, c.after, c.left)) << &c - cases;
    }
    // Busy: a full-screen program, a Direct3D game or a presentation; not the screen saver, a quiet hour after
    // setup, a full-screen store app, nor an unanswered question.
    struct State { std::optional<int> reported; bool busy; };
    for (const State& s : {State{1, false}, State{2, true}, State{3, true}, State{4, true}, State{5, false},
                           State{6, false}, State{7, false}, State{std::nullopt, false}})
        EXPECT_EQ(userBusy(s.reported), s.busy) << s.reported.value_or(0);
}

TEST(Slideshow, TogglesAndEditedTimes)
{
    // Hidden by the hide cycle with 1234 ms left: turning the slideshow on brings the window back in a
    // fresh slide phase.
    SlideshowState state{HIDE, 1234};
    SlideshowSettings settings{false, true, false, true, true, 5000, 1000};
    SlideshowToggle on = planToggleSlideshow(state, settings);
    EXPECT_EQ(std::tie(settings.slideShow, on.period, on.showWindowIfHidden, on.trimWorkingSet, state.timerPhase,
                       state.remainingMs), std::make_tuple(true, TimerPeriod(1000), true, false, SLIDE, 5000u));
    // The hide cycle turned off gives a window hidden by it back (in the slide phase it is not hidden).
    HideToggle off = planToggleHide(state, settings);
    EXPECT_EQ(std::tie(settings.hide, off.restoreWindow, off.period), std::make_tuple(false, false, std::nullopt));
    settings.hide = true;
    state = {HIDE, 1234};
    off = planToggleHide(state, settings);
    EXPECT_EQ(std::tie(off.restoreWindow, off.period, state.timerPhase),
              std::make_tuple(true, TimerPeriod(1000), SLIDE));
    // Toggling the countdown restarts the slide phase, now ticking once for the whole period.
    state = {HIDE, 3500};
    EXPECT_EQ(planToggleCountdown(state, settings), TimerPeriod(5000));
    EXPECT_EQ(std::tie(settings.countdown, state.timerPhase, state.remainingMs, state.timerSuspended),
              std::make_tuple(false, SLIDE, 5000u, false));
    // Chosen while a dialog holds the timer (from the tray icon's menu): the hold stays.
    state = {HIDE, 3500, 1000, true};
    EXPECT_EQ(planToggleCountdown(state, settings), std::nullopt);
    EXPECT_EQ(std::tie(settings.countdown, state.timerPhase, state.remainingMs, state.timerSuspended),
              std::make_tuple(true, SLIDE, 5000u, true));
    // A dialog suspends the timer; an edited time reaches the phase that runs; the same time again changes nothing.
    planSuspendTimer(state, true);
    EXPECT_TRUE(storeEditedTime(state, settings, HIDE, 9000));
    EXPECT_TRUE(storeEditedTime(state, settings, SLIDE, 7000));
    EXPECT_FALSE(storeEditedTime(state, settings, SLIDE, 7000));
    EXPECT_EQ(std::tie(state.timerSuspended, state.remainingMs, settings.slideTime, settings.hideTime),
              std::make_tuple(true, 7000u, 7000u, 9000u));
}

TEST(Slideshow, NavigationWrapsAndAnEmptyListGoesNowhere)
{
    using Op = std::optional<NavigationStep> (*)(std::uint32_t, std::uint32_t);
    struct Case { Op op; std::uint32_t from, to; ShowMode mode; };
    const ShowMode cur = ShowMode::ShowCurrent, slide = ShowMode::ShowSlide;
    const Case cases[] = {{planNextEntry, 9, 0, cur}, {planPreviousEntry, 0, 9, cur}, {planFirstEntry, 7, 0, cur},
                          {planLastEntry, 2, 9, cur}, {planSlideNext, 3, 4, slide}, {planSlidePrevious, 3, 2, slide},
                          {planRandomEntry, 6, 6, ShowMode::ShowRandom}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto step = c.op(c.from, 10);
        ASSERT_TRUE(step.has_value());
        EXPECT_EQ(std::tie(step->index, step->mode), std::tie(c.to, c.mode));
        EXPECT_FALSE(c.op(c.from, 0).has_value());
    }
}

TEST(Slideshow, RandomPicks)
{
    // Only a random step or a slide step with random order draws (current: 2, a draw: 1 = 4000000005 mod 7).
    struct Pick { ShowMode mode; bool random; std::uint32_t count; Index index; };
    for (const Pick& c : {Pick{ShowMode::ShowCurrent, true, 7, 2}, Pick{ShowMode::ShowRandom, false, 7, 1},
                          Pick{ShowMode::ShowSlide, false, 7, 2}, Pick{ShowMode::ShowSlide, true, 7, 1},
                          Pick{ShowMode::ShowRandom, true, 0, {}}})
        EXPECT_EQ(showEntryIndex(c.mode, c.random, 2, c.count, [] { return 4000000005u; }), c.index);
    // With a shuffle round the draws come from the round: seven random steps show seven entries.
    ShuffleState round;
    std::vector<bool> seen(7);
    std::uint32_t shown = 2;
    EXPECT_EQ(showEntryIndex(ShowMode::ShowCurrent, true, 2, 7, [] { return 5u; }, &round), Index(2));
    for (int step = 0; step < 7; ++step) {
        shown = *showEntryIndex(step % 2 ? ShowMode::ShowRandom : ShowMode::ShowSlide, true, shown, 7,
                                [] { return 5u; }, &round);
        EXPECT_FALSE(seen.at(shown)) << shown;
        seen[shown] = true;
    }
    // 2^32 mod (2^31 + 1) = 2^31 - 1: numbers below that favour the low picks and are drawn again.
    const std::vector<std::uint32_t> draws{5, 0x7FFFFFFEu, 0x80000007u, 0x7FFFFFFFu};
    std::size_t used = 0;
    const auto next = [&] { return draws.at(used++); };
    EXPECT_EQ(randomBelow(0x80000001u, next), 6u);
    EXPECT_EQ(randomBelow(0x80000001u, next), 0x7FFFFFFFu);
    EXPECT_EQ(used, draws.size());
}

TEST(Slideshow, StatusTextIsFormattedAndCut)
{
    struct Case { std::wstring title; std::uint32_t index, count; bool slideShow, countdown; std::uint32_t remainingMs;
                  std::wstring expected; };
    const std::wstring x(254, L'x');
    const Case cases[] = {
        {L"a.txt", 2, 10, false, true, 5000, L"a.txt | 3/10 | Stop"},
        {L"a", 0, 1, true, true, 3599999, L"a | 1/1 | 00:59:59"},
        {L"a", 0, 1, true, true, 3540000, L"a | 1/1 | 00:59:00"}, {L"a", 0, 1, true, true, 5000, L"a | 1/1 | 00:00:05"},
        {L"a", 0, 1, true, true, 3600000, L"a | 1/1 | 01:00:00"},
        {L"a", 0, 1, true, true, 300u * 3600000u + 60000, L"a | 1/1 | 44:01:00"},  // hours kept in a byte
        {L"a", 1234567889u, 4294967295u, true, false, 0, L"a | 1234567890/4294967295"},
        {std::wstring(L"b\0c\0d", 5), 0, 2, true, false, 0, L"b | 1/2"},   // the title ends at its first zero
        {x, 0, 5, true, false, 0, x + L" | 1/"},                            // cut to 259 characters
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const std::wstring status = composeStatus({SLIDE, c.remainingMs}, {c.slideShow, false, false, c.countdown},
                                                  c.title, c.index, c.count);
        EXPECT_EQ(status, c.expected);
        EXPECT_EQ(trayTipText(status), c.expected.substr(0, 127));
    }
}


TEST(Shuffle, EveryEntryOnceARoundInAnotherOrderEachRound)
{
    std::uint32_t nextKey = 12345;
    const std::function<std::uint32_t()> keys = [&] { return nextKey += 0x9E3779B9u; };
    // Many rounds: each round once through the entries, never starting with the entry just shown; a
    // round of many entries takes no longer than a few steps a pick.
    for (std::uint32_t count : {1u, 2u, 3u, 5u, 64u, 65u, 70000u}) {
        SCOPED_TRACE(count);
        ShuffleState state;
        std::uint32_t shown = 0;
        std::vector<std::uint32_t> first;
        for (int round = 0; round < (count > 100 ? 2 : 50); ++round) {
            std::vector<std::uint32_t> order;
            for (std::uint32_t i = 0; i < count; ++i) {
                const std::uint32_t next = nextShuffled(state, count, shown, keys);
                if (i == 0 && count > 1) EXPECT_NE(next, shown) << "round " << round;
                order.push_back(shown = next);
            }
            if (round == 1 && count >= 5) EXPECT_NE(order, first);   // another order
            if (round == 0) first = order;
            std::sort(order.begin(), order.end());
            for (std::uint32_t i = 0; i < count; ++i) ASSERT_EQ(order[i], i);
        }
    }
    // The state is all a restart needs; another count of entries starts a new round.
    ShuffleState state;
    std::uint32_t shown = 0;
    for (int i = 0; i < 7; ++i) shown = nextShuffled(state, 20, shown, keys);
    ShuffleState restarted = state;
    const std::uint32_t key = nextKey;
    const std::uint32_t a = nextShuffled(state, 20, shown, keys), b = nextShuffled(restarted, 20, shown, keys);
    EXPECT_EQ(std::make_pair(a, nextKey), std::make_pair(b, key));   // the same entry, and no new round yet
    nextShuffled(state, 21, shown, keys);
    EXPECT_EQ(std::make_tuple(state.count, state.position), std::make_tuple(21u, 1u));
    EXPECT_NE(nextKey, key);
}
