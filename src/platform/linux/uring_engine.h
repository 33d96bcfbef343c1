#pragma once
// io_uring: transfers queued in batches, several in flight, the pool's
// buffers registered with the kernel once.

#include "platform/buffer_pool.h"
#include "platform/io_engine.h"

#include <memory>

namespace vantric {

// Null when the kernel refuses a ring (too old, disabled, filtered), or when
// the program was built without liburing.
std::unique_ptr<IoEngine> makeUringEngine(int fd, const BufferPool& pool);

} // namespace vantric
