// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/clock.h"

#include <windows.h>

namespace vantric {

namespace {
class LocalClock : public Clock {
public:
    LocalDateTime now() override
    {
        SYSTEMTIME t;
        ::GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }
};
} // namespace

Clock& systemClock()
{
    static LocalClock c;
    return c;
}

} // namespace vantric
