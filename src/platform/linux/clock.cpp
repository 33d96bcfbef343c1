// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/clock.h"

#include <ctime>

namespace vantric {

namespace {
class LocalClock : public Clock {
public:
    LocalDateTime now() override
    {
        std::time_t t = std::time(nullptr);
        std::tm tm {};
        localtime_r(&t, &tm);
        return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    }
};
} // namespace

Clock& systemClock()
{
    static LocalClock c;
    return c;
}

} // namespace vantric
