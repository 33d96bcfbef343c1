// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "bench/figures.h"

#include "platform/errors.h"

namespace vantric {

double rateMBps(std::uint64_t bytes, double seconds, std::int64_t frequency)
{
    if (seconds == 0.0)
        seconds = checkedDiv(1.0, static_cast<double>(frequency));
    return checkedDiv(checkedDiv(static_cast<double>(bytes), 1048576.0), seconds);
}

std::string formatRate(double value, const NumericLocale& loc)
{
    return formatFixed(value, 6, false, false, loc);
}

std::string formatSeconds(double value, const NumericLocale& loc)
{
    return formatFixed(value, 4, false, false, loc);
}

} // namespace vantric
