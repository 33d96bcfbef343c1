// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The sixteen test sizes. The caption of Label9 is the only store of the
// chosen size.

#include "platform/window_system.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace vantric {

struct Rung {
    std::string_view caption;
    std::int32_t count; // two-byte writes: the file is 2 x count bytes
};

inline constexpr std::array<Rung, 16> kLadder {{
    {"1k", 512},          {"2k", 1024},         {"5k", 2560},         {"10k", 5120},
    {"25k", 12800},       {"50k", 25600},       {"100k", 51200},      {"500k", 256000},
    {"1000k", 512000},    {"1M", 524288},       {"2M", 1048576},      {"5M", 2621440},
    {"10M", 5242880},     {"25M", 13107200},    {"50M", 26214400},    {"100M", 52428800},
}};

// One rung up, wrapping from "100M" to "1k"; a caption off the ladder stays.
void stepSizeUp(WindowSystem& ws);
// One rung down, wrapping from "1k" to "100M"; a caption off the ladder stays.
void stepSizeDown(WindowSystem& ws);
// lngCount from the caption; left as it was when the caption is off the ladder.
void SetTestCount(WindowSystem& ws, std::int32_t& lngCount);

} // namespace vantric
