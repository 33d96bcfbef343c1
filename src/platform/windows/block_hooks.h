// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A Windows file as the block ring sees it: unbuffered (FILE_FLAG_NO_BUFFERING)
// and overlapped handles, a buffered handle on the same file where a
// transfer cannot go unbuffered, FlushFileBuffers.

#include "platform/io/block_file.h"
#include "platform/windows/unique_handle.h"

namespace vantric {

// `direct`: opened with FILE_FLAG_NO_BUFFERING; `overlapped`: with
// FILE_FLAG_OVERLAPPED (then several blocks are in flight at once).
std::unique_ptr<BlockHooks> blockHooks(UniqueHandle h, bool direct, bool overlapped, bool writer,
                                       const std::string& path);

// The alignment unbuffered transfers need on the volume holding `path`:
// its sector size, at least 4096.
std::size_t sectorAlignment(const std::string& path);

} // namespace vantric
