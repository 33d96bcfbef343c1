// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The engines that move a block file's buffers: overlapped I/O with every
// buffer of the pool in flight at once, or one call after another. On this
// system a failed transfer's result is the system error code.

#include "platform/io/io_engine.h"

#include <windows.h>

#include <memory>

namespace vantric {

// Both take the handle by reference: transfers go to whatever handle it
// holds when they start, and it changes only while none is in flight.
// `h` must have been opened with FILE_FLAG_OVERLAPPED; `slots` buffers.
std::unique_ptr<IoEngine> makeOverlappedEngine(const HANDLE& h, int slots);
// Works on a handle opened either way, waiting for each transfer.
std::unique_ptr<IoEngine> makeSyncEngine(const HANDLE& h);

// Moves `length` bytes at `offset` and waits for them, going on after a
// short transfer until `need` bytes have moved; the bytes moved and, when
// it failed, the system error code. A read ends early only at the end of
// the file. The slot of the result is 0.
Completion transferNow(HANDLE h, bool write, std::uint8_t* data, std::uint64_t offset, std::size_t length,
                       std::size_t need);

} // namespace vantric
