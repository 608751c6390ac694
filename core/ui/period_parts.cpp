#include "core/ui/period_parts.h"

PeriodParts splitPeriod(std::uint32_t ms)
{
    return {ms / 3600000u, (ms % 3600000u) / 60000u, (ms % 60000u) / 1000u, ms % 1000u};
}

std::uint64_t joinPeriod(const PeriodParts& p)
{
    return p.hours * std::uint64_t(3600000) + p.minutes * std::uint64_t(60000) + p.seconds * std::uint64_t(1000) +
           p.milliseconds;
}
