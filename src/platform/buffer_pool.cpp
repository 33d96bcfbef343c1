#include "platform/buffer_pool.h"

#include "platform/errors.h"

#include <cstdlib>
#include <cstring>

namespace vantric {

void BufferPool::Free::operator()(std::uint8_t* p) const
{
    std::free(p);
}

BufferPool::BufferPool(int count, std::size_t size, std::size_t align)
    : count_(count < 1 ? 1 : count), size_((size + align - 1) / align * align)
{
    if (size_ == 0)
        size_ = align;
    const std::size_t total = size_ * static_cast<std::size_t>(count_);
    mem_.reset(static_cast<std::uint8_t*>(std::aligned_alloc(align, total)));
    if (!mem_)
        throw VantricError("Out of memory", "Cannot allocate the file buffers");
    std::memset(mem_.get(), 0, total);
}

} // namespace vantric
