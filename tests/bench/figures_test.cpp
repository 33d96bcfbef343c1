// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "bench/figures.h"
#include "platform/errors.h"

#include <gtest/gtest.h>

using namespace vantric;

TEST(Figures, PatternsRenderAsTheLabelsShowThem)
{
    NumericLocale en;
    NumericLocale de {",", "."};
    EXPECT_EQ(formatRate(0.5, en), ".500000");
    EXPECT_EQ(formatRate(12.3456789, en), "12.345679");
    EXPECT_EQ(formatRate(1234.5, en), "1234.500000");
    EXPECT_EQ(formatRate(0.5, de), ",500000");
    EXPECT_EQ(formatSeconds(0.5, en), ".5000");
}

TEST(Figures, RateIsMebibytesPerSecondWithZeroAsOneTick)
{
    EXPECT_DOUBLE_EQ(rateMBps(2 * 1048576, 0.5, 1000), 4.0);
    EXPECT_DOUBLE_EQ(rateMBps(1048576, 0.0, 1000000000), 1e9);
    EXPECT_THROW(rateMBps(1024, 0.0, 0), VantricError);
}
