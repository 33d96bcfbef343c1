// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A monotonic 64-bit counter with a fixed frequency in counts per second.

#include <cstdint>

namespace vantric {

class PerfCounter {
public:
    virtual ~PerfCounter() = default;
    virtual std::int64_t counter() = 0;
    virtual std::int64_t frequency() = 0;
};

PerfCounter& systemCounter();

} // namespace vantric
