// Built without liburing: every file pass uses the synchronous engine.

#include "platform/linux/io_engines.h"

namespace vantric {

std::unique_ptr<IoEngine> makeUringEngine(int, const BufferPool&)
{
    return nullptr;
}

} // namespace vantric
