// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/errors.h"
#include "support/error_reason.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vantric;

// Subtraction and division by zero are caught through the stopwatch's tests.
TEST(CheckedArithmetic, RaisesInsteadOfWrappingOrInfinity)
{
    const auto max = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(checkedAdd(max - 1, 1), max);
    EXPECT_THROW(checkedAdd(max, 1), VantricError);
    EXPECT_THROW(checkedNext(std::numeric_limits<std::int32_t>::max()), VantricError);
    EXPECT_DOUBLE_EQ(checkedDiv(1.0, 4.0), 0.25);
    EXPECT_EQ(test::reasonOf([] { checkedDiv(1e308, 1e-10); }), "Floating-point overflow");
    EXPECT_EQ(test::reasonOf([] { checkedDiv(-3.0, 0.0); }), "Division by zero");
}
