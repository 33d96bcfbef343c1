// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// Built without liburing: every file pass uses the synchronous engine.

#include "platform/linux/io_engines.h"

namespace vantric {

std::unique_ptr<IoEngine> makeUringEngine(int, const BufferPool&)
{
    return nullptr;
}

} // namespace vantric
