// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "ui/wait_layout.h"

namespace vantric {

namespace {

constexpr WaitWindowLayout kWait {
    3300, 1950, {0, 0, 0}, 120, 120, 3015, 1695, {0, 0, 255}, {192, 192, 192}, {"MS Sans Serif", 24, true},
};

} // namespace

const WaitWindowLayout& waitWindowLayout()
{
    return kWait;
}

} // namespace vantric
