// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Stopwatch on the performance counter: start, read while running, stop,
// resume so that the spans add up, stop without a reading, reset.

#include "platform/perf_counter.h"

#include <cstdint>

namespace vantric {

class clsElapsedTimer {
public:
    explicit clsElapsedTimer(PerfCounter& counter = systemCounter());

    double StopTimer();
    double Elapsed();
    void Start();
    void Reset();
    bool IsRunning() const { return blnRunning; }
    void kill() { blnRunning = false; }

private:
    void Class_Initialize() { Reset(); }

    PerfCounter& counter_;
    std::int64_t curFrequency = 0;
    std::int64_t curStart = 0;
    bool blnRunning = false;
    std::int64_t curLastRead = 0;
    std::int64_t curStop = 0;
};

} // namespace vantric
