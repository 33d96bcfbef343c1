// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "bench/size_ladder.h"
#include "fakes/memory_window_system.h"

#include <gtest/gtest.h>

using namespace vantric;

namespace {

// The rungs in order, each with the count of its test; past either end the ladder wraps. A caption off the
// ladder changes nothing (the size fuzz target tries any).
const std::pair<const char*, std::int32_t> kRungs[] = {
    {"1k", 512},      {"2k", 1024},      {"5k", 2560},      {"10k", 5120},     {"25k", 12800},    {"50k", 25600},
    {"100k", 51200},  {"500k", 256000},  {"1000k", 512000}, {"1M", 524288},    {"2M", 1048576},   {"5M", 2621440},
    {"10M", 5242880}, {"25M", 13107200}, {"50M", 26214400}, {"100M", 52428800},
};

TEST(Ladder, EachClickStepsToTheNextRungAndEachRungGivesItsCount)
{
    test::MemoryWindowSystem ws;
    const std::size_t n = std::size(kRungs);
    for (std::size_t i = 0; i < n; ++i) {
        const auto& [caption, count] = kRungs[i];
        ws.setCaption(Ctl::Label9, caption);
        std::int32_t got = -1;
        SetTestCount(ws, got);
        EXPECT_EQ(got, count) << caption;
        stepSizeUp(ws);
        EXPECT_EQ(ws.caption(Ctl::Label9), kRungs[(i + 1) % n].first) << caption;
        stepSizeDown(ws);
        stepSizeDown(ws);
        EXPECT_EQ(ws.caption(Ctl::Label9), kRungs[(i + n - 1) % n].first) << caption;
    }
}

} // namespace
