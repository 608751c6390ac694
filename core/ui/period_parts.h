#pragma once
// A period in milliseconds as the timer dialog shows it: hours, minutes, seconds, milliseconds.
#include <cstdint>

struct PeriodParts {
    std::uint32_t hours = 0;
    std::uint32_t minutes = 0;
    std::uint32_t seconds = 0;
    std::uint32_t milliseconds = 0;
};

PeriodParts splitPeriod(std::uint32_t ms);
// No part has an upper limit: 75 minutes are 75 minutes. The sum is whole, so a period too long to
// keep can be told from a short one.
std::uint64_t joinPeriod(const PeriodParts& parts);
