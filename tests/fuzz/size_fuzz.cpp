// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// A size caption of any bytes: the steps and the count keep to the ladder.
#include "bench/size_ladder.h"
#include "fakes/memory_window_system.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vantric;
    const std::string caption(reinterpret_cast<const char*>(data), size);
    test::MemoryWindowSystem ws;
    ws.setCaption(Ctl::Label9, caption);
    std::int32_t count = -1;
    SetTestCount(ws, count);
    stepSizeUp(ws);
    const std::string up = ws.caption(Ctl::Label9);
    stepSizeDown(ws);
    bool onLadder = false;
    for (const Rung& r : kLadder)
        onLadder = onLadder || (r.caption == caption && r.count == count);
    if (onLadder ? ws.caption(Ctl::Label9) != caption || up == caption : count != -1 || up != caption)
        __builtin_trap();
    return 0;
}
