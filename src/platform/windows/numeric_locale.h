// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The user's number conventions as Windows keeps them, turned into the
// C library's terms that number_format uses.

#include "platform/number_format.h"

#include <string>

namespace vantric {

// LOCALE_SGROUPING ("3;0", "3;2;0", "3") as a C grouping string: a final 0
// repeats the size before it; without it the grouping stops (CHAR_MAX).
std::string groupingFromWindows(const std::string& sgrouping);

} // namespace vantric
