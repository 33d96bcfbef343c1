#pragma once
// Block readers and writers over an open file: a buffer pool, and an engine
// that moves the buffers (a ring where the kernel grants one, else plain calls).

#include "platform/block_io.h"
#include "platform/file_system.h"
#include "platform/linux/unique_fd.h"

#include <memory>
#include <string>

namespace vantric {

// `direct`: the file was opened with O_DIRECT.
std::unique_ptr<BlockWriter> makeBlockWriter(UniqueFd fd, bool direct, const IoOptions& opt, std::string path);
// `wanted`: bytes the caller will read from the start (0 = all).
std::unique_ptr<BlockReader> makeBlockReader(UniqueFd fd, bool direct, const IoOptions& opt, std::string path,
                                             std::uint64_t wanted);

} // namespace vantric
