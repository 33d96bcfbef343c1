// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "bench/size_ladder.h"

#include <string>

namespace vantric {

namespace {

int rungOf(const std::string& caption)
{
    for (std::size_t i = 0; i < kLadder.size(); ++i)
        if (kLadder[i].caption == caption)
            return static_cast<int>(i);
    return -1;
}

void step(WindowSystem& ws, int by)
{
    int r = rungOf(ws.caption(Ctl::Label9));
    if (r < 0)
        return;
    int n = static_cast<int>(kLadder.size());
    ws.setCaption(Ctl::Label9, std::string(kLadder[(r + by + n) % n].caption));
}

} // namespace

void stepSizeUp(WindowSystem& ws)
{
    step(ws, +1);
}

void stepSizeDown(WindowSystem& ws)
{
    step(ws, -1);
}

void SetTestCount(WindowSystem& ws, std::int32_t& lngCount)
{
    int r = rungOf(ws.caption(Ctl::Label9));
    if (r >= 0)
        lngCount = kLadder[r].count;
}

} // namespace vantric
