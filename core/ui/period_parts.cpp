#include "core/ui/period_parts.h"

PeriodParts splitPeriod(std::uint32_t ms)
{
    return {ms / 3600000u, (ms % 3600000u) / 60000u, (ms % 60000u) / 1000u, ms % 1000u};
}

std::uint32_t joinPeriod(const PeriodParts& p)
{
    return p.hours * 3600000u + p.minutes * 60000u + p.seconds * 1000u + p.milliseconds;
}
