#pragma once
// Block readers and writers over an open file handle: a buffer pool of
// sector-aligned buffers, and an engine that keeps them in flight with
// overlapped I/O (or moves them one call at a time).

#include "platform/block_io.h"
#include "platform/file_system.h"
#include "platform/windows/unique_handle.h"

#include <memory>
#include <string>

namespace vantric {

// `direct`: opened with FILE_FLAG_NO_BUFFERING; `overlapped`: with
// FILE_FLAG_OVERLAPPED (then several blocks are in flight at once).
std::unique_ptr<BlockWriter> makeBlockWriter(UniqueHandle h, bool direct, bool overlapped, const IoOptions& opt,
                                             std::string path);
// `wanted`: bytes the caller will read from the start (0 = all).
std::unique_ptr<BlockReader> makeBlockReader(UniqueHandle h, bool direct, bool overlapped, const IoOptions& opt,
                                             std::string path, std::uint64_t wanted);

// The alignment unbuffered transfers need on the volume holding `path`:
// its sector size, at least 4096.
std::size_t sectorAlignment(const std::string& path);

} // namespace vantric
