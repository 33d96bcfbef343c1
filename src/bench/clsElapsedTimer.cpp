// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "bench/clsElapsedTimer.h"

#include "platform/errors.h"

namespace vantric {

clsElapsedTimer::clsElapsedTimer(PerfCounter& counter) : counter_(counter)
{
    Class_Initialize();
}

void clsElapsedTimer::Reset()
{
    curStart = 0;
    curLastRead = 0;
    curStop = 0;
    curFrequency = counter_.frequency();
    blnRunning = false;
}

void clsElapsedTimer::Start()
{
    if (blnRunning)
        return;
    if (curStop > 0)
        curStop = checkedSub(curStart, curStop);
    curStart = counter_.counter();
    curStart = checkedAdd(curStart, curStop);
    curStop = 0;
    blnRunning = true;
}

double clsElapsedTimer::Elapsed()
{
    if (blnRunning)
        curLastRead = counter_.counter();
    return checkedDiv(static_cast<double>(checkedSub(curLastRead, curStart)), static_cast<double>(curFrequency));
}

double clsElapsedTimer::StopTimer()
{
    if (blnRunning)
        curStop = counter_.counter();
    // The stop is stored before the division can fail.
    std::int64_t span;
    try {
        span = checkedSub(curStop, curStart);
    } catch (...) {
        blnRunning = false;
        throw;
    }
    blnRunning = false;
    return checkedDiv(static_cast<double>(span), static_cast<double>(curFrequency));
}

} // namespace vantric
