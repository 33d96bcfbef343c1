// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The run's figures as the result labels show them.

#include "platform/number_format.h"

#include <cstdint>
#include <string>

namespace vantric {

// MB/s with MB = 1,048,576 bytes; a reading of 0 counts as one counter tick.
double rateMBps(std::uint64_t bytes, double seconds, std::int64_t frequency);

// Six decimals, no 0 before the mark below 1.
std::string formatRate(double value, const NumericLocale& loc);
// Four decimals, no 0 before the mark below 1.
std::string formatSeconds(double value, const NumericLocale& loc);

} // namespace vantric
