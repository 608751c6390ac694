#include "core/text/slideshow.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Index = std::optional<std::uint32_t>;
constexpr TimerPhase SLIDE = TimerPhase::SlidePhase, HIDE = TimerPhase::HidePhase;
constexpr TickOutcome COUNT = TickOutcome::Counting, HIDES = TickOutcome::HideWindow, ADV = TickOutcome::Advance;

TEST(Slideshow, TimerTicks)
{
    // slideTime 5000, hideTime 2000, a tick of 1000 ms; at index 3 of `count` entries (of 2: at index 1).
    struct Case { bool countdown, hide; TimerPhase phase; std::uint32_t remaining, count;
                  TickOutcome outcome; TimerPeriod period; bool show; Index next; TimerPhase after; std::uint32_t left; };
    const Case cases[] = {
        {true, false, SLIDE, 5500, 10, COUNT, 1000, false, {}, SLIDE, 4500}, {true, false, SLIDE, 1000, 10, ADV, {}, false, 4, SLIDE, 0},
        {true, false, SLIDE, 1500, 10, COUNT, 500, false, {}, SLIDE, 500},   {true, false, SLIDE, 999, 10, ADV, {}, false, 4, SLIDE, 0},
        {false, false, SLIDE, 5000, 10, ADV, {}, false, 4, SLIDE, 0},        {false, false, SLIDE, 5000, 4, ADV, {}, false, 0, SLIDE, 0},
        {false, false, SLIDE, 5000, 2, ADV, {}, false, 0, SLIDE, 0},         {false, false, SLIDE, 5000, 1, ADV, {}, false, {}, SLIDE, 0},
        {false, false, SLIDE, 5000, 0, ADV, {}, false, {}, SLIDE, 0},        {false, true, SLIDE, 5000, 10, HIDES, 2000, false, {}, HIDE, 2000},
        {true, true, SLIDE, 1000, 10, HIDES, 1000, false, {}, HIDE, 2000},   {false, true, HIDE, 2000, 10, ADV, {}, true, 4, HIDE, 0},
        {true, false, HIDE, 0, 1, ADV, {}, true, {}, HIDE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        SlideshowState state{c.phase, c.remaining};
        const TickAction a = onTimerTick(state, {true, c.hide, false, c.countdown, true, 5000, 2000}, c.count, c.count == 2 ? 1 : 3);
        EXPECT_EQ(std::tie(a.outcome, a.period, a.showNoActivate, a.nextIndex), std::tie(c.outcome, c.period, c.show, c.next));
        EXPECT_EQ(std::tie(state.timerPhase, state.remainingMs), std::tie(c.after, c.left));
    }
}

TEST(Slideshow, TogglesRearmTheSlidePhase)
{
    // Each toggle flips its setting and arms the slide phase afresh; nothing is armed while stopped.
    // shown: the window is to come back (a slideshow turned on, or a hide cycle turned off while hidden).
    using Toggle = TimerPeriod (*)(SlideshowState&, SlideshowSettings&, bool&);
    const Toggle slideshow = [](SlideshowState& s, SlideshowSettings& t, bool& shown) {
        const SlideshowToggle r = planToggleSlideshow(s, t);
        shown = r.showWindowIfHidden;
        EXPECT_NE(r.trimWorkingSet, shown);
        return r.period;
    };
    const Toggle hide = [](SlideshowState& s, SlideshowSettings& t, bool& shown) {
        const HideToggle r = planToggleHide(s, t);
        shown = r.restoreWindow;
        return r.period;
    };
    const Toggle countdown = [](SlideshowState& s, SlideshowSettings& t, bool&) { return planToggleCountdown(s, t); };
    struct Case { Toggle toggle; bool SlideshowSettings::*flag; bool slideShow, hide, countdown; TimerPhase phase;
                  TimerPeriod period; bool shown; TimerPhase after; std::uint32_t left; };
    using S = SlideshowSettings;
    const Case cases[] = {
        {slideshow, &S::slideShow, false, false, false, HIDE, 5000, true, SLIDE, 5000},
        {slideshow, &S::slideShow, false, false, true, HIDE, 1000, true, SLIDE, 5000},
        {slideshow, &S::slideShow, true, false, true, HIDE, {}, false, HIDE, 1234},
        {hide, &S::hide, true, true, false, HIDE, 5000, true, SLIDE, 5000}, {hide, &S::hide, true, true, true, HIDE, 1000, true, SLIDE, 5000},
        {hide, &S::hide, true, true, false, SLIDE, {}, false, SLIDE, 1234}, {hide, &S::hide, true, false, false, HIDE, {}, false, HIDE, 1234},
        {hide, &S::hide, false, true, false, HIDE, {}, true, HIDE, 1234},
        {countdown, &S::countdown, true, false, false, HIDE, 1000, false, SLIDE, 5000},
        {countdown, &S::countdown, true, false, true, HIDE, 5000, false, SLIDE, 5000},
        {countdown, &S::countdown, false, false, true, HIDE, {}, false, HIDE, 1234},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        SlideshowState state{c.phase, 1234, 1000, c.toggle == countdown};
        const SlideshowSettings before{c.slideShow, c.hide, false, c.countdown};
        SlideshowSettings settings = before, expected = before;
        expected.*c.flag = !(before.*c.flag);
        bool shown = false;
        EXPECT_EQ(c.toggle(state, settings, shown), c.period);
        EXPECT_EQ(std::tie(settings.slideShow, settings.hide, settings.countdown), std::tie(expected.slideShow, expected.hide, expected.countdown));
        EXPECT_EQ(std::tie(shown, state.timerPhase, state.remainingMs, state.timerSuspended), std::make_tuple(c.shown, c.after, c.left, false));
    }
}

TEST(Slideshow, SuspendAndResume)
{
    // A countdown goes on where it stopped; a plain timer restarts with the slide period, even
    // in the hide phase; only a dialog marks the timer suspended.
    struct Case { bool slideShow, countdown; TimerPhase phase; bool forDialog; TimerPeriod period; };
    const Case cases[] = {{true, true, SLIDE, true, 1000}, {true, false, SLIDE, false, 5000},
                          {true, false, HIDE, true, 5000}, {false, true, SLIDE, true, std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        SlideshowState state{c.phase, 3500};
        planSuspendTimer(state, c.forDialog);
        EXPECT_EQ(state.timerSuspended, c.forDialog);
        EXPECT_EQ(planResumeTimer(state, {c.slideShow, false, false, c.countdown}), c.period);
        EXPECT_EQ(std::tie(state.timerSuspended, state.timerPhase, state.remainingMs), std::make_tuple(false, c.phase, 3500u));
    }
}

TEST(Slideshow, EditedTimeReachesTheRunningPhaseOnly)
{
    struct Case { TimerPhase phase, kind; std::uint32_t value; bool changed; std::uint32_t remaining, slideTime, hideTime; };
    const Case cases[] = {{SLIDE, SLIDE, 9000, true, 9000, 9000, 1000}, {SLIDE, HIDE, 9000, true, 2500, 5000, 9000},
                          {HIDE, HIDE, 9000, true, 9000, 5000, 9000},   {HIDE, SLIDE, 9000, true, 2500, 9000, 1000},
                          {SLIDE, SLIDE, 5000, false, 2500, 5000, 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        SlideshowState state{c.phase, 2500};
        SlideshowSettings settings;  // slideTime 5000, hideTime 1000
        EXPECT_EQ(storeEditedTime(state, settings, c.kind, c.value), c.changed);
        EXPECT_EQ(std::tie(state.remainingMs, settings.slideTime, settings.hideTime), std::tie(c.remaining, c.slideTime, c.hideTime));
    }
}

TEST(Slideshow, NavigationWrapsAndAnEmptyListGoesNowhere)
{
    using Op = std::optional<NavigationStep> (*)(std::uint32_t, std::uint32_t);
    struct Case { Op op; std::uint32_t from, to; ShowMode mode; };
    const ShowMode cur = ShowMode::ShowCurrent, slide = ShowMode::ShowSlide;
    const Case cases[] = {{planNextEntry, 9, 0, cur},     {planNextEntry, 4, 5, cur},      {planPreviousEntry, 0, 9, cur},
                          {planPreviousEntry, 5, 4, cur}, {planFirstEntry, 7, 0, cur},     {planLastEntry, 2, 9, cur},
                          {planSlideNext, 9, 0, slide},   {planSlideNext, 3, 4, slide},    {planSlidePrevious, 0, 9, slide},
                          {planSlidePrevious, 3, 2, slide}, {planRandomEntry, 6, 6, ShowMode::ShowRandom}};
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
    // Only a random step or a slide step with random order draws; 4000000005 = 7 * 571428572 + 1.
    struct Pick { ShowMode mode; bool random; std::uint32_t count; bool draws; Index index; };
    const Pick picks[] = {{ShowMode::ShowCurrent, true, 7, false, 2}, {ShowMode::ShowRandom, false, 7, true, 1},
                          {ShowMode::ShowSlide, false, 7, false, 2},  {ShowMode::ShowSlide, true, 7, true, 1},
                          {ShowMode::ShowRandom, true, 0, false, {}}};
    for (const Pick& c : picks) {
        SCOPED_TRACE(&c - picks);
        int calls = 0;
        EXPECT_EQ(showEntryIndex(c.mode, c.random, 2, c.count, [&] { ++calls; return 4000000005u; }), c.index);
        EXPECT_EQ(calls, c.draws ? 1 : 0);
    }
    // 2^32 = 3 * 1431655765 + 1, and 2^32 mod (2^31 + 1) = 2^31 - 1: numbers below that favour
    // the low picks and are drawn again.
    struct Case { std::uint32_t bound; std::vector<std::uint32_t> draws; std::uint32_t pick; };
    const Case cases[] = {{3, {0, 5}, 2}, {3, {1}, 1}, {0x80000001u, {5, 0x7FFFFFFEu, 0x80000007u}, 6},
                          {0x80000001u, {0x7FFFFFFFu}, 0x7FFFFFFFu}, {1, {0}, 0}, {0xFFFFFFFFu, {0, 0xFFFFFFFFu}, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bound);
        std::size_t used = 0;
        EXPECT_EQ(randomBelow(c.bound, [&] { return c.draws.at(used++); }), c.pick);
        EXPECT_EQ(used, c.draws.size());
    }
    // Two million entries: far more than a 15-bit or 16-bit random number reaches.
    constexpr std::uint32_t n = 2000000, buckets = 64;
    std::mt19937 generator(20261207);
    std::vector<int> hits(buckets, 0);
    for (int i = 0; i < 6400; ++i) {
        const auto index = showEntryIndex(ShowMode::ShowRandom, false, 0, n, [&] { return std::uint32_t(generator()); });
        ASSERT_LT(index.value_or(n), n);
        ++hits[std::uint64_t(*index) * buckets / n];
    }
    for (std::uint32_t b = 0; b < buckets; ++b) EXPECT_GT(hits[b], 50) << "bucket " << b;  // ~100 each
}

TEST(Slideshow, StatusTextIsFormattedAndCut)
{
    struct Case { std::wstring title; std::uint32_t index, count; bool slideShow, countdown; std::uint32_t remainingMs; std::wstring expected; };
    const std::wstring x = std::wstring(300, L'x');
    const Case cases[] = {
        {L"a.txt - Tomel", 2, 10, false, true, 5000, L"a.txt - Tomel | 3/10 | Stop"}, {L"a", 2, 10, true, false, 5000, L"a | 3/10"},
        {L"a", 0, 1, true, true, 3723999, L"a | 1/1 | 01:02:03"}, {L"a", 0, 1, true, true, 3599999, L"a | 1/1 | 00:59:59"}, {L"a", 0, 1, true, true, 3540000, L"a | 1/1 | 00:59:00"},
        {L"a", 0, 1, true, true, 255u * 3600000u, L"a | 1/1 | 255:00:00"},
        {L"a", 0, 1, true, true, 300u * 3600000u + 59000, L"a | 1/1 | 44:00:59"},  // hours kept in a byte
        {L"a", 1234567889u, 4294967295u, true, false, 0, L"a | 1234567890/4294967295"}, {L"a", 0xFFFFFFFFu, 10, true, false, 0, L"a | 0/10"},
        {std::wstring(L"b\0garbage", 9), 0, 2, true, false, 0, L"b | 1/2"},   // the title ends at its zero
        {x, 0, 5, true, true, 5000, x.substr(0, 259)},  {x.substr(0, 253), 0, 5, true, false, 0, x.substr(0, 253) + L" | 1/5"},
        {x.substr(0, 254), 0, 5, true, false, 0, x.substr(0, 254) + L" | 1/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const std::wstring status = composeStatus({SLIDE, c.remainingMs}, {c.slideShow, false, false, c.countdown}, c.title, c.index, c.count);
        EXPECT_EQ(status, c.expected);
        EXPECT_EQ(trayTipText(status), c.expected.substr(0, 127));
    }
}

}  // namespace
