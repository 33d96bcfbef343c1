// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The engines that move a block file's buffers on Linux: io_uring, with
// transfers queued in batches, several in flight and the pool's buffers
// registered with the kernel once; or plain pread/pwrite.

#include "platform/io/buffer_pool.h"
#include "platform/io/io_engine.h"

#include <memory>

namespace vantric {

// Null when the kernel refuses a ring (too old, disabled, filtered), or when
// the program was built without liburing.
std::unique_ptr<IoEngine> makeUringEngine(int fd, const BufferPool& pool);

// One transfer after another, for when no ring is to be had.
std::unique_ptr<IoEngine> makeSyncEngine(int fd);

} // namespace vantric
