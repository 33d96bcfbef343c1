// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A Linux file as the block ring sees it: O_DIRECT, fallocate, fdatasync,
// the page cache and io_uring.

#include "platform/io/block_file.h"
#include "platform/linux/unique_fd.h"

namespace vantric {

// `direct`: the file was opened with O_DIRECT.
std::unique_ptr<BlockHooks> blockHooks(UniqueFd fd, bool direct);

} // namespace vantric
