// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A clock that always tells the time the test gave it.

#include "platform/clock.h"

namespace vantric::test {

struct FixedClock : Clock {
    LocalDateTime t {2026, 12, 5, 9, 7, 0};
    FixedClock() = default;
    explicit FixedClock(LocalDateTime at) : t(at) {}
    LocalDateTime now() override { return t; }
};

} // namespace vantric::test
