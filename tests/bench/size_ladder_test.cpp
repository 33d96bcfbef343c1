// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "bench/size_ladder.h"
#include "fakes/memory_window_system.h"

#include <gtest/gtest.h>

using namespace vantric;

namespace {

// Each rung's count from "1k" up; the command's size check pins the captions in their order.
const std::int32_t kCounts[] = {512,    1024,    2560,    5120,    12800,   25600,    51200,    256000,
                                512000, 524288, 1048576, 2621440, 5242880, 13107200, 26214400, 52428800};

// Down undoes up, and past either end the ladder wraps.
TEST(Ladder, EachClickStepsToTheNextRungAndEachRungGivesItsCount)
{
    test::MemoryWindowSystem ws;
    ws.setCaption(Ctl::Label9, "1k");
    for (std::int32_t count : kCounts) {
        const std::string caption = ws.caption(Ctl::Label9);
        std::int32_t got = -1;
        SetTestCount(ws, got);
        EXPECT_EQ(got, count) << caption;
        stepSizeDown(ws);
        stepSizeUp(ws);
        EXPECT_EQ(ws.caption(Ctl::Label9), caption);
        stepSizeUp(ws);
    }
    EXPECT_EQ(ws.caption(Ctl::Label9), "1k");
}

} // namespace
